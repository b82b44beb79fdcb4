#include "creationrun.h"
#include "failure.h"
#include "printers.h"
#include "scripted.h"
#include "scriptedrun.h"
#include "tempdir.h"
#include "tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <ostream>
#include <set>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using foldertree::NodeId;
using platform::Answer;
using Message = platform::EnglishMessage;
using Messages = std::vector<Message>;

Message summary(int count)
{
    return {std::to_string(count)
                + " subfolders were created successfully!\nOpen the target "
                  "location now?",
            "Information", platform::Buttons::YesNo, platform::Icon::Information, Answer::Yes};
}

Message question(const std::string &text)
{
    return {text, "Information", platform::Buttons::AbortRetryIgnore, platform::Icon::Information,
            Answer::Retry};
}

Message subfolderQuestion(const std::string &path)
{
    return question("Can not create subfolder: " + path);
}

Message reservedMessage(const std::string &name)
{
    return platform::englishInformation(
        "The new filename: '" + name
        + "' can not be renamed, because some names(con, aux, com1, "
          "lpt1, prn, nul) are reserved by Windows, you should use "
          "another name.");
}

std::set<std::string> entries(const std::string &folder)
{
    std::set<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class CreationRun : public ::testing::Test
{
protected:
    CreationRun()
    {
        dir.makeDirs("install");
        root = tree.addRoot("[Target Folder]", 1);
        // Questions answered Retry by default: a run that keeps asking fails
        // the test instead of hanging it.
        s.messages.onShow = [this](const platform::Message &) {
            if (s.messages.shown.size() > 50)
                throw std::runtime_error("the run keeps asking");
        };
    }

    NodeId add(NodeId parent, std::string_view name) { return tree.appendChild(parent, name, 0); }

    // Appends a chain of nodes below `parent`; returns the deepest.
    NodeId chain(NodeId parent, std::initializer_list<std::string_view> names)
    {
        for (std::string_view name : names)
            parent = add(parent, name);
        return parent;
    }

    creation::CreationResult create()
    {
        creation::CreationContext context = testsupport::scriptedRun(tree, s, install);
        context.focusTargetLocation = focus;
        context.enableUndo = enableUndo;
        return creation::createTickedFolders(context, target);
    }

    std::string t(std::string_view relative) const { return target + "/" + std::string(relative); }
    std::string log() const { return dir.readFile("install/undo.udo"); }

    testsupport::TempDir dir;
    platform::ScriptedServices s;
    foldertree::FolderTree tree;
    NodeId root;
    int focusCalls = 0;
    int undoEnables = 0;
    std::function<void()> focus = [this] { ++focusCalls; };
    std::function<void()> enableUndo = [this] { ++undoEnables; };
    std::string install = dir / "install/";
    std::string target = dir / "t";
};

TEST_F(CreationRun, DoesNothingWhileTheBusyPointerShows)
{
    add(root, "A");
    s.ui.setBusy(true);
    EXPECT_FALSE(create().started);
    EXPECT_TRUE(s.messages.shown.empty());
    EXPECT_FALSE(dir.exists("t"));
}

TEST_F(CreationRun, EmptyTreeAsksForATask)
{
    tree.clear();
    create();
    EXPECT_EQ(s.messages.english(),
              Messages {platform::englishInformation("Please select a task at left panel.")});
    EXPECT_FALSE(dir.exists("t"));
    EXPECT_EQ(focusCalls, 0);
}

TEST_F(CreationRun, RefusesTargetsWhoseParentFolderIsMissing)
{
    struct Row
    {
        const char *name;
        std::string target;
    };
    const Row rows[] = {
        {"empty", ""},
        {"only blanks", "   "},
        {"parent missing", dir / "missing/t"},
        {"missing with trailing separator", dir / "new/"},
        {"relative without separator", "relative"},
    };
    add(root, "A");
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        s.messages.shown.clear();
        focusCalls = 0;
        target = row.target;
        const auto before = entries(dir.path());
        EXPECT_FALSE(create().started);
        EXPECT_EQ(s.messages.english(),
                  Messages {platform::englishInformation(
                      "You have not specified a valid target location!")});
        EXPECT_EQ(focusCalls, 1);
        EXPECT_EQ(entries(dir.path()), before);
        EXPECT_FALSE(std::filesystem::exists("relative"));
    }
}

