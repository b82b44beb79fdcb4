#include "capture.h"

#include "failure.h"
#include "throttle.h"

#include <cerrno>

namespace foldertree {

std::vector<std::string> scanFolderLines(TreeContext &context, const std::string &path,
                                         LineBuffer &lines, std::string_view topIndent,
                                         const CaptureProgress &progress)
{
    constexpr char separator = platform::Separator;
    struct Level
    {
        std::unique_ptr<platform::DirectoryListing> listing;
        std::string directory; // with a trailing separator
    };
    // Every directory entered so far, and from the start the captured one and
    // those above it: a link to any of them is written but never entered.
    DirectoryIdSet entered = folderAndAncestors(context.fileSystem, path);
    std::vector<std::string> leftOut;
    std::vector<Level> stack;
    platform::EventThrottle throttle;
    const std::size_t linesBefore = lines.size();
    // The blanks before the next name: `topIndent` and two more a level.
    std::string indentPrefix(topIndent);

    // Opens a directory for the walk; false when it cannot be read or has been
    // entered before.
    auto enter = [&](std::string directory, bool captured) {
        if (directory.empty() || directory.back() != separator)
            directory += separator;
        errno = 0;
        std::unique_ptr<platform::DirectoryListing> listing
            = context.fileSystem.openDirectory(directory);
        if (!listing) {
            if (errno == ENAMETOOLONG) {
                directory.pop_back();
                leftOut.push_back(std::move(directory));
            }
            return false;
        }
        if (!entered.insert(listing->id()).second && !captured)
            return false;
        stack.push_back({std::move(listing), std::move(directory)});
        return true;
    };
    auto dropTwo
        = [&] { indentPrefix.resize(indentPrefix.size() >= 2 ? indentPrefix.size() - 2 : 0); };

    if (!enter(path, true)) {
        dropTwo();
        return leftOut;
    }
    while (!stack.empty()) {
        Level &level = stack.back();
        std::optional<platform::DirectoryEntry> entry = level.listing->next();
        if (!entry) {
            stack.pop_back();
            dropTwo();
            continue;
        }
        if (throttle.due()) {
            if (progress)
                progress(lines.size() - linesBefore);
            context.ui.processEvents();
        }
        if (!entry->isDirectory)
            continue;
        if (!treeFileCanHold(entry->name)) {
            leftOut.push_back(level.directory + entry->name);
            continue;
        }
        lines.append(indentPrefix, entry->name);
        indentPrefix += "  ";
        if (!enter(level.directory + entry->name, false))
            dropTwo();
    }
    return leftOut;
}

std::vector<std::string> captureFolderToFile(TreeContext &context, const std::string &path,
                                             const std::string &fileName,
                                             const CaptureProgress &progress)
{
    platform::BusyPointer busy(context.ui);
    LineBuffer lines;
    lines.append("<folder>");
    lines.append(path);
    std::vector<std::string> leftOut = scanFolderLines(context, path, lines, "  ", progress);
    if (context.fileSystem.writeFile(fileName, lines.joined()))
        throw platform::cannotCreateFile(fileName);
    return leftOut;
}

} // namespace foldertree
