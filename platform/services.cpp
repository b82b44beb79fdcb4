#include "services.h"

namespace platform {

Message information(std::string text)
{
    return {std::move(text), "Information", Buttons::Ok, Icon::Information, Answer::Ok};
}

} // namespace platform

#include "failure.h"

namespace platform {

Failure cannotOpenFile(const std::string &fileName)
{
    return Failure("Cannot open file " + fileName);
}

Failure cannotCreateFile(const std::string &fileName)
{
    return Failure("Cannot create file " + fileName);
}

} // namespace platform
