#include "paths.h"

#include <functional>
#include <gtest/gtest.h>

namespace platform {
namespace {

std::string joined(const std::vector<std::string_view> &parts)
{
    std::string text;
    for (const std::string_view part : parts)
        text += "[" + std::string(part) + "]";
    return text;
}

std::string yesNo(bool value)
{
    return value ? "yes" : "no";
}

std::string appended(std::string path, std::string_view relative)
{
    appendParts(path, relative);
    return path;
}

// Each row asks one question of the paths module and names what it shows.
TEST(Paths, SplitJoinNormaliseCompareAndCut)
{
    struct Row
    {
        const char *name;
        std::function<std::string()> answer;
        std::string expected;
    };
    const Row rows[] = {
        {"split: a name is its own part", [] { return joined(pathParts("Rock")); }, "[Rock]"},
        {"split: a name with separators gives each folder",
         [] { return joined(pathParts("Rock/Seventies")); }, "[Rock][Seventies]"},
        {"split: empty and dot parts are left out", [] { return joined(pathParts("/a//./b/")); },
         "[a][b]"},
        {"split: dot-dot parts are kept", [] { return joined(pathParts("a/../b")); }, "[a][..][b]"},
        {"split: the root alone has no parts", [] { return joined(pathParts("/")); }, ""},
        {"split: keeps bytes that are not UTF-8", [] { return joined(pathParts("x/\xff\xfe")); },
         "[x][\xff\xfe]"},

        {"join: one separator between parts", [] { return appended("/t", "A/B"); }, "/t/A/B"},
        {"join: a trailing separator is not doubled", [] { return appended("/t/", "A"); }, "/t/A"},
        {"join: repeated separators in the part collapse", [] { return appended("/t", "//A//B/"); },
         "/t/A/B"},
        {"join: nothing to append leaves the path", [] { return appended("/t", "./"); }, "/t"},
        {"join: onto an empty path starts with the separator", [] { return appended("", "a"); },
         "/a"},

        {"normalise: repeated, dot and trailing parts go",
         [] { return normalisedPath("/a//b/./c/"); }, "/a/b/c"},
        {"normalise: dot-dot stays", [] { return normalisedPath("/a/../b"); }, "/a/../b"},
        {"normalise: the root gives empty", [] { return normalisedPath("/"); }, ""},
        {"normalise: a relative path gets a leading separator",
         [] { return normalisedPath("a/b"); }, "/a/b"},

        {"inside: a subfolder is inside", [] { return yesNo(isInside("/a/b", "/a/b/c")); }, "yes"},
        {"inside: a longer sibling name is not", [] { return yesNo(isInside("/a/b", "/a/bc")); },
         "no"},
        {"inside: a folder is not inside itself", [] { return yesNo(isInside("/a/b", "/a/b")); },
         "no"},
        {"inside: the parent is not inside", [] { return yesNo(isInside("/a/b", "/a")); }, "no"},
        {"inside: nothing is inside an empty folder", [] { return yesNo(isInside("", "/a")); },
         "no"},
        {"same or inside: the folder itself", [] { return yesNo(isSameOrInside("/a/b", "/a/b")); },
         "yes"},
        {"same or inside: a subfolder", [] { return yesNo(isSameOrInside("/a/b", "/a/b/c")); },
         "yes"},
        {"same or inside: a longer sibling name is not",
         [] { return yesNo(isSameOrInside("/a/b", "/a/bc")); }, "no"},
        {"same or inside: never for an empty folder", [] { return yesNo(isSameOrInside("", "")); },
         "no"},

        {"parent folder: drops the last part", [] { return std::string(parentFolder("/a/b")); },
         "/a"},
        {"parent folder: of a top folder is empty", [] { return std::string(parentFolder("/a")); },
         ""},
        {"parent folder: a name without separator is kept",
         [] { return std::string(parentFolder("a")); }, "a"},
        {"parent part: keeps the last separator", [] { return parentPart("/home/me/Music"); },
         "/home/me/"},
        {"parent part: of a top folder is the root", [] { return parentPart("/t"); }, "/"},
        {"parent part: of a bare name is empty", [] { return parentPart("Music"); }, ""},
        {"parent part: of a trailing separator is the whole target",
         [] { return parentPart("/a/b/"); }, "/a/b/"},
        {"final part: after the last separator",
         [] { return std::string(finalPart("Rock/Seventies")); }, "Seventies"},
        {"final part: a bare name is itself", [] { return std::string(finalPart("con")); }, "con"},

        {"absolute: an absolute path stays", [] { return absolutePath("/t/A", "/home/me"); },
         "/t/A"},
        {"absolute: a relative path goes below the current folder",
         [] { return absolutePath("t/A", "/home/me"); }, "/home/me/t/A"},
        {"absolute: the current folder's separator is not doubled",
         [] { return absolutePath("t", "/"); }, "/t"},
        {"absolute: tells absolute from relative",
         [] { return yesNo(isAbsolutePath("/t")) + yesNo(isAbsolutePath("t")); }, "yesno"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(row.answer(), row.expected) << row.name;
}

} // namespace
} // namespace platform
