// Tree files a person would not write by hand, read and created.

#include "creationrun.h"
#include "scripted.h"
#include "tempdir.h"
#include "treefile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct Desk
{
    testsupport::TempDir dir;
    platform::ScriptedServices scripted;
    foldertree::FolderTree tree;
    foldertree::FolderTreeState state;
    foldertree::LineBuffer buffer;
    std::vector<std::string> created;

    void load(std::string_view bytes)
    {
        dir.writeFile("tree.txt", bytes);
        foldertree::TreeContext context {tree, state, scripted.fileSystem, scripted.ui, buffer};
        foldertree::loadTreeFile(context, "", dir / "tree.txt");
    }

    // Runs Create Now into <dir>/box/target, answering Abort to any failure.
    creation::CreationResult create()
    {
        dir.makeDirs("box");
        creation::CreationContext context {tree,
                                           scripted.messages,
                                           scripted.fileSystem,
                                           scripted.ui,
                                           scripted.shell,
                                           dir / "",
                                           created,
                                           {},
                                           {}};
        for (int i = 0; i < 20; ++i)
            scripted.messages.queue(platform::Answer::Abort);
        std::string target = dir / "box/target";
        return creation::createTickedFolders(context, target);
    }

    // Every path below the test folder, relative to it.
    std::vector<std::string> everything() const
    {
        std::vector<std::string> paths;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(dir.path()))
            paths.push_back(std::filesystem::relative(entry.path(), dir.path()).string());
        std::sort(paths.begin(), paths.end());
        return paths;
    }
};

TEST(HostileTreeFiles, NamesThatWouldLeaveTheTargetMakeNothingOutsideIt)
{
    Desk desk;
    desk.load("<tree>\r\nroot\r\n  ..\r\n    escaped\r\n  .\r\n  /abs\r\n    deep\r\n"
              "  a/../b\r\n  ../c\r\n  fine\r\n    ..\r\n");
    desk.create();
    for (const std::string &path : desk.everything())
        EXPECT_TRUE(path.rfind("box/target", 0) == 0 || path == "box" || path == "tree.txt"
                    || path.rfind("home", 0) == 0 || path == "undo.udo")
            << path << " lies outside the target";
    EXPECT_TRUE(desk.dir.isDirectory("box/target/fine"));
    EXPECT_FALSE(desk.dir.exists("box/escaped"));
    EXPECT_FALSE(desk.dir.exists("box/target/abs"));
}

TEST(HostileTreeFiles, OddBytesAreKeptAsNames)
{
    Desk desk;
    // A backslash is an ordinary character here; invalid UTF-8 is kept byte for
    // byte; CR alone ends lines; a NUL ends the text.
    desk.load("<tree>\rroot\r  a\\b\r  \xff\xfe bad\r    x\r  cut\0  never\r");
    ASSERT_EQ(desk.tree.size(), 5u);
    desk.create();
    EXPECT_TRUE(desk.dir.isDirectory("box/target/a\\b"));
    EXPECT_TRUE(desk.dir.isDirectory("box/target/\xff\xfe bad/x"));
    EXPECT_TRUE(desk.dir.isDirectory("box/target/cut"));
    EXPECT_FALSE(desk.dir.exists("box/target/never"));
}

TEST(HostileTreeFiles, TenMegabyteLineIsOneName)
{
    Desk desk;
    const std::string line(10 * 1024 * 1024, 'n');
    desk.load("<tree>\r\nroot\r\n  " + line + "\r\n  short\r\n");
    ASSERT_EQ(desk.tree.size(), 3u);
    EXPECT_EQ(desk.tree.text(desk.tree.child(desk.tree.root(), 0)).size(), line.size());
    // Too long for the file system: the run asks, Abort ends it cleanly.
    const creation::CreationResult result = desk.create();
    EXPECT_EQ(result.created, 0);
    ASSERT_FALSE(desk.scripted.messages.shown.empty());
    EXPECT_EQ(desk.scripted.messages.shown[0].text.rfind("Can not create subfolder: ", 0), 0u);
    EXPECT_EQ(desk.scripted.messages.shown.back().text,
              "0 subfolders were created successfully!\nOpen the target location now?");
}

} // namespace
