#include "undo.h"

#include "creationrun.h"
#include "failure.h"
#include "linebuffer.h"
#include "messagetext.h"
#include "paths.h"
#include "throttle.h"
#include "undolog.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <unordered_map>

namespace creation {

using platform::isInside;
using platform::isSameOrInside;
using platform::parentFolder;

namespace {

constexpr char Separator = platform::Separator;

// The folder as a plain absolute path: repeated and trailing separators and "."
// components dropped. "" for "/" and for a path that is not absolute.
std::string plainFolder(std::string_view path)
{
    if (path.empty() || path.front() != Separator)
        return {};
    return platform::normalisedPath(path);
}

// The folders no undo may take, nor anything that holds them.
struct Protected
{
    std::string home;
    std::string logFolder;
};

bool isRunFolder(std::string_view line, const Protected &kept)
{
    if (line.size() < 2 || line.front() != Separator || line.back() == Separator
        || line.find('\0') != std::string_view::npos)
        return false;
    // Normalised: each part after exactly one separator, none of them "." or empty.
    const std::vector<std::string_view> parts = platform::pathParts(line);
    std::size_t length = 0;
    for (const std::string_view part : parts) {
        if (part == "..")
            return false;
        length += 1 + part.size();
    }
    return length == line.size() && parts.size() >= 2 && !isSameOrInside(line, kept.home)
        && !isSameOrInside(line, kept.logFolder);
}

// The path with every link in it resolved; "" when it cannot be.
std::string resolved(const std::string &path)
{
    std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : std::string();
}

// True when the folder, its links followed up to itself (a link named in the
// log goes to the trash as the link), is "/" or holds or is a protected folder.
bool leadsToProtected(const std::string &folder, const Protected &kept)
{
    const std::string parent = resolved(std::string(parentFolder(folder)));
    if (parent.empty())
        return false; // nothing to follow: the line's own text was checked already
    std::string real = parent == "/" ? std::string() : parent;
    real += folder.substr(folder.rfind(Separator));
    return isSameOrInside(real, kept.home) || isSameOrInside(real, kept.logFolder);
}

// Orders paths so that everything inside a folder follows it at once: the
// separator sorts before every other byte.
bool separatorFirst(std::string_view a, std::string_view b)
{
    const auto [left, right] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (left == a.end() || right == b.end())
        return a.size() < b.size();
    const auto key = [](char c) { return c == Separator ? 0 : static_cast<unsigned char>(c) + 1; };
    return key(*left) < key(*right);
}

// The paths that no other path of the list holds, in the list's order.
// O(n log n) comparisons.
std::vector<std::string> topMost(const std::vector<std::string> &paths)
{
    std::vector<std::size_t> order(paths.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&paths](std::size_t a, std::size_t b) {
        return separatorFirst(paths[a], paths[b]);
    });
    std::vector<bool> isTop(paths.size(), false);
    std::string_view top;
    for (const std::size_t i : order) {
        if (isSameOrInside(top, paths[i]))
            continue; // the same path again, or one inside the last top
        top = paths[i];
        isTop[i] = true;
    }
    std::vector<std::string> tops;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (isTop[i])
            tops.push_back(paths[i]);
    }
    return tops;
}

// The deepest folder that holds every path's parent; "/" when only the root does.
std::string commonParent(const std::vector<std::string_view> &paths)
{
    std::string_view common = parentFolder(paths.front());
    for (const std::string_view path : paths) {
        const std::string_view parent = parentFolder(path);
        if (isSameOrInside(common, parent))
            continue;
        const auto mismatch
            = std::mismatch(common.begin(), common.end(), parent.begin(), parent.end());
        const std::size_t same = static_cast<std::size_t>(mismatch.first - common.begin());
        if (same == parent.size() && same < common.size() && common[same] == Separator)
            common = parent; // the parent holds the common folder
        else // cut back to the last separator both share
            common = common.substr(0, common.substr(0, same).rfind(Separator));
    }
    return common.empty() ? std::string(1, Separator) : std::string(common);
}

// What the undo would take, looked at before asking.
struct Survey
{
    std::size_t present = 0; // folders of the log that exist
    std::vector<std::string_view> tops; // present folders whose logged parent is not
    std::vector<std::string> foreignHolders; // present folders holding what the log does not name
};

