// Loading a tree file into the folder tree with its view on screen (offscreen),
// against the bare parse of the same file.

#include "benchcases.h"
#include "benchsupport.h"
#include "floors.h"
#include "timedfilesystem.h"

#include "foldertreemodel.h"
#include "foldertreeview.h"
#include "images.h"
#include "treefile.h"
#include "treehistory.h"
#include "widgetservices.h"

#include <QApplication>
#include <QEvent>
#include <algorithm>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace bench {

namespace {

// The window's Ui, with the time between event passes measured.
class MeasuredUi : public platform::Ui
{
public:
    void processEvents() override
    {
        const Clock::time_point start = Clock::now();
        longestGap = std::max(longestGap, seconds(start - m_lastEnd));
        ++passes;
        m_inner.processEvents();
        m_lastEnd = Clock::now();
        insidePasses += seconds(m_lastEnd - start);
    }
    void setBusy(bool busy) override { m_inner.setBusy(busy); }
    bool isBusy() const override { return m_inner.isBusy(); }

    void start(Clock::time_point now)
    {
        m_lastEnd = now;
        longestGap = 0;
        insidePasses = 0;
        passes = 0;
    }
    // The load returned to the event loop.
    void finish(Clock::time_point now)
    {
        longestGap = std::max(longestGap, seconds(now - m_lastEnd));
    }

    double longestGap = 0;
    double insidePasses = 0;
    int passes = 0;

private:
    static double seconds(Clock::duration duration)
    {
        return std::chrono::duration<double>(duration).count();
    }
    platform::QtUi m_inner;
    Clock::time_point m_lastEnd;
};

// Notes when the view's viewport is painted.
class PaintLog : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            paints.push_back(Clock::now());
        return QObject::eventFilter(watched, event);
    }
    std::vector<Clock::time_point> paints;
};

struct LoadRun
{
    double total = 0; // until the first paint after the load returned
    double returned = 0; // until loadTreeFile returned
    int publishes = 0;
    int paints = 0;
    int passes = 0;
    double longestGap = 0;
    double longestWithoutPaint = 0;
    double insidePasses = 0;
};

// The folder tree as the main window holds it: the tree, its state, the model,
// its edit history and the view, shown.
struct Window
{
    foldertree::FolderTree tree;
    foldertree::FolderTreeState state;
    foldertree::StateWatch watch {tree, state};
    foldertree::IconList icons;
    foldertree::FolderTreeModel model {tree, state, icons, ui::folderIcons()};
    foldertree::TreeHistory history {model, state};
    foldertree::FolderTreeView view;
    PaintLog paintLog;
    MeasuredUi ui;

    Window()
    {
        view.resize(546, 436);
        view.setIndentation(27);
        view.setModel(&model);
        QObject::connect(&model, &foldertree::FolderTreeModel::expandRequested, &view,
                         [this](const QModelIndex &index) { view.expand(index); });
        view.viewport()->installEventFilter(&paintLog);
        view.show();
        settle();
    }

    // Lets the view lay out and paint whatever is pending.
    void settle()
    {
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
    }

    // Loads as the window does: one step of the tree's history, which keeps
    // the tree it replaces.
    void loadAsStep(foldertree::TreeContext &context, const std::string &file)
    {
        history.replaceTree(QStringLiteral("Open"),
                            [&] { foldertree::loadTreeFile(context, workPath("target"), file); });
    }

