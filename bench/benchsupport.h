#pragma once

// What the benchmarks share: clocks and medians, the table they print, the
// shapes of the trees they build, child processes, and the work folder.

#include "tree.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Times one call, in seconds.
double timed(const std::function<void()> &work);

double median(std::vector<double> values);

// How many times each side of a comparison runs.
inline constexpr int Runs = 5;

// The folder that every benchmark makes its files and folders in, given on the
// command line; it lies on the disk under test, not on tmpfs.
std::string &workFolder();
std::string workPath(std::string_view relative);

// A balanced tree: `fanout[i]` children for every node at level i (the root is
// level 0). Names are a letter for the level and a zero-padded number, so that
// the paths of one shape all have the same length per level.
struct Shape
{
    std::string label; // "10x10x100"
    std::vector<int> fanout;

    // Nodes below the root.
    std::size_t folders() const;
    std::string name(std::size_t level, int index) const;
};
Shape shapeOf(std::string_view label);

// Builds the shape below `root` in pre-order, as a loader would, through the
// editor's appendChild. Returns the name bytes added.
std::size_t buildShape(foldertree::TreeEditor &editor, foldertree::NodeId root, const Shape &shape);

// The text of a tree file for the shape: "<folder>", the root line, then one
// line per folder, two spaces a level, every line ended by CR LF (the form that
// capturing writes).
std::string treeFileText(const Shape &shape, std::string_view rootText);

// Every path below `root` in pre-order, as nodePath gives them.
std::vector<std::string> preorderPaths(const foldertree::FolderTree &tree);

// Where the creation case leaves its last tree of a shape for the capture case.
std::string keptTree(std::string_view shapeLabel);

// Writes bytes to a file, or throws.
void writeWholeFile(const std::string &path, std::string_view bytes);

// Runs a program with optional stdin and stdout files; returns its exit status.
int runProgram(const std::vector<std::string> &argv, const std::string &stdinFile = {},
               const std::string &stdoutFile = {});
// Removes a folder with everything in it (rm -rf) and flushes the disk, so that
// one run's write-back does not land in the next run's time.
void removeTree(const std::string &path);
void makeFolder(const std::string &path);

// Peak resident set of this process (VmHWM), in bytes.
std::size_t peakResidentBytes();
// Resident set of this process now (VmRSS), in bytes.
std::size_t residentBytes();

// The path of this program, for child processes.
std::string selfPath();
// Runs this program on the same work folder with `arguments` and returns what
// it printed.
std::string runSelf(const std::vector<std::string> &arguments);

// One line of the result table.
struct Row
{
    std::string name;
    std::string brindle; // Brindle's median, formatted
    std::string comparisonName;
    std::string comparison; // the comparison's median, formatted
    double ratio = 0; // Brindle / comparison, 0 when there is none
    std::string target; // "<= 1.30x", or "-" for a line without one
    std::string result; // "met", "NOT MET" or "info"
};
std::string verdict(bool met);
void printHeader();
void printRow(const Row &row);
// An indented line of detail under the rows.
void printNote(const std::string &text);

std::string seconds(double value);
std::string micros(double value);
std::string withCommas(std::size_t value);

} // namespace bench
