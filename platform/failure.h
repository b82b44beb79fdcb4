#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// A failure that ends a command: its text is shown in the error box of the
// event loop, and the program goes on.
class Failure : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// "Cannot open file %s" and "Cannot create file %s".
Failure cannotOpenFile(const std::string &fileName);
Failure cannotCreateFile(const std::string &fileName);

} // namespace platform
