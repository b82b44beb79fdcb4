#include "creationrun.h"
#include "runcli.h"
#include "tempdir.h"
#include "undolog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <thread>

namespace {

using clitest::foldersBelow;
using clitest::Outcome;
using Folders = std::set<std::string>;

const std::string TryHelp = "Try 'brindle-cli --help' for more information.\n";
const std::string GeneralUsage = "brindle-cli {show FILE | create FILE TARGET "
                                 "[--on-error=abort|ignore] | capture DIR FILE | undo [--yes]}";
const std::string ShowUsage = "brindle-cli show FILE";
const std::string CreateUsage = "brindle-cli create FILE TARGET [--on-error=abort|ignore]";
const std::string CaptureUsage = "brindle-cli capture DIR FILE";
const std::string UndoUsage = "brindle-cli undo [--yes]";
const std::string InvalidTarget = "You have not specified a valid target location!\n";
const std::string UndoDone = "Undo done.\n";

Outcome usageError(const std::string &problem, const std::string &usage)
{
    return {2, "", problem + "\nUsage: " + usage + "\n" + TryHelp};
}

Outcome summary(int created)
{
    return {0, std::to_string(created) + " subfolders were created successfully!\n", ""};
}

// A person at a shell: the install folder is the current folder (it holds the
// category lists), the settings and the trash are those of a home inside the
// test's folder.
class Cli : public ::testing::Test
{
protected:
    Cli()
    {
        dir.makeDirs("install/Category");
        dir.makeDirs("t");
        dir.writeFile("install/tree.txt", MusicTree);
    }

    Outcome cli(const std::vector<std::string> &arguments, const std::string &input = {})
    {
        return clitest::runCli(arguments, install, input);
    }
    // A path below the target folder t.
    std::string t(std::string_view relative) const { return target + "/" + std::string(relative); }
    // The current folder of the runs, as the program sees it.
    std::string cwd() const { return std::filesystem::canonical(install).string(); }
    std::string undoLog() const { return dir.readFile("install/undo.udo"); }
    // The undo question after the tree below was made in t, with its details.
    std::string musicUndoPrompt() const
    {
        return "Do you want to UNDO the last operation ?\n4 folders made by the last run will go "
               "to the trash, from "
            + target + ". [y/N] \n";
    }
    void setInstallDir(const std::string &value) const
    {
        dir.makeDirs("home/.config/Quillmere");
        dir.writeFile("home/.config/Quillmere/brindle.conf",
                      "[General]\nInstalldir=" + value + "\n");
    }

    static constexpr std::string_view MusicTree
        = "<tree>\r\n/not/the/target\r\n  Music\r\n    Rock\r\n    Jazz\r\n  Photos\r\n";
    const Folders MusicFolders {"Music", "Music/Rock", "Music/Jazz", "Photos"};
    std::string musicLog() const
    {
        return t("Music") + "\r\n" + t("Music/Rock") + "\r\n" + t("Music/Jazz") + "\r\n"
            + t("Photos") + "\r\n";
    }

