// Any bytes as an undo log: the undo reads it, sends what exists to the trash in
// order, keeps exactly what the trash refused or a stop left, and never hands
// the trash a line that no run could have written. The disk is simulated: a
// line names a folder when its length is even, a folder can be listed (and
// holds nothing) when its length is a multiple of four, the trash refuses paths
// that hold a "k", and the progress report stops at a path that holds "stop".

#include "scripted.h"
#include "undo.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view Home = "/home/fuzz";
constexpr std::string_view InstallFolder = "/install/";

class EmptyListing : public platform::DirectoryListing
{
public:
    platform::DirectoryId id() const override { return {}; }
    std::optional<platform::DirectoryEntry> next() override { return std::nullopt; }
};

class SimulatedDisk : public platform::PosixFileSystem
{
public:
    std::string log;
    std::string rewritten;
    bool removed = false;

    bool isDirectory(const std::string &path) override
    {
        return !path.empty() && path.size() % 2 == 0;
    }
    std::unique_ptr<platform::DirectoryListing> openDirectory(const std::string &path) override
    {
        if (path.size() % 4 != 0)
            return nullptr;
        return std::make_unique<EmptyListing>();
    }
    std::optional<std::string> readFile(const std::string &) override { return log; }
    std::error_code writeFile(const std::string &, std::string_view bytes) override
    {
        rewritten.assign(bytes);
        return {};
    }
    bool removeFile(const std::string &) override
    {
        removed = true;
        return true;
    }
    std::string currentDirectory() override { return "/current"; }
};

class SimulatedTrash : public platform::Trash
{
public:
    std::vector<std::string> asked;
    platform::TrashOutcome moveToTrash(const std::string &path) override
    {
        asked.push_back(path);
        return {path.find('k') == std::string::npos, "refused"};
    }
};

// The rules for a line a run could have written, spelt out on their own.
bool runCouldHaveWritten(const std::string &line)
{
    if (line.empty() || line[0] != '/' || line.find('\0') != std::string::npos)
        return false;
    std::vector<std::string> components;
    std::string component;
    for (std::size_t i = 1; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == '/') {
            if (component.empty() || component == "." || component == "..")
                return false;
            components.push_back(component);
            component.clear();
        } else {
            component += line[i];
        }
    }
    if (components.size() < 2)
        return false;
    for (const std::string_view guarded : {Home, std::string_view("/install")}) {
        if (line == guarded || std::string(guarded).starts_with(line + "/"))
            return false; // the folder itself, or one that holds it
    }
    return true;
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        if (end == std::string::npos)
            break;
        at = end + 2;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    setenv("HOME", std::string(Home).c_str(), 1);
    SimulatedDisk disk;
    disk.log.assign(reinterpret_cast<const char *>(data), size);
    SimulatedTrash trash;
    platform::ScriptedMessages messages;
    messages.queue(platform::Answer::Yes);
    platform::ScriptedUi ui;
    bool enabled = true;
    creation::UndoContext context {
        .messages = messages,
        .fileSystem = disk,
        .ui = ui,
        .trash = trash,
        .logFolder = std::string(InstallFolder),
        .setUndoEnabled = [&](bool on) { enabled = on; },
        .progress = [](std::size_t,
                       const std::string &path) { return path.find("stop") == std::string::npos; }};
    const creation::UndoResult result = creation::undoLastRun(context);

    for (const std::string &path : trash.asked) {
        if (!runCouldHaveWritten(path))
            std::abort(); // a line no run could have written reached the trash
        if (!disk.isDirectory(path))
            std::abort(); // only folders that exist go to the trash
    }
    for (const std::string &line : result.skipped) {
        if (runCouldHaveWritten(line))
            std::abort();
    }
    if (result.trashed.size() + result.keptBack.size() != trash.asked.size())
        std::abort();
    if (ui.isBusy())
        std::abort();
    const bool rest = !result.keptBack.empty() || result.stopped;
    if (rest == disk.removed || rest != enabled)
        std::abort(); // the log goes exactly when everything went
    if (rest) {
        const std::vector<std::string> lines = linesOf(disk.rewritten);
        for (const std::string &line : lines) {
            if (!runCouldHaveWritten(line))
                std::abort();
        }
        std::size_t at = 0; // every refused folder stays, in order
        for (const std::string &path : result.keptBack) {
            while (at < lines.size() && lines[at] != path)
                ++at;
            if (at == lines.size())
                std::abort();
            ++at;
        }
        if (!result.stopped && lines != result.keptBack)
            std::abort();
    }
    return 0;
}
