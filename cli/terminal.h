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

// A message as one line: every line break becomes a space.
std::string oneLine(std::string_view text);

// The two output streams, and the progress line that long runs keep on stderr
// when it is a terminal.
class Terminal
{
public:
    Terminal();

    // A line on stderr.
    void note(std::string_view text);
    // A line on stdout.
    void result(std::string_view text);
    // Bytes on stdout, as they are.
    void write(std::string_view bytes);

    // Asks on stderr and reads the answer from stdin: true for "y" or "yes" in
    // any case; anything else, or the end of the input, is no.
    bool confirm(std::string_view question);

    // The progress line: "<activity>... <count> folders", shown once a run has
    // lasted a second, renewed a few times a second, and only on a terminal.
    void startProgress(std::string activity);
    void progress(std::size_t count);
    void endProgress();

private:
    void clearProgress();

    bool m_interactive = false;
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

// The real file system, counting the folders it makes for the progress line.
class CountingFileSystem : public platform::PosixFileSystem
{
public:
    explicit CountingFileSystem(Terminal &terminal) : m_terminal(terminal) { }
    std::error_code makeDirectory(const std::string &path) override;

    std::size_t made = 0;

private:
    Terminal &m_terminal;
};

// The desktop trash, counting what it took for the progress line.
class CountingTrash : public platform::SystemTrash
{
public:
    bool moveToTrash(const std::string &path) override;

    std::size_t moved = 0;
};

} // namespace cli
