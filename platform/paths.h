#pragma once

// Paths as text: splitting, joining, normalising and comparing them with the
// platform's separator, without looking at the disk. Plain C++; every function
// is linear in the length of its arguments and keeps names as bytes.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The folder parts of a path or of a node's name, in order: the pieces between
// separators, without the empty and "." ones ("a//./b/" gives "a", "b"). A
// ".." part is kept. Views into `path`.
std::vector<std::string_view> pathParts(std::string_view path);

// Appends the parts of `relative` (as pathParts gives them) to `path`, each
// after exactly one separator; a separator already at the end of `path` is not
// doubled. Nothing is appended when `relative` has no parts.
void appendParts(std::string &path, std::string_view relative);

// "/" followed by the parts of `path` joined by one separator: no repeated,
// trailing or "." parts ("/a//b/./c/" gives "/a/b/c"). Textual: ".." stays, and
// a relative path comes back starting with a separator. "" when `path` has no
// parts (also for "/").
std::string normalisedPath(std::string_view path);

// True when `path` lies inside `folder`, below it by at least one part: "/a/b/c"
// is inside "/a/b", "/a/bc" and "/a/b" itself are not. Nothing is inside "".
// Both are compared as they are: normalise them first.
bool isInside(std::string_view folder, std::string_view path);

// True when `path` is `folder` or lies inside it. False for an empty `folder`.
bool isSameOrInside(std::string_view folder, std::string_view path);

// The path up to its last separator, that separator left out ("/a/b" gives
// "/a", "/a" gives ""); the whole path when it holds no separator. A view into
// `path`.
std::string_view parentFolder(std::string_view path);

// The part of a target location up to and including its last separator (on
// Windows also a drive colon): the folder that must exist before the target is
// made. "" when it has none.
std::string parentPart(std::string_view target);

// The last part of a name: what follows its last separator (on Windows also a
// drive colon); the whole name when it holds none. A view into `name`.
std::string_view finalPart(std::string_view name);

// True for a path that does not depend on the current folder: one that starts
// with the separator (on Windows: a drive letter and colon, or "\\").
bool isAbsolutePath(std::string_view path);

// `path` when it is absolute, else `path` below `currentFolder`, joined by one
// separator.
std::string absolutePath(std::string_view path, std::string_view currentFolder);

} // namespace platform