TEST_F(CreationRun, TrimsTheTargetAndMakesItsLastFolderUncounted)
{
    // The root still names the folder of a tree loaded earlier.
    dir.makeDirs("loaded");
    tree.setText(root, dir / "loaded");
    chain(root, {"A", "B"});
    target = " \t" + dir / "t" + "  ";
    s.messages.queue(Answer::Yes);
    const auto result = create();
    EXPECT_EQ(target, dir / "t");
    EXPECT_EQ(tree.text(root), target);
    EXPECT_TRUE(dir.isDirectory("t/A/B"));
    EXPECT_TRUE(entries(dir / "loaded").empty());
    EXPECT_EQ(result.created, 2);
    EXPECT_EQ(s.messages.english(), Messages {summary(2)});
    EXPECT_EQ(log(), t("A") + "\r\n" + t("A/B") + "\r\n");
    EXPECT_EQ(s.shell.locations, std::vector<std::string> {target});
}

TEST_F(CreationRun, LogListsFoldersInCreationOrderAndEnablesUndo)
{
    const NodeId a = add(root, "A");
    add(a, "B");
    add(chain(a, {"C"}), "D");
    add(root, "E");
    create();
    EXPECT_EQ(log(),
              t("A") + "\r\n" + t("A/B") + "\r\n" + t("A/C") + "\r\n" + t("A/C/D") + "\r\n" + t("E")
                  + "\r\n");
    EXPECT_EQ(undoEnables, 1);
}

TEST_F(CreationRun, LogHoldsAbsolutePathsForARelativeTarget)
{
    add(root, "A");
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    target = "sub/t";
    dir.makeDirs("sub");
    create();
    std::filesystem::current_path(saved);
    EXPECT_TRUE(dir.isDirectory("sub/t/A"));
    EXPECT_EQ(log(), std::filesystem::canonical(dir.path()).string() + "/sub/t/A\r\n");
}

TEST_F(CreationRun, NothingNewLeavesTheEarlierLogAlone)
{
    chain(root, {"A", "B"});
    dir.makeDirs("t/A/B");
    dir.writeFile("install/undo.udo", "earlier\r\n");
    s.messages.queue(Answer::No);
    EXPECT_EQ(create().created, 0);
    EXPECT_EQ(s.messages.english(), Messages {summary(0)});
    EXPECT_EQ(log(), "earlier\r\n");
    EXPECT_EQ(undoEnables, 0);
    EXPECT_TRUE(s.shell.locations.empty());
}

TEST_F(CreationRun, TargetThatCannotBeMade)
{
    chain(root, {"A", "B"});
    const Message targetQuestion = question("Can not create target location:" + target);

    // Abort: nothing below is tried.
    s.fileSystem.failMakeDirectory[target] = 1;
    s.messages.queue(Answer::Abort);
    EXPECT_EQ(create().created, 0);
    EXPECT_EQ(s.messages.english(), (Messages {targetQuestion, summary(0)}));
    EXPECT_TRUE(s.fileSystem.madeDirectories.empty());
    EXPECT_FALSE(dir.exists("t"));

    // Retry, and the second attempt works.
    s.messages.shown.clear();
    s.fileSystem.failMakeDirectory[target] = 1;
    s.messages.queue(Answer::Retry);
    EXPECT_EQ(create().created, 2);
    EXPECT_EQ(s.messages.english(), (Messages {targetQuestion, summary(2)}));
    EXPECT_TRUE(dir.isDirectory("t/A/B"));
}

