#include "creationrun.h"
#include "failure.h"
#include "printers.h"
#include "scripted.h"
#include "tempdir.h"
#include "trash.h"
#include "tree.h"
#include "undo.h"

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

namespace {

using platform::Answer;
using platform::Message;
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
        creation::UndoContext context {
            s.messages, s.fileSystem, s.ui, trash, install, createdFolders, [this](bool enabled) {
                undoStates.push_back(enabled);
            }};
        return creation::undoLastRun(context);
    }
    creation::UndoResult undo() { return undo(trash); }

    creation::CreationResult create()
    {
        creation::CreationContext context {tree,           s.messages, s.fileSystem,
                                           s.ui,           s.shell,    install,
                                           createdFolders, [] {},      [this] { ++undoEnables; }};
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
        Messages shown = s.messages.shown;
        for (Message &message : shown)
            message.details.clear();
        return shown;
    }
    std::string t(std::string_view relative) const { return target + "/" + std::string(relative); }

    testsupport::TempDir dir;
    platform::ScriptedServices s;
    platform::ScriptedTrash trash {dir / "trash"};
    foldertree::FolderTree tree;
    std::vector<std::string> createdFolders;
    std::vector<bool> undoStates;
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
    EXPECT_TRUE(createdFolders.empty());
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
    createdFolders = {t("A")};
    try {
        undo();
        ADD_FAILURE() << "no failure thrown";
    } catch (const platform::Failure &failure) {
        EXPECT_STREQ(failure.what(), ("Cannot open file " + install + "undo.udo").c_str());
    }
    EXPECT_EQ(s.messages.shown, Messages {});
    EXPECT_TRUE(undoStates.empty());
    EXPECT_EQ(createdFolders, Paths {t("A")});
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
                         creation::keptBackMessage({t("A"), t("C")}, "Permission denied")}));
    EXPECT_EQ(log(), t("A") + "\r\n" + t("C") + "\r\n");
    EXPECT_EQ(undoStates, std::vector<bool> {true});
    EXPECT_TRUE(createdFolders.empty());

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
    EXPECT_EQ(
        shownTexts(),
        (Messages {UndoQuestion, creation::keptBackMessage({dir / "mnt/A"}, result.refusal)}));
    EXPECT_EQ(log(), dir / "mnt/A" + "\r\n");
    EXPECT_EQ(undoStates, std::vector<bool> {true});
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
    EXPECT_TRUE(createdFolders.empty());
}

} // namespace
