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

// Runs brindle-cli with `arguments` in the folder `workingFolder`, with `input`
// on stdin (then the end of input), in the environment of the test.
Outcome runCli(const std::vector<std::string> &arguments, const std::string &workingFolder,
               const std::string &input = {});

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