TEST_F(CreationRun, IgnoringAMissingTargetAsksForEveryFolderBelow)
{
    chain(root, {"A", "B"});
    s.fileSystem.failMakeDirectory[target] = 1000;
    for (int i = 0; i < 4; ++i)
        s.messages.queue(Answer::Ignore);
    s.messages.queue(Answer::No);
    EXPECT_EQ(create().created, 0);
    // A's step reaches B, then the walk steps on B itself.
    EXPECT_EQ(
        s.messages.english(),
        (Messages {question("Can not create target location:" + target), subfolderQuestion(t("A")),
                   subfolderQuestion(t("A/B")), subfolderQuestion(t("A/B")), summary(0)}));
    EXPECT_FALSE(dir.exists("t"));
    EXPECT_FALSE(dir.exists("install/undo.udo"));
}

TEST_F(CreationRun, AbortMidRunKeepsAndLogsWhatWasMade)
{
    add(chain(root, {"A"}), "A1");
    add(root, "B");
    add(root, "C");
    s.fileSystem.failMakeDirectory[t("B")] = 1;
    s.messages.queue(Answer::Abort);
    EXPECT_EQ(create().created, 2);
    EXPECT_EQ(s.messages.english(), (Messages {subfolderQuestion(t("B")), summary(2)}));
    EXPECT_EQ(s.fileSystem.madeDirectories, (std::vector<std::string> {target, t("A"), t("A/A1")}));
    EXPECT_EQ(entries(target), (std::set<std::string> {"A"}));
    EXPECT_EQ(log(), t("A") + "\r\n" + t("A/A1") + "\r\n");
    EXPECT_EQ(undoEnables, 1);
}

TEST_F(CreationRun, RetryMakesTheFolderAtOnce)
{
    add(chain(root, {"A"}), "B");
    s.fileSystem.failMakeDirectory[t("A")] = 1;
    s.messages.queue(Answer::Retry);
    EXPECT_EQ(create().created, 2);
    EXPECT_EQ(s.messages.english(), (Messages {subfolderQuestion(t("A")), summary(2)}));
    EXPECT_EQ(log(), t("A") + "\r\n" + t("A/B") + "\r\n");
}

TEST_F(CreationRun, IgnoredFolderStillTriesEachTickedChild)
{
    const NodeId a = add(root, "A");
    add(a, "B");
    add(a, "C");
    s.fileSystem.failMakeDirectory[t("A")] = 1000;
    for (int i = 0; i < 5; ++i)
        s.messages.queue(Answer::Ignore);
    EXPECT_EQ(create().created, 0);
    EXPECT_EQ(s.messages.english(),
              (Messages {subfolderQuestion(t("A")), subfolderQuestion(t("A/B")),
                         subfolderQuestion(t("A/C")), subfolderQuestion(t("A/B")),
                         subfolderQuestion(t("A/C")), summary(0)}));
    EXPECT_FALSE(dir.exists("t/A"));
}

TEST_F(CreationRun, TickedNodeBelowAnUntickedOne)
{
    for (bool parentOnDisk : {false, true}) {
        SCOPED_TRACE(parentOnDisk ? "parent folder exists" : "parent folder missing");
        testsupport::TempDir scratch;
        target = scratch / "t";
        scratch.makeDirs(parentOnDisk ? "t/A" : "t");
        s.messages.shown.clear();
        root = tree.addRoot("[Target Folder]", 1);
        const NodeId a = add(root, "A");
        add(a, "B");
        foldertree::setNodeTicked(tree, a, false);
        if (!parentOnDisk)
            s.messages.queue(Answer::Ignore);
        s.messages.queue(Answer::No);
        const Messages expected = parentOnDisk ? Messages {summary(1)}
                                               : Messages {subfolderQuestion(t("A/B")), summary(0)};
        EXPECT_EQ(create().created, parentOnDisk ? 1 : 0);
        EXPECT_EQ(s.messages.english(), expected);
        EXPECT_EQ(scratch.isDirectory("t/A/B"), parentOnDisk);
        EXPECT_EQ(scratch.exists("t/A"), parentOnDisk);
        EXPECT_EQ(log(), parentOnDisk ? t("A/B") + "\r\n" : "");
    }
}

