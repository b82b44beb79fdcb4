#pragma once

// How GoogleTest prints the program's values in a failure.

#include "scripted.h"

#include <ostream>

namespace platform {

inline void PrintTo(const EnglishMessage &m, std::ostream *os)
{
    *os << '"' << m.text << "\" (" << m.caption << ", buttons " << int(m.buttons) << ", icon "
        << int(m.icon) << ", default " << int(m.defaultAnswer) << ')';
}

inline void PrintTo(const Message &m, std::ostream *os)
{
    PrintTo(inEnglish(m), os);
}

} // namespace platform