    LoadRun load(const std::string &file, std::size_t expectedNodes, platform::FileSystem &fs)
    {
        history.clear();
        model.clear();
        settle();
        paintLog.paints.clear();
        const int publishesBefore = model.publishCount();
        foldertree::TreeContext context {
            .editor = model, .state = state, .fileSystem = fs, .ui = ui};
        LoadRun run;
        const Clock::time_point start = Clock::now();
        ui.start(start);
        loadAsStep(context, file);
        const Clock::time_point returned = Clock::now();
        ui.finish(returned);
        const std::size_t paintsDuringLoad = paintLog.paints.size();
        Clock::time_point shown = returned;
        for (int i = 0; i < 1000 && paintLog.paints.size() == paintsDuringLoad; ++i) {
            QCoreApplication::processEvents();
            shown = Clock::now();
        }
        if (paintLog.paints.size() == paintsDuringLoad)
            throw std::runtime_error("the view did not repaint after the load");
        if (tree.size() != expectedNodes)
            throw std::runtime_error("loaded " + std::to_string(tree.size()) + " nodes");
        run.total = std::chrono::duration<double>(shown - start).count();
        run.returned = std::chrono::duration<double>(returned - start).count();
        run.publishes = model.publishCount() - publishesBefore;
        run.paints = static_cast<int>(paintsDuringLoad);
        run.passes = ui.passes;
        run.longestGap = ui.longestGap;
        run.insidePasses = ui.insidePasses;
        Clock::time_point previous = start;
        for (std::size_t i = 0; i <= paintsDuringLoad; ++i) {
            const Clock::time_point at = i < paintsDuringLoad ? paintLog.paints[i] : shown;
            run.longestWithoutPaint = std::max(
                run.longestWithoutPaint, std::chrono::duration<double>(at - previous).count());
            previous = at;
        }
        settle();
        return run;
    }
};

// The steps of a load done one by one outside the window, each timed: where
// the time before the first event pass goes.
std::string phasesApart(const std::string &file)
{
    foldertree::LineBuffer lines;
    double phases[3] = {};
    bareParseFloor(file, lines, phases);
    const foldertree::ParsedTree parsed = foldertree::parseTreeLines(lines);
    foldertree::FolderTree tree;
    const Clock::time_point start = Clock::now();
    const foldertree::NodeId root = tree.addRoot(parsed.rootText, 1);
    std::size_t nameBytes = 0;
    for (const foldertree::TreeEntry &entry : parsed.entries)
        nameBytes += entry.name.size();
    tree.reserve(parsed.entries.size(), nameBytes);
    std::vector<foldertree::NodeId> nodeOfEntry;
    nodeOfEntry.reserve(parsed.entries.size());
    for (const foldertree::TreeEntry &entry : parsed.entries)
        nodeOfEntry.push_back(tree.appendChild(
            entry.parent == foldertree::TreeEntry::Root ? root : nodeOfEntry[entry.parent],
            entry.name, 1));
    const double build = secondsSince(start);
    const double tick = timed([&] { foldertree::setSubtreeTicked(tree, root, true); });
    const double release = timed([&] { tree.clear(); });
    return "steps timed apart: read " + seconds(phases[0]) + ", split into lines "
        + seconds(phases[1]) + ", place (parseTreeLines) " + seconds(phases[2])
        + ", build the tree " + seconds(build) + ", tick all " + seconds(tick) + ", clear the tree "
        + seconds(release);
}

struct LoadTimes
{
    double brindle = 0;
    double parse = 0;
    std::size_t lines = 0;
};

