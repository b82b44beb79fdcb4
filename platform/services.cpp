#include "services.h"

namespace platform {

Message information(MessageText text)
{
    return {std::move(text), "Information", Buttons::Ok, Icon::Information, Answer::Ok};
}

} // namespace platform

#include "failure.h"

namespace platform {

Failure::Failure(MessageText text) : std::runtime_error(english(text)), m_text(std::move(text)) { }

Failure cannotOpenFile(const std::string &fileName)
{
    return Failure(messageText(MessageId::CannotOpenFile, {fileName}));
}

Failure cannotCreateFile(const std::string &fileName)
{
    return Failure(messageText(MessageId::CannotCreateFile, {fileName}));
}

} // namespace platform
