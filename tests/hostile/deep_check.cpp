// A tree of 100,000 levels, end to end in one process that the test run starts
// with a 1 MiB stack: built, ticked, written, walked by a creation run, freed;
// and a tree file of 3,000 levels read. Any recursion over the tree would
// exhaust the stack long before.

#include "creationrun.h"
#include "scripted.h"
#include "scriptedrun.h"
#include "tempdir.h"
#include "treefile.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

int failures = 0;
int checks = 0;

void check(bool ok, const char *what)
{
    ++checks;
    if (!ok) {
        ++failures;
        std::printf("FAILED: %s\n", what);
    }
}

} // namespace

int main()
{
    constexpr int Levels = 100000;
    testsupport::TempDir dir;
    dir.makeDirs("install");
    platform::ScriptedServices scripted;
    {
        foldertree::FolderTree tree;
        foldertree::NodeId node = tree.addRoot(dir / "target", 1);
        for (int i = 0; i < Levels; ++i)
            node = tree.appendChild(node, "d", 1);
        foldertree::setSubtreeTicked(tree, tree.root(), true);
        check(tree.isConsistent(), "the deep tree is consistent");
        check(foldertree::isNodeTicked(tree, node), "ticking reaches the deepest node");
        check(tree.preorder().size() == Levels + 1, "the walk visits every node");
        check(foldertree::nodePath(tree, node).size() == (dir / "target").size() + 2 * Levels,
              "the deepest path has every level");

        // Written with only the root and the deepest node ticked: two lines.
        foldertree::setSubtreeTicked(tree, tree.root(), false);
        foldertree::setNodeTicked(tree, node, true);
        foldertree::LineBuffer lines;
        foldertree::writeTreeLines(tree, tree.root(), lines);
        check(lines.size() == 2 && lines[1].size() == 2 * Levels + 1,
              "writing keeps the deepest node's depth");

        // Created: the run goes on past the system's path limit until it is
        // stopped, with every folder it made counted and logged.
        foldertree::setSubtreeTicked(tree, tree.root(), true);
        constexpr std::size_t StopAt = 2500; // 5,000 path bytes
        creation::CreationContext context
            = testsupport::scriptedRun(tree, scripted, dir / "install/");
        context.progress = [](std::size_t done, const std::string &) { return done < StopAt; };
        scripted.messages.queue(platform::Answer::No);
        std::string target = dir / "target";
        const creation::CreationResult result = creation::createTickedFolders(context, target);
        const std::vector<std::string> texts = scripted.messages.texts();
        check(texts.size() == 1 && texts[0].rfind("2500 subfolders", 0) == 0,
              "the run stops when asked, without a question");
        const std::string log = dir.readFile("install/undo.udo");
        check(result.created == int(StopAt)
                  && std::count(log.begin(), log.end(), '\n') == std::ptrdiff_t(StopAt),
              "the folders made past the path limit are logged");
    } // freed here

    // A tree file as deep as a file of reasonable size goes: 3,000 levels.
    constexpr int FileLevels = 3000;
    std::string text = "<tree>\r\nroot\r\n";
    for (int i = 1; i <= FileLevels; ++i)
        text += std::string(2 * static_cast<std::size_t>(i), ' ') + "x\r\n";
    dir.writeFile("deep.txt", text);
    foldertree::FolderTree tree;
    foldertree::FolderTreeState state;
    foldertree::TreeContext context {
        .editor = tree, .state = state, .fileSystem = scripted.fileSystem, .ui = scripted.ui};
    foldertree::loadTreeFile(context, "", dir / "deep.txt");
    check(tree.size() == FileLevels + 1, "every line of the deep file is a node");
    check(tree.level(tree.preorder().back()) == FileLevels, "the last line is the deepest");

    std::printf("%d passed, %d failed\n", checks - failures, failures);
    return failures == 0 ? 0 : 1;
}
