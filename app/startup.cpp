#include "startup.h"

#include "failure.h"

#include <QCoreApplication>
#include <QFileInfo>

std::string errorBoxText(const std::string &message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

void showErrorBox(platform::MessageService &messages, const std::string &message)
{
    const std::string title
        = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
    messages.ask({errorBoxText(message), title, platform::Buttons::Ok, platform::Icon::Stop,
                  platform::Answer::Ok});
}
