// The edit history of the folder tree: every kind of edit, undone and redone,
// gives back the tree as it was before and after, names and ticks and order.

#include "foldertreemodel.h"
#include "mirror.h"
#include "scripted.h"
#include "tempdir.h"
#include "treefile.h"
#include "treehistory.h"

#include <QAbstractItemModelTester>
#include <QGuiApplication>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace foldertree;

// Every node in pre-order: two spaces a level, its name, + ticked, - not.
std::string picture(const FolderTree &tree)
{
    std::string text;
    for (NodeId node : tree.empty() ? std::vector<NodeId>() : tree.preorder())
        text += std::string(2 * tree.level(node), ' ') + std::string(tree.text(node))
            + (isNodeTicked(tree, node) ? "+" : "-") + "\n";
    return text;
}

struct Window
{
    testsupport::TempDir temp;
    FolderTree tree;
    FolderTreeState state;
    StateWatch watch {tree, state};
    IconList icons;
    FolderTreeModel model {tree, state, icons, {}};
    QAbstractItemModelTester tester {&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
    TreeHistory history {model, state};
    platform::ScriptedFileSystem fileSystem;
    platform::ScriptedUi ui;
    TreeContext context {.editor = model, .state = state, .fileSystem = fileSystem, .ui = ui};

    // Root ( Rock ( Seventies-, Punk ), Jazz- ( Bebop ), Blues ), read from a file.
    Window()
    {
        temp.makeDirs("disk/Alpha/Inner");
        temp.makeDirs("disk/Beta");
        load("Root\n  Rock\n    Seventies\n    Punk\n  Jazz\n    Bebop\n  Blues\n");
        history.clear();
        setNodeTicked(model, find("Seventies"), false);
        setNodeTicked(model, find("Jazz"), false);
    }
    void load(const std::string &text)
    {
        temp.writeFile("tree.txt", "<tree>\n" + text);
        loadTreeFile(context, "", temp / "tree.txt");
    }
    NodeId find(std::string_view name)
    {
        for (NodeId node : tree.preorder())
            if (tree.text(node) == name)
                return node;
        return NoNode;
    }
};

TEST(TreeHistory, EveryEditUndoesAndRedoesToTheTreeBeforeAndAfter)
{
    int argc = 1;
    char name[] = "treehistory_test";
    char *argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);

    struct Row
    {
        const char *name;
        std::function<void(Window &)> edit;
        const char *undoText;
    };
    const Row rows[] = {
        {"add a subfolder", [](Window &w) { w.history.addSubfolder(w.find("Bebop"), "Cool"); },
         "Undo Add subfolder 'Cool'"},
        {"rename to a longer name",
         [](Window &w) { w.history.rename(w.find("Punk"), "Post-punk revival"); },
         "Undo Rename 'Punk'"},
        {"delete a branch", [](Window &w) { w.history.remove(w.find("Rock")); },
         "Undo Delete 'Rock'"},
        {"delete the last child", [](Window &w) { w.history.remove(w.find("Blues")); },
         "Undo Delete 'Blues'"},
        {"delete the root", [](Window &w) { w.history.remove(w.tree.root()); },
         "Undo Delete 'Root'"},
        {"flip one box", [](Window &w) { w.history.tick(w.find("Blues"), false); },
         "Undo Untick 'Blues'"},
        {"a click that unticks a branch is one step",
         [](Window &w) {
             w.history.tick(w.find("Rock"), false);
             w.history.spreadTick(w.find("Rock"), false);
         },
         "Undo Untick 'Rock'"},
        {"a click that ticks a branch and its ancestors is one step",
         [](Window &w) {
             w.history.tick(w.find("Bebop"), true);
             w.history.spreadTick(w.find("Bebop"), true);
         },
         "Undo Tick 'Bebop'"},
        {"replace the tree by a file",
         [](Window &w) {
             w.history.replaceTree("Open 'tree.txt'", [&] { w.load("Other\n  Films\n"); });
         },
         "Undo Open 'tree.txt'"},
        {"replace the tree by a mirror",
         [](Window &w) {
             w.history.replaceTree("Mirror",
                                   [&] { mirrorFolder(w.context, w.icons, w.temp / "disk"); });
         },
         "Undo Mirror"},
        {"an add to a tree that an undo brought back",
         [](Window &w) {
             w.history.replaceTree("Open", [&] { w.load("Other\n  Films\n"); });
             w.history.undo();
             w.history.addSubfolder(w.find("Seventies"), "Glam");
         },
         "Undo Add subfolder 'Glam'"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        Window w;
        const std::string before = picture(w.tree);
        const bool mirrorBefore = w.state.mirrorMode;
        EXPECT_EQ(w.history.undoText().toStdString(), "Undo");
        row.edit(w);
        const std::string after = picture(w.tree);
        const bool mirrorAfter = w.state.mirrorMode;
        ASSERT_NE(after, before);
        EXPECT_EQ(w.history.undoText().toStdString(), row.undoText);
        for (int round = 0; round < 2; ++round) {
            w.history.undo();
            EXPECT_EQ(picture(w.tree), before);
            EXPECT_EQ(w.state.mirrorMode, mirrorBefore);
            EXPECT_TRUE(w.tree.isConsistent());
            EXPECT_EQ(w.history.redoText().toStdString(), "Redo" + std::string(row.undoText + 4));
            w.history.redo();
            EXPECT_EQ(picture(w.tree), after);
            EXPECT_EQ(w.state.mirrorMode, mirrorAfter);
            EXPECT_TRUE(w.tree.isConsistent());
        }
    }
}

} // namespace
