#include "startup.h"

#include "failure.h"

#include <QCoreApplication>
#include <QFileInfo>

std::string determineInstallFolder(platform::Settings &settings, platform::FileSystem &fileSystem)
{
    const platform::InstallDirSetting value = settings.installDir();
    std::string folder;
    switch (value.state) {
    case platform::InstallDirSetting::State::WrongType:
        throw platform::Failure("Invalid data type for 'Installdir'");
    case platform::InstallDirSetting::State::Text:
        folder = value.text;
        break;
    case platform::InstallDirSetting::State::Absent:
        folder = fileSystem.currentDirectory();
        break;
    }
    if (folder.empty() || folder.back() != platform::Separator)
        folder += platform::Separator;
    return folder;
}

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
