#pragma once

#include "services.h"

#include <string>

namespace creation {

// The install folder: the settings value "Installdir" as stored, else the
// current folder; a separator is appended unless it ends with one (an empty
// value becomes a lone separator). Throws "Invalid data type for 'Installdir'"
// when the value is not text.
std::string determineInstallFolder(platform::Settings &settings, platform::FileSystem &fileSystem);

} // namespace creation
