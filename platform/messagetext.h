#pragma once

// Names and lists made fit for a message: control characters shown escaped, a
// name cut to a readable length, a list cut to its first entries with the whole
// of it kept for the message's details.

#include "messages.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The most characters of one name a message shows.
inline constexpr std::size_t MessageNameLimit = 2000;
// The most entries of a list a message shows.
inline constexpr std::size_t MessageListLimit = 10;

// The text with every control character (below 0x20, and 0x7F) written as an
// escape: "\n", "\r", "\t", "\\x1b". Other bytes stay as they are. O(text).
std::string escapeControl(std::string_view text);

// True when the text holds a control character (below 0x20, or 0x7F).
bool hasControlCharacter(std::string_view text);

// escapeControl, cut to MessageNameLimit bytes (never inside a UTF-8 sequence)
// with "..." after the cut.
std::string boundedName(std::string_view name);

struct BoundedList
{
    MessageText text; // one bounded name a line, then "and N more" when cut
    std::string details; // every name, escaped, one a line; "" when none was cut
};

// At most MessageListLimit names, each on its own line.
BoundedList boundedList(const std::vector<std::string> &names);

} // namespace platform