// Looks at each folder of the log once: a folder whose parent is in the log and
// has been listed is known from that listing, any other is looked up. Each
// present folder is listed once. O(log + entries).
Survey survey(const std::vector<std::string_view> &folders, platform::FileSystem &fileSystem,
              platform::Ui &ui)
{
    enum class State : std::uint8_t { Unknown, Missing, Present, Listed };
    struct Known
    {
        State state = State::Unknown;
        bool seen = false; // a listing of its parent showed it as a folder
    };
    std::unordered_map<std::string_view, Known> known;
    known.reserve(folders.size());
    for (const std::string_view folder : folders)
        known.try_emplace(folder);

    Survey result;
    platform::EventThrottle throttle;
    std::string child;
    for (const std::string_view folder : folders) {
        Known &entry = known.find(folder)->second;
        if (entry.state != State::Unknown)
            continue; // the same line again
        if (throttle.due())
            ui.processEvents();
        const auto parent = known.find(parentFolder(folder));
        const State parentState = parent == known.end() ? State::Unknown : parent->second.state;
        const std::string path(folder);
        std::unique_ptr<platform::DirectoryListing> listing;
        if (parentState == State::Listed) {
            entry.state = entry.seen ? State::Present : State::Missing;
        } else if (parentState == State::Missing) {
            entry.state = State::Missing;
        } else {
            // Opening it answers whether it is there, most often without a look more.
            listing = fileSystem.openDirectory(path);
            entry.state = listing || fileSystem.isDirectory(path) ? State::Present : State::Missing;
        }
        if (entry.state == State::Missing)
            continue;
        ++result.present;
        if (parentState != State::Listed && parentState != State::Present)
            result.tops.push_back(folder);

        if (!listing)
            listing = fileSystem.openDirectory(path);
        if (!listing)
            continue; // its logged subfolders are looked up one by one
        bool foreign = false;
        while (const std::optional<platform::DirectoryEntry> item = listing->next()) {
            child.assign(folder);
            child += Separator;
            child += item->name;
            const auto found = known.find(child);
            if (found == known.end())
                foreign = true;
            else if (item->isDirectory)
                found->second.seen = true;
        }
        entry.state = State::Listed;
        if (foreign)
            result.foreignHolders.emplace_back(folder);
    }
    return result;
}

// The details of the question: what goes to the trash, from where, and what
// the run did not make goes with it.
platform::MessageText questionDetails(const Survey &found, std::size_t skipped)
{
    using platform::MessageId;
    platform::MessageText text;
    if (found.present == 0)
        text = platform::messageText(MessageId::NothingLeftToUndo);
    else
        text = platform::messageText(
            found.present == 1 ? MessageId::OneFolderToTrash : MessageId::FoldersToTrash,
            {std::to_string(found.present), platform::boundedName(commonParent(found.tops))});
    if (!found.foreignHolders.empty()) {
        platform::append(text, platform::messageText(MessageId::ForeignContents));
        platform::append(text, platform::boundedList(found.foreignHolders).text);
    }
    if (skipped > 0)
        platform::append(text,
                         platform::messageText(skipped == 1 ? MessageId::OneLineSkipped
                                                            : MessageId::LinesSkipped,
                                               {std::to_string(skipped)}));
    return text;
}

platform::Message skippedMessage(const std::vector<std::string> &skipped)
{
    const platform::BoundedList list = platform::boundedList(skipped);
    platform::MessageText text = platform::messageText(platform::MessageId::SkippedLines);
    platform::append(text, list.text);
    platform::Message message = platform::information(std::move(text));
    message.details = platform::verbatim(list.details);
    return message;
}

} // namespace

platform::Message keptBackMessage(const std::vector<std::string> &keptBack, std::string_view reason)
{
    const std::vector<std::string> tops = topMost(keptBack);
    const platform::BoundedList list = platform::boundedList(tops);
    platform::MessageText text = platform::messageText(platform::MessageId::KeptBack);
    platform::append(text, list.text);
    if (!reason.empty())
        platform::append(
            text,
            platform::messageText(platform::MessageId::TrashSaid, {platform::boundedName(reason)}));
    platform::append(text, platform::messageText(platform::MessageId::StayInUndoList));
    platform::Message message = platform::information(std::move(text));
    if (tops.size() < keptBack.size() || !list.details.empty()) {
        std::string details;
        for (const std::string &path : keptBack) {
            details += platform::escapeControl(path);
            details += '\n';
        }
        message.details = platform::verbatim(std::move(details));
    }
    return message;
}

