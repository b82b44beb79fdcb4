// "Create Now" on a balanced tree and on a deep chain, against a stat + mkdir
// loop and against xargs mkdir -p on the same paths.

#include "benchcases.h"
#include "benchsupport.h"
#include "floors.h"
#include "timedfilesystem.h"

#include "creationrun.h"
#include "scripted.h"

#include <climits>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>

namespace bench {

namespace {

struct CreationInput
{
    std::string label;
    std::string target;
    std::unique_ptr<foldertree::FolderTree> tree;
    std::vector<std::string> paths; // pre-order, as the run makes them
    std::string pathsFile;
};

struct CreationTimes
{
    double brindle = 0;
    double floor = 0;
    double xargs = 0;
    std::size_t folders = 0;
    std::size_t pathBytes = 0;
    int rounds = 0;
    double caseSeconds = 0; // with making and removing the folders
    double pairedFloor = 0; // median over rounds of Brindle / stat+mkdir
    double pairedXargs = 0; // median over rounds of Brindle / xargs mkdir -p
    std::vector<double> brindleRuns, floorRuns, xargsRuns; // in the order run
};

// Seconds each case may take with its preparation, so that the whole bench run
// stays within ten minutes on a slow disk: at least one round always runs.
constexpr double SmallBudget = 80;
constexpr double ChainBudget = 70;
constexpr double LargeBudget = 400;
// The whole creation case ends no later than this many seconds after bench/run
// started (BRINDLE_BENCH_START), leaving the rest of the ten minutes to the
// other cases.
constexpr double CreationShare = 340;

Clock::duration toDuration(double seconds)
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

Clock::time_point creationEnd()
{
    static const Clock::time_point end = [] {
        const char *start = std::getenv("BRINDLE_BENCH_START");
        if (!start || !*start)
            return Clock::time_point::max();
        const double runStarted = std::atof(start);
        const double now
            = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
                  .count();
        return Clock::now() + toDuration(CreationShare - (now - runStarted));
    }();
    return end;
}

std::string installFolder()
{
    return workPath("install/");
}

void prepareInput(CreationInput &input)
{
    foldertree::FolderTree &tree = *input.tree;
    foldertree::setSubtreeTicked(tree, tree.root(), true);
    input.paths = preorderPaths(tree);
    input.pathsFile = workPath("paths-" + input.label + ".txt");
    std::string text;
    for (const std::string &path : input.paths)
        text += path + "\n";
    writeWholeFile(input.pathsFile, text);
}

CreationInput balancedInput(const Shape &shape)
{
    CreationInput input;
    input.label = shape.label;
    input.target = workPath("c");
    input.tree = std::make_unique<foldertree::FolderTree>();
    const foldertree::NodeId root = input.tree->addRoot(input.target, 1);
    buildShape(*input.tree, root, shape);
    prepareInput(input);
    return input;
}

CreationInput chainInput(int wantedLevels, int &levels)
{
    CreationInput input;
    input.target = workPath("c");
    // The deepest path must stay below PATH_MAX with its terminating NUL.
    levels
        = std::min<int>(wantedLevels, static_cast<int>((PATH_MAX - 1 - input.target.size()) / 2));
    input.label = "chain" + std::to_string(levels);
    input.tree = std::make_unique<foldertree::FolderTree>();
    foldertree::NodeId node = input.tree->addRoot(input.target, 1);
    for (int i = 0; i < levels; ++i)
        node = input.tree->appendChild(node, "a", 1);
    prepareInput(input);
    return input;
}

// One run of "Create Now" into the empty target, with the summary answered No.
double brindleRun(CreationInput &input, platform::FileSystem &fileSystem, int *eventPasses)
{
    platform::ScriptedMessages messages;
    messages.queue(platform::Answer::No);
    platform::ScriptedUi ui;
    platform::ScriptedShell shell;
    creation::CreationContext context {.editor = *input.tree,
                                       .messages = messages,
                                       .fileSystem = fileSystem,
                                       .ui = ui,
                                       .shell = shell,
                                       .logFolder = installFolder()};
    std::string target = input.target;
    creation::CreationResult result;
    const double time = timed([&] { result = creation::createTickedFolders(context, target); });
    if (!result.started || static_cast<std::size_t>(result.created) != input.paths.size()
        || messages.shown.size() != 1 || result.openTarget)
        throw std::runtime_error("creation run of " + input.label + " made "
                                 + std::to_string(result.created) + " folders, showed "
                                 + std::to_string(messages.shown.size()) + " messages");
    struct stat st;
    if (stat(creation::undoLogPath(installFolder()).c_str(), &st) != 0 || st.st_size == 0)
        throw std::runtime_error("no undo log after the creation run");
    if (eventPasses)
        *eventPasses = ui.processed;
    return time;
}

// Runs the sides in rounds, a different side first each round, until `Runs`
// rounds or until another round would pass `budget` seconds or the creation
// share of the time (at least one round: on a slow disk a large tree takes
// minutes a side). xargs mkdir -p, the slowest side, runs in the first
// `xargsRounds` rounds only. `keep`, when given, receives the round's last tree
// instead of its removal, for the capture case.
CreationTimes measure(CreationInput &input, double budget, int xargsRounds,
                      const std::string &keep = {})
{
    CreationTimes times;
    platform::PosixFileSystem fileSystem;
    removeTree(input.target);
    const Clock::time_point caseStart = Clock::now();
    int rounds = 0;
    while (rounds < Runs) {
        const double elapsed = secondsSince(caseStart);
        const double perRound = rounds > 0 ? elapsed / rounds : 0;
        if (rounds > 0
            && (elapsed + perRound > budget || Clock::now() + toDuration(perRound) > creationEnd()))
            break;
        const int sides = rounds < xargsRounds ? 3 : 2;
        for (int turn = 0; turn < sides; ++turn) {
            const int side = (rounds + turn) % sides;
            makeFolder(input.target);
            if (side == 0) {
                times.brindleRuns.push_back(brindleRun(input, fileSystem, nullptr));
            } else if (side == 1) {
                std::size_t made = 0;
                times.floorRuns.push_back(timed([&] { made = statMkdirFloor(input.paths); }));
                if (made != input.paths.size())
                    throw std::runtime_error("stat + mkdir made " + std::to_string(made));
            } else {
                int status = 0;
                times.xargsRuns.push_back(timed([&] {
                    status = runProgram({"xargs", "-d", "\n", "mkdir", "-p"}, input.pathsFile);
                }));
                struct stat st;
                if (status != 0 || stat(input.paths.back().c_str(), &st) != 0)
                    throw std::runtime_error("xargs mkdir -p failed");
            }
            if (!keep.empty() && turn == sides - 1) {
                // The round's last tree replaces the one kept before.
                removeTree(keep);
                if (std::rename(input.target.c_str(), keep.c_str()) != 0)
                    throw std::runtime_error("cannot keep " + input.target);
            } else {
                removeTree(input.target);
            }
        }
        ++rounds;
    }
    times.rounds = rounds;
    times.caseSeconds = secondsSince(caseStart);
    times.brindle = median(times.brindleRuns);
    times.floor = median(times.floorRuns);
    times.xargs = median(times.xargsRuns);
    // Each round's sides ran within a minute of each other, so their ratio is
    // steadier than the ratio of medians when other work loads the machine.
    std::vector<double> overFloor, overXargs;
    for (int round = 0; round < rounds; ++round) {
        overFloor.push_back(times.brindleRuns[round] / times.floorRuns[round]);
        if (static_cast<std::size_t>(round) < times.xargsRuns.size())
            overXargs.push_back(times.brindleRuns[round] / times.xargsRuns[round]);
    }
    times.pairedFloor = median(overFloor);
    times.pairedXargs = median(overXargs);
    times.folders = input.paths.size();
    for (const std::string &path : input.paths)
        times.pathBytes += path.size();
    return times;
}

std::string listOf(const std::vector<double> &values)
{
    std::string text;
    for (double value : values)
        text += (text.empty() ? "" : ", ") + seconds(value);
    return text;
}

void printCreation(const std::string &name, const CreationTimes &times)
{
    const double ratioFloor = times.brindle / times.floor;
    const double ratioXargs = times.brindle / times.xargs;
    printRow({name, seconds(times.brindle), "stat+mkdir loop", seconds(times.floor), ratioFloor,
              "<= 1.30x", verdict(ratioFloor <= 1.3)});
    printRow({name, seconds(times.brindle), "xargs mkdir -p", seconds(times.xargs), ratioXargs,
              "< 1.00x", verdict(ratioXargs < 1.0)});
    const double n = static_cast<double>(times.folders);
    printNote("per folder: Brindle " + micros(times.brindle / n) + ", stat+mkdir "
              + micros(times.floor / n) + ", xargs mkdir -p " + micros(times.xargs / n)
              + "; mean path " + std::to_string(times.pathBytes / times.folders) + " bytes");
    char paired[128];
    std::snprintf(paired, sizeof paired,
                  "median of the ratios within each run: %.2fx over stat+mkdir, %.2fx over xargs",
                  times.pairedFloor, times.pairedXargs);
    printNote(paired);
    printNote("runs: Brindle " + listOf(times.brindleRuns) + "; stat+mkdir "
              + listOf(times.floorRuns) + "; xargs " + listOf(times.xargsRuns));
    printNote(std::to_string(times.rounds) + " round(s)"
              + (times.rounds < Runs ? " (stopped by the time cap)" : std::string())
              + "; the case took " + seconds(times.caseSeconds)
              + " with making and removing the folders");
}

// One more run, outside the medians, with every file-system call timed: how the
// run's time splits between the kernel's mkdir, the undo log and the engine.
void printBreakdown(CreationInput &input)
{
    TimedFileSystem fileSystem;
    makeFolder(input.target);
    int eventPasses = 0;
    const double total = brindleRun(input, fileSystem, &eventPasses);
    removeTree(input.target);
    const double engine = total - fileSystem.totalSeconds();
    printNote("breakdown (one extra run, " + seconds(total) + "): " + fileSystem.summary()
              + "; engine outside these " + seconds(engine) + " ("
              + micros(engine / static_cast<double>(input.paths.size())) + "/folder)");
    printNote("event passes during the run: " + std::to_string(eventPasses)
              + " (the window cannot repaint until the run ends)");
}

} // namespace

void runCreationBench()
{
    makeFolder(installFolder());
    // The small tree and the chain first, each within its own cap; the large
    // tree then runs as many rounds as the creation share of the time allows.
    std::vector<CreationTimes> balanced;
    auto runBalanced = [&](const char *label, double budget, int xargsRounds) {
        CreationInput input = balancedInput(shapeOf(label));
        balanced.push_back(measure(input, budget, xargsRounds, keptTree(label)));
        printCreation("creation balanced " + withCommas(input.paths.size()) + " (" + label + ")",
                      balanced.back());
        printBreakdown(input);
    };
    runBalanced("10x10x100", SmallBudget, Runs);

    int levels = 0;
    CreationInput chain = chainInput(2000, levels);
    // xargs mkdir -p walks every level of every path: twice is enough on the chain.
    const CreationTimes chainTimes = measure(chain, ChainBudget, 2);
    printCreation("creation chain " + std::to_string(levels) + " levels", chainTimes);
    printBreakdown(chain);
    printNote("deepest path " + std::to_string(chain.paths.back().size()) + " bytes");

    // xargs mkdir -p takes the longest a run here: once is enough to rank it,
    // and the time goes to more runs of Brindle against the stat+mkdir floor.
    runBalanced("10x10x10x100", LargeBudget, 1);

    // The chain's cost per folder over the balanced tree's, for Brindle and for
    // the floor: longer paths cost the kernel more, and Brindle may add no more.
    const CreationTimes &small = balanced.front();
    const CreationTimes &big = balanced.back();
    auto perFolder
        = [](double time, std::size_t folders) { return time / static_cast<double>(folders); };
    auto times = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2fx", value);
        return std::string(text);
    };
    // Brindle over the floor within each run, on the chain against the balanced
    // tree: the run-to-run swings of this disk cancel within a run.
    const double growth = chainTimes.pairedFloor / big.pairedFloor;
    printRow({"creation chain vs balanced", times(chainTimes.pairedFloor), "balanced 100k",
              times(big.pairedFloor), growth, "<= 1.10x", verdict(growth <= 1.1)});
    printNote("columns: Brindle / stat+mkdir within runs (median), on the chain and on the "
              "balanced 100k tree");
    printNote("per folder (medians), chain / balanced 100k: Brindle "
              + micros(perFolder(chainTimes.brindle, chainTimes.folders)) + " / "
              + micros(perFolder(big.brindle, big.folders)) + ", stat+mkdir "
              + micros(perFolder(chainTimes.floor, chainTimes.folders)) + " / "
              + micros(perFolder(big.floor, big.folders)) + ", xargs mkdir -p "
              + micros(perFolder(chainTimes.xargs, chainTimes.folders)) + " / "
              + micros(perFolder(big.xargs, big.folders)));
    printNote("against the balanced 10k tree (run just before the chain): Brindle "
              + times(perFolder(chainTimes.brindle, chainTimes.folders)
                      / perFolder(small.brindle, small.folders))
              + ", stat+mkdir "
              + times(perFolder(chainTimes.floor, chainTimes.folders)
                      / perFolder(small.floor, small.folders))
              + "; Brindle / stat+mkdir within runs at 10k " + times(small.pairedFloor));

