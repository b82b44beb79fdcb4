#pragma once

// The rules for folder names: the characters the name dialog refuses, and the
// reserved and over-long names that a creation run will not descend into.

#include "services.h"

#include <string>
#include <string_view>

namespace foldertree {

// True when the name holds none of \ / : * ? " < > |; otherwise shows the
// message once and returns false.
bool checkProhibitedCharacters(std::string_view name, platform::MessageService &messages);

// True when a folder of this name may be made. The final component (after the
// last separator; on Windows also after the last colon) is refused when it is
// one of con, aux, com1, lpt1, prn, nul (exactly, case-sensitively), or when it
// is 256 bytes or longer; each with its message.
bool checkFolderName(std::string_view name, platform::MessageService &messages);

} // namespace foldertree
