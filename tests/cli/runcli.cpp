#include "runcli.h"

#include <cerrno>
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

Outcome runCli(const std::vector<std::string> &arguments, const std::string &workingFolder,
               const std::string &input)
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
        if (chdir(workingFolder.c_str()) != 0)
            _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    // The input is small: it fits the pipe, so writing it first cannot block.
    if (!input.empty() && write(in[1], input.data(), input.size()) < 0)
        throw std::runtime_error("cannot write the input");
    close(in[1]);

    Outcome outcome;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
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
    int status = 0;
    waitpid(child, &status, 0);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
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
