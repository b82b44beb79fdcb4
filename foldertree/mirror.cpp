#include "mirror.h"

namespace foldertree {

namespace {

// Appends the subfolders of the node's directory; with `firstOnly`, only the
// first. Returns the children added.
std::vector<NodeId> appendSubfolders(TreeContext &context, NodeId node, bool firstOnly)
{
    std::vector<NodeId> added;
    const std::string path = nodePath(context.editor.tree(), node);
    if (!context.fileSystem.isDirectory(path))
        return added;
    std::unique_ptr<platform::DirectoryListing> listing = context.fileSystem.openDirectory(path);
    if (!listing)
        return added;
    while (std::optional<platform::DirectoryEntry> entry = listing->next()) {
        context.ui.processEvents();
        if (!entry->isDirectory || entry->name.front() == '.')
            continue;
        added.push_back(context.editor.appendChild(node, entry->name, 0));
        if (firstOnly)
            break;
    }
    return added;
}

} // namespace

void loadSubfolders(TreeContext &context, NodeId node)
{
    if (!context.editor.tree().contains(node))
        return;
    LoadGuard guard(context.state);
    context.editor.removeChildren(node);
    const int level = context.editor.tree().level(node);
    const int base = context.state.mirrorBaseLevel;
    const std::vector<NodeId> children = appendSubfolders(context, node, level == base + 1);
    if (level != base)
        return;
    for (NodeId child : children)
        appendSubfolders(context, child, true);
}

void mirrorFolder(TreeContext &context, IconSource &icons, const std::string &path)
{
    TreeEditor &editor = context.editor;
    editor.beginBulk();
    editor.clear();
    context.state.mirrorMode = true;
    const NodeId root = editor.addRoot(path, icons.iconIndex(path));
    context.state.mirrorBaseLevel = 0;
    {
        platform::BusyPointer busy(context.ui);
        loadSubfolders(context, root);
        editor.endBulk();
        editor.expand(root);
        setNodeTicked(editor, root, true);
        setSubtreeTicked(editor, root, true);
    }
}

void loadBranchOnExpand(TreeContext &context, NodeId node)
{
    const FolderTree &tree = context.editor.tree();
    if (!context.state.mirrorMode || !tree.contains(node) || tree.childCount(node) != 1)
        return;
    context.state.mirrorBaseLevel = tree.level(node);
    loadSubfolders(context, node);
    const bool ticked = isNodeTicked(tree, node);
    for (std::size_t i = 0; i < tree.childCount(node); ++i)
        setSubtreeTicked(context.editor, tree.child(node, i), ticked);
}

int resolveImage(TreeEditor &editor, IconSource &icons, NodeId node)
{
    const FolderTree &tree = editor.tree();
    if (tree.image(node) == 0) {
        const int icon = icons.iconIndex(nodePath(tree, node));
        editor.setImage(node, icon == 0 ? 1 : icon);
    }
    return tree.image(node);
}

int resolveSelectedImage(TreeEditor &editor, NodeId node)
{
    editor.setSelectedImage(node, editor.tree().image(node));
    return editor.tree().image(node);
}

} // namespace foldertree
