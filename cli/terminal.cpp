#include "terminal.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <unistd.h>

namespace cli {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto ProgressDelay = std::chrono::seconds(1);
constexpr auto ProgressInterval = std::chrono::milliseconds(100);

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

} // namespace

std::string oneLine(std::string_view text)
{
    std::string line(text);
    for (char &c : line) {
        if (c == '\n')
            c = ' ';
    }
    return line;
}

Terminal::Terminal() : m_interactive(isatty(STDERR_FILENO) == 1) { }

void Terminal::note(std::string_view text)
{
    clearProgress();
    std::fflush(stdout);
    put(stderr, text);
    put(stderr, "\n");
    std::fflush(stderr);
}

void Terminal::result(std::string_view text)
{
    clearProgress();
    put(stdout, text);
    put(stdout, "\n");
    std::fflush(stdout);
}

void Terminal::write(std::string_view bytes)
{
    clearProgress();
    put(stdout, bytes);
    std::fflush(stdout);
}

bool Terminal::confirm(std::string_view question)
{
    clearProgress();
    std::fflush(stdout);
    put(stderr, question);
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

platform::Answer TerminalMessages::ask(const platform::Message &message)
{
    using platform::Answer;
    using platform::Buttons;
    if (message.buttons == Buttons::YesNo && onQuestion)
        return onQuestion(message);
    if (isResult && isResult(message)) {
        m_terminal.result(oneLine(message.text));
        return message.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
    m_terminal.note(oneLine(message.text));
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

std::error_code CountingFileSystem::makeDirectory(const std::string &path)
{
    std::error_code error = PosixFileSystem::makeDirectory(path);
    if (!error) {
        ++made;
        m_terminal.progress(made);
    }
    return error;
}

bool CountingTrash::moveToTrash(const std::string &path)
{
    const bool taken = SystemTrash::moveToTrash(path);
    if (taken)
        ++moved;
    return taken;
}

} // namespace cli
