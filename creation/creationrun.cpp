#include "creationrun.h"

#include "failure.h"
#include "foldernames.h"
#include "linebuffer.h"
#include "messagetext.h"
#include "paths.h"
#include "treefile.h"
#include "undolog.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>

namespace creation {

using foldertree::FolderTree;
using foldertree::NodeId;
using platform::Answer;

namespace {

constexpr char Separator = platform::Separator;

platform::Message abortRetryIgnore(platform::MessageText text)
{
    return {std::move(text), "Information", platform::Buttons::AbortRetryIgnore,
            platform::Icon::Information, Answer::Retry};
}

// True when a folder of this name, joined below its parent, would lead out of
// it: "." and "..", a ".." component, or an absolute path.
bool leadsOutside(std::string_view name)
{
    if (name == "." || name == "..")
        return true;
#ifdef _WIN32
    if (!name.empty() && (name.front() == '\\' || name.front() == '/'))
        return true;
    if (name.size() >= 2 && name[1] == ':')
        return true;
    constexpr std::string_view separators = "\\/";
#else
    if (!name.empty() && name.front() == '/')
        return true;
    constexpr std::string_view separators = "/";
#endif
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of(separators, start);
        if (end == std::string_view::npos)
            end = name.size();
        if (name.substr(start, end - start) == "..")
            return true;
        start = end + 1;
    }
    return false;
}

// The target as the undo log names it: absolute, one separator between parts,
// no "." parts and no separator at the end. A target with a ".." part is
// resolved on the disk instead, since ".." after a link is not the folder above
// in the text.
std::string logBase(const std::string &target, platform::FileSystem &fileSystem)
{
    const std::string full = platform::isAbsolutePath(target)
        ? target
        : platform::absolutePath(target, fileSystem.currentDirectory());
    std::string base(1, Separator);
    platform::appendParts(base, full);
    const std::string middle = std::string(1, Separator) + ".." + Separator;
    if ((base + Separator).find(middle) == std::string::npos)
        return base;
    std::unique_ptr<char, decltype(&std::free)> real(realpath(full.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : base;
}

// The walk over the tree. A node's step makes its folder and goes on to its
// children; the walk runs the step on every node, so most nodes are stepped on
// more than once. A step that ran through without a message, a failure or an
// abort is recorded as clean: running it again would change nothing and show
// nothing, so it is not run again. That keeps deep trees linear.
//
// Folders are made and entered relative to open directories, starting from the
// target's own: a link below the target is never followed (it is in the way,
// like a file), and paths may grow past the system's path-length limit.
class Walk
{
public:
    Walk(CreationContext &context, RunRecord &record)
        : m_context(context),
          m_tree(context.editor.tree()),
          m_state(m_tree.idBound(), 0),
          m_record(record)
    { }

    bool aborted() const { return m_aborted; }
    void abort() { m_aborted = true; }
    int created() const { return m_created; }
    // The folders made, in the order made, as the undo log names them:
    // absolute, one separator between parts.
    const std::vector<std::string> &made() const { return m_made; }
    bool recordFailed() const { return m_recordFailed; }

    void run(std::string logBase)
    {
        m_logBase = std::move(logBase);
        std::error_code error;
        m_target = m_context.fileSystem.openFolder(std::string(m_tree.text(m_tree.root())), error);
        const std::vector<NodeId> order = m_tree.preorder();
        markRefused(order);
        for (std::size_t i = 1; i < order.size() && !m_aborted; ++i)
            step(order[i]);
    }

private:
    enum : std::uint8_t {
        Clean = 1,
        Exists = 2,
        Refused = 4, // the node or one above it has a name the run will not make
        OwnNameRefused = 8,
        ControlCharacter = 16,
    };
    // The most folders a walk holds open: deeper ones are closed and opened
    // again through ".." when the walk climbs back.
    static constexpr std::size_t OpenFolderLimit = 64;

    struct Frame
    {
        NodeId node;
        std::size_t next; // next child to go to
        std::size_t pathSize; // length of the path before this node was added
        bool clean;
        bool exists; // the folder is there (made now or before)
        bool opened; // the folder was opened once, and `id` is known
        platform::FolderHandle folder; // open while among the deepest frames
        platform::DirectoryId id;
        std::size_t parts; // folders between the parent's folder and this one
    };

    void markRefused(const std::vector<NodeId> &order)
    {
        for (std::size_t i = 1; i < order.size(); ++i) {
            const NodeId node = order[i];
            const NodeId parent = m_tree.parent(node);
            const std::string_view name = m_tree.text(node);
            if (platform::hasControlCharacter(name))
                m_state[node] |= Refused | OwnNameRefused | ControlCharacter;
            else if (leadsOutside(name))
                m_state[node] |= Refused | OwnNameRefused;
            else if (m_state[parent] & Refused)
                m_state[node] |= Refused;
        }
    }

    // Opens the folders of `parts` one below the other from `base`, links not
    // followed. The last one opened is returned.
    platform::FolderHandle openParts(const platform::FolderHandle &base,
                                     const std::vector<std::string_view> &parts, std::size_t count,
                                     const std::string &path, std::error_code &error)
    {
        platform::FolderHandle at;
        const platform::FolderHandle *from = &base;
        for (std::size_t i = 0; i < count; ++i) {
            at = m_context.fileSystem.openSubfolder(*from, parts[i], path, error);
            if (error)
                return {};
            from = &at;
        }
        if (count == 0)
            error = std::make_error_code(std::errc::invalid_argument);
        return at;
    }

    // Makes the node's folder inside `parent` when it is missing. An error when
    // it is neither made nor there as a real folder. The folder is opened only
    // when something is to be made inside it.
    std::error_code makeFolder(NodeId node, const platform::FolderHandle &parent,
                               const std::string &path, Frame &frame)
    {
        const std::vector<std::string_view> parts = platform::pathParts(m_tree.text(node));
        frame.parts = parts.size();
        if (parts.empty())
            return std::make_error_code(std::errc::invalid_argument);
        std::error_code error;
        platform::FolderHandle holder;
        const platform::FolderHandle *inside = &parent;
        if (parts.size() > 1) {
            holder = openParts(parent, parts, parts.size() - 1, path, error);
            if (error)
                return error;
            inside = &holder;
        }
        const std::string_view last = parts.back();
        if (!(m_state[node] & Exists)) {
            error = m_context.fileSystem.makeSubfolder(*inside, last, path);
            if (!error) {
                recordMade(path);
            } else if (error != std::errc::file_exists
                       || !m_context.fileSystem.isSubfolder(*inside, last)) {
                return error;
            }
            m_state[node] |= Exists;
        }
        frame.exists = true;
        return {};
    }

    // Notes a folder the run made, as the undo log names it.
    void recordMade(const std::string &path)
    {
        std::string line = m_logBase;
        platform::appendParts(line,
                              std::string_view(path).substr(m_tree.text(m_tree.root()).size()));
        ++m_created;
        if (!m_recordFailed) {
            m_recordFailed = !m_record.append(line);
            if (m_recordFailed)
                m_aborted = true;
        }
        m_made.push_back(std::move(line));
    }

    // Makes the node's folder, asking Abort, Retry, Ignore while that fails.
    // False when a message was shown or the folder is still missing.
    bool ensureFolder(std::size_t frameIndex, std::vector<Frame> &stack,
                      const platform::FolderHandle &startParent, const std::string &path)
    {
        Frame &frame = stack[frameIndex];
        const platform::FolderHandle &parent
            = frameIndex == 0 ? startParent : openFolderOf(stack, frameIndex - 1);
        std::error_code error = makeFolder(frame.node, parent, path, frame);
        while (error) {
            platform::MessageText question = platform::messageText(
                platform::MessageId::CannotCreateSubfolder, {platform::boundedName(path)});
            const Answer answer = m_context.messages.ask(abortRetryIgnore(question));
            if (answer == Answer::Abort) {
                m_aborted = true;
                return false;
            }
            if (answer != Answer::Retry)
                return false;
            const platform::FolderHandle &again
                = frameIndex == 0 ? startParent : openFolderOf(stack, frameIndex - 1);
            error = makeFolder(frame.node, again, path, frame);
        }
        if (m_context.progress && !m_context.progress(static_cast<std::size_t>(m_created), path))
            m_aborted = true;
        return true;
    }

    // The open folder of a frame: opened on first need from its parent's, and
    // opened again through ".." from the frame below it when the walk had closed
    // it, or else from the nearest open frame above. Invalid when the folder is
    // missing or is no longer the one the walk made or found.
    const platform::FolderHandle &openFolderOf(std::vector<Frame> &stack, std::size_t index)
    {
        Frame &frame = stack[index];
        if (frame.folder.isOpen() || !frame.exists)
            return frame.folder;
        platform::FileSystem &fileSystem = m_context.fileSystem;
        std::error_code error;
        if (!frame.opened) {
            const platform::FolderHandle &parent
                = index == 0 ? *m_startFrom : stack[index - 1].folder;
            const std::vector<std::string_view> parts
                = platform::pathParts(m_tree.text(frame.node));
            frame.folder = openParts(parent, parts, parts.size(), {}, error);
            if (frame.folder.isOpen()) {
                frame.id = fileSystem.folderId(frame.folder);
                frame.opened = true;
            }
            return frame.folder;
        }
        if (index + 1 < stack.size() && stack[index + 1].folder.isOpen()) {
            const Frame &below = stack[index + 1];
            platform::FolderHandle up;
            const platform::FolderHandle *from = &below.folder;
            for (std::size_t i = 0; i < below.parts && !error; ++i) {
                up = fileSystem.openParent(*from, error);
                from = &up;
            }
            if (!error && fileSystem.folderId(up) == frame.id) {
                frame.folder = std::move(up);
                return frame.folder;
            }
        }
        // Climbing did not lead back (something was moved meanwhile): come down
        // again from the nearest open folder, links still not followed.
        std::size_t open = index;
        while (open > 0 && !stack[open - 1].folder.isOpen())
            --open;
        const platform::FolderHandle *from = open == 0 ? m_startFrom : &stack[open - 1].folder;
        platform::FolderHandle at;
        for (std::size_t i = open; i <= index && from->isOpen(); ++i) {
            const std::vector<std::string_view> parts
                = platform::pathParts(m_tree.text(stack[i].node));
            error.clear();
            at = openParts(*from, parts, parts.size(), {}, error);
            from = &at;
        }
        if (at.isOpen() && fileSystem.folderId(at) == frame.id)
            frame.folder = std::move(at);
        return frame.folder;
    }

    // The folder that holds the node's folder, opened from the target down.
    platform::FolderHandle openParentOf(NodeId node)
    {
        std::vector<NodeId> chain;
        for (NodeId at = m_tree.parent(node); at != m_tree.root(); at = m_tree.parent(at))
            chain.push_back(at);
        std::error_code error;
        platform::FolderHandle at;
        const platform::FolderHandle *from = &m_target;
        for (std::size_t i = chain.size(); i-- > 0 && from->isOpen();) {
            const std::vector<std::string_view> parts = platform::pathParts(m_tree.text(chain[i]));
            at = openParts(*from, parts, parts.size(), {}, error);
            from = &at;
        }
        return at;
    }

    // The node creation step on `start` and, through its children, its subtree.
    void step(NodeId start)
    {
        if (m_state[start] & Clean)
            return;
        std::string path = foldertree::nodePath(m_tree, start);
        std::vector<Frame> stack;
        const bool startsAtTarget = m_tree.parent(start) == m_tree.root();
        m_startParent = startsAtTarget ? platform::FolderHandle() : openParentOf(start);
        m_startFrom = startsAtTarget ? &m_target : &m_startParent;
        const platform::FolderHandle &startParent = *m_startFrom;

        auto enter = [&](NodeId node, std::size_t pathSize) {
            if (!foldertree::isNodeTicked(m_tree, node)) {
                path.resize(pathSize);
                return true; // nothing to do, nothing shown: clean
            }
            if (m_state[node] & Refused) {
                if (m_state[node] & OwnNameRefused) {
                    const std::string_view name = m_tree.text(node);
                    m_context.messages.ask(platform::information(m_state[node] & ControlCharacter
                                                                     ? controlCharacterMessage(name)
                                                                     : outsideTargetMessage(name)));
                }
                path.resize(pathSize);
                return !(m_state[node] & OwnNameRefused);
            }
            stack.push_back({node, 0, pathSize, false, false, false, {}, {}, 0});
            const bool made = ensureFolder(stack.size() - 1, stack, startParent, path);
            stack.back().clean = made;
            if (stack.size() > OpenFolderLimit)
                stack[stack.size() - 1 - OpenFolderLimit].folder = {};
            return true;
        };
        bool startClean = enter(start, 0);
        if (stack.empty()) {
            if (startClean)
                m_state[start] |= Clean;
            return;
        }
        while (!stack.empty()) {
            Frame &frame = stack.back();
            if (m_aborted || frame.next == m_tree.childCount(frame.node)) {
                if (stack.size() >= 2)
                    openFolderOf(stack, stack.size() - 2);
                const bool clean = frame.clean && !m_aborted;
                if (clean)
                    m_state[frame.node] |= Clean;
                path.resize(frame.pathSize);
                stack.pop_back();
                if (!stack.empty() && !clean)
                    stack.back().clean = false;
                continue;
            }
            const NodeId child = m_tree.child(frame.node, frame.next++);
            if (m_state[child] & Clean)
                continue;
            if (!foldertree::checkFolderName(m_tree.text(child), m_context.messages)) {
                frame.clean = false;
                continue;
            }
            const std::size_t pathSize = path.size();
            foldertree::appendPathComponent(path, m_tree.text(frame.node), m_tree.text(child));
            const std::size_t depthBefore = stack.size();
            const bool childClean = enter(child, pathSize);
            if (stack.size() == depthBefore) {
                // Nothing to go into: the child's step is over already.
                if (childClean)
                    m_state[child] |= Clean;
                else
                    stack.back().clean = false;
            }
        }
    }

    CreationContext &m_context;
    const FolderTree &m_tree;
    std::vector<std::uint8_t> m_state;
    RunRecord &m_record;
    std::string m_logBase; // the target as the undo log names it
    platform::FolderHandle m_target;
    platform::FolderHandle m_startParent; // a deep step's starting folder
    const platform::FolderHandle *m_startFrom = &m_target; // the current step's
    bool m_aborted = false;
    bool m_recordFailed = false;
    int m_created = 0;
    std::vector<std::string> m_made;
};

} // namespace

platform::MessageText outsideTargetMessage(std::string_view name)
{
    return platform::messageText(platform::MessageId::OutsideTarget, {platform::boundedName(name)});
}

platform::MessageText controlCharacterMessage(std::string_view name)
{
    return platform::messageText(platform::MessageId::ControlCharacter,
                                 {platform::boundedName(name)});
}

platform::MessageText targetControlCharacterMessage(std::string_view target)
{
    return platform::messageText(platform::MessageId::TargetControlCharacter,
                                 {platform::boundedName(target)});
}

std::string undoLogPath(const std::string &logFolder)
{
    return logFolder + std::string(UndoLogName);
}

CreationResult createTickedFolders(CreationContext &context, std::string &targetLocation)
{
    CreationResult result;
    if (context.ui.isBusy())
        return result;
    const FolderTree &tree = context.editor.tree();
    if (tree.empty()) {
        context.messages.ask(
            platform::information(platform::messageText(platform::MessageId::NoTask)));
        return result;
    }
    targetLocation = std::string(foldertree::trimmed(targetLocation));
    if (context.showTarget)
        context.showTarget(targetLocation);
    if (platform::hasControlCharacter(targetLocation)) {
        context.messages.ask(platform::information(targetControlCharacterMessage(targetLocation)));
        if (context.focusTargetLocation)
            context.focusTargetLocation();
        return result;
    }
    if (!context.fileSystem.isDirectory(platform::parentPart(targetLocation))) {
        context.messages.ask(
            platform::information(platform::messageText(platform::MessageId::InvalidTarget)));
        if (context.focusTargetLocation)
            context.focusTargetLocation();
        return result;
    }
    if (context.makeLogFolder)
        makeLogFolder(context.logFolder);
    const std::optional<UndoLogLock> lock = holdUndoLog(context.logFolder, context.messages);
    if (!lock)
        return result;
    // The record of this run exists before anything is made, so every folder
    // made can be written to it the moment it is made.
    const std::string logPath = undoLogPath(context.logFolder);
    RunRecord record;
    if (!record.open(logPath))
        throw platform::cannotCreateFile(logPath);
    result.started = true;

    Walk walk(context, record);
    while (!context.fileSystem.isDirectory(targetLocation)) {
        if (!context.fileSystem.makeDirectory(targetLocation))
            break;
        const Answer answer = context.messages.ask(abortRetryIgnore(platform::messageText(
            platform::MessageId::CannotCreateTarget, {platform::boundedName(targetLocation)})));
        if (answer == Answer::Abort)
            walk.abort();
        if (answer != Answer::Retry)
            break;
    }
    context.editor.setText(tree.root(), targetLocation);

    {
        platform::BusyPointer busy(context.ui);
        if (!walk.aborted())
            walk.run(logBase(targetLocation, context.fileSystem));
        if (walk.made().empty()) {
            record.discard();
        } else {
            // A record that could not take every line is replaced by the whole list.
            bool written = !walk.recordFailed() && record.commit();
            if (!written) {
                record.discard();
                foldertree::LineBuffer log;
                for (const std::string &folder : walk.made())
                    log.append(folder);
                written = !context.fileSystem.writeFile(logPath, log.joined());
            }
            if (!written)
                throw platform::cannotCreateFile(logPath);
            if (context.enableUndo)
                context.enableUndo();
        }
    }
    result.created = walk.created();
    const platform::Message summary {
        platform::messageText(platform::MessageId::Summary, {std::to_string(result.created)}),
        "Information", platform::Buttons::YesNo, platform::Icon::Information, Answer::Yes};
    if (context.messages.ask(summary) == Answer::Yes) {
        result.openTarget = true;
        context.shell.openLocation(std::string(tree.text(tree.root())));
    }
    return result;
}

} // namespace creation