// Every run in a fresh process: the first load of a session, with the tree,
// the line buffer and the heap grown from nothing, the same for both sides.
LoadTimes measure(const Shape &shape, bool withTarget)
{
    const std::string file = workPath("tree-" + shape.label + ".txt");
    writeWholeFile(file, treeFileText(shape, workPath("target")));
    LoadTimes times;
    times.lines = shape.folders();
    const std::string nodes = std::to_string(times.lines + 1);
    runSelf({"load-child", file, nodes, "parse"}); // brings the file into the page cache

    std::vector<double> brindle, parse, returned, gaps, withoutPaint;
    std::vector<double> publishes, paints, passes, again;
    for (int run = 0; run < Runs; ++run) {
        for (int turn = 0; turn < 2; ++turn) {
            if ((run + turn) % 2 == 0) {
                std::istringstream out(runSelf({"load-child", file, nodes, "brindle"}));
                LoadRun result;
                double second = 0;
                out >> result.total >> result.returned >> result.publishes >> result.paints
                    >> result.passes >> result.longestGap >> result.longestWithoutPaint >> second;
                if (!out)
                    throw std::runtime_error("load-child printed nothing");
                brindle.push_back(result.total);
                returned.push_back(result.returned);
                gaps.push_back(result.longestGap);
                withoutPaint.push_back(result.longestWithoutPaint);
                publishes.push_back(result.publishes);
                paints.push_back(result.paints);
                passes.push_back(result.passes);
                again.push_back(second);
            } else {
                std::istringstream out(runSelf({"load-child", file, nodes, "parse"}));
                double time = 0;
                std::size_t placed = 0;
                out >> time >> placed;
                if (placed != times.lines)
                    throw std::runtime_error("bare parse placed " + std::to_string(placed));
                parse.push_back(time);
            }
        }
    }
    times.brindle = median(brindle);
    times.parse = median(parse);

    const std::string name = "load " + withCommas(times.lines) + " lines (" + shape.label + ")";
    const double ratio = times.brindle / times.parse;
    if (withTarget)
        printRow({name, seconds(times.brindle), "bare parse", seconds(times.parse), ratio,
                  "<= 3.00x", verdict(ratio <= 3.0)});
    else
        printRow(
            {name, seconds(times.brindle), "bare parse", seconds(times.parse), ratio, "-", "info"});
    const double worstGap = *std::max_element(gaps.begin(), gaps.end());
    const double worstWithoutPaint = *std::max_element(withoutPaint.begin(), withoutPaint.end());
    // Shapes of one or two levels share their line count with a balanced one.
    const std::string shortName
        = shape.fanout.size() <= 2 ? "load " + shape.label : name.substr(0, name.find(" ("));
    printRow({shortName + " longest gap", seconds(worstGap),
              "worst of 5, median " + seconds(median(gaps)), "-", 0, "< 100 ms",
              verdict(worstGap < 0.1)});
    printRow({shortName + " longest no-repaint", seconds(worstWithoutPaint),
              "worst of 5, median " + seconds(median(withoutPaint)), "-", 0, "<= 100 ms",
              verdict(worstWithoutPaint <= 0.1)});
    char text[256];
    std::snprintf(text, sizeof text,
                  "median of %d runs: returned after %s, publishCount %.0f, viewport paint "
                  "events %.0f, event passes %.0f",
                  Runs, seconds(median(returned)).c_str(), median(publishes), median(paints),
                  median(passes));
    printNote(text);
    printNote("per line: Brindle " + micros(times.brindle / static_cast<double>(times.lines))
              + ", bare parse " + micros(times.parse / static_cast<double>(times.lines))
              + "; a second load into the same window (its memory grown already): "
              + seconds(median(again)));
    std::istringstream detail(runSelf({"load-child", file, nodes, "detail"}));
    std::string line;
    while (std::getline(detail, line))
        printNote(line);
    return times;
}

} // namespace

void runLoadChild(const char *file, const char *nodeCount, const char *side)
{
    const std::size_t nodes = std::stoull(nodeCount);
    if (std::string_view(side) == "parse") {
        foldertree::LineBuffer lines;
        std::size_t placed = 0;
        const double time = timed([&] { placed = bareParseFloor(file, lines); });
        std::printf("%.9f %zu\n", time, placed);
        return;
    }
    int argc = 1;
    char name[] = "brindle-bench";
    char *argv[] = {name, nullptr};
    QApplication application(argc, argv);
    Window window;
    if (window.paintLog.paints.empty())
        throw std::runtime_error("the view never painted: is QT_QPA_PLATFORM=offscreen set?");
    if (std::string_view(side) == "brindle") {
        platform::PosixFileSystem fileSystem;
        const LoadRun run = window.load(file, nodes, fileSystem);
        const LoadRun second = window.load(file, nodes, fileSystem);
        std::printf("%.9f %.9f %d %d %d %.9f %.9f %.9f\n", run.total, run.returned, run.publishes,
                    run.paints, run.passes, run.longestGap, run.longestWithoutPaint, second.total);
        return;
    }
    TimedFileSystem timedFileSystem;
    const LoadRun profile = window.load(file, nodes, timedFileSystem);
    std::printf(
        "breakdown (one extra run, %s): %s; inside event passes %s; from return to the "
        "first paint %s; the rest (split, parse, build, publish) %s\n",
        seconds(profile.total).c_str(), timedFileSystem.summary().c_str(),
        seconds(profile.insidePasses).c_str(), seconds(profile.total - profile.returned).c_str(),
        seconds(profile.returned - profile.insidePasses - timedFileSystem.totalSeconds()).c_str());
    std::printf("%s\n", phasesApart(file).c_str());
}