UndoResult undoLastRun(UndoContext &context)
{
    UndoResult result;
    // Held to the end: a run or another undo must not change the log meanwhile.
    const std::optional<UndoLogLock> lock = holdUndoLog(context.logFolder, context.messages);
    if (!lock)
        return result;

    const std::string logPath = undoLogPath(context.logFolder);
    std::optional<std::string> log = context.fileSystem.readFile(logPath);
    if (!log)
        throw platform::cannotOpenFile(logPath);
    foldertree::LineBuffer lines;
    lines.adopt(std::move(*log));

    const char *home = std::getenv("HOME");
    std::string logFolder = context.logFolder;
    if (logFolder.empty() || logFolder.front() != Separator)
        logFolder = platform::absolutePath(logFolder, context.fileSystem.currentDirectory());
    const Protected kept {plainFolder(home ? home : ""), plainFolder(logFolder)};
    const Protected resolvedKept {resolved(kept.home), resolved(kept.logFolder)};
    std::vector<std::string_view> folders;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        if (isRunFolder(lines[i], kept))
            folders.push_back(lines[i]);
        else
            result.skipped.emplace_back(lines[i]);
    }

    platform::Message question {platform::messageText(platform::MessageId::UndoQuestion),
                                std::string(UndoCaption), platform::Buttons::YesNo,
                                platform::Icon::Question, platform::Answer::Yes};
    {
        platform::BusyPointer busy(context.ui);
        context.ui.processEvents();
        question.details = questionDetails(survey(folders, context.fileSystem, context.ui),
                                           result.skipped.size());
    }
    if (context.messages.ask(question) != platform::Answer::Yes)
        return result;
    result.confirmed = true;

    const std::vector<std::string> created(folders.begin(), folders.end());
    std::vector<bool> keep(created.size(), false);
    std::size_t next = 0;
    std::string_view gone; // the last folder that went, with everything inside
    {
        platform::BusyPointer busy(context.ui);
        context.ui.processEvents();
        for (; next < created.size(); ++next) {
            const std::string &folder = created[next];
            // The log lists a folder before those inside it: once it has gone,
            // its subfolders need no look at the disk.
            if (isInside(gone, folder))
                continue;
            if (context.progress
                && !context.progress(result.trashed.size() + result.keptBack.size(), folder)) {
                result.stopped = true;
                break;
            }
            if (!context.fileSystem.isDirectory(folder))
                continue;
            // A line may pass through a link: what it reaches must still not
            // be a protected folder or hold one.
            if (leadsToProtected(folder, resolvedKept)) {
                result.skipped.push_back(folder);
                continue;
            }
            context.ui.processEvents();
            platform::TrashOutcome outcome = context.trash.moveToTrash(folder);
            if (outcome.moved) {
                result.trashed.push_back(folder);
                gone = folder;
            } else {
                result.keptBack.push_back(folder);
                keep[next] = true;
                if (result.refusal.empty())
                    result.refusal = std::move(outcome.reason);
            }
        }
    }

    // What could not go, or was not reached, stays listed so the undo can go on.
    foldertree::LineBuffer rest;
    for (std::size_t i = 0; i < created.size(); ++i) {
        if (keep[i] || (result.stopped && i >= next && !isInside(gone, created[i])))
            rest.append(created[i]);
    }
    if (rest.empty()) {
        context.fileSystem.removeFile(logPath);
        if (context.setUndoEnabled)
            context.setUndoEnabled(false);
        context.messages.ask({platform::messageText(platform::MessageId::UndoDone), "Information",
                              platform::Buttons::Ok, platform::Icon::Question,
                              platform::Answer::Ok});
    } else {
        if (context.fileSystem.writeFile(logPath, rest.joined()))
            throw platform::cannotCreateFile(logPath);
        if (context.setUndoEnabled)
            context.setUndoEnabled(true);
        if (!result.keptBack.empty())
            context.messages.ask(keptBackMessage(result.keptBack, result.refusal));
        if (result.stopped)
            context.messages.ask(
                platform::information(platform::messageText(platform::MessageId::UndoStopped)));
    }
    if (!result.skipped.empty())
        context.messages.ask(skippedMessage(result.skipped));
    return result;
}

} // namespace creation
