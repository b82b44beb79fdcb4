// Where Brindle finds its category lists and keeps its undo log: the setting,
// the current folder, or the installed layout of the XDG base folders.

#include "creationrun.h"
#include "locations.h"
#include "scripted.h"
#include "scriptedrun.h"
#include "tempdir.h"
#include "tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

using State = platform::InstallDirSetting::State;

struct Case
{
    const char *name;
    bool setting; // Installdir names the folder "portable"
    bool listsHere; // the current folder holds Category/Book.txt
    bool userCopy; // the user's data folder holds one
    bool systemCopy; // the second system data folder holds one
    // Relative to the test's folder: the list read, the list opened for
    // editing ("" when none), the folder the undo log is written to.
    std::string list;
    std::string edited;
    std::string logFolder;
};

const std::string Book = "Category/Book.txt";

TEST(Locations, FollowTheSettingTheCurrentFolderOrTheInstalledLayout)
{
    const std::vector<Case> cases {
        {"value set: that folder holds everything", true, true, true, true, "portable/" + Book,
         "portable/" + Book, "portable/"},
        {"current folder with lists", false, true, true, true, "cwd/" + Book, "cwd/" + Book,
         "cwd/"},
        {"installed: a user copy wins", false, false, true, true, "data/brindle/" + Book,
         "data/brindle/" + Book, "state/nested/brindle/"},
        {"installed: a system copy only, edited through a user copy", false, false, false, true,
         "sys2/brindle/" + Book, "data/brindle/" + Book, "state/nested/brindle/"},
        {"installed: nowhere, the last folder looked at is named", false, false, false, false,
         "sys2/brindle/" + Book, "", "state/nested/brindle/"},
    };
    const std::filesystem::path start = std::filesystem::current_path();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir dir;
        const auto put = [&dir](const std::string &folder, const std::string &text) {
            dir.makeDirs(folder + "Category");
            dir.writeFile(folder + Book, text);
        };
        put("portable/", "  portable\r\n");
        dir.makeDirs("cwd");
        if (c.listsHere)
            put("cwd/", "  here\r\n");
        if (c.userCopy)
            put("data/brindle/", "  user\r\n");
        dir.makeDirs("sys1");
        if (c.systemCopy)
            put("sys2/brindle/", "  system\r\n");
        const creation::BaseFolders base {
            dir / "data", {dir / "sys1", dir / "sys2"}, dir / "state/nested", ""};

        platform::ScriptedServices s;
        if (c.setting)
            s.settings.value = {State::Text, dir / "portable"};
        std::filesystem::current_path(dir / "cwd");
        const creation::Locations locations
            = creation::findLocations(s.settings, s.fileSystem, base);
        std::filesystem::current_path(start);

        EXPECT_EQ(creation::dataFilePath(locations, s.fileSystem, Book), dir / c.list);
        const std::string edited = creation::editableDataFile(locations, s.fileSystem, Book);
        EXPECT_EQ(edited, c.edited.empty() ? "" : dir / c.edited);
        if (!c.edited.empty()) {
            // The list edited is the one read from then on, and holds the same folders.
            EXPECT_EQ(creation::dataFilePath(locations, s.fileSystem, Book), edited);
            EXPECT_EQ(dir.readFile(c.edited), dir.readFile(c.list));
        }
        EXPECT_EQ(locations.logFolder, dir / c.logFolder);

        // A run writes its undo log there, making a missing state folder private.
        foldertree::FolderTree tree;
        tree.appendChild(tree.addRoot("x", 1), "made", 1);
        creation::CreationContext context = testsupport::scriptedRun(tree, s, locations.logFolder);
        context.makeLogFolder = locations.makeLogFolder;
        std::string target = dir / "target";
        s.messages.queue(platform::Answer::No);
        creation::createTickedFolders(context, target);
        EXPECT_EQ(dir.readFile(c.logFolder + "undo.udo"), dir / "target/made\r\n");
        struct stat st
        {
        };
        ASSERT_EQ(stat((dir / c.logFolder).c_str(), &st), 0);
        if (locations.makeLogFolder) {
            EXPECT_EQ(st.st_mode & 0777, 0700u);
        }
    }
}

} // namespace
