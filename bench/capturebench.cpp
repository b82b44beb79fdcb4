// Capturing a folder's structure to a tree file, against a plain readdir walk
// and against find -type d.

#include "benchcases.h"
#include "benchsupport.h"
#include "capture.h"
#include "floors.h"
#include "timedfilesystem.h"

#include "scripted.h"
#include "treefile.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {

namespace {

std::size_t lineCount(const std::string &file)
{
    std::ifstream in(file, std::ios::binary);
    return static_cast<std::size_t>(
        std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
}

struct CaptureTimes
{
    double brindle = 0;
    double walk = 0;
    double find = 0;
    std::size_t folders = 0;
};

double brindleCapture(const std::string &folder, const std::string &outFile,
                      platform::FileSystem &fileSystem, int *eventPasses)
{
    foldertree::FolderTree tree;
    foldertree::FolderTreeState state;
    platform::ScriptedUi ui;
    foldertree::TreeContext context {
        .editor = tree, .state = state, .fileSystem = fileSystem, .ui = ui};
    const double time = timed([&] { foldertree::captureFolderToFile(context, folder, outFile); });
    if (eventPasses)
        *eventPasses = ui.processed;
    return time;
}

CaptureTimes measure(const Shape &shape)
{
    // The creation case leaves its last tree; without it, one is made here.
    const std::string folder = keptTree(shape.label);
    struct stat st;
    if (stat(folder.c_str(), &st) != 0) {
        makeFolder(folder);
        foldertree::FolderTree tree;
        buildShape(tree, tree.addRoot(folder, 1), shape);
        statMkdirFloor(preorderPaths(tree));
        sync();
    }

    const std::string brindleFile = workPath("capture-brindle.txt");
    const std::string walkFile = workPath("capture-walk.txt");
    const std::string findFile = workPath("capture-find.txt");
    CaptureTimes times;
    times.folders = shape.folders();
    // Once untimed, so that every run finds the directories in the cache.
    runProgram({"find", folder, "-type", "d"}, {}, findFile);

    platform::PosixFileSystem fileSystem;
    std::vector<double> brindle, walk, find;
    for (int run = 0; run < Runs; ++run) {
        for (int turn = 0; turn < 3; ++turn) {
            const int side = (run + turn) % 3;
            if (side == 0) {
                brindle.push_back(brindleCapture(folder, brindleFile, fileSystem, nullptr));
                if (lineCount(brindleFile) != times.folders + 2)
                    throw std::runtime_error("capture wrote "
                                             + std::to_string(lineCount(brindleFile)) + " lines");
            } else if (side == 1) {
                std::size_t listed = 0;
                walk.push_back(timed([&] { listed = readdirWalkFloor(folder, walkFile); }));
                if (listed != times.folders)
                    throw std::runtime_error("readdir walk listed " + std::to_string(listed));
            } else {
                int status = 0;
                find.push_back(timed([&] {
                    status = runProgram({"find", folder, "-type", "d"}, {}, findFile);
                }));
                if (status != 0 || lineCount(findFile) != times.folders + 1)
                    throw std::runtime_error("find failed");
            }
        }
    }
    times.brindle = median(brindle);
    times.walk = median(walk);
    times.find = median(find);

    TimedFileSystem timedFileSystem;
    int eventPasses = 0;
    const double total = brindleCapture(folder, brindleFile, timedFileSystem, &eventPasses);
    const double engine = total - timedFileSystem.totalSeconds();
    printRow({"capture " + withCommas(times.folders) + " dirs (" + shape.label + ")",
              seconds(times.brindle), "readdir walk", seconds(times.walk),
              times.brindle / times.walk, "-", "info"});
    printRow({"capture " + withCommas(times.folders) + " dirs (" + shape.label + ")",
              seconds(times.brindle), "find -type d", seconds(times.find),
              times.brindle / times.find, "<= 1.50x", verdict(times.brindle <= 1.5 * times.find)});
    const double n = static_cast<double>(times.folders);
    printNote("per directory: Brindle " + micros(times.brindle / n) + ", readdir walk "
              + micros(times.walk / n) + ", find " + micros(times.find / n));
    printNote("breakdown (one extra run, " + seconds(total) + "): " + timedFileSystem.summary()
              + "; engine outside these " + seconds(engine) + "; event passes "
              + std::to_string(eventPasses));
    removeTree(folder);
    return times;
}

} // namespace

void runCaptureBench()
{
    const CaptureTimes small = measure(shapeOf("10x10x100"));
    const CaptureTimes large = measure(shapeOf("10x10x10x100"));
    const double perSmall = small.brindle / static_cast<double>(small.folders);
    const double perLarge = large.brindle / static_cast<double>(large.folders);
    const double findSmall = small.find / static_cast<double>(small.folders);
    const double findLarge = large.find / static_cast<double>(large.folders);
    char text[32], floorText[32];
    std::snprintf(text, sizeof text, "%.2fx", perLarge / perSmall);
    std::snprintf(floorText, sizeof floorText, "%.2fx", findLarge / findSmall);
    printRow({"linearity capture 10k->100k/dir", text, "find growth", floorText,
              (perLarge / perSmall) / (findLarge / findSmall), "<= 1.50x",
              verdict(perLarge / perSmall <= 1.5)});
    printNote("per directory: Brindle " + micros(perSmall) + " -> " + micros(perLarge) + ", find "
              + micros(findSmall) + " -> " + micros(findLarge));
}

void runCaptureOnce(const char *shapeLabel)
{
    const Shape shape = shapeOf(shapeLabel);
    const std::string folder = keptTree(shape.label);
    struct stat st;
    const bool made = stat(folder.c_str(), &st) != 0;
    if (made) {
        makeFolder(folder);
        foldertree::FolderTree tree;
        buildShape(tree, tree.addRoot(folder, 1), shape);
        statMkdirFloor(preorderPaths(tree));
    }
    platform::PosixFileSystem fileSystem;
    const double time
        = brindleCapture(folder, workPath("capture-brindle.txt"), fileSystem, nullptr);
    std::printf("capture %s: %s (the tree stays in %s)\n", shape.label.c_str(),
                seconds(time).c_str(), folder.c_str());
}

} // namespace bench