    clitest::OffTmpfs offTmpfs;
    testsupport::TempDir dir;
    const std::string install = dir / "install";
    const std::string target = dir / "t";
    const std::string trashFiles = dir / "home/.local/share/Trash/files";
};

// --- the command line --------------------------------------------------------

TEST_F(Cli, BadUsageExitsWithTwoAndTheUsageLine)
{
    struct Case
    {
        std::vector<std::string> arguments;
        std::string problem;
        std::string usage;
    };
    const std::vector<Case> cases {
        {{}, "No command given.", GeneralUsage},
        {{"make", "tree.txt"}, "Unknown command 'make'.", GeneralUsage},
        {{"-x"}, "Unknown option '-x'.", GeneralUsage},
        {{"show"}, "Wrong number of arguments for 'show'.", ShowUsage},
        {{"show", "a.txt", "b.txt"}, "Wrong number of arguments for 'show'.", ShowUsage},
        {{"create", "tree.txt"}, "Wrong number of arguments for 'create'.", CreateUsage},
        {{"create", "tree.txt", target, "extra"},
         "Wrong number of arguments for 'create'.",
         CreateUsage},
        {{"capture", target}, "Wrong number of arguments for 'capture'.", CaptureUsage},
        {{"undo", "now"}, "Wrong number of arguments for 'undo'.", UndoUsage},
        {{"show", "--verbose", "tree.txt"}, "Unknown option '--verbose'.", ShowUsage},
        {{"create", "tree.txt", target, "--on-error=retry"},
         "Option '--on-error' takes abort or ignore, not 'retry'.",
         CreateUsage},
        {{"create", "tree.txt", target, "--on-error"},
         "Option '--on-error' needs a value: abort or ignore.",
         CreateUsage},
        {{"create", "tree.txt", target, "--yes"},
         "Option '--yes' is for 'undo' only.",
         CreateUsage},
        {{"undo", "--on-error=ignore"}, "Option '--on-error' is for 'create' only.", UndoUsage},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        EXPECT_EQ(cli(c.arguments), usageError(c.problem, c.usage));
    }
    // None of them touched the disk.
    EXPECT_EQ(foldersBelow(target), Folders {});
    EXPECT_FALSE(dir.exists("install/undo.udo"));
}

TEST_F(Cli, HelpAndVersionGoToStdout)
{
    const Outcome help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_TRUE(help.out.starts_with("Usage: brindle-cli COMMAND [ARGUMENTS]\n")) << help.out;
    for (const char *item : {"show FILE", "create FILE TARGET", "capture DIR FILE", "undo",
                             "--on-error=abort|ignore", "-y, --yes", "Exit status"})
        EXPECT_NE(help.out.find(item), std::string::npos) << item;
    // Help wins wherever it stands, even beside mistakes.
    EXPECT_EQ(cli({"-h"}), help);
    EXPECT_EQ(cli({"create", "--help"}), help);
    EXPECT_EQ(cli({"frobnicate", "--bogus", "--help"}), help);

    EXPECT_EQ(cli({"--version"}), (Outcome {0, "brindle-cli " BRINDLE_VERSION "\n", ""}));
}

TEST_F(Cli, OptionsMayStandAnywhereAndDoubleDashEndsThem)
{
    EXPECT_EQ(cli({"create", "--on-error=ignore", "tree.txt", target}), summary(4));
    EXPECT_EQ(cli({"create", "tree.txt", "--on-error", "abort", target}), summary(0));
    dir.writeFile("install/-odd.txt", "<tree>\nroot\n  a\n");
    EXPECT_EQ(cli({"show", "--", "-odd.txt"}), (Outcome {0, "<tree>\r\nroot\r\n  a\r\n", ""}));
}

// --- show --------------------------------------------------------------------

TEST_F(Cli, ShowPrintsTheTreeWithItsHeaderAndRoot)
{
    dir.writeFile("install/header.txt", "<tree>\nMy Root\n  a\n    b\n  c\n");
    EXPECT_EQ(cli({"show", "header.txt"}),
              (Outcome {0, "<tree>\r\nMy Root\r\n  a\r\n    b\r\n  c\r\n", ""}));
    // A captured folder's header works the same; the root line is kept as it is.
    dir.writeFile("install/captured.txt", " <folder> \r\n /data/x \r\n  y\r\n");
    EXPECT_EQ(cli({"show", "captured.txt"}), (Outcome {0, "<tree>\r\n /data/x \r\n  y\r\n", ""}));
}

TEST_F(Cli, ShowPlacesLinesByTheReadingRules)
{
    // No header: every line is a folder below the placeholder root. Blank lines
    // go; a jump of more than one level lands at the top; names lose leading
    // blanks and keep trailing ones; any line end is read.
    dir.writeFile("install/plain.txt", "a\r\n  b\n\n   \r      deep\r\n    bb\n c \n");
    EXPECT_EQ(
        cli({"show", "plain.txt"}),
        (Outcome {0, "<tree>\r\n[Target Folder]\r\n  a\r\n  b\r\n  deep\r\n    bb\r\n  c \r\n",
                  ""}));
}

TEST_F(Cli, ShowOfAFileWithFewerThanTwoLinesPrintsTheEmptyTree)
{
    const Outcome empty {0, "<tree>\r\n[Target Folder]\r\n", ""};
    dir.writeFile("install/empty.txt", "");
    dir.writeFile("install/one.txt", "Music\r\n");
    EXPECT_EQ(cli({"show", "empty.txt"}), empty);
    EXPECT_EQ(cli({"show", "one.txt"}), empty);
}

TEST_F(Cli, ShowOfAFileThatCannotBeReadFails)
{
    EXPECT_EQ(cli({"show", "nope.txt"}), (Outcome {1, "", "Cannot open file nope.txt\n"}));
    EXPECT_EQ(cli({"show", target}), (Outcome {1, "", "Cannot open file " + target + "\n"}));
}

TEST_F(Cli, ShowOutputReadsBackToTheSameTree)
{
    dir.writeFile("install/messy.txt", "x\n  y\n      z\n\n w \n");
    const Outcome first = cli({"show", "messy.txt"});
    ASSERT_EQ(first.status, 0);
    dir.writeFile("install/clean.txt", first.out);
    EXPECT_EQ(cli({"show", "clean.txt"}), first);
}

// --- create ------------------------------------------------------------------

TEST_F(Cli, CreateMakesTheTreeBelowTheTargetAndWritesTheUndoLog)
{
    EXPECT_EQ(cli({"create", "tree.txt", target}), summary(4));
    // The tree's own root line names no folder: the target replaces it.
    EXPECT_EQ(foldersBelow(target), MusicFolders);
    EXPECT_FALSE(std::filesystem::exists("/not/the/target"));
    EXPECT_EQ(undoLog(), musicLog());
}

TEST_F(Cli, CreateAgainMakesNothingAndKeepsTheLog)
{
    ASSERT_EQ(cli({"create", "tree.txt", target}), summary(4));
    EXPECT_EQ(cli({"create", "tree.txt", target}), summary(0));
    EXPECT_EQ(foldersBelow(target), MusicFolders);
    EXPECT_EQ(undoLog(), musicLog());
}

TEST_F(Cli, CreateRecordsOnlyTheFoldersItMade)
{
    dir.makeDirs("t/Music");
    EXPECT_EQ(cli({"create", "tree.txt", target}), summary(3));
    EXPECT_EQ(undoLog(),
              t("Music/Rock") + "\r\n" + t("Music/Jazz") + "\r\n" + t("Photos") + "\r\n");
}

TEST_F(Cli, CreateMakesAMissingTargetWhoseParentExists)
{
    const std::string fresh = dir / "t/fresh";
    EXPECT_EQ(cli({"create", "tree.txt", "  " + fresh + "  "}), summary(4));
    EXPECT_EQ(foldersBelow(fresh), MusicFolders);
    // The target itself is not a subfolder: it stays out of the count and the log.
    EXPECT_EQ(undoLog().find(fresh + "\r\n"), std::string::npos);
    EXPECT_TRUE(undoLog().starts_with(fresh + "/Music\r\n"));
}

TEST_F(Cli, CreateRefusesATargetWhoseParentIsMissing)
{
    const Outcome refused {1, "", InvalidTarget};
    EXPECT_EQ(cli({"create", "tree.txt", dir / "nowhere/t"}), refused);
    EXPECT_EQ(cli({"create", "tree.txt", ""}), refused);
    EXPECT_FALSE(dir.exists("nowhere"));
    EXPECT_FALSE(dir.exists("install/undo.udo"));
}

TEST_F(Cli, CreateTakesARelativeTargetFromTheCurrentFolder)
{
    EXPECT_EQ(cli({"create", "tree.txt", "here"}), summary(4));
    EXPECT_EQ(foldersBelow(install + "/here"), MusicFolders);
    EXPECT_TRUE(undoLog().starts_with(cwd() + "/here/Music\r\n")) << undoLog();
}

TEST_F(Cli, CreateOfAMissingTreeFileFails)
{
    EXPECT_EQ(cli({"create", "nope.txt", dir / "t/fresh"}),
              (Outcome {1, "", "Cannot open file nope.txt\n"}));
    EXPECT_FALSE(dir.exists("t/fresh"));
}

TEST_F(Cli, CreateOfAnEmptyTreeFileMakesOnlyTheTarget)
{
    dir.writeFile("install/empty.txt", "");
    EXPECT_EQ(cli({"create", "empty.txt", dir / "t/fresh"}), summary(0));
    EXPECT_TRUE(dir.isDirectory("t/fresh"));
    EXPECT_EQ(foldersBelow(dir / "t/fresh"), Folders {});
}

TEST_F(Cli, CreateStopsAtTheFirstFolderItCannotMake)
{
    dir.writeFile("install/blocked.txt", "<tree>\nroot\n  x\n  a\n    b\n  c\n");
    dir.writeFile("t/a", "a file where a folder should go");
    EXPECT_EQ(cli({"create", "blocked.txt", target}),
              (Outcome {1, "1 subfolders were created successfully!\n",
                        "Can not create subfolder: " + t("a") + "\n"}));
    EXPECT_EQ(foldersBelow(target), Folders {"x"});
    EXPECT_EQ(undoLog(), t("x") + "\r\n");
}

TEST_F(Cli, CreateWithIgnoreGoesOnPastFoldersItCannotMake)
{
    dir.writeFile("install/blocked.txt", "<tree>\nroot\n  x\n  a\n    b\n  c\n");
    dir.writeFile("t/a", "a file where a folder should go");
    const Outcome run = cli({"create", "blocked.txt", target, "--on-error=ignore"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "2 subfolders were created successfully!\n");
    const std::vector<std::string> lines = clitest::linesOf(run.err);
    EXPECT_EQ(
        Folders(lines.begin(), lines.end()),
        (Folders {"Can not create subfolder: " + t("a"), "Can not create subfolder: " + t("a/b")}));
    EXPECT_EQ(foldersBelow(target), (Folders {"x", "c"}));
    EXPECT_EQ(undoLog(), t("x") + "\r\n" + t("c") + "\r\n");
}

TEST_F(Cli, CreateNotesRefusedNamesWithoutFailing)
{
    dir.writeFile("install/names.txt", "<tree>\nroot\n  ..\n    escaped\n  ok\n");
    const Outcome run = cli({"create", "names.txt", target});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "1 subfolders were created successfully!\n");
    const std::vector<std::string> lines = clitest::linesOf(run.err);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(Folders(lines.begin(), lines.end()),
              Folders {"The folder name '..' would lead outside the target location, so it is "
                       "not created, and neither is anything below it."});
    EXPECT_EQ(foldersBelow(target), Folders {"ok"});
    EXPECT_FALSE(dir.exists("escaped"));
}

TEST_F(Cli, CreateWritesTheLogToTheInstallFolderOfTheSettings)
{
    dir.makeDirs("elsewhere");
    setInstallDir(dir / "elsewhere");
    EXPECT_EQ(cli({"create", "tree.txt", target}), summary(4));
    EXPECT_EQ(dir.readFile("elsewhere/undo.udo"), musicLog());
    EXPECT_FALSE(dir.exists("install/undo.udo"));
    // Undo finds it there too.
    EXPECT_EQ(cli({"undo", "--yes"}), (Outcome {0, UndoDone, ""}));
    EXPECT_EQ(foldersBelow(target), Folders {});
}

TEST_F(Cli, CreateFailsWhenTheSettingIsNotText)
{
    setInstallDir("one, two");
    EXPECT_EQ(cli({"create", "tree.txt", target}),
              (Outcome {1, "", "Invalid data type for 'Installdir'\n"}));
    EXPECT_EQ(foldersBelow(target), Folders {});
}

TEST_F(Cli, CreateFailsWhenTheLogCannotBeWritten)
{
    setInstallDir(dir / "missing");
    EXPECT_EQ(cli({"create", "tree.txt", target}),
              (Outcome {1, "", "Cannot create file " + dir / "missing/undo.udo\n"}));
    // The run's record comes first: nothing is made when it cannot be written.
    EXPECT_EQ(foldersBelow(target), Folders {});
}

// --- capture -----------------------------------------------------------------

TEST_F(Cli, CaptureWritesTheFolderStructure)
{
    dir.makeDirs("src/.hidden/inner");
    dir.writeFile("src/.hidden/note.txt", "files are not folders");
    dir.writeFile("src/top.txt", "");
    dir.writeFile("install/old.txt", "replaced");
    EXPECT_EQ(cli({"capture", dir / "src", "old.txt"}), (Outcome {0, "", ""}));
    EXPECT_EQ(dir.readFile("install/old.txt"),
              "<folder>\r\n" + dir / "src" + "\r\n  .hidden\r\n    inner\r\n");
    // The folder is written as it was given.
    EXPECT_EQ(cli({"capture", "../src", "relative.txt"}), (Outcome {0, "", ""}));
    EXPECT_EQ(dir.readFile("install/relative.txt"),
              "<folder>\r\n../src\r\n  .hidden\r\n    inner\r\n");
}

TEST_F(Cli, CapturedStructureIsCreatedAgainElsewhere)
{
    for (const char *folder : {"src/a/b/c", "src/a/d", "src/e", "src/f/g", "src/f/h/i"})
        dir.makeDirs(folder);
    ASSERT_EQ(cli({"capture", dir / "src", "src.txt"}), (Outcome {0, "", ""}));
    EXPECT_EQ(cli({"create", "src.txt", target}), summary(9));
    EXPECT_EQ(foldersBelow(target), foldersBelow(dir / "src"));
}

TEST_F(Cli, CaptureOfSomethingThatIsNotAFolderFails)
{
    dir.writeFile("plain.txt", "");
    EXPECT_EQ(cli({"capture", dir / "nowhere", "out.txt"}),
              (Outcome {1, "", "'" + dir / "nowhere" + "' is not a folder.\n"}));
    EXPECT_EQ(cli({"capture", dir / "plain.txt", "out.txt"}),
              (Outcome {1, "", "'" + dir / "plain.txt" + "' is not a folder.\n"}));
    EXPECT_FALSE(dir.exists("install/out.txt"));
}

TEST_F(Cli, CaptureToAFileThatCannotBeWrittenFails)
{
    EXPECT_EQ(cli({"capture", target, dir / "missing/out.txt"}),
              (Outcome {1, "", "Cannot create file " + dir / "missing/out.txt\n"}));
}

// --- undo --------------------------------------------------------------------

TEST_F(Cli, UndoWithYesMovesTheMadeFoldersToTheTrash)
{
    ASSERT_EQ(cli({"create", "tree.txt", target}), summary(4));
    EXPECT_EQ(cli({"undo", "--yes"}), (Outcome {0, UndoDone, ""}));
    EXPECT_EQ(foldersBelow(target), Folders {});
    EXPECT_TRUE(dir.isDirectory("t")); // the target was there before
    EXPECT_FALSE(dir.exists("install/undo.udo"));
    // Never deleted: the trash holds them, Rock and Jazz inside Music.
    EXPECT_EQ(foldersBelow(trashFiles), MusicFolders);
}

TEST_F(Cli, UndoAsksOnTheTerminal)
{
    for (const char *yes : {"y\n", "YES\n"}) {
        SCOPED_TRACE(yes);
        ASSERT_EQ(cli({"create", "tree.txt", target}).status, 0);
        EXPECT_EQ(cli({"undo"}, yes), (Outcome {0, UndoDone, musicUndoPrompt()}));
        EXPECT_EQ(foldersBelow(target), Folders {});
    }
}

TEST_F(Cli, UndoDeclinedLeavesEverything)
{
    ASSERT_EQ(cli({"create", "tree.txt", target}), summary(4));
    for (const char *no : {"", "\n", "n\n", "maybe\n", "y es\n"}) {
        SCOPED_TRACE(::testing::PrintToString(std::string(no)));
        EXPECT_EQ(cli({"undo"}, no),
                  (Outcome {0, "", musicUndoPrompt() + "Nothing was undone.\n"}));
    }
    EXPECT_EQ(foldersBelow(target), MusicFolders);
    EXPECT_EQ(undoLog(), musicLog());
}

TEST_F(Cli, UndoWithoutALogFailsWithoutAsking)
{
    EXPECT_EQ(cli({"undo"}, "y\n"), (Outcome {1, "", "Cannot open file " + cwd() + "/undo.udo\n"}));
}

TEST_F(Cli, UndoLeavesWhatWasThereBeforeTheRun)
{
    dir.makeDirs("t/Music");
    dir.writeFile("t/Music/mine.mp3", "kept");
    ASSERT_EQ(cli({"create", "tree.txt", target}), summary(3));
    EXPECT_EQ(cli({"undo", "-y"}), (Outcome {0, UndoDone, ""}));
    EXPECT_EQ(foldersBelow(target), Folders {"Music"});
    EXPECT_EQ(dir.readFile("t/Music/mine.mp3"), "kept");
}

TEST_F(Cli, FoldersTheTrashRefusesStayAndCanBeUndoneLater)
{
    ASSERT_EQ(cli({"create", "tree.txt", target}), summary(4));
    // A file where the trash folder belongs: the trash takes nothing.
    dir.writeFile("home/.local/share/Trash", "");
    // The message names the top-most folders, then every folder in its details.
    EXPECT_EQ(cli({"undo", "--yes"}),
              (Outcome {1, "",
                        "These folders could not be moved to the trash and were left where they "
                        "are: "
                            + t("Music") + " " + t("Photos")
                            + " The trash said: Unable to create trash directory " + dir.path()
                            + "/home/.local/share/Trash: Not a directory They stay in the undo "
                              "list: press Undo again to retry.\n"
                            + t("Music") + "\n" + t("Music/Rock") + "\n" + t("Music/Jazz") + "\n"
                            + t("Photos") + "\n"}));
    EXPECT_EQ(foldersBelow(target), MusicFolders);
    EXPECT_EQ(undoLog(), musicLog());

    std::remove((dir / "home/.local/share/Trash").c_str());
    EXPECT_EQ(cli({"undo", "--yes"}), (Outcome {0, UndoDone, ""}));
    EXPECT_EQ(foldersBelow(target), Folders {});
}

// --- output ------------------------------------------------------------------

TEST_F(Cli, MessagesCannotSteerTheTerminalAndLostOutputIsAFailure)
{
    const std::string tree = "<tree>\r\nroot\r\n  a\x1b[31m\tb\x07\r\n    c\x1b]0;t\x07\r\n";
    dir.writeFile("install/controls.txt", tree);
    struct Case
    {
        const char *name;
        std::vector<std::string> arguments;
        std::string stdoutFile; // "": a pipe; "-": closed
        Outcome expected;
    };
    const std::vector<Case> cases {
        {"a note naming a folder shows its escape and line break escaped",
         {"capture", dir / "a\x1b[2J\nb", "out.txt"},
         "",
         {1, "", "'" + dir / "a\\x1b[2J\\nb" + "' is not a folder.\n"}},
        {"show to a full disk fails",
         {"show", "tree.txt"},
         "/dev/full",
         {1, "", "Cannot write to standard output: No space left on device\n"}},
        {"show to a closed stdout fails",
         {"show", "tree.txt"},
         "-",
         {1, "", "Cannot write to standard output: Bad file descriptor\n"}},
        {"show to a pipe writes control characters byte for byte",
         {"show", "controls.txt"},
         "",
         {0, tree, ""}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(clitest::runCli(c.arguments, install, {}, c.stdoutFile), c.expected);
    }
}

// --- interruption and a second process ---------------------------------------

// The folders of `all` that are not in `some`.
Folders without(const Folders &all, const Folders &some)
{
    Folders rest;
    std::set_difference(all.begin(), all.end(), some.begin(), some.end(),
                        std::inserter(rest, rest.end()));
    return rest;
}

// A tree of 60,660 folders: d0..d59, each with e0..e9, each with f0..f99.
std::string largeTree()
{
    std::string text = "<tree>\r\nroot\r\n";
    for (int d = 0; d < 60; ++d) {
        text += "  d" + std::to_string(d) + "\r\n";
        for (int e = 0; e < 10; ++e) {
            text += "    e" + std::to_string(e) + "\r\n";
            for (int f = 0; f < 100; ++f)
                text += "      f" + std::to_string(f) + "\r\n";
        }
    }
    return text;
}
constexpr std::size_t LargeTreeFolders = 60 + 600 + 60000;

std::size_t entriesOf(const std::string &folder)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    return error ? 0 : static_cast<std::size_t>(std::distance(entries, {}));
}

// Waits until the running command has made a folder directly below `folder`
// beyond the `before` entries there. False when the command ended first.
bool waitForNewEntry(clitest::RunningCli &run, const std::string &folder, std::size_t before)
{
    while (entriesOf(folder) <= before) {
        if (!run.running())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

TEST_F(Cli, InterruptedCreateLeavesEveryFolderItMadeInTheUndoLog)
{
    dir.writeFile("install/large.txt", largeTree());
    const Folders before {"d0", "d0/e1", "d0/e1/f7", "own"};
    struct Case
    {
        const char *name;
        int signal;
        // A kill ends the run at once, mostly as a folder's mkdir returns and
        // before that folder's line is written: the one folder it may lose.
        std::size_t mayLose;
    };
    for (const Case c : {Case {"killed", SIGKILL, 1}, Case {"interrupted", SIGINT, 0}}) {
        SCOPED_TRACE(c.name);
        const std::string folder = dir / ("t/" + std::string(c.name));
        for (const std::string &existing : before)
            dir.makeDirs("t/" + std::string(c.name) + "/" + existing);
        dir.writeFile("t/" + std::string(c.name) + "/own/mine.txt", "kept");

        clitest::RunningCli run({"create", "large.txt", folder}, install);
        ASSERT_TRUE(waitForNewEntry(run, folder, 2));
        run.signal(c.signal);
        const Outcome stopped = run.finish();

        Folders made;
        for (const std::string &path : foldersBelow(folder)) {
            if (!before.contains(path))
                made.insert(folder + "/" + path);
        }
        ASSERT_LT(made.size(), LargeTreeFolders - 1);
        if (c.signal == SIGINT) {
            EXPECT_EQ(
                stopped,
                (Outcome {130,
                          std::to_string(made.size()) + " subfolders were created successfully!\n",
                          ""}));
        } else {
            // The next undo makes the killed run's record the log; declined, it
            // leaves the log to read.
            const Outcome declined = cli({"undo"}, "n\n");
            EXPECT_EQ(declined.status, 0) << declined.err;
        }
        const std::vector<std::string> lines = clitest::linesOf(undoLog());
        Folders logged;
        for (const std::string &line : lines)
            logged.insert(line.substr(0, line.size() - 1)); // without the CR
        EXPECT_EQ(logged.size(), lines.size()) << "a folder is listed twice";
        // Nothing that was there before, nothing that was not made.
        EXPECT_EQ(without(logged, made), Folders {});
        const Folders lost = without(made, logged);
        EXPECT_LE(lost.size(), c.mayLose) << ::testing::PrintToString(lost);

        EXPECT_EQ(cli({"undo", "--yes"}), (Outcome {0, UndoDone, ""}));
        Folders left = before;
        for (const std::string &path : lost) {
            if (std::filesystem::exists(path)) // not inside a folder the undo took
                left.insert(path.substr(folder.size() + 1));
        }
        EXPECT_EQ(foldersBelow(folder), left);
        EXPECT_EQ(dir.readFile("t/" + std::string(c.name) + "/own/mine.txt"), "kept");
    }
}

TEST_F(Cli, ASecondRunOrUndoIsRefusedWhileARunHoldsTheLog)
{
    dir.writeFile("install/large.txt", largeTree());
    const std::string first = dir / "t/first";
    clitest::RunningCli run({"create", "large.txt", first}, install);
    ASSERT_TRUE(waitForNewEntry(run, first, 0));

    const Outcome busy {1, "",
                        "Another run or undo is in progress. Nothing was changed: try again when "
                        "it has finished.\n"};
    const std::vector<std::vector<std::string>> seconds {
        {"create", "tree.txt", dir / "t/second"},
        {"undo", "--yes"},
    };
    for (const std::vector<std::string> &second : seconds) {
        SCOPED_TRACE(::testing::PrintToString(second));
        EXPECT_EQ(cli(second), busy);
    }
    EXPECT_FALSE(dir.exists("t/second"));
    EXPECT_TRUE(run.running()) << "the first run ended too soon to test anything";

    // The first run goes on undisturbed; stopped, it leaves its own log.
    run.signal(SIGTERM);
    const Outcome stopped = run.finish();
    EXPECT_EQ(stopped.status, 143);
    Folders made;
    for (const std::string &path : foldersBelow(first))
        made.insert(first + "/" + path);
    Folders logged;
    for (const std::string &line : clitest::linesOf(undoLog()))
        logged.insert(line.substr(0, line.size() - 1));
    EXPECT_EQ(logged, made);
    EXPECT_EQ(stopped.out,
              std::to_string(made.size()) + " subfolders were created successfully!\n");
}

// --- the build ---------------------------------------------------------------

TEST(CliBuild, NeedsNoWindowLibraries)
{
    std::FILE *pipe = popen("readelf -d '" BRINDLE_CLI "'", "r");
    ASSERT_NE(pipe, nullptr);
    std::string dynamic;
    char chunk[4096];
    while (const std::size_t got = std::fread(chunk, 1, sizeof chunk, pipe))
        dynamic.append(chunk, got);
    ASSERT_EQ(pclose(pipe), 0);
    EXPECT_NE(dynamic.find("libQt6Core"), std::string::npos) << dynamic;
    EXPECT_EQ(dynamic.find("libQt6Gui"), std::string::npos) << dynamic;
    EXPECT_EQ(dynamic.find("libQt6Widgets"), std::string::npos) << dynamic;
}

} // namespace
