#include "mirror.h"

namespace foldertree {

namespace {

// Appends the subfolders of the node's directory; with `firstOnly`, only the
// first. A folder in `above` other than the root (a link to the mirrored folder
// or to one above it) gets none. Names a tree file cannot hold are added to
// `leftOut` once the whole listing was read. Returns the children added.
std::vector<NodeId> appendSubfolders(TreeContext &context, NodeId node, bool firstOnly,
                                     const DirectoryIdSet &above, std::vector<std::string> &leftOut)
{
    std::vector<NodeId> added;
    const FolderTree &tree = context.editor.tree();
    std::string path = nodePath(tree, node);
    if (!context.fileSystem.isDirectory(path))
        return added;
    std::unique_ptr<platform::DirectoryListing> listing = context.fileSystem.openDirectory(path);
    if (!listing || (node != tree.root() && above.contains(listing->id())))
        return added;
    if (path.back() != platform::Separator)
        path += platform::Separator;
    std::vector<std::string> refused;
    while (std::optional<platform::DirectoryEntry> entry = listing->next()) {
        context.ui.processEvents();
        if (!entry->isDirectory || entry->name.front() == '.')
            continue;
        if (!treeFileCanHold(entry->name)) {
            refused.push_back(path + entry->name);
            continue;
        }
        added.push_back(context.editor.appendChild(node, entry->name, 0));
        if (firstOnly)
            break;
    }
    // A listing cut short is read again in full when its node expands.
    if (!firstOnly || added.empty())
        leftOut.insert(leftOut.end(), refused.begin(), refused.end());
    return added;
}

} // namespace

std::vector<std::string> loadSubfolders(TreeContext &context, NodeId node)
{
    std::vector<std::string> leftOut;
    const FolderTree &tree = context.editor.tree();
    if (!tree.contains(node))
        return leftOut;
    LoadGuard guard(context.state);
    context.editor.removeChildren(node);
    const DirectoryIdSet above
        = folderAndAncestors(context.fileSystem, nodePath(tree, tree.root()));
    const int level = tree.level(node);
    const int base = context.state.mirrorBaseLevel;
    const std::vector<NodeId> children
        = appendSubfolders(context, node, level == base + 1, above, leftOut);
    if (level != base)
        return leftOut;
    for (NodeId child : children)
        appendSubfolders(context, child, true, above, leftOut);
    return leftOut;
}

std::vector<std::string> mirrorFolder(TreeContext &context, IconSource &icons,
                                      const std::string &path)
{
    TreeEditor &editor = context.editor;
    editor.beginBulk();
    editor.clear();
    context.state.mirrorMode = true;
    const NodeId root = editor.addRoot(path, icons.iconIndex(path));
    context.state.mirrorBaseLevel = 0;
    platform::BusyPointer busy(context.ui);
    std::vector<std::string> leftOut = loadSubfolders(context, root);
    editor.endBulk();
    editor.expand(root);
    setNodeTicked(editor, root, true);
    setSubtreeTicked(editor, root, true);
    return leftOut;
}

std::vector<std::string> loadBranchOnExpand(TreeContext &context, NodeId node)
{
    const FolderTree &tree = context.editor.tree();
    if (!context.state.mirrorMode || !tree.contains(node) || tree.childCount(node) != 1)
        return {};
    context.state.mirrorBaseLevel = tree.level(node);
    std::vector<std::string> leftOut = loadSubfolders(context, node);
    const bool ticked = isNodeTicked(tree, node);
    for (std::size_t i = 0; i < tree.childCount(node); ++i)
        setSubtreeTicked(context.editor, tree.child(node, i), ticked);
    return leftOut;
}

int imageToShow(const FolderTree &tree, IconSource &icons, NodeId node)
{
    if (tree.image(node) != 0)
        return tree.image(node);
    const int icon = icons.iconIndex(nodePath(tree, node));
    return icon == 0 ? 1 : icon;
}

} // namespace foldertree
