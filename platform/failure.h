#pragma once

#include "messages.h"

#include <stdexcept>
#include <string>

namespace platform {

// A failure that ends a command: its text is shown in the error box of the
// event loop, and the program goes on. what() is the text in English.
class Failure : public std::runtime_error
{
public:
    explicit Failure(MessageText text);
    const MessageText &text() const { return m_text; }

private:
    MessageText m_text;
};

// "Cannot open file %s" and "Cannot create file %s".
Failure cannotOpenFile(const std::string &fileName);
Failure cannotCreateFile(const std::string &fileName);

} // namespace platform