TEST_F(CreationRun, UntickedRootStillMakesItsChildren)
{
    add(root, "A");
    foldertree::setNodeTicked(tree, root, false);
    EXPECT_EQ(create().created, 1);
    EXPECT_TRUE(dir.isDirectory("t/A"));
}

TEST_F(CreationRun, ReservedNamesBelowTheFirstLevelAreReportedPerParentStep)
{
    struct Row
    {
        const char *name;
        std::vector<std::string_view> chain; // ends in "con"
        int messages;
    };
    const Row rows[] = {
        {"child of the root", {"con"}, 0},
        {"second level", {"A", "con"}, 1},
        {"third level", {"A", "B", "con"}, 2},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        testsupport::TempDir scratch;
        target = scratch / "t";
        s.messages.shown.clear();
        NodeId node = root = tree.addRoot("[Target Folder]", 1);
        std::string path;
        for (std::string_view name : row.chain) {
            node = add(node, name);
            path += (path.empty() ? "" : "/") + std::string(name);
        }
        s.messages.queue(Answer::No);
        EXPECT_EQ(create().created, int(row.chain.size()));
        Messages expected(row.messages, reservedMessage("con"));
        expected.push_back(summary(int(row.chain.size())));
        EXPECT_EQ(s.messages.english(), expected);
        // The walk still reaches the node itself and makes it unchecked.
        EXPECT_TRUE(scratch.isDirectory("t/" + path));
    }
}

TEST_F(CreationRun, SiblingsOfTheSameNameShareOneFolder)
{
    add(add(root, "A"), "X");
    add(add(root, "A"), "Y");
    EXPECT_EQ(create().created, 3);
    EXPECT_EQ(entries(t("A")), (std::set<std::string> {"X", "Y"}));
    EXPECT_EQ(log(), t("A") + "\r\n" + t("A/X") + "\r\n" + t("A/Y") + "\r\n");
}

TEST_F(CreationRun, SummaryAnswerDecidesWhetherTheTargetOpens)
{
    add(root, "A");
    for (Answer answer : {Answer::Yes, Answer::No}) {
        s.shell.locations.clear();
        s.messages.queue(answer);
        EXPECT_EQ(create().openTarget, answer == Answer::Yes);
        EXPECT_EQ(s.shell.locations,
                  answer == Answer::Yes ? std::vector<std::string> {target}
                                        : std::vector<std::string> {});
    }
}

TEST_F(CreationRun, NamesThatLeadOutsideAreRefusedWithEverythingBelow)
{
    for (const char *name : {"..", ".", "a/../b", "/abs", "../escape", "x/.."}) {
        SCOPED_TRACE(name);
        testsupport::TempDir scratch;
        scratch.makeDirs("parent/t");
        target = scratch / "parent/t";
        s.messages.shown.clear();
        root = tree.addRoot("[Target Folder]", 1);
        chain(add(root, name), {"inner", "deeper"});
        add(root, "ok");
        s.messages.queue(Answer::No);
        EXPECT_EQ(create().created, 1);
        EXPECT_EQ(s.messages.english(),
                  (Messages {platform::englishInformation(
                                 platform::english(creation::outsideTargetMessage(name))),
                             summary(1)}));
        EXPECT_EQ(entries(scratch / "parent"), std::set<std::string> {"t"});
        EXPECT_EQ(entries(target), std::set<std::string> {"ok"});
        EXPECT_EQ(entries(scratch.path()), (std::set<std::string> {"home", "parent"}));
    }
    EXPECT_EQ(platform::english(creation::outsideTargetMessage("..")),
              "The folder name '..' would lead outside the target location, so it is not "
              "created, and neither is anything below it.");
}

