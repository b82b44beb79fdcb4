// Any bytes as a tree file: placed, built into a tree, written back and read again.

#include "linebuffer.h"
#include "treefile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    foldertree::LineBuffer lines;
    lines.assign({reinterpret_cast<const char *>(data), size});
    const foldertree::ParsedTree parsed = foldertree::parseTreeLines(lines);
    if (!parsed.enoughLines)
        return 0;

    foldertree::FolderTree tree;
    const foldertree::NodeId root = tree.addRoot(parsed.hasHeader ? parsed.rootText : "root", 1);
    std::vector<foldertree::NodeId> nodes;
    for (const foldertree::TreeEntry &entry : parsed.entries) {
        if (entry.parent != foldertree::TreeEntry::Root && entry.parent >= nodes.size())
            std::abort(); // a parent always comes before its children
        nodes.push_back(tree.appendChild(
            entry.parent == foldertree::TreeEntry::Root ? root : nodes[entry.parent], entry.name,
            1));
    }
    if (!tree.isConsistent())
        std::abort();

    // Written and read again, a tree keeps its shape and names: reading took
    // the leading blanks off every name, so each line's indentation is its own.
    foldertree::LineBuffer written;
    written.append("<tree>");
    foldertree::writeTreeLines(tree, root, written);
    foldertree::LineBuffer again;
    again.assign(written.joined());
    const foldertree::ParsedTree reread = foldertree::parseTreeLines(again);
    if (reread.entries.size() != parsed.entries.size())
        std::abort();
    for (std::size_t i = 0; i < parsed.entries.size(); ++i)
        if (reread.entries[i].name != parsed.entries[i].name
            || reread.entries[i].parent != parsed.entries[i].parent)
            std::abort();
    return 0;
}
