#include "capture.h"
#include "desk.h"
#include "failure.h"
#include "tempdir.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace foldertree {
namespace {

using testing::Desk;
using Paths = std::vector<std::string>;

// The folders named by capture lines from `first` on, as sorted relative paths
// ("A/A1"), so that the order of siblings on disk does not matter while the
// nesting does. `indent` spaces mark the top level; a line may sit at most one
// level below the one before it.
Paths folderPaths(const LineBuffer &lines, std::size_t first, std::size_t indent)
{
    Paths stack;
    Paths paths;
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t spaces = line.find_first_not_of(' ');
        if (spaces == std::string_view::npos || spaces < indent || (spaces - indent) % 2 != 0
            || (spaces - indent) / 2 > stack.size()) {
            ADD_FAILURE() << "misplaced line " << i << ": '" << line << "'";
            return {};
        }
        stack.resize((spaces - indent) / 2);
        const std::string name(line.substr(spaces));
        stack.push_back(stack.empty() ? name : stack.back() + "/" + name);
        paths.push_back(stack.back());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

struct Capturing : ::testing::Test
{
    testsupport::TempDir temp;
    Desk desk;
    std::string root = temp / "root";
    std::string out = temp / "out.txt";
    LineBuffer written;

    void capture(const std::string &path)
    {
        captureFolderToFile(desk.context, path, out);
        written.assign(temp.readFile("out.txt"));
    }
    void link(const std::string &target, std::string_view at)
    {
        ASSERT_EQ(symlink(target.c_str(), (temp / at).c_str()), 0) << at;
    }
};

TEST_F(Capturing, WritesEveryFolderInPreOrder)
{
    for (const char *dir : {"root/A/A1/A1a", "root/A/A2", "root/.git/objects", "root/B"})
        temp.makeDirs(dir);
    temp.writeFile("root/file.txt", "x");
    temp.writeFile("root/A/notes", "x");
    capture(root);
    EXPECT_TRUE(temp.readFile("out.txt").ends_with("\r\n"));
    ASSERT_GE(written.size(), 2u);
    EXPECT_EQ(written[0], "<folder>");
    EXPECT_EQ(written[1], root);
    EXPECT_EQ(folderPaths(written, 2, 2),
              (Paths {".git", ".git/objects", "A", "A/A1", "A/A1/A1a", "A/A2", "B"}));
    EXPECT_FALSE(desk.ui.isBusy());
}

TEST_F(Capturing, EmptyOrMissingFolderGivesTheHeaderOnly)
{
    temp.makeDirs("root");
    temp.writeFile("root/file.txt", "x");
    for (const std::string &path : {root, temp / "missing"}) {
        SCOPED_TRACE(path);
        capture(path);
        EXPECT_EQ(temp.readFile("out.txt"), "<folder>\r\n" + path + "\r\n");
    }
}

TEST_F(Capturing, PathEndingWithSeparatorGetsNoSecond)
{
    struct Recording : platform::ScriptedFileSystem
    {
        Paths opened;
        std::unique_ptr<platform::DirectoryListing> openDirectory(const std::string &path) override
        {
            opened.push_back(path);
            return ScriptedFileSystem::openDirectory(path);
        }
    } fileSystem;
    TreeContext context {
        .editor = desk.tree, .state = desk.state, .fileSystem = fileSystem, .ui = desk.ui};
    temp.makeDirs("root/A/A1");
    captureFolderToFile(context, root + "/", out);
    written.assign(temp.readFile("out.txt"));
    ASSERT_GE(written.size(), 2u);
    EXPECT_EQ(written[1], root + "/");
    EXPECT_EQ(folderPaths(written, 2, 2), (Paths {"A", "A/A1"}));
    EXPECT_EQ(fileSystem.opened, (Paths {root + "/", root + "/A/", root + "/A/A1/"}));
}

TEST_F(Capturing, LinksBackUpAreWrittenOnceAndNotEntered)
{
    for (const char *dir : {"root/A/B", "root/X", "root/Y/Y1", "beside/B1"})
        temp.makeDirs(dir);
    link("../..", "root/A/B/up"); // the folder the walk started in
    link(temp / "root/A", "root/A/me"); // its own folder
    link(temp / "root/none", "root/A/dead"); // leads nowhere: not a folder
    link("../Y", "root/X/toY"); // a folder beside: entered once, through the link or not
    link(temp / "beside", "root/X/out"); // a folder outside: entered
    capture(root);
    const Paths common {"A", "A/B", "A/B/up", "A/me", "X", "X/out", "X/out/B1", "X/toY", "Y"};
    Paths viaLink = common;
    viaLink.push_back("X/toY/Y1");
    Paths direct = common;
    direct.push_back("Y/Y1");
    std::sort(viaLink.begin(), viaLink.end());
    std::sort(direct.begin(), direct.end());
    const Paths paths = folderPaths(written, 2, 2);
    EXPECT_TRUE(paths == viaLink || paths == direct) << ::testing::PrintToString(paths);
}

// Makes `levels` nested folders "d" below `top`, deeper than a path can reach.
void makeChain(const std::string &top, int levels)
{
    ASSERT_EQ(mkdir(top.c_str(), 0755), 0);
    int folder = open(top.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < levels && folder >= 0; ++i) {
        ASSERT_EQ(mkdirat(folder, "d", 0755), 0);
        const int below = openat(folder, "d", O_RDONLY | O_DIRECTORY);
        close(folder);
        folder = below;
    }
    ASSERT_GE(folder, 0);
    close(folder);
}

// Removes such a chain: level by level, the top's child takes the top's place.
void removeChain(const std::string &top)
{
    const std::string spare = top + ".spare";
    while (rename((top + "/d").c_str(), spare.c_str()) == 0) {
        rmdir(top.c_str());
        rename(spare.c_str(), top.c_str());
    }
    rmdir(top.c_str());
}

TEST_F(Capturing, EntersEachFolderOnceAndListsWhatATreeFileCannotHold)
{
    struct Row
    {
        const char *name;
        std::function<void(Capturing &)> arrange; // below "root"
        std::function<void(Capturing &, const Paths &leftOut)> check;
    };
    const Row rows[] = {
        {"sixteen levels of two links each to the next level",
         [](Capturing &t) {
             t.temp.makeDirs("root");
             t.temp.makeDirs("levels/L16/leaf");
             for (int i = 1; i <= 16; ++i) {
                 const std::string next = t.temp / ("levels/L" + std::to_string(i));
                 const std::string at = i == 1 ? "root" : "levels/L" + std::to_string(i - 1);
                 t.temp.makeDirs(at);
                 t.link(next, at + "/a");
                 t.link(next, at + "/b");
             }
         },
         [](Capturing &t, const Paths &leftOut) {
             // a and b at each level, and the leaf: every level entered once.
             EXPECT_EQ(t.written.size(), 2u + 2 * 16 + 1);
             EXPECT_EQ(leftOut, Paths {});
         }},
        {"link to the file-system root",
         [](Capturing &t) {
             t.temp.makeDirs("root/A");
             t.link("/", "root/slash");
         },
         [](Capturing &t, const Paths &leftOut) {
             EXPECT_EQ(folderPaths(t.written, 2, 2), (Paths {"A", "slash"}));
             EXPECT_EQ(leftOut, Paths {});
         }},
        {"names with LF, CR or a leading blank",
         [](Capturing &t) {
             for (const char *dir :
                  {"root/a\nb", "root/c\rd", "root/ e", "root/ok/x\ty/z", "root/ok/g h "})
                 t.temp.makeDirs(dir);
         },
         [](Capturing &t, const Paths &leftOut) {
             EXPECT_EQ(folderPaths(t.written, 2, 2), (Paths {"ok", "ok/g h "}));
             Paths sorted = leftOut;
             std::sort(sorted.begin(), sorted.end());
             EXPECT_EQ(
                 sorted,
                 (Paths {t.root + "/ e", t.root + "/a\nb", t.root + "/c\rd", t.root + "/ok/x\ty"}));
             loadTreeFile(t.desk.context, "/t", t.out);
             EXPECT_EQ(testing::shape(t.desk.tree, t.desk.tree.root()), "ok(g h )");
         }},
        {"chain of 3000 levels",
         [](Capturing &t) {
             t.temp.makeDirs("root");
             makeChain(t.root + "/chain", 3000);
         },
         [](Capturing &t, const Paths &leftOut) {
             // Every level is written, or the deepest written one is listed.
             const std::size_t levels = t.written.size() - 2;
             std::string deepest = t.root;
             for (std::size_t i = 0; i < levels; ++i)
                 deepest += i == 0 ? "/chain" : "/d";
             if (levels == 3001) {
                 EXPECT_EQ(leftOut, Paths {});
             } else {
                 EXPECT_EQ(leftOut, Paths {deepest});
             }
             EXPECT_EQ(folderPaths(t.written, 2, 2).size(), levels);
             removeChain(t.root + "/chain");
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(root);
        std::filesystem::remove_all(temp / "levels");
        row.arrange(*this);
        const Paths leftOut = captureFolderToFile(desk.context, root, out);
        written.assign(temp.readFile("out.txt"));
        row.check(*this, leftOut);
    }
}

TEST_F(Capturing, FailedWriteThrowsAndKeepsTheEarlierFile)
{
    temp.makeDirs("root/A");
    temp.writeFile("out.txt", "earlier");
    desk.fileSystem.failWrite.insert(out);
    try {
        captureFolderToFile(desk.context, root, out);
        ADD_FAILURE() << "no exception";
    } catch (const platform::Failure &failure) {
        EXPECT_EQ(std::string(failure.what()), "Cannot create file " + out);
    }
    EXPECT_EQ(temp.readFile("out.txt"), "earlier");
    EXPECT_FALSE(desk.ui.isBusy());
}

// The lines of scanFolderLines for `path`, the top level unindented, run without
// the rights of root: when the tests run as root, in a child process that has
// become user nobody.
std::string scanWithoutRootRights(const std::string &path)
{
    const auto scan = [&path] {
        Desk desk;
        LineBuffer lines;
        scanFolderLines(desk.context, path, lines, "");
        return lines.joined();
    };
    if (geteuid() != 0)
        return scan();
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        ADD_FAILURE() << "no pipe";
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        const std::string text = scan();
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t n = write(pipeEnds[1], text.data() + done, text.size() - done);
            if (n <= 0)
                _exit(3);
            done += static_cast<std::size_t>(n);
        }
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string text;
    char chunk[4096];
    for (ssize_t n; (n = read(pipeEnds[0], chunk, sizeof chunk)) > 0;)
        text.append(chunk, static_cast<std::size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    return text;
}

TEST_F(Capturing, UnreadableFolderAddsOnlyItsOwnLine)
{
    for (const char *dir : {"root/A/A1", "root/B/B1", "root/C/C1"})
        temp.makeDirs(dir);
    // The user nobody may pass through the test's folder, but not read B.
    ASSERT_EQ(chmod(temp.path().c_str(), 0755), 0);
    ASSERT_EQ(chmod((temp / "root/B").c_str(), 0), 0);
    LineBuffer lines;
    lines.assign(scanWithoutRootRights(root));
    EXPECT_EQ(folderPaths(lines, 0, 0), (Paths {"A", "A/A1", "B", "C", "C/C1"}));
}

} // namespace
} // namespace foldertree
