// Undo of a creation run: the top folders of the undo log go to the desktop's
// trash, against g_file_trash on the same folders in one process.

#include "benchcases.h"
#include "benchsupport.h"
#include "floors.h"
#include "timedfilesystem.h"

#include "creationrun.h"
#include "linebuffer.h"
#include "scripted.h"
#include "trash.h"
#include "undo.h"

#include <cstdlib>
#include <dirent.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {

namespace {

constexpr int Subtrees = 1000;

class TimedTrash : public platform::SystemTrash
{
public:
    platform::TrashOutcome moveToTrash(const std::string &path) override
    {
        const Clock::time_point start = Clock::now();
        platform::TrashOutcome outcome = SystemTrash::moveToTrash(path);
        seconds += secondsSince(start);
        ++calls;
        return outcome;
    }
    double seconds = 0;
    std::size_t calls = 0;
};

struct UndoInput
{
    std::string base;
    std::string installFolder;
    std::string trashFolder;
    std::vector<std::string> tops;
    std::string log; // as a creation run writes it: every folder made, in order
};

// Makes the folders that a creation run would have left.
void arrange(const UndoInput &input)
{
    makeFolder(input.base);
    for (const std::string &top : input.tops) {
        makeFolder(top);
        makeFolder(top + "/a");
        makeFolder(top + "/b");
    }
    makeFolder(input.installFolder);
    sync();
}

// The undo log of that run: every folder made, in order.
void writeLog(const UndoInput &input)
{
    writeWholeFile(creation::undoLogPath(input.installFolder), input.log);
}

// Brings the trashed folders back from the trash and drops their trash notes,
// so that the next run finds the same folders and an empty trash without
// making and removing thousands of folders on a slow disk.
void restore(const UndoInput &input)
{
    for (const std::string &top : input.tops) {
        const std::string name = top.substr(top.rfind('/') + 1);
        const std::string trashed = input.trashFolder + "/files/" + name;
        if (std::rename(trashed.c_str(), top.c_str()) != 0)
            throw std::runtime_error("cannot bring back " + trashed);
        const std::string note = input.trashFolder + "/info/" + name + ".trashinfo";
        if (unlink(note.c_str()) != 0)
            throw std::runtime_error("no trash note " + note);
    }
    if (DIR *dir = opendir((input.trashFolder + "/files").c_str())) {
        int left = 0;
        while (const dirent *entry = readdir(dir))
            left += entry->d_name[0] != '.';
        closedir(dir);
        if (left)
            throw std::runtime_error("the trash still holds " + std::to_string(left) + " items");
    }
    sync();
}

struct UndoTimes
{
    double total = 0;
    double afterYes = 0; // from the answer to the question to the end
};

UndoTimes brindleUndo(const UndoInput &input, platform::FileSystem &fileSystem,
                      platform::Trash &trash, int *eventPasses)
{
    platform::ScriptedMessages messages; // both questions answered by their default: Yes, OK
    Clock::time_point answered {};
    messages.onShow = [&answered](const platform::Message &message) {
        if (message.id() == platform::MessageId::UndoQuestion)
            answered = Clock::now();
    };
    platform::ScriptedUi ui;
    creation::UndoContext context {.messages = messages,
                                   .fileSystem = fileSystem,
                                   .ui = ui,
                                   .trash = trash,
                                   .logFolder = input.installFolder,
                                   .setUndoEnabled = [](bool) {}};
    creation::UndoResult result;
    const double time = timed([&] { result = creation::undoLastRun(context); });
    if (!result.confirmed || result.trashed.size() != input.tops.size() || !result.keptBack.empty())
        throw std::runtime_error("undo trashed " + std::to_string(result.trashed.size())
                                 + ", kept back " + std::to_string(result.keptBack.size()));
    if (eventPasses)
        *eventPasses = ui.processed;
    return {time, secondsSince(answered)};
}

} // namespace

