#pragma once

// Runs the built brindle-cli as a person would from a shell, and collects what
// it printed.

#include <iosfwd>
#include <set>
#include <string>
#include <vector>

namespace clitest {

struct Outcome
{
    int status = -1;
    std::string out; // stdout
    std::string err; // stderr

    bool operator==(const Outcome &) const = default;
};
void PrintTo(const Outcome &outcome, std::ostream *os);

// brindle-cli started as from a shell, in the folder `workingFolder`, with
// `input` on stdin (then the end of input), in the environment of the test, and
// SIGINT and SIGTERM at their defaults. Its stdout is a pipe, or with
// `stdoutFile` that file ("-": stdout closed). Killed and reaped on destruction
// when still running.
class RunningCli
{
public:
    RunningCli(const std::vector<std::string> &arguments, const std::string &workingFolder,
               const std::string &input = {}, const std::string &stdoutFile = {});
    ~RunningCli();
    RunningCli(const RunningCli &) = delete;
    RunningCli &operator=(const RunningCli &) = delete;

    // False once it has ended.
    bool running();
    void signal(int number);
    // Waits for the end: what it printed, and its exit status (-1 when a
    // signal ended it).
    Outcome finish();

private:
    int m_child = -1;
    int m_out = -1;
    int m_err = -1;
    bool m_reaped = false;
    int m_status = 0;
};

// Runs brindle-cli to its end (see RunningCli).
Outcome runCli(const std::vector<std::string> &arguments, const std::string &workingFolder,
               const std::string &input = {}, const std::string &stdoutFile = {});

// The desktop trash will not take folders from a tmpfs: when the temporary
// folder is one, temporary folders made after this go to the build tree.
struct OffTmpfs
{
    OffTmpfs();
};

// The folders below `folder`, as paths relative to it, hidden ones included.
std::set<std::string> foldersBelow(const std::string &folder);

// The lines of a text, without their line ends.
std::vector<std::string> linesOf(const std::string &text);

} // namespace clitest
