// Any bytes as an undo log: the undo reads it, sends what exists to the trash in
// order, and keeps exactly what the trash refused. The disk is simulated: a
// line names a folder when its length is even, and the trash refuses lines
// that start with "k".

#include "scripted.h"
#include "undo.h"

#include <cstdint>
#include <cstdlib>

namespace {

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
};

class SimulatedTrash : public platform::Trash
{
public:
    std::vector<std::string> asked;
    platform::TrashOutcome moveToTrash(const std::string &path) override
    {
        asked.push_back(path);
        return {path.front() != 'k', "refused"};
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    SimulatedDisk disk;
    disk.log.assign(reinterpret_cast<const char *>(data), size);
    SimulatedTrash trash;
    platform::ScriptedMessages messages;
    messages.queue(platform::Answer::Yes);
    platform::ScriptedUi ui;
    std::vector<std::string> created;
    bool enabled = true;
    creation::UndoContext context {
        messages, disk, ui, trash, "/install/", created, [&](bool on) { enabled = on; }};
    const creation::UndoResult result = creation::undoLastRun(context);

    for (const std::string &path : trash.asked)
        if (!disk.isDirectory(path))
            std::abort(); // only folders that exist go to the trash
    if (result.trashed.size() + result.keptBack.size() != trash.asked.size())
        std::abort();
    if (!created.empty() || ui.isBusy())
        std::abort();
    if (result.keptBack.empty() != disk.removed || result.keptBack.empty() == enabled)
        std::abort(); // the log goes exactly when everything went
    if (!result.keptBack.empty()) {
        std::string expected;
        for (const std::string &path : result.keptBack)
            expected += path + "\r\n";
        if (disk.rewritten != expected)
            std::abort();
    }
    return 0;
}
