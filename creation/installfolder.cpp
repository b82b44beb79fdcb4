#include "installfolder.h"

#include "failure.h"

namespace creation {

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

} // namespace creation
