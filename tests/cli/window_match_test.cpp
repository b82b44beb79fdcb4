// The window's "Create Now" and `brindle-cli create` on the same tree file:
// the same folders, the same undo log, the same messages.

#include "runcli.h"
#include "scripted.h"
#include "tempdir.h"
#include "windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <sstream>

namespace {

using platform::Answer;

// The application object of the window, for the life of one test.
class Application
{
    struct Offscreen
    {
        Offscreen() { setenv("QT_QPA_PLATFORM", "offscreen", 0); }
    } m_offscreen;
    int m_argc = 1;
    char m_name[16] = "cli_window_test";
    char *m_argv[2] = {m_name, nullptr};
    QApplication m_application {m_argc, m_argv};
};

// Answers as brindle-cli --on-error=ignore does: Ignore to failures, No to the
// summary (nothing is opened), OK to notices.
class AnswerByKind : public platform::MessageService
{
public:
    Answer ask(const platform::Message &message) override
    {
        texts.push_back(platform::english(message.text));
        switch (message.buttons) {
        case platform::Buttons::AbortRetryIgnore:
            return Answer::Ignore;
        case platform::Buttons::YesNo:
            return Answer::No;
        case platform::Buttons::Ok:
            return Answer::Ok;
        }
        return Answer::Ok;
    }
    std::vector<std::string> texts;
};

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Every case the run treats apart: nested and repeated names, odd indentation,
// blank lines, trailing blanks, a name leading outside, a reserved name, a
// folder blocked by a file, and a deep chain.
constexpr std::string_view TreeFile = "<tree>\r\n"
                                      "/an/old/root\r\n"
                                      "  Documents\r\n"
                                      "    Letters\r\n"
                                      "    Letters\r\n"
                                      "      2024\r\n"
                                      "  Media\r\n"
                                      "        TooDeep\r\n"
                                      "    Video \r\n"
                                      "\r\n"
                                      "  ..\r\n"
                                      "    escaped\r\n"
                                      "  Blocked\r\n"
                                      "    Under\r\n"
                                      "  Deep\r\n"
                                      "    con\r\n"
                                      "    a\r\n"
                                      "      b\r\n"
                                      "        c\r\n"
                                      " Last\r\n";

TEST(WindowAndCli, CreateNowAndCliCreateMakeTheSameFoldersLogAndMessages)
{
    clitest::OffTmpfs offTmpfs;
    testsupport::TempDir dir;
    dir.writeFile("tree.txt", TreeFile);
    for (const char *side : {"window", "cli"}) {
        dir.makeDirs(std::string(side) + "/install/Category");
        dir.makeDirs(std::string(side) + "/target");
        dir.writeFile(std::string(side) + "/target/Blocked", "a file where a folder should go");
    }
    const std::string windowTarget = dir / "window/target";
    const std::string cliTarget = dir / "cli/target";

    // The window, on the scripted services with the real file system.
    Application application;
    platform::ScriptedServices scripted;
    scripted.settings.value = {platform::InstallDirSetting::State::Text, dir / "window/install"};
    AnswerByKind answers;
    platform::Services services = scripted.services();
    platform::Services window {
        answers,        services.folderBrowser, services.fileDialogs, services.shell,
        services.trash, services.fileSystem,    services.settings,    services.ui};
    ModuleState state;
    {
        Windows windows(state, window);
        windows.mainWindow->loadTreeFile(dir / "tree.txt");
        windows.mainWindow->setTargetLocation(windowTarget);
        windows.mainWindow->createNow();
    }
    ASSERT_FALSE(answers.texts.empty());
    const std::string windowSummary = answers.texts.back();
    answers.texts.pop_back();
    EXPECT_TRUE(scripted.shell.locations.empty());

    // The command line, in its own install folder.
    const clitest::Outcome cli = clitest::runCli(
        {"create", dir / "tree.txt", cliTarget, "--on-error=ignore"}, dir / "cli/install");
    EXPECT_EQ(cli.status, 1) << cli.err; // Blocked could not be made

    // The same folders below each target, and some of them.
    const std::set<std::string> made = clitest::foldersBelow(windowTarget);
    EXPECT_EQ(clitest::foldersBelow(cliTarget), made);
    EXPECT_TRUE(made.count("Deep/a/b/c"));
    EXPECT_FALSE(dir.exists("window/escaped") || dir.exists("cli/escaped"));

    // The same undo log, but for the target.
    const std::string windowLog = dir.readFile("window/install/undo.udo");
    ASSERT_FALSE(windowLog.empty());
    EXPECT_EQ(dir.readFile("cli/install/undo.udo"), replaced(windowLog, windowTarget, cliTarget));

    // The same messages, one a line, and the summary's first line on stdout.
    std::vector<std::string> windowMessages;
    for (const std::string &text : answers.texts) {
        std::string line = replaced(text, windowTarget, cliTarget);
        for (char &c : line)
            c = c == '\n' ? ' ' : c;
        windowMessages.push_back(line);
    }
    EXPECT_EQ(clitest::linesOf(cli.err), windowMessages);
    EXPECT_NE(cli.err.find("Can not create subfolder: " + cliTarget + "/Blocked\n"),
              std::string::npos);
    EXPECT_EQ(cli.out, windowSummary.substr(0, windowSummary.find('\n')) + "\n");
}

} // namespace
