#include "terminal.h"

#include "messagetext.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace cli {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto ProgressDelay = std::chrono::seconds(1);
constexpr auto ProgressInterval = std::chrono::milliseconds(100);
// What a terminal echoes for the interrupt key: "^C".
constexpr std::size_t EchoedInterruptLength = 2;

void put(std::FILE *stream, std::string_view bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

std::string lowered(std::string_view text)
{
    std::string result;
    for (const char c : text)
        result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

// Each line of the text escaped, each ending with a line break.
std::string escapedLines(std::string_view text)
{
    std::string lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        lines += platform::escapeControl(text.substr(0, end));
        lines += '\n';
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

} // namespace

std::string oneLine(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (start > 0)
            line += ' ';
        line += platform::escapeControl(text.substr(start, end - start));
        start = end + 1;
    }
    return line;
}

Terminal::Terminal()
    : m_interactive(isatty(STDERR_FILENO) == 1), m_dataOnTerminal(isatty(STDOUT_FILENO) == 1)
{ }

void Terminal::note(std::string_view text)
{
    clearProgress();
    flushStdout();
    put(stderr, oneLine(text));
    put(stderr, "\n");
    std::fflush(stderr);
}

void Terminal::note(const platform::Message &message)
{
    note(platform::english(message.text));
    if (message.details.empty())
        return;
    put(stderr, escapedLines(platform::english(message.details)));
    std::fflush(stderr);
}

void Terminal::result(std::string_view text)
{
    clearProgress();
    put(stdout, oneLine(text));
    put(stdout, "\n");
    flushStdout();
}

void Terminal::write(std::string_view bytes)
{
    clearProgress();
    if (!m_dataOnTerminal) {
        put(stdout, bytes);
    } else {
        // Line ends stay, so the tree still reads as lines.
        std::size_t start = 0;
        while (start < bytes.size()) {
            const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
            put(stdout, platform::escapeControl(bytes.substr(start, end - start)));
            if (end < bytes.size())
                put(stdout, bytes.substr(end, 1));
            start = end + 1;
        }
    }
    flushStdout();
}

bool Terminal::confirm(std::string_view question, std::string_view details)
{
    clearProgress();
    flushStdout();
    put(stderr, oneLine(question));
    if (!details.empty()) {
        std::string lines = escapedLines(details);
        lines.pop_back(); // the answer goes on the last line
        put(stderr, "\n");
        put(stderr, lines);
    }
    put(stderr, " [y/N] ");
    std::fflush(stderr);
    std::string answer;
    int c;
    while ((c = std::getchar()) != EOF && c != '\n')
        answer += static_cast<char>(c);
    // What a person types ends the line on the terminal; anything else does not.
    if (c == EOF || isatty(STDIN_FILENO) != 1) {
        put(stderr, "\n");
        std::fflush(stderr);
    }
    // A read cut short by a signal is no answer.
    if (std::ferror(stdin))
        return false;
    const std::string word = lowered(answer);
    return word == "y" || word == "yes";
}

void Terminal::startProgress(std::string activity)
{
    m_activity = std::move(activity);
    m_running = true;
    m_next = Clock::now() + ProgressDelay;
}

void Terminal::progress(std::size_t count)
{
    if (!m_interactive || !m_running)
        return;
    const auto now = Clock::now();
    if (now < m_next)
        return;
    m_next = now + ProgressInterval;
    const std::string line = m_activity + "... " + std::to_string(count) + " folders";
    put(stderr, "\r");
    put(stderr, line);
    if (line.size() < m_shownLength)
        put(stderr, std::string(m_shownLength - line.size(), ' '));
    m_shownLength = std::max(m_shownLength, line.size());
    std::fflush(stderr);
}

void Terminal::endProgress()
{
    clearProgress();
    m_running = false;
}

void Terminal::interrupted()
{
    if (m_interactive)
        m_shownLength += EchoedInterruptLength;
}

void Terminal::clearProgress()
{
    if (m_shownLength == 0)
        return;
    put(stderr, "\r");
    put(stderr, std::string(m_shownLength, ' '));
    put(stderr, "\r");
    std::fflush(stderr);
    m_shownLength = 0;
}

void Terminal::flushStdout()
{
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && m_outputErrno == 0)
        m_outputErrno = errno != 0 ? errno : EIO;
}

bool Terminal::flushOutput()
{
    flushStdout();
    return m_outputErrno == 0;
}

std::string Terminal::outputError() const
{
    return std::strerror(m_outputErrno);
}

platform::Answer TerminalMessages::ask(const platform::Message &message)
{
    using platform::Answer;
    using platform::Buttons;
    if (message.buttons == Buttons::YesNo && onQuestion)
        return onQuestion(message);
    if (isResult && isResult(message)) {
        m_terminal.result(platform::english(message.text));
        return message.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
    m_terminal.note(message);
    if (message.id() == platform::MessageId::LogBusy)
        refusedAsBusy = true;
    switch (message.buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::AbortRetryIgnore:
        ++failures;
        return failureAnswer;
    }
    return Answer::No;
}

void TerminalUi::processEvents()
{
    if (count)
        m_terminal.progress(count());
}

platform::TrashOutcome CountingTrash::moveToTrash(const std::string &path)
{
    platform::TrashOutcome outcome = SystemTrash::moveToTrash(path);
    if (outcome.moved)
        ++moved;
    return outcome;
}

} // namespace cli