void runLoadBench()
{
    std::vector<LoadTimes> all;
    for (const char *label : {"10x10x100", "10x10x10x100", "10x10x100x100"})
        all.push_back(measure(shapeOf(label), std::string_view(label) == "10x10x100x100"));

    auto perLine
        = [](const LoadTimes &times) { return times.brindle / static_cast<double>(times.lines); };
    auto parsePerLine
        = [](const LoadTimes &times) { return times.parse / static_cast<double>(times.lines); };
    const double growth = perLine(all.back()) / perLine(all.front());
    const double parseGrowth = parsePerLine(all.back()) / parsePerLine(all.front());
    char text[32], floorText[32];
    std::snprintf(text, sizeof text, "%.2fx", growth);
    std::snprintf(floorText, sizeof floorText, "%.2fx", parseGrowth);
    printRow({"linearity load 10k->1M/line", text, "bare parse growth", floorText,
              growth / parseGrowth, "<= 1.50x", verdict(growth <= 1.5)});
    printNote("per line: Brindle " + micros(perLine(all[0])) + " -> " + micros(perLine(all[1]))
              + " -> " + micros(perLine(all[2])) + ", bare parse " + micros(parsePerLine(all[0]))
              + " -> " + micros(parsePerLine(all[1])) + " -> " + micros(parsePerLine(all[2])));

    // The same million lines in two flat shapes: every folder a child of the
    // root (all of them rows of the view, the root being expanded), and every
    // folder a child of the root's one child.
    const LoadTimes &balanced = all.back();
    for (const char *label : {"1000000", "1x1000000"}) {
        const LoadTimes times = measure(shapeOf(label), false);
        const double ratio = times.brindle / balanced.brindle;
        printRow({"load " + std::string(label) + " vs balanced", seconds(times.brindle),
                  "10x10x100x100", seconds(balanced.brindle), ratio, "<= 1.20x",
                  verdict(ratio <= 1.2)});
    }
}

} // namespace bench

namespace bench {

void runLoadMemoryChild(const char *file)
{
    int argc = 1;
    char name[] = "brindle-bench";
    char *argv[] = {name, nullptr};
    QApplication application(argc, argv);
    Window window;
    platform::PosixFileSystem fileSystem;
    const std::size_t peakBefore = peakResidentBytes();
    const std::size_t residentBefore = residentBytes();
    foldertree::TreeContext context {
        .editor = window.model, .state = window.state, .fileSystem = fileSystem, .ui = window.ui};
    window.loadAsStep(context, file);
    window.settle();
    const std::size_t peakAfter = peakResidentBytes();
    const std::size_t residentAfter = residentBytes();
    const double nodes = static_cast<double>(window.tree.size());
    std::printf("window load of %zu nodes: peak RSS +%.1f MB (%.1f B/node), resident after the "
                "load +%.1f MB (%.1f B/node)\n",
                window.tree.size(), static_cast<double>(peakAfter - peakBefore) / 1e6,
                static_cast<double>(peakAfter - peakBefore) / nodes,
                static_cast<double>(residentAfter - residentBefore) / 1e6,
                static_cast<double>(residentAfter - residentBefore) / nodes);
}

void runLoadOnce(const char *shapeLabel)
{
    int argc = 1;
    char name[] = "brindle-bench";
    char *argv[] = {name, nullptr};
    QApplication application(argc, argv);
    const Shape shape = shapeOf(shapeLabel);
    const std::string file = workPath("tree-" + shape.label + ".txt");
    writeWholeFile(file, treeFileText(shape, workPath("target")));
    Window window;
    platform::PosixFileSystem fileSystem;
    const LoadRun run = window.load(file, shape.folders() + 1, fileSystem);
    std::printf("load %s: %s, longest gap %s, longest no-repaint %s, %d publishes\n",
                shape.label.c_str(), seconds(run.total).c_str(), seconds(run.longestGap).c_str(),
                seconds(run.longestWithoutPaint).c_str(), run.publishes);
}

} // namespace bench
