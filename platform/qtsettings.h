#pragma once

#include "services.h"

namespace platform {

// The value "Installdir" under organisation "Quillmere", application "brindle":
// the registry on Windows, ~/.config/Quillmere/brindle.conf on Linux. It is
// only ever read.
class QtSettings : public Settings
{
public:
    InstallDirSetting installDir() override;
};

} // namespace platform
