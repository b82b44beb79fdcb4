#include "locations.h"

#include "failure.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace creation {

namespace {

constexpr std::string_view ProgramFolder = "brindle";

std::string withSeparator(std::string folder)
{
    if (folder.empty() || folder.back() != platform::Separator)
        folder += platform::Separator;
    return folder;
}

std::string withoutSeparator(std::string folder)
{
    while (folder.size() > 1 && folder.back() == platform::Separator)
        folder.pop_back();
    return folder;
}

bool isAbsolute(std::string_view path)
{
    return !path.empty() && path.front() == platform::Separator;
}

// An XDG variable's value when it is an absolute path, else the default.
std::string baseFolder(const char *variable, const std::string &fallback)
{
    const char *value = std::getenv(variable);
    if (value && isAbsolute(value))
        return withoutSeparator(value);
    return fallback;
}

std::string homeFolder()
{
    if (const char *home = std::getenv("HOME"); home && *home)
        return withoutSeparator(home);
    if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_dir)
        return withoutSeparator(entry->pw_dir);
    return "/";
}

std::string parentOf(const std::string &path)
{
    const std::size_t slash = path.rfind(platform::Separator);
    if (slash == std::string::npos || slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string &path)
{
    const std::size_t slash = path.rfind(platform::Separator);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// PREFIX when this program runs from PREFIX/bin, else "".
std::string programPrefix()
{
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer)
        return {};
    const std::string folder = parentOf(std::string(buffer, static_cast<std::size_t>(length)));
    if (nameOf(folder) != "bin")
        return {};
    return parentOf(folder);
}

// The index of the first data folder that holds `relative`, or the count.
std::size_t holderOf(const Locations &locations, platform::FileSystem &fileSystem,
                     std::string_view relative)
{
    std::size_t index = 0;
    while (index < locations.dataFolders.size()
           && !fileSystem.isFile(locations.dataFolders[index] + std::string(relative)))
        ++index;
    return index;
}

// Makes every missing folder of `folder`, from the top down.
void makeFolders(platform::FileSystem &fileSystem, const std::string &folder)
{
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = folder.find(platform::Separator, end + 1);
        const std::string level = folder.substr(0, end);
        if (!fileSystem.isDirectory(level))
            fileSystem.makeDirectory(level);
    }
}

} // namespace

BaseFolders baseFoldersOfProcess()
{
    const std::string home = homeFolder();
    BaseFolders base;
    base.dataHome = baseFolder("XDG_DATA_HOME", home + "/.local/share");
    base.stateHome = baseFolder("XDG_STATE_HOME", home + "/.local/state");
    const char *dirs = std::getenv("XDG_DATA_DIRS");
    std::string_view list = dirs && *dirs ? dirs : "/usr/local/share/:/usr/share/";
    while (!list.empty()) {
        const std::size_t colon = std::min(list.find(':'), list.size());
        const std::string_view entry = list.substr(0, colon);
        if (isAbsolute(entry))
            base.systemData.push_back(withoutSeparator(std::string(entry)));
        list.remove_prefix(std::min(colon + 1, list.size()));
    }
    base.programPrefix = programPrefix();
    return base;
}

Locations findLocations(platform::Settings &settings, platform::FileSystem &fileSystem,
                        const BaseFolders &base)
{
    const platform::InstallDirSetting value = settings.installDir();
    std::string folder;
    switch (value.state) {
    case platform::InstallDirSetting::State::WrongType:
        throw platform::Failure(platform::messageText(platform::MessageId::InvalidInstallDir));
    case platform::InstallDirSetting::State::Text:
        folder = withSeparator(value.text);
        return {{folder}, 1, folder, false};
    case platform::InstallDirSetting::State::Absent:
        folder = withSeparator(fileSystem.currentDirectory());
        if (fileSystem.isDirectory(folder + "Category"))
            return {{folder}, 1, folder, false};
        break;
    }

    const std::string below = std::string(ProgramFolder) + platform::Separator;
    Locations installed;
    installed.dataFolders.push_back(withSeparator(base.dataHome) + below);
    std::vector<std::string> system = base.systemData;
    if (!base.programPrefix.empty())
        system.push_back(withSeparator(base.programPrefix) + "share");
    for (const std::string &data : system) {
        const std::string candidate = withSeparator(data) + below;
        if (std::find(installed.dataFolders.begin(), installed.dataFolders.end(), candidate)
            == installed.dataFolders.end())
            installed.dataFolders.push_back(candidate);
    }
    installed.firstSystemFolder = 1;
    installed.logFolder = withSeparator(base.stateHome) + below;
    installed.makeLogFolder = true;
    return installed;
}

Locations findLocations(platform::Settings &settings, platform::FileSystem &fileSystem)
{
    return findLocations(settings, fileSystem, baseFoldersOfProcess());
}

std::string dataFilePath(const Locations &locations, platform::FileSystem &fileSystem,
                         std::string_view relative)
{
    const std::size_t holder = holderOf(locations, fileSystem, relative);
    const std::size_t shown = std::min(holder, locations.dataFolders.size() - 1);
    return locations.dataFolders[shown] + std::string(relative);
}

std::string editableDataFile(const Locations &locations, platform::FileSystem &fileSystem,
                             std::string_view relative)
{
    const std::size_t holder = holderOf(locations, fileSystem, relative);
    if (holder == locations.dataFolders.size())
        return {};
    const std::string found = locations.dataFolders[holder] + std::string(relative);
    if (holder < locations.firstSystemFolder)
        return found;
    const std::string copy = locations.dataFolders.front() + std::string(relative);
    const std::optional<std::string> bytes = fileSystem.readFile(found);
    if (!bytes)
        throw platform::cannotOpenFile(found);
    makeFolders(fileSystem, parentOf(copy));
    if (fileSystem.writeFile(copy, *bytes))
        throw platform::cannotCreateFile(copy);
    return copy;
}

} // namespace creation
