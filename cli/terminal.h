#pragma once

// The services of brindle-cli: the engine's messages, questions and event
// passes, met on a terminal. Results go to stdout, everything else to stderr.

#include "posixfilesystem.h"
#include "services.h"
#include "trash.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace cli {

// A message as one line: every line break becomes a space, every other control
// character is shown escaped ("\x1b"), so no text can steer the terminal.
std::string oneLine(std::string_view text);

// The two output streams, and the progress line that long runs keep on stderr
// when it is a terminal.
class Terminal
{
public:
    Terminal();

    // A message as one line on stderr (see oneLine).
    void note(std::string_view text);
    // A message on stderr: its text as one line, then each line of its details
    // on a line of its own, control characters escaped.
    void note(const platform::Message &message);
    // A message as one line on stdout (see oneLine).
    void result(std::string_view text);
    // Data on stdout: byte for byte, except on a terminal, where control
    // characters other than the line ends are shown escaped.
    void write(std::string_view bytes);

    // Asks on stderr (the question, then its details) and reads the answer from
    // stdin: true for "y" or "yes" in any case; anything else, the end of the
    // input or an interrupted read, is no.
    bool confirm(std::string_view question, std::string_view details = {});

    // The progress line: "<activity>... <count> folders", shown once a run has
    // lasted a second, renewed a few times a second, and only on a terminal.
    void startProgress(std::string activity);
    void progress(std::size_t count);
    void endProgress();
    // A stop signal arrived: the terminal may have echoed "^C" after the progress
    // line; the next clearing of the line removes that too.
    void interrupted();

    // Flushes stdout. False when anything written to it was lost (a full disk,
    // a closed pipe or descriptor); outputError() then tells why.
    bool flushOutput();
    std::string outputError() const;

private:
    void clearProgress();
    void flushStdout();

    bool m_interactive = false;
    bool m_dataOnTerminal = false;
    int m_outputErrno = 0;
    std::string m_activity;
    bool m_running = false;
    std::size_t m_shownLength = 0;
    std::chrono::steady_clock::time_point m_next;
};

// Every message becomes one line on stderr, except those `isResult` picks out,
// which go to stdout. Questions with Abort, Retry and Ignore are answered with
// `failureAnswer` and counted; yes/no questions go to `onQuestion` (no answer
// set: the question is printed and answered No).
class TerminalMessages : public platform::MessageService
{
public:
    explicit TerminalMessages(Terminal &terminal) : m_terminal(terminal) { }
    platform::Answer ask(const platform::Message &message) override;

    platform::Answer failureAnswer = platform::Answer::Abort;
    std::function<platform::Answer(const platform::Message &)> onQuestion;
    std::function<bool(const platform::Message &)> isResult;

    // Abort, Retry, Ignore questions asked: each is a folder that could not be made.
    int failures = 0;
    // The run or undo was refused: another one holds the undo log.
    bool refusedAsBusy = false;

private:
    Terminal &m_terminal;
};

// No window events to run: an event pass renews the progress line with the
// count that `count` reports.
class TerminalUi : public platform::Ui
{
public:
    explicit TerminalUi(Terminal &terminal) : m_terminal(terminal) { }
    void processEvents() override;
    void setBusy(bool busy) override { m_busy += busy ? 1 : -1; }
    bool isBusy() const override { return m_busy > 0; }

    std::function<std::size_t()> count;

private:
    Terminal &m_terminal;
    int m_busy = 0;
};

// Nothing is opened from a terminal.
class NoShell : public platform::Shell
{
public:
    void openDocument(const std::string &) override { }
    void openLocation(const std::string &) override { }
};

// The desktop trash, counting what it took for the progress line.
class CountingTrash : public platform::SystemTrash
{
public:
    platform::TrashOutcome moveToTrash(const std::string &path) override;

    std::size_t moved = 0;
};

} // namespace cli
