#include "benchsupport.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace bench {

double timed(const std::function<void()> &work)
{
    const Clock::time_point start = Clock::now();
    work();
    return secondsSince(start);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string &workFolder()
{
    static std::string folder;
    return folder;
}

std::string workPath(std::string_view relative)
{
    return workFolder() + "/" + std::string(relative);
}

std::size_t Shape::folders() const
{
    std::size_t total = 0;
    std::size_t atLevel = 1;
    for (int count : fanout) {
        atLevel *= static_cast<std::size_t>(count);
        total += atLevel;
    }
    return total;
}

std::string Shape::name(std::size_t level, int index) const
{
    const int width = static_cast<int>(std::to_string(fanout[level] - 1).size());
    char text[32];
    std::snprintf(text, sizeof text, "%c%0*d", static_cast<char>('a' + level), width, index);
    return text;
}

Shape shapeOf(std::string_view label)
{
    Shape shape;
    shape.label = std::string(label);
    std::size_t start = 0;
    while (start < label.size()) {
        std::size_t end = label.find('x', start);
        if (end == std::string_view::npos)
            end = label.size();
        shape.fanout.push_back(std::stoi(std::string(label.substr(start, end - start))));
        start = end + 1;
    }
    return shape;
}

namespace {

// Visits the shape in pre-order: `visit(level, index)` for each folder, with
// `leave()` after its children.
template<typename Visit, typename Leave>
void walkShape(const Shape &shape, std::size_t level, Visit &visit, Leave &leave)
{
    if (level == shape.fanout.size())
        return;
    for (int i = 0; i < shape.fanout[level]; ++i) {
        visit(level, i);
        walkShape(shape, level + 1, visit, leave);
        leave();
    }
}

} // namespace

std::size_t buildShape(foldertree::TreeEditor &editor, foldertree::NodeId root, const Shape &shape)
{
    std::vector<foldertree::NodeId> parents {root};
    std::size_t nameBytes = 0;
    auto visit = [&](std::size_t level, int index) {
        const std::string name = shape.name(level, index);
        nameBytes += name.size();
        parents.push_back(editor.appendChild(parents.back(), name, 1));
    };
    auto leave = [&] { parents.pop_back(); };
    walkShape(shape, 0, visit, leave);
    return nameBytes;
}

std::string treeFileText(const Shape &shape, std::string_view rootText)
{
    std::string text = "<folder>\r\n";
    text += rootText;
    text += "\r\n";
    auto visit = [&](std::size_t level, int index) {
        text.append(2 * (level + 1), ' ');
        text += shape.name(level, index);
        text += "\r\n";
    };
    auto leave = [] {};
    walkShape(shape, 0, visit, leave);
    return text;
}

std::vector<std::string> preorderPaths(const foldertree::FolderTree &tree)
{
    std::vector<std::string> paths;
    const std::vector<foldertree::NodeId> order = tree.preorder();
    paths.reserve(order.size());
    for (std::size_t i = 1; i < order.size(); ++i)
        paths.push_back(foldertree::nodePath(tree, order[i]));
    return paths;
}

std::string keptTree(std::string_view shapeLabel)
{
    return workPath("kept-" + std::string(shapeLabel));
}

void writeWholeFile(const std::string &path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

namespace {

std::vector<char *> argumentVector(const std::vector<std::string> &argv)
{
    std::vector<char *> pointers;
    for (const std::string &argument : argv)
        pointers.push_back(const_cast<char *>(argument.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

int waitFor(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

int runProgram(const std::vector<std::string> &argv, const std::string &stdinFile,
               const std::string &stdoutFile)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!stdinFile.empty())
        posix_spawn_file_actions_addopen(&actions, 0, stdinFile.c_str(), O_RDONLY, 0);
    if (!stdoutFile.empty())
        posix_spawn_file_actions_addopen(&actions, 1, stdoutFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0666);
    std::vector<char *> pointers = argumentVector(argv);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, pointers[0], &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(error));
    return waitFor(pid);
}

void removeTree(const std::string &path)
{
    if (runProgram({"rm", "-rf", "--", path}) != 0)
        throw std::runtime_error("rm -rf " + path + " failed");
    sync();
}

void makeFolder(const std::string &path)
{
    if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
        throw std::runtime_error("cannot make " + path + ": " + std::strerror(errno));
}

namespace {

std::size_t statusValue(const std::string &key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return static_cast<std::size_t>(std::stoull(line.substr(key.size()))) * 1024;
    throw std::runtime_error("no " + key + " in /proc/self/status");
}

} // namespace

std::size_t peakResidentBytes()
{
    return statusValue("VmHWM:");
}

std::size_t residentBytes()
{
    return statusValue("VmRSS:");
}

std::string selfPath()
{
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        throw std::runtime_error("cannot read /proc/self/exe");
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::string runSelf(const std::vector<std::string> &arguments)
{
    std::vector<std::string> argv {selfPath(), workFolder()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    std::vector<char *> pointers = argumentVector(argv);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, pointers[0], &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (error != 0) {
        close(fds[0]);
        throw std::runtime_error("cannot start " + argv[0]);
    }
    std::string output;
    char chunk[4096];
    for (;;) {
        const ssize_t got = read(fds[0], chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        output.append(chunk, static_cast<std::size_t>(got));
    }
    close(fds[0]);
    if (waitFor(pid) != 0)
        throw std::runtime_error("child " + arguments.front() + " failed");
    return output;
}

void printHeader()
{
    std::printf("%-36s %11s   %-20s %11s  %8s  %-10s %s\n", "case", "Brindle", "comparison",
                "median", "ratio", "target", "result");
    std::printf("%s\n", std::string(116, '-').c_str());
    std::fflush(stdout);
}

void printRow(const Row &row)
{
    char ratio[32] = "-";
    if (row.ratio > 0)
        std::snprintf(ratio, sizeof ratio, "%.2fx", row.ratio);
    std::printf("%-36s %11s   %-20s %11s  %8s  %-10s %s\n", row.name.c_str(), row.brindle.c_str(),
                row.comparisonName.c_str(), row.comparison.c_str(), ratio, row.target.c_str(),
                row.result.c_str());
    std::fflush(stdout);
}

std::string verdict(bool met)
{
    return met ? "met" : "NOT MET";
}

void printNote(const std::string &text)
{
    std::printf("    %s\n", text.c_str());
    std::fflush(stdout);
}

std::string seconds(double value)
{
    char text[32];
    if (value < 1)
        std::snprintf(text, sizeof text, "%.1f ms", value * 1e3);
    else
        std::snprintf(text, sizeof text, "%.3f s", value);
    return text;
}

std::string micros(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f us", value * 1e6);
    return text;
}

std::string withCommas(std::size_t value)
{
    const std::string digits = std::to_string(value);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

} // namespace bench
