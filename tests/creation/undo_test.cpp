#include "creationrun.h"
#include "failure.h"
#include "printers.h"
#include "scripted.h"
#include "scriptedrun.h"
#include "tempdir.h"
#include "trash.h"
#include "tree.h"
#include "undo.h"
#include "undolog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sys/mount.h>
#include <sys/stat.h>

namespace {

using platform::Answer;
using Message = platform::EnglishMessage;
using Messages = std::vector<Message>;
using Paths = std::vector<std::string>;

const Message UndoQuestion {"Do you want to UNDO the last operation ?", "Undo Confirmation",
                            platform::Buttons::YesNo, platform::Icon::Question, Answer::Yes};
const Message UndoDone {"Undo done.", "Information", platform::Buttons::Ok,
                        platform::Icon::Question, Answer::Ok};

// GLib reads HOME and XDG_DATA_HOME once per process, so the tests that use the
// desktop trash share one home that lasts as long as the process. It lies on
// the same file system as the test folders, where GIO uses the home trash.
std::string desktopTrashHome()
{
    static const testsupport::TempDir home; // removed at the end of the process
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    return home / "data/Trash";
}

class Undo : public ::testing::Test
{
protected:
    Undo()
    {
        dir.makeDirs("install");
        dir.makeDirs("trash");
        dir.makeDirs("t");
    }

    creation::UndoResult undo(platform::Trash &trash)
    {
        creation::UndoContext context {.messages = s.messages,
                                       .fileSystem = s.fileSystem,
                                       .ui = s.ui,
                                       .trash = trash,
                                       .logFolder = install,
                                       .setUndoEnabled
                                       = [this](bool enabled) { undoStates.push_back(enabled); },
                                       .progress = progress};
        return creation::undoLastRun(context);
    }
    creation::UndoResult undo() { return undo(trash); }

    creation::CreationResult create()
    {
        creation::CreationContext context = testsupport::scriptedRun(tree, s, install);
        context.enableUndo = [this] { ++undoEnables; };
        s.messages.queue(Answer::No);
        return creation::createTickedFolders(context, target);
    }

    void writeLog(const Paths &lines)
    {
        std::string text;
        for (const std::string &line : lines)
            text += line + "\r\n";
        dir.writeFile("install/undo.udo", text);
    }
    std::string log() const { return dir.readFile("install/undo.udo"); }
    // The messages shown, without the details that tests of their wording
    // leave to the tests of the details.
    Messages shownTexts() const
    {
        Messages shown = s.messages.english();
        for (Message &message : shown)
            message.details.clear();
        return shown;
    }
    std::string t(std::string_view relative) const { return target + "/" + std::string(relative); }