    // Linearity: the cost per folder from 10k to 100k folders.
    const double linear
        = perFolder(big.brindle, big.folders) / perFolder(small.brindle, small.folders);
    const double floorLinear
        = perFolder(big.floor, big.folders) / perFolder(small.floor, small.folders);
    printRow({"linearity creation 10k->100k/folder", times(linear), "stat+mkdir growth",
              times(floorLinear), linear / floorLinear, "<= 1.50x", verdict(linear <= 1.5)});
    printNote("per folder: Brindle " + micros(perFolder(small.brindle, small.folders)) + " -> "
              + micros(perFolder(big.brindle, big.folders)) + ", stat+mkdir "
              + micros(perFolder(small.floor, small.folders)) + " -> "
              + micros(perFolder(big.floor, big.folders)));
}

void runCreationOnce(const char *shapeLabel)
{
    makeFolder(installFolder());
    int levels = 0;
    CreationInput input = std::string_view(shapeLabel) == "chain"
        ? chainInput(2000, levels)
        : balancedInput(shapeOf(shapeLabel));
    removeTree(input.target);
    makeFolder(input.target);
    platform::PosixFileSystem fileSystem;
    const double time = brindleRun(input, fileSystem, nullptr);
    removeTree(input.target);
    std::printf("creation %s: %s\n", input.label.c_str(), seconds(time).c_str());
}

} // namespace bench
