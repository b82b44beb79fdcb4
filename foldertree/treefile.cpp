#include "treefile.h"

#include "failure.h"
#include "messagetext.h"
#include "throttle.h"

namespace foldertree {

namespace {

constexpr std::string_view PlaceholderRoot = "[Target Folder]";

bool isHeader(std::string_view firstLine)
{
    const std::string_view text = trimmed(firstLine);
    return text.find("<folder>") != std::string_view::npos
        || text.find("<tree>") != std::string_view::npos;
}

std::size_t leadingSpaces(std::string_view line)
{
    std::size_t n = 0;
    while (n < line.size() && line[n] == ' ')
        ++n;
    return n;
}

// Shows what a load has read so far, the root expanded, and lets the window
// repaint. The view lays itself out on the first pass and paints on the second.
void showProgress(TreeContext &context, NodeId root)
{
    context.editor.publish();
    context.editor.expand(root);
    context.ui.processEvents();
    context.ui.processEvents();
}

} // namespace

std::string_view trimmedLeft(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size() && isTrimmed(text[start]))
        ++start;
    return text.substr(start);
}

std::string_view trimmed(std::string_view text)
{
    text = trimmedLeft(text);
    std::size_t end = text.size();
    while (end > 0 && isTrimmed(text[end - 1]))
        --end;
    return text.substr(0, end);
}

ParsedTree parseTreeLines(const LineBuffer &lines)
{
    ParsedTree parsed;
    if (lines.size() < 2)
        return parsed;
    parsed.enoughLines = true;
    std::size_t first = 0;
    if (isHeader(lines[0])) {
        parsed.hasHeader = true;
        parsed.rootText = lines[1];
        first = 2;
    }
    parsed.entries.reserve(lines.size() - first);
    // The entries from the root's child down to the current node.
    std::vector<std::uint32_t> path;
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view name = trimmedLeft(line);
        if (name.empty())
            continue; // blank: only white space, which trimming from the left removed
        if (line.size() >= 2 && line[0] == ' ' && line[1] == ' ') {
            const std::size_t depth = leadingSpaces(line) / 2;
            if (depth > path.size() + 1)
                path.clear(); // more than one level deeper: a child of the root
            else
                path.resize(depth - 1);
        } else {
            path.clear();
        }
        const auto index = static_cast<std::uint32_t>(parsed.entries.size());
        parsed.entries.push_back({name, path.empty() ? TreeEntry::Root : path.back()});
        path.push_back(index);
    }
    return parsed;
}

void writeTreeLines(const FolderTree &tree, NodeId node, LineBuffer &lines)
{
    if (node == NoNode)
        return;
    std::string indent;
    struct Pending
    {
        NodeId node;
        std::size_t depth;
    };
    std::vector<Pending> stack {{node, static_cast<std::size_t>(tree.level(node))}};
    while (!stack.empty()) {
        const auto [id, depth] = stack.back();
        stack.pop_back();
        if (isNodeTicked(tree, id) || id == tree.root()) {
            indent.assign(2 * depth, ' ');
            lines.append(indent, tree.text(id));
        }
        for (std::size_t i = tree.childCount(id); i-- > 0;)
            stack.push_back({tree.child(id, i), depth + 1});
    }
}

void resetFolderTree(TreeContext &context, std::string_view targetText)
{
    TreeEditor &editor = context.editor;
    editor.clear();
    context.state.mirrorMode = false;
    std::string_view text = trimmed(targetText);
    if (text.empty())
        text = PlaceholderRoot;
    const std::string rootText(text);
    const NodeId root = editor.addRoot(
        rootText, context.fileSystem.isDirectory(rootText) ? ExistingFolderImage : NewFolderImage);
    context.state.rootNode = root;
    setNodeTicked(editor, root, true);
    editor.publish();
}

void loadTreeFile(TreeContext &context, std::string_view targetText, const std::string &fileName)
{
    platform::BusyPointer busy(context.ui);
    LoadGuard guard(context.state);
    std::optional<std::string> bytes = context.fileSystem.readFile(fileName);
    if (!bytes)
        throw platform::cannotOpenFile(fileName);
    // Reading, splitting and placing a large file each take a while: let the
    // window repaint in between.
    context.ui.processEvents();
    std::string text;
    text.swap(*bytes);
    LineBuffer lines;
    lines.adopt(std::move(text));
    if (lines.size() < 2)
        return;

    TreeEditor &editor = context.editor;
    editor.beginBulk();
    resetFolderTree(context, targetText);
    const NodeId root = context.state.rootNode;
    showProgress(context, root);
    const ParsedTree parsed = parseTreeLines(lines);
    if (parsed.hasHeader)
        editor.setText(root, parsed.rootText);
    showProgress(context, root);
    std::size_t nameBytes = 0;
    for (const TreeEntry &entry : parsed.entries)
        nameBytes += entry.name.size();
    editor.reserve(parsed.entries.size(), nameBytes);
    std::vector<NodeId> nodeOfEntry;
    nodeOfEntry.reserve(parsed.entries.size());
    platform::EventThrottle throttle;
    // A publish costs the view a layout of every row it shows, which may be
    // every node loaded so far (a flat list). Publishing only once the tree has
    // doubled keeps the layouts of a load O(lines) in all; in between, the
    // window repaints the tree as last published.
    std::size_t publishAt = 0;
    for (const TreeEntry &entry : parsed.entries) {
        const NodeId parent = entry.parent == TreeEntry::Root ? root : nodeOfEntry[entry.parent];
        nodeOfEntry.push_back(editor.appendChild(parent, entry.name, NewFolderImage));
        if (!throttle.due())
            continue;
        if (nodeOfEntry.size() >= publishAt) {
            showProgress(context, root);
            publishAt = 2 * nodeOfEntry.size();
        } else {
            context.ui.processEvents();
        }
    }
    setNodeTicked(editor, root, true);
    setSubtreeTicked(editor, root, true);
    // The last layout, of every row shown, is the longest step of a long load:
    // repaint just before it.
    if (publishAt > 0)
        context.ui.processEvents();
    editor.endBulk();
    editor.expand(root);
}

bool treeFileCanHold(std::string_view name)
{
    return !name.empty() && !isTrimmed(name.front()) && !platform::hasControlCharacter(name);
}

DirectoryIdSet folderAndAncestors(platform::FileSystem &fileSystem, const std::string &path)
{
    DirectoryIdSet ids;
    std::error_code error;
    platform::FolderHandle folder = fileSystem.openFolder(path, error);
    // The root's ".." is the root itself: the first id that comes again ends it.
    while (folder.isOpen() && ids.insert(fileSystem.folderId(folder)).second)
        folder = fileSystem.openParent(folder, error);
    return ids;
}

platform::Message leftOutMessage(platform::MessageId intro, const std::vector<std::string> &paths)
{
    const platform::BoundedList list = platform::boundedList(paths);
    platform::MessageText text = platform::messageText(intro);
    platform::append(text, list.text);
    platform::Message message = platform::information(std::move(text));
    message.details = platform::verbatim(list.details);
    return message;
}

} // namespace foldertree
