// Peak resident bytes per node of the folder tree, each measured in a fresh
// process: the tree built through appendChild after reserve, as a load builds it.

#include "benchcases.h"
#include "benchsupport.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace bench {

namespace {

std::size_t nameBytesOf(const Shape &shape)
{
    std::size_t bytes = 0;
    std::size_t atLevel = 1;
    for (std::size_t level = 0; level < shape.fanout.size(); ++level) {
        atLevel *= static_cast<std::size_t>(shape.fanout[level]);
        bytes += atLevel * shape.name(level, 0).size();
    }
    return bytes;
}

struct MemoryRun
{
    std::size_t before = 0, after = 0, nodes = 0, nameBytes = 0, accounted = 0;
    double perNode() const
    {
        return (static_cast<double>(after) - static_cast<double>(before)
                - static_cast<double>(nameBytes))
            / static_cast<double>(nodes);
    }
};

} // namespace

void runMemoryChild(const char *shapeLabel)
{
    const Shape shape = shapeOf(shapeLabel);
    const std::string rootText = "root";
    const std::size_t nameBytes = nameBytesOf(shape) + rootText.size();
    const std::size_t before = peakResidentBytes();
    foldertree::FolderTree tree;
    const foldertree::NodeId root = tree.addRoot(rootText, 1);
    tree.reserve(shape.folders(), nameBytes);
    buildShape(tree, root, shape);
    const std::size_t after = peakResidentBytes();
    std::printf("%zu %zu %zu %zu %zu\n", before, after, tree.size(), nameBytes, tree.memoryUsed());
}

void runMemoryBench()
{
    std::vector<double> medians;
    std::vector<std::size_t> nodeCounts;
    for (const char *label : {"10x10x100", "10x10x10x100", "10x10x100x100"}) {
        std::vector<double> perNode;
        MemoryRun last;
        for (int run = 0; run < Runs; ++run) {
            std::istringstream out(runSelf({"memory-child", label}));
            out >> last.before >> last.after >> last.nodes >> last.nameBytes >> last.accounted;
            if (!out)
                throw std::runtime_error("memory-child printed nothing");
            perNode.push_back(last.perNode());
        }
        const double value = median(perNode);
        medians.push_back(value);
        nodeCounts.push_back(last.nodes);
        char text[32];
        std::snprintf(text, sizeof text, "%.1f B", value);
        const bool largest = std::string_view(label) == "10x10x100x100";
        printRow({"memory " + withCommas(last.nodes) + " nodes (" + label + ")", text,
                  "per node, names out", "-", 0, largest ? "<= 64 B" : "-",
                  largest ? verdict(value <= 64) : "info"});
        char note[256];
        std::snprintf(note, sizeof note,
                      "last child: VmHWM %.1f MB -> %.1f MB, name bytes %.1f MB (%.2f/node), "
                      "memoryUsed() %.1f B/node",
                      static_cast<double>(last.before) / 1e6, static_cast<double>(last.after) / 1e6,
                      static_cast<double>(last.nameBytes) / 1e6,
                      static_cast<double>(last.nameBytes) / static_cast<double>(last.nodes),
                      static_cast<double>(last.accounted) / static_cast<double>(last.nodes));
        printNote(note);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2fx", medians.back() / medians.front());
    printRow({"linearity memory 10k->1M/node", text, "-", "-", 0, "<= 1.50x",
              verdict(medians.back() / medians.front() <= 1.5)});

    // The whole load as the window does it, for what it holds beyond the tree.
    const std::string file = workPath("tree-memory.txt");
    writeWholeFile(file, treeFileText(shapeOf("10x10x100x100"), workPath("target")));
    std::istringstream out(runSelf({"load-memory-child", file}));
    std::string line;
    while (std::getline(out, line))
        printNote(line);
}

} // namespace bench
