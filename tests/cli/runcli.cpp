#include "runcli.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <ostream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

namespace clitest {

namespace {

void closeBoth(int pipe[2])
{
    close(pipe[0]);
    close(pipe[1]);
}

} // namespace

RunningCli::RunningCli(const std::vector<std::string> &arguments, const std::string &workingFolder,
                       const std::string &input, const std::string &stdoutFile)
{
    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0)
        throw std::runtime_error("cannot make pipes");
    std::vector<std::string> words {BRINDLE_CLI};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("cannot fork");
    if (child == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        closeBoth(in);
        closeBoth(out);
        closeBoth(err);
        if (stdoutFile == "-") {
            close(STDOUT_FILENO);
        } else if (!stdoutFile.empty()) {
            const int file = open(stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (file < 0 || dup2(file, STDOUT_FILENO) < 0)
                _exit(125);
            close(file);
        }
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (chdir(workingFolder.c_str()) != 0)
            _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    m_child = child;
    close(in[0]);
    close(out[1]);
    close(err[1]);
    m_out = out[0];
    m_err = err[0];
    // The input is small: it fits the pipe, so writing it first cannot block.
    if (!input.empty() && write(in[1], input.data(), input.size()) < 0)
        throw std::runtime_error("cannot write the input");
    close(in[1]);
}

RunningCli::~RunningCli()
{
    if (running()) {
        kill(m_child, SIGKILL);
        finish();
    }
    if (m_out >= 0)
        close(m_out);
    if (m_err >= 0)
        close(m_err);
}

bool RunningCli::running()
{
    if (!m_reaped && waitpid(m_child, &m_status, WNOHANG) == m_child)
        m_reaped = true;
    return !m_reaped;
}

void RunningCli::signal(int number)
{
    if (!m_reaped)
        kill(m_child, number);
}

Outcome RunningCli::finish()
{
    Outcome outcome;
    pollfd fds[2] = {{m_out, POLLIN, 0}, {m_err, POLLIN, 0}};
    std::string *targets[2] = {&outcome.out, &outcome.err};
    int open = 2;
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char chunk[4096];
            const ssize_t got = read(fds[i].fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got > 0) {
                targets[i]->append(chunk, static_cast<std::size_t>(got));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    m_out = m_err = -1;
    if (!m_reaped && waitpid(m_child, &m_status, 0) == m_child)
        m_reaped = true;
    outcome.status = WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
    return outcome;
}

Outcome runCli(const std::vector<std::string> &arguments, const std::string &workingFolder,
               const std::string &input, const std::string &stdoutFile)
{
    return RunningCli(arguments, workingFolder, input, stdoutFile).finish();
}

void PrintTo(const Outcome &outcome, std::ostream *os)
{
    *os << "exit " << outcome.status << ", stdout \"" << outcome.out << "\", stderr \""
        << outcome.err << '"';
}

OffTmpfs::OffTmpfs()
{
    constexpr long TmpfsMagic = 0x01021994;
    struct statfs info;
    const std::string temp = std::filesystem::temp_directory_path().string();
    if (statfs(temp.c_str(), &info) == 0 && info.f_type == TmpfsMagic) {
        std::filesystem::create_directories(BRINDLE_SCRATCH);
        setenv("TMPDIR", BRINDLE_SCRATCH, 1);
    }
}

std::set<std::string> foldersBelow(const std::string &folder)
{
    std::set<std::string> folders;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_directory())
            folders.insert(std::filesystem::relative(entry.path(), folder).string());
    }
    return folders;
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace clitest