    testsupport::TempDir dir;
    platform::ScriptedServices s;
    platform::ScriptedTrash trash {dir / "trash"};
    foldertree::FolderTree tree;
    std::vector<bool> undoStates;
    platform::ProgressReport progress;
    int undoEnables = 0;
    std::string install = dir / "install/";
    std::string target = dir / "t";
};

TEST_F(Undo, AnsweringNoChangesNothing)
{
    dir.makeDirs("t/A");
    writeLog({t("A")});
    s.messages.queue(Answer::No);
    EXPECT_FALSE(undo().confirmed);
    EXPECT_EQ(shownTexts(), Messages {UndoQuestion});
    EXPECT_TRUE(dir.isDirectory("t/A"));
    EXPECT_EQ(log(), t("A") + "\r\n");
    EXPECT_TRUE(undoStates.empty());
}

TEST_F(Undo, FolderWithItsSubfoldersGoesInOneMove)
{
    dir.makeDirs("t/A/B/C");
    writeLog({t("A"), t("A/B"), t("A/B/C")});
    const auto result = undo();
    EXPECT_EQ(trash.trashed, Paths {t("A")});
    EXPECT_EQ(result.trashed, Paths {t("A")});
    EXPECT_TRUE(dir.isDirectory("trash/0/B/C"));
    EXPECT_FALSE(dir.exists("t/A"));
    EXPECT_FALSE(dir.exists("install/undo.udo"));
    EXPECT_EQ(undoStates, std::vector<bool> {false});
    EXPECT_EQ(shownTexts(), (Messages {UndoQuestion, UndoDone}));
    EXPECT_FALSE(s.ui.isBusy());
}

TEST_F(Undo, FilledFolderGoesToTheDesktopTrashWithItsFiles)
{
    const std::string trashFolder = desktopTrashHome();
    // The trash is shared by the tests of this process: a name of this test's own.
    const std::string name = "filled-" + std::filesystem::path(dir.path()).filename().string();
    dir.makeDirs("t/" + name + "/inner");
    dir.writeFile("t/" + name + "/inner/notes.txt", "mine");
    writeLog({t(name), t(name + "/inner")});
    platform::SystemTrash systemTrash;
    EXPECT_EQ(undo(systemTrash).trashed, Paths {t(name)});
    EXPECT_FALSE(dir.exists("t/" + name));
    std::ifstream notes(trashFolder + "/files/" + name + "/inner/notes.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(notes), {}), "mine");
    EXPECT_TRUE(std::filesystem::is_regular_file(trashFolder + "/info/" + name + ".trashinfo"));
    EXPECT_EQ(shownTexts(), (Messages {UndoQuestion, UndoDone}));
    EXPECT_FALSE(dir.exists("install/undo.udo"));
}

TEST_F(Undo, LinesThatNameNoFolderArePassedOverSilently)
{
    dir.writeFile("t/file.txt", "data");
    struct Row
    {
        const char *name;
        Paths lines;
    };
    const Row rows[] = {
        {"all folders gone already", {t("gone"), t("gone/below")}},
        {"empty lines", {"", "", t("A")}},
        {"a file", {t("file.txt"), t("A")}},
        {"a line over 4096 bytes", {t("A"), target + "/" + std::string(5000, 'x')}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        s.messages.shown.clear();
        undoStates.clear();
        trash.trashed.clear();
        dir.makeDirs("t/A");
        writeLog(row.lines);
        undo();
        EXPECT_EQ(shownTexts(), (Messages {UndoQuestion, UndoDone}));
        EXPECT_FALSE(dir.exists("install/undo.udo"));
        EXPECT_EQ(undoStates, std::vector<bool> {false});
        EXPECT_EQ(dir.readFile("t/file.txt"), "data");
        const bool listsA
            = std::find(row.lines.begin(), row.lines.end(), t("A")) != row.lines.end();
        EXPECT_EQ(dir.exists("t/A"), !listsA);
        EXPECT_EQ(trash.trashed, listsA ? Paths {t("A")} : Paths {});
        // The scripted trash numbers what it takes from 0 again.
        std::filesystem::remove_all(dir / "trash");
        dir.makeDirs("trash");
    }
}

TEST_F(Undo, MissingLogThrowsBeforeAskingAndChangesNothing)
{
    dir.makeDirs("t/A");
    try {
        undo();
        ADD_FAILURE() << "no failure thrown";
    } catch (const platform::Failure &failure) {
        EXPECT_STREQ(failure.what(), ("Cannot open file " + install + "undo.udo").c_str());
    }
    EXPECT_EQ(s.messages.english(), Messages {});
    EXPECT_TRUE(undoStates.empty());
    EXPECT_TRUE(dir.isDirectory("t/A"));
    EXPECT_FALSE(s.ui.isBusy());
}

TEST_F(Undo, RefusedFolderStaysOnDiskAndInTheLog)
{
    dir.makeDirs("t/A");
    dir.makeDirs("t/B");
    dir.makeDirs("t/C");
    writeLog({t("A"), t("B"), t("C")});
    trash.refuse = {t("A"), t("C")};
    const auto result = undo();
    EXPECT_EQ(result.keptBack, (Paths {t("A"), t("C")}));
    EXPECT_TRUE(dir.isDirectory("t/A"));
    EXPECT_FALSE(dir.exists("t/B"));
    EXPECT_TRUE(dir.isDirectory("t/C"));
    EXPECT_EQ(shownTexts(),
              (Messages {UndoQuestion,
                         platform::inEnglish(
                             creation::keptBackMessage({t("A"), t("C")}, "Permission denied"))}));
    EXPECT_EQ(log(), t("A") + "\r\n" + t("C") + "\r\n");
    EXPECT_EQ(undoStates, std::vector<bool> {true});

    // A second undo retries what stayed.
    trash.refuse.clear();
    undo();
    EXPECT_FALSE(dir.exists("t/A"));
    EXPECT_FALSE(dir.exists("install/undo.udo"));
    EXPECT_EQ(undoStates, (std::vector<bool> {true, false}));
}

TEST_F(Undo, DesktopTrashRefusesAFolderOnTmpfs)
{
    dir.makeDirs("mnt");
    if (mount("none", (dir / "mnt").c_str(), "tmpfs", 0, nullptr) != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root and mount rights): "
                     << std::strerror(errno);
    struct Unmount
    {
        std::string path;
        ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
    } unmount {dir / "mnt"};
    const std::string trashFolder = desktopTrashHome();
    const std::string name = "plain-" + std::filesystem::path(dir.path()).filename().string();
    dir.makeDirs("mnt/A");
    dir.makeDirs("t/" + name);
    writeLog({dir / "mnt/A", t(name)});
    platform::SystemTrash systemTrash;
    const auto result = undo(systemTrash);
    EXPECT_EQ(result.keptBack, Paths {dir / "mnt/A"});
    EXPECT_TRUE(dir.isDirectory("mnt/A"));
    EXPECT_FALSE(dir.exists("t/" + name));
    EXPECT_TRUE(std::filesystem::is_directory(trashFolder + "/files/" + name));
    EXPECT_FALSE(result.refusal.empty());
    EXPECT_EQ(shownTexts(),
              (Messages {UndoQuestion,
                         platform::inEnglish(
                             creation::keptBackMessage({dir / "mnt/A"}, result.refusal))}));
    EXPECT_EQ(log(), dir / "mnt/A" + "\r\n");
    EXPECT_EQ(undoStates, std::vector<bool> {true});
}

// Lines of a log that someone else wrote: each is left alone, and so is what it
// would name if it were followed; the one line a run could have written goes.
TEST_F(Undo, LinesNoRunCouldHaveWrittenAreLeftAlone)
{
    struct Row
    {
        const char *name;
        std::string line;
        std::string decoy; // must survive
    };
    dir.makeDirs("decoy");
    dir.makeDirs("t/A");
    dir.makeDirs("elsewhere/inner");
    dir.makeDirs("elsewhere/decoy");
    std::filesystem::create_directory_symlink(dir / "elsewhere/inner", dir / "t/link");
    std::filesystem::create_directory_symlink(dir.path(), dir / "t/up");
    const std::string home = dir / "home"; // the test's HOME
    ASSERT_EQ(std::getenv("HOME"), home);
    const Row rows[] = {
        {"a relative line", "decoy", dir / "decoy"},
        {"a \"..\" component", t("../decoy"), dir / "decoy"},
        {"the root", "/", "/"},
        {"a folder right below the root", "/brindle-decoy", ""},
        {"the home folder", home, home},
        {"the install folder", dir / "install", dir / "install"},
        {"the install folder's parent", dir.path(), dir.path()},
        {"\"..\" after a link", t("link/../decoy"), dir / "elsewhere/decoy"},
        {"the home folder through a link", t("up/home"), home},
        {"an empty component", target + "//A", t("A")},
        {"a trailing separator", t("A/"), t("A")},
    };
    // A relative line would be read against the current folder.
    const std::filesystem::path current = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        s.messages.shown.clear();
        trash.trashed.clear();
        dir.makeDirs("t/B");
        writeLog({row.line, t("B")});
        const auto result = undo();
        EXPECT_EQ(trash.trashed, Paths {t("B")});
        EXPECT_EQ(result.skipped, Paths {row.line});
        EXPECT_TRUE(row.decoy.empty() || std::filesystem::is_directory(row.decoy));
        EXPECT_EQ(shownTexts(),
                  (Messages {UndoQuestion, UndoDone,
                             platform::englishInformation(
                                 "These lines of the undo list do not name a folder a run could "
                                 "have made, so they were left alone:\n"
                                 + row.line)}));
        EXPECT_FALSE(dir.exists("install/undo.udo"));
        std::filesystem::remove_all(dir / "trash");
        dir.makeDirs("trash");
    }
    std::filesystem::current_path(current);

    // A log that is a named pipe is refused at once, not waited on.
    ASSERT_EQ(mkfifo((dir / "install/undo.udo").c_str(), 0600), 0);
    s.messages.shown.clear();
    EXPECT_THROW(
        {
            try {
                undo();
            } catch (const platform::Failure &failure) {
                EXPECT_STREQ(failure.what(), ("Cannot open file " + install + "undo.udo").c_str());
                throw;
            }
        },
        platform::Failure);
    EXPECT_TRUE(s.messages.shown.empty());
}

// The question says how many folders go and from where, and warns of what the
// run did not make; Yes takes it all.
TEST_F(Undo, QuestionTellsWhatGoesToTheTrash)
{
    dir.makeDirs("t/A/B");
    dir.makeDirs("t/C");
    dir.writeFile("t/A/B/notes.txt", "the user's own");
    writeLog({t("A"), t("A/B"), t("C"), t("gone"), "relative"});
    s.messages.queue(Answer::Yes);
    undo();
    ASSERT_FALSE(s.messages.shown.empty());
    EXPECT_EQ(platform::english(s.messages.shown[0].details),
              "3 folders made by the last run will go to the trash, from " + target
                  + ".\n\nThese folders now also hold files or folders the last run did not "
                    "make, which will go to the trash with them:\n"
                  + t("A/B")
                  + "\n\n1 line of the undo list names no folder a run could have made and will "
                    "be left alone.");
    EXPECT_EQ(trash.trashed, (Paths {t("A"), t("C")}));
    EXPECT_TRUE(dir.isDirectory("trash/0/B"));
}

// The trash refuses a folder and everything in it: the message names the
// folder once, with the trash's reason once, and lists every refused folder in
// its details; all of them stay in the log.
TEST_F(Undo, RefusedUndoNamesTheTopFoldersAndTheReasonOnce)
{
    dir.makeDirs("t/P/a/x");
    dir.makeDirs("t/P/b");
    dir.makeDirs("t/Q");
    writeLog({t("P"), t("P/a"), t("P/a/x"), t("P/b"), t("Q")});
    trash.refuse = {t("P"), t("P/a"), t("P/a/x"), t("P/b")};
    trash.refusal = "Operation not supported";
    undo();
    EXPECT_EQ(trash.trashed, Paths {t("Q")});
    Message refused = platform::englishInformation(
        "These folders could not be moved to the trash and were left where they are:\n" + t("P")
        + "\nThe trash said: Operation not supported\nThey stay in the undo list: press Undo "
          "again to retry.");
    refused.details = t("P") + "\n" + t("P/a") + "\n" + t("P/a/x") + "\n" + t("P/b") + "\n";
    ASSERT_EQ(s.messages.shown.size(), 2u);
    EXPECT_EQ(platform::inEnglish(s.messages.shown[1]), refused);
    EXPECT_EQ(log(), t("P") + "\r\n" + t("P/a") + "\r\n" + t("P/a/x") + "\r\n" + t("P/b") + "\r\n");
    EXPECT_EQ(undoStates, std::vector<bool> {true});
}

// Asked to stop, the undo keeps what it has not reached in the log.
TEST_F(Undo, StoppedUndoKeepsTheRestListed)
{
    dir.makeDirs("t/A/B");
    dir.makeDirs("t/C");
    dir.makeDirs("t/D");
    writeLog({t("A"), t("A/B"), t("C"), t("D")});
    std::vector<std::string> told;
    progress = [&](std::size_t, const std::string &folder) {
        told.push_back(folder);
        return folder != t("C");
    };
    EXPECT_TRUE(undo().stopped);
    EXPECT_EQ(told, (Paths {t("A"), t("C")}));
    EXPECT_EQ(trash.trashed, Paths {t("A")});
    EXPECT_EQ(log(), t("C") + "\r\n" + t("D") + "\r\n");
    EXPECT_EQ(undoStates, std::vector<bool> {true});
    EXPECT_EQ(
        shownTexts(),
        (Messages {UndoQuestion,
                   platform::englishInformation("The undo was stopped. The folders not yet moved "
                                                "to the trash stay in the undo list: press Undo "
                                                "again to go on.")}));
}

// While another run or undo holds the log, the undo changes nothing; a record
// left by a killed run becomes the log it undoes.
TEST_F(Undo, UndoWaitsForNoOtherRunAndTakesAKilledRunsRecord)
{
    dir.makeDirs("t/A");
    dir.writeFile("install/undo.udo.running", t("A") + "\r\n");
    {
        const auto other = creation::UndoLogLock::acquire(install);
        ASSERT_TRUE(other);
        EXPECT_FALSE(undo().confirmed);
        EXPECT_EQ(
            s.messages.texts(),
            Paths {"Another run or undo is in progress. Nothing was changed: try again when it has "
                   "finished."});
        EXPECT_TRUE(dir.exists("install/undo.udo.running"));
    }
    undo();
    EXPECT_EQ(trash.trashed, Paths {t("A")});
    EXPECT_FALSE(dir.exists("install/undo.udo.running"));
    EXPECT_FALSE(dir.exists("install/undo.udo"));
}

TEST_F(Undo, RunAfterAnUndoThatMakesNothingWritesNoLog)
{
    tree.appendChild(tree.addRoot("[Target Folder]", 1), "A", 0);
    create();
    EXPECT_EQ(undoEnables, 1);
    undo();
    EXPECT_FALSE(dir.exists("t/A"));

    dir.makeDirs("t/X");
    tree.appendChild(tree.addRoot("[Target Folder]", 1), "X", 0);
    EXPECT_EQ(create().created, 0);
    EXPECT_FALSE(dir.exists("install/undo.udo"));
    EXPECT_EQ(undoEnables, 1);
}

TEST_F(Undo, UndoTakesOnlyTheLastRun)
{
    tree.appendChild(tree.addRoot("[Target Folder]", 1), "A", 0);
    create();
    tree.appendChild(tree.addRoot("[Target Folder]", 1), "B", 0);
    create();
    EXPECT_EQ(log(), t("B") + "\r\n");
    undo();
    EXPECT_TRUE(dir.isDirectory("t/A"));
    EXPECT_FALSE(dir.exists("t/B"));
    EXPECT_EQ(trash.trashed, Paths {t("B")});
}

} // namespace
