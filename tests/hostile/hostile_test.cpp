// Tree files a person would not write by hand, read and created.

#include "creationrun.h"
#include "scripted.h"
#include "scriptedrun.h"
#include "tempdir.h"
#include "treefile.h"
#include "undo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <unistd.h>

namespace {

struct Desk
{
    testsupport::TempDir dir;
    platform::ScriptedServices scripted;
    foldertree::FolderTree tree;
    foldertree::FolderTreeState state;

    void load(std::string_view bytes)
    {
        dir.writeFile("tree.txt", bytes);
        foldertree::TreeContext context {
            .editor = tree, .state = state, .fileSystem = scripted.fileSystem, .ui = scripted.ui};
        foldertree::loadTreeFile(context, "", dir / "tree.txt");
    }

    // Runs Create Now into <dir>/box/target, answering Abort to any failure.
    creation::CreationResult create()
    {
        dir.makeDirs("box");
        creation::CreationContext context = testsupport::scriptedRun(tree, scripted, dir / "");
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
    EXPECT_EQ(desk.scripted.messages.texts()[0].rfind("Can not create subfolder: ", 0), 0u);
    EXPECT_EQ(desk.scripted.messages.texts().back(),
              "0 subfolders were created successfully!\nOpen the target location now?");
}

// Every path below `root`, links listed but not entered.
std::set<std::string> listing(const std::string &root)
{
    std::set<std::string> paths;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(root, error);
         it != std::filesystem::recursive_directory_iterator(); it.increment(error))
        paths.insert(it->path().string());
    return paths;
}

TEST(HostileTreeFiles, RunsStayInTheTargetAndUndoLeavesWhatWasThere)
{
    // Each row: the tree below the target (one node between bars, two spaces a level),
    // the target relative to the test folder, and what the run must show.
    struct Case
    {
        const char *name;
        std::string tree;
        std::string target = "box/target";
        std::size_t made = 0;
        std::string firstMessage = {};
    };
    const std::string pwned = "rootlink/tmp/brindle-pwned-" + std::to_string(getpid());
    std::string chain;
    for (int i = 0; i < 3000; ++i)
        chain += std::string(2 * i, ' ') + "level" + std::to_string(i) + "|";
    const Case cases[] = {
        {"line feed in a name", "Data\nnew|  below|ok|", "box/target", 1,
         "The folder name 'Data\\nnew' holds a control character, so it is not created, and "
         "neither is anything below it."},
        {"carriage return in a name", "Data\rnew|ok|", "box/target", 1,
         "The folder name 'Data\\rnew' holds a control character, so it is not created, and "
         "neither is anything below it."},
        {"line feed in the target", "fresh|", "box/target/Data\nnew", 0, "The target location '"},
        {"link to a folder outside", "L|  evil|    deeper|ok|", "box/target", 0,
         "Can not create subfolder: "},
        {"link to the root", "rootlink|  tmp|    " + pwned.substr(13) + "|", "box/target", 0,
         "Can not create subfolder: "},
        {"separator in a name through a link", pwned + "|", "box/target", 0,
         "Can not create subfolder: "},
        {"doubled separators and dots", "A/|B//|  C/./|", "box//target/./", 3},
        {"3,000 levels", chain, "box/target", 3000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Desk desk;
        desk.dir.makeDirs("box/target/Data");
        desk.dir.writeFile("box/target/Data/mine.txt", "the user's own");
        desk.dir.makeDirs("outside");
        desk.dir.makeDirs("trash");
        std::filesystem::create_directory_symlink(desk.dir / "outside", desk.dir / "box/target/L");
        std::filesystem::create_directory_symlink("/", desk.dir / "box/target/rootlink");
        const std::set<std::string> before = listing(desk.dir.path());

        foldertree::NodeId parents[3001];
        parents[0] = desk.tree.addRoot("target", 1);
        std::size_t start = 0;
        while (start < c.tree.size()) {
            const std::size_t end = c.tree.find('|', start);
            const std::string line = c.tree.substr(start, end - start);
            const std::size_t depth = line.find_first_not_of(' ') / 2;
            parents[depth + 1] = desk.tree.appendChild(parents[depth], line.substr(2 * depth), 0);
            start = end + 1;
        }
        foldertree::setSubtreeTicked(desk.tree, desk.tree.root(), true);
        creation::CreationContext context {.editor = desk.tree,
                                           .messages = desk.scripted.messages,
                                           .fileSystem = desk.scripted.fileSystem,
                                           .ui = desk.scripted.ui,
                                           .shell = desk.scripted.shell,
                                           .logFolder = desk.dir / ""};
        for (int i = 0; i < 5; ++i)
            desk.scripted.messages.queue(platform::Answer::Abort);
        std::string target = desk.dir / c.target;
        const creation::CreationResult result = creation::createTickedFolders(context, target);
        EXPECT_EQ(std::size_t(result.created), c.made);
        if (!c.firstMessage.empty()) {
            ASSERT_FALSE(desk.scripted.messages.shown.empty());
            EXPECT_EQ(desk.scripted.messages.texts()[0].substr(0, c.firstMessage.size()),
                      c.firstMessage);
        }
        if (c.target.find('\n') != std::string::npos) {
            EXPECT_EQ(desk.scripted.messages.texts()[0],
                      "The target location '" + desk.dir.path() + "/box/target/Data\\nnew"
                          + "' holds a control character, so nothing is created.");
        }
        EXPECT_FALSE(std::filesystem::exists("/tmp/" + pwned.substr(13)));
        EXPECT_TRUE(std::filesystem::is_empty(desk.dir / "outside"));

        // Nothing new outside the target, and every line of the log lies below it.
        const std::string targetPrefix = desk.dir / "box/target/";
        for (const std::string &path : listing(desk.dir.path()))
            EXPECT_TRUE(before.count(path) || path.starts_with(targetPrefix)
                        || path == desk.dir / "undo.udo")
                << path;
        const std::string log
            = desk.dir.exists("undo.udo") ? desk.dir.readFile("undo.udo") : std::string();
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), std::ptrdiff_t(c.made));
        for (std::size_t at = 0; at < log.size(); at = log.find('\n', at) + 1)
            EXPECT_EQ(log.compare(at, targetPrefix.size(), targetPrefix), 0);

        if (c.made > 0) {
            platform::ScriptedTrash trash(desk.dir / "trash");
            platform::ScriptedMessages answers;
            creation::UndoContext undo {.messages = answers,
                                        .fileSystem = desk.scripted.fileSystem,
                                        .ui = desk.scripted.ui,
                                        .trash = trash,
                                        .logFolder = desk.dir / ""};
            answers.queue(platform::Answer::Yes);
            creation::undoLastRun(undo);
            std::set<std::string> after = listing(desk.dir.path());
            std::erase_if(after, [&](const std::string &path) {
                return path.starts_with(desk.dir / "trash/");
            });
            EXPECT_EQ(after, before);
        }
    }
}

} // namespace