TEST_F(CreationRun, LogThatCannotBeWrittenIsReportedBeforeAnythingIsMade)
{
    struct Case
    {
        const char *name;
        std::function<void(testsupport::TempDir &)> prepare;
    };
    const Case cases[] = {
        {"install folder missing",
         [](testsupport::TempDir &d) { std::filesystem::remove(d / "install"); }},
        {"record blocked by a folder",
         [](testsupport::TempDir &d) {
             d.writeFile("install/undo.udo", "earlier\r\n");
             d.makeDirs("install/undo.udo.running");
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir scratch;
        platform::ScriptedServices services;
        foldertree::FolderTree plan;
        plan.appendChild(plan.addRoot("t", 1), "A", 0);
        scratch.makeDirs("install");
        c.prepare(scratch);
        const std::string earlier = scratch.exists("install/undo.udo")
            ? scratch.readFile("install/undo.udo")
            : std::string();
        creation::CreationContext context
            = testsupport::scriptedRun(plan, services, scratch / "install/");
        std::string where = scratch / "t";
        try {
            creation::createTickedFolders(context, where);
            ADD_FAILURE() << "no failure thrown";
        } catch (const platform::Failure &failure) {
            EXPECT_EQ(std::string(failure.what()),
                      "Cannot create file " + (scratch / "install/") + "undo.udo");
        }
        EXPECT_TRUE(services.messages.shown.empty());
        EXPECT_FALSE(scratch.exists("t"));
        if (!earlier.empty()) {
            EXPECT_EQ(scratch.readFile("install/undo.udo"), earlier);
        }
        EXPECT_FALSE(services.ui.isBusy());
    }
}

TEST_F(CreationRun, ReadOnlyInstallFolderForAnUnprivilegedUser)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to switch to the user nobody";
    add(root, "A");
    dir.writeFile("install/undo.udo", "earlier\r\n");
    dir.makeDirs("t");
    chmod(dir.path().c_str(), 0755);
    chmod(target.c_str(), 0777);
    // The child reports through its exit status: 0 when the run failed as it should.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(10);
        try {
            create();
            _exit(11);
        } catch (const platform::Failure &failure) {
            if (failure.what() != "Cannot create file " + install + "undo.udo")
                _exit(12);
            _exit(!s.messages.shown.empty() ? 13 : undoEnables != 0 ? 14 : 0);
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10 no user switch, 11 no failure, 12 wrong text, "
                                         "13 a message shown, 14 undo enabled";
    EXPECT_EQ(log(), "earlier\r\n");
    // Said before anything was made.
    EXPECT_TRUE(entries(target).empty());
    EXPECT_EQ(entries(dir / "install"), std::set<std::string> {"undo.udo"});
}

TEST_F(CreationRun, ChainPastThePathLimitIsMadeWhole)
{
    const std::string name(200, 'n');
    NodeId node = root;
    std::string path = target;
    for (int i = 0; i < 25; ++i) {
        node = add(node, name);
        path += "/" + name;
    }
    ASSERT_GT(path.size(), std::size_t(PATH_MAX));
    s.messages.queue(Answer::No);
    EXPECT_EQ(create().created, 25);
    EXPECT_EQ(s.messages.english(), (Messages {summary(25)}));
    ASSERT_EQ(s.fileSystem.madeDirectories.size(), 26u);
    EXPECT_EQ(s.fileSystem.madeDirectories.back(), path);
    const std::string text = log();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 25);
    EXPECT_TRUE(text.ends_with(path + "\r\n"));
}

TEST_F(CreationRun, DeepChainOfTwoThousandLevels)
{
    NodeId node = root;
    std::string path = target;
    for (int i = 0; i < 2000; ++i) {
        node = add(node, "d");
        path += "/d";
    }
    ASSERT_LT(path.size(), std::size_t(PATH_MAX));
    s.messages.queue(Answer::No);
    EXPECT_EQ(create().created, 2000);
    EXPECT_EQ(s.messages.english(), Messages {summary(2000)});
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(s.fileSystem.madeDirectories.size(), 2001u); // with the target
    const std::string text = log();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2000);
    EXPECT_EQ(text.substr(text.size() - path.size() - 2), path + "\r\n");
}

} // namespace
