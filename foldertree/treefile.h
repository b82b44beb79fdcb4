#pragma once

// Tree files: indented text, two spaces a level, whose first line may be the
// header "<tree>" or "<folder>" followed by the root's line. Reading and
// writing them; capture.h writes a directory's structure into one.

#include "linebuffer.h"
#include "state.h"
#include "tree.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace foldertree {

// One folder line of a tree file, as placed by the reading rules.
struct TreeEntry
{
    static constexpr std::uint32_t Root = 0xFFFFFFFFu;
    std::string_view name;
    std::uint32_t parent = Root; // index of the parent entry, or Root
};

struct ParsedTree
{
    bool enoughLines = false; // fewer than two lines leave the folder tree as it was
    bool hasHeader = false;
    std::string_view rootText; // with a header: line 2, verbatim
    std::vector<TreeEntry> entries;
};

// Places the lines of a tree file. Views point into `lines`. O(lines), no Qt.
//  - line 1 is a header when, trimmed, it contains "<folder>" or "<tree>";
//  - blank lines are skipped; a line that starts with two spaces has depth
//    (leading spaces / 2), any other line depth 1;
//  - a line one level deeper than the previous node becomes its child, one at the
//    same or a shallower depth climbs to the matching ancestor, one deeper still
//    becomes a child of the root;
//  - names lose their leading white space and keep the trailing.
ParsedTree parseTreeLines(const LineBuffer &lines);

// True for the bytes that trimming removes: codes up to 32.
inline bool isTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}
std::string_view trimmed(std::string_view text);
std::string_view trimmedLeft(std::string_view text);

// Appends the lines of `node` and everything below it: two spaces a level, the
// lines of ticked nodes only (the root's line always, so the file keeps its
// root), the children of an unticked node still visited. O(subtree).
void writeTreeLines(const FolderTree &tree, NodeId node, LineBuffer &lines);

// What loading, resetting and capturing need from their surroundings.
struct TreeContext
{
    TreeEditor &editor;
    FolderTreeState &state;
    platform::FileSystem &fileSystem;
    platform::Ui &ui;
};

// Empties the tree and makes the root: `targetText` trimmed, or "[Target Folder]"
// when nothing is left; image 2 when a directory exists at it, else 1; ticked;
// plan mode.
void resetFolderTree(TreeContext &context, std::string_view targetText);

// Replaces the tree by the tree in the file, all ticked, root expanded (the
// editor's publish()). A file of fewer than two lines changes nothing. Throws
// "Cannot open file %s" when the file cannot be read. The file's lines are held
// only while the load runs.
void loadTreeFile(TreeContext &context, std::string_view targetText, const std::string &fileName);

// True when a tree file can carry the name as one folder line that reads back
// the same: no control character, nothing the reader trims from the left.
bool treeFileCanHold(std::string_view name);

struct DirectoryIdHash
{
    std::size_t operator()(const platform::DirectoryId &id) const
    {
        return std::hash<std::uint64_t>()(id.inode * 31 + id.device);
    }
};
using DirectoryIdSet = std::unordered_set<platform::DirectoryId, DirectoryIdHash>;

// The ids of the folder at `path` (links followed) and of each folder above it
// up to the file-system root; empty when it cannot be opened. O(depth).
DirectoryIdSet folderAndAncestors(platform::FileSystem &fileSystem, const std::string &path);

// The opening line of the notice that names the folders a capture left out.
inline constexpr platform::MessageId LeftOutOfTreeFile = platform::MessageId::LeftOutOfTreeFile;
// The opening line of the notice that names the folders a mirror left out.
inline constexpr platform::MessageId LeftOutOfFolderTree = platform::MessageId::LeftOutOfFolderTree;

// A notice: `intro`, then the first of `paths`; every path in its details.
platform::Message leftOutMessage(platform::MessageId intro, const std::vector<std::string> &paths);

} // namespace foldertree