UndoInput prepareUndo()
{
    const char *dataHome = std::getenv("XDG_DATA_HOME");
    if (!dataHome || !*dataHome)
        throw std::runtime_error("XDG_DATA_HOME must name a folder on the disk under test");
    UndoInput input;
    input.base = workPath("u");
    input.installFolder = workPath("undo-install/");
    input.trashFolder = std::string(dataHome) + "/Trash";
    makeFolder(dataHome);
    struct stat dataStat, workStat;
    if (stat(dataHome, &dataStat) != 0 || stat(workFolder().c_str(), &workStat) != 0
        || dataStat.st_dev != workStat.st_dev)
        throw std::runtime_error("XDG_DATA_HOME is not on the same file system as the folders");
    foldertree::LineBuffer log;
    for (int i = 0; i < Subtrees; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "/f%04d", i);
        input.tops.push_back(input.base + name);
        log.append(input.tops.back());
        log.append(input.tops.back() + "/a");
        log.append(input.tops.back() + "/b");
    }
    input.log = log.joined();
    removeTree(input.trashFolder);
    removeTree(input.base);
    arrange(input);
    return input;
}

void runUndoBench()
{
    const UndoInput input = prepareUndo();
    platform::PosixFileSystem fileSystem;
    platform::SystemTrash trash;
    std::vector<double> brindle, brindleTotal, floor;
    for (int run = 0; run < Runs; ++run) {
        for (int turn = 0; turn < 2; ++turn) {
            writeLog(input);
            if ((run + turn) % 2 == 0) {
                const UndoTimes times = brindleUndo(input, fileSystem, trash, nullptr);
                brindle.push_back(times.afterYes);
                brindleTotal.push_back(times.total);
            } else {
                std::size_t trashed = 0;
                floor.push_back(timed([&] { trashed = gioTrashFloor(input.tops); }));
                if (trashed != input.tops.size())
                    throw std::runtime_error("g_file_trash took " + std::to_string(trashed));
            }
            struct stat st;
            if (stat(input.tops.front().c_str(), &st) == 0)
                throw std::runtime_error("a trashed folder is still there");
            restore(input);
        }
    }
    const double brindleTime = median(brindle);
    const double totalTime = median(brindleTotal);
    const double floorTime = median(floor);
    printRow({"undo " + withCommas(Subtrees) + " subtrees (3 log lines each), Yes to done",
              seconds(brindleTime), "g_file_trash loop", seconds(floorTime),
              brindleTime / floorTime, "<= 1.20x", verdict(brindleTime <= 1.2 * floorTime)});
    printNote("per subtree: Brindle " + micros(brindleTime / Subtrees) + ", g_file_trash "
              + micros(floorTime / Subtrees) + "; with the look at the folders before the "
              + "question " + seconds(totalTime) + " ("
              + std::to_string(totalTime / floorTime).substr(0, 4) + "x)");

    writeLog(input);
    TimedFileSystem timedFileSystem;
    TimedTrash timedTrash;
    int eventPasses = 0;
    const double total = brindleUndo(input, timedFileSystem, timedTrash, &eventPasses).total;
    restore(input);
    removeTree(input.trashFolder);
    removeTree(input.base);
    printNote("breakdown (one extra run, " + seconds(total) + "): g_file_trash "
              + seconds(timedTrash.seconds) + " (" + withCommas(timedTrash.calls) + " calls), "
              + timedFileSystem.summary() + "; engine outside these "
              + seconds(total - timedTrash.seconds - timedFileSystem.totalSeconds())
              + "; event passes " + std::to_string(eventPasses));
}

void runUndoOnce()
{
    const UndoInput input = prepareUndo();
    writeLog(input);
    platform::PosixFileSystem fileSystem;
    platform::SystemTrash trash;
    const double time = brindleUndo(input, fileSystem, trash, nullptr).total;
    removeTree(input.trashFolder);
    removeTree(input.base);
    std::printf("undo: %s\n", seconds(time).c_str());
}

} // namespace bench
