#include "creationrun.h"

#include "failure.h"
#include "foldernames.h"
#include "linebuffer.h"
#include "treefile.h"

#include <cerrno>

namespace creation {

using foldertree::FolderTree;
using foldertree::NodeId;
using platform::Answer;

namespace {

constexpr char Separator = platform::Separator;

platform::Message abortRetryIgnore(std::string text)
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

// The part of the target up to and including its last separator (or colon, on
// Windows); "" when it has none.
std::string parentPart(const std::string &target)
{
#ifdef _WIN32
    const std::size_t cut = target.find_last_of("\\:");
#else
    const std::size_t cut = target.find_last_of(Separator);
#endif
    return cut == std::string::npos ? std::string() : target.substr(0, cut + 1);
}

std::string absolute(const std::string &path, platform::FileSystem &fileSystem)
{
#ifdef _WIN32
    if (path.size() >= 2 && (path[1] == ':' || (path[0] == '\\' && path[1] == '\\')))
        return path;
#else
    if (!path.empty() && path.front() == Separator)
        return path;
#endif
    std::string base = fileSystem.currentDirectory();
    if (base.empty() || base.back() != Separator)
        base += Separator;
    return base + path;
}

// The walk over the tree. A node's step makes its folder and goes on to its
// children; the walk runs the step on every node, so most nodes are stepped on
// more than once. A step that ran through without a message, a failure or an
// abort is recorded as clean: running it again would change nothing and show
// nothing, so it is not run again. That keeps deep trees linear.
class Walk
{
public:
    explicit Walk(CreationContext &context)
        : m_context(context), m_tree(context.editor.tree()), m_state(m_tree.idBound(), 0)
    { }

    bool aborted() const { return m_aborted; }
    void abort() { m_aborted = true; }
    int created() const { return m_created; }

    void run()
    {
        const std::vector<NodeId> order = m_tree.preorder();
        markOutside(order);
        for (std::size_t i = 1; i < order.size() && !m_aborted; ++i)
            step(order[i]);
    }

private:
    enum : std::uint8_t { Clean = 1, Exists = 2, Outside = 4, OwnNameOutside = 8 };

    void markOutside(const std::vector<NodeId> &order)
    {
        for (std::size_t i = 1; i < order.size(); ++i) {
            const NodeId node = order[i];
            const NodeId parent = m_tree.parent(node);
            if (leadsOutside(m_tree.text(node)))
                m_state[node] |= Outside | OwnNameOutside;
            else if (m_state[parent] & Outside)
                m_state[node] |= Outside;
        }
    }

    // Makes the node's folder when it is missing. False when a message was shown
    // or the folder is still missing.
    bool ensureFolder(NodeId node, const std::string &path)
    {
        if (m_state[node] & Exists)
            return true;
        std::error_code error = m_context.fileSystem.makeDirectory(path);
        if (error == std::errc::file_exists && m_context.fileSystem.isDirectory(path)) {
            m_state[node] |= Exists;
            return true;
        }
        while (error) {
            const std::string question = std::string(CannotCreateSubfolderMessage) + path;
            const Answer answer = m_context.messages.ask(abortRetryIgnore(question));
            if (answer == Answer::Abort) {
                m_aborted = true;
                return false;
            }
            if (answer != Answer::Retry)
                return false;
            error = m_context.fileSystem.makeDirectory(path);
        }
        m_context.createdFolders.push_back(path);
        ++m_created;
        m_state[node] |= Exists;
        return true;
    }

    // The node creation step on `start` and, through its children, its subtree.
    void step(NodeId start)
    {
        if (m_state[start] & Clean)
            return;
        struct Frame
        {
            NodeId node;
            std::size_t next; // next child to go to
            std::size_t pathSize; // length of the path before this node was added
            bool clean;
        };
        std::string path = foldertree::nodePath(m_tree, start);
        std::vector<Frame> stack;
        auto enter = [&](NodeId node, std::size_t pathSize) {
            if (!foldertree::isNodeTicked(m_tree, node)) {
                path.resize(pathSize);
                return true; // nothing to do, nothing shown: clean
            }
            if (m_state[node] & Outside) {
                if (m_state[node] & OwnNameOutside)
                    m_context.messages.ask(
                        platform::information(outsideTargetMessage(m_tree.text(node))));
                path.resize(pathSize);
                return !(m_state[node] & OwnNameOutside);
            }
            const bool made = ensureFolder(node, path);
            stack.push_back({node, 0, pathSize, made});
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
                const Frame done = frame;
                stack.pop_back();
                const bool clean = done.clean && !m_aborted;
                if (clean)
                    m_state[done.node] |= Clean;
                path.resize(done.pathSize);
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
    bool m_aborted = false;
    int m_created = 0;
};

} // namespace

std::string outsideTargetMessage(std::string_view name)
{
    return "The folder name '" + std::string(name)
        + "' would lead outside the target location, so it is not created, and neither is "
          "anything below it.";
}

std::string undoLogPath(const std::string &installFolder)
{
    return installFolder + std::string(UndoLogName);
}

CreationResult createTickedFolders(CreationContext &context, std::string &targetLocation)
{
    CreationResult result;
    if (context.ui.isBusy())
        return result;
    const FolderTree &tree = context.editor.tree();
    if (tree.empty()) {
        context.messages.ask(platform::information(std::string(NoTaskMessage)));
        return result;
    }
    targetLocation = std::string(foldertree::trimmed(targetLocation));
    if (context.showTarget)
        context.showTarget(targetLocation);
    if (!context.fileSystem.isDirectory(parentPart(targetLocation))) {
        context.messages.ask(platform::information(std::string(InvalidTargetMessage)));
        if (context.focusTargetLocation)
            context.focusTargetLocation();
        return result;
    }
    result.started = true;

    Walk walk(context);
    while (!context.fileSystem.isDirectory(targetLocation)) {
        if (!context.fileSystem.makeDirectory(targetLocation))
            break;
        const Answer answer = context.messages.ask(
            abortRetryIgnore(std::string(CannotCreateTargetMessage) + targetLocation));
        if (answer == Answer::Abort)
            walk.abort();
        if (answer != Answer::Retry)
            break;
    }
    context.editor.setText(tree.root(), targetLocation);

    {
        platform::BusyPointer busy(context.ui);
        if (!walk.aborted())
            walk.run();
        if (!context.createdFolders.empty()) {
            foldertree::LineBuffer log;
            for (const std::string &folder : context.createdFolders)
                log.append(absolute(folder, context.fileSystem));
            const std::string logPath = undoLogPath(context.installFolder);
            if (context.fileSystem.writeFile(logPath, log.joined()))
                throw platform::cannotCreateFile(logPath);
            if (context.enableUndo)
                context.enableUndo();
            context.createdFolders.clear();
        }
    }
    result.created = walk.created();
    const platform::Message summary {std::to_string(result.created) + std::string(SummaryMessage),
                                     "Information", platform::Buttons::YesNo,
                                     platform::Icon::Information, Answer::Yes};
    if (context.messages.ask(summary) == Answer::Yes) {
        result.openTarget = true;
        context.shell.openLocation(std::string(tree.text(tree.root())));
    }
    return result;
}

} // namespace creation
