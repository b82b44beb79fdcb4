#pragma once

#include "services.h"

namespace platform {

// The desktop's trash: GIO on Linux (the freedesktop trash, one per device,
// rename only), QFile::moveToTrash elsewhere.
class SystemTrash : public Trash
{
public:
    TrashOutcome moveToTrash(const std::string &path) override;
};

} // namespace platform
