#include "desk.h"
#include "tree.h"
#include "treefile.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace foldertree {
namespace {

using testing::shape;

// R ( A ( A1 ( A1a ), A2 ), B, C ( C1 ) )
struct Sample
{
    FolderTree tree;
    NodeId r = tree.addRoot("R", 2);
    NodeId a = tree.appendChild(r, "A", 1);
    NodeId a1 = tree.appendChild(a, "A1", 1);
    NodeId a1a = tree.appendChild(a1, "A1a", 1);
    NodeId a2 = tree.appendChild(a, "A2", 1);
    NodeId b = tree.appendChild(r, "B", 1);
    NodeId c = tree.appendChild(r, "C", 1);
    NodeId c1 = tree.appendChild(c, "C1", 1);
};

TEST(FolderTree, ChildrenKeepTheirOrderRowAndLevel)
{
    Sample s;
    EXPECT_EQ(shape(s.tree, s.r), "A(A1(A1a)|A2)|B|C(C1)");
    EXPECT_EQ(s.tree.size(), 8u);
    EXPECT_EQ(s.tree.parent(s.a1a), s.a1);
    EXPECT_EQ(s.tree.tick(s.a), Tick::None);
    for (auto [node, row, level] :
         {std::tuple {s.r, 0u, 0}, {s.c, 2u, 1}, {s.a2, 1u, 2}, {s.a1a, 0u, 3}}) {
        EXPECT_EQ(s.tree.row(node), row) << s.tree.text(node);
        EXPECT_EQ(s.tree.level(node), level) << s.tree.text(node);
    }
    EXPECT_EQ(s.tree.preorder(), (std::vector {s.r, s.a, s.a1, s.a1a, s.a2, s.b, s.c, s.c1}));
    EXPECT_TRUE(s.tree.isConsistent());
}

TEST(FolderTree, RemovingASubtreeLeavesTheOtherIndicesValid)
{
    Sample s;
    s.tree.removeNode(s.a);
    EXPECT_TRUE(s.tree.isConsistent());
    EXPECT_EQ(s.tree.size(), 4u);
    for (NodeId gone : {s.a, s.a1, s.a1a, s.a2})
        EXPECT_FALSE(s.tree.contains(gone));
    EXPECT_EQ(s.tree.row(s.c), 1u);
    // Renaming (longer and shorter) and appending use the old indices.
    s.tree.setText(s.b, "Bigger name");
    s.tree.setText(s.c1, "D");
    EXPECT_EQ(s.tree.row(s.tree.appendChild(s.r, "E", 1)), 2u);
    EXPECT_EQ(shape(s.tree, s.r), "Bigger name|C(D)|E");
    EXPECT_TRUE(s.tree.isConsistent());

    s.tree.removeNode(s.r);
    EXPECT_TRUE(s.tree.empty());
    EXPECT_EQ(s.tree.size(), 0u);
    EXPECT_TRUE(s.tree.preorder().empty());
    EXPECT_FALSE(s.tree.contains(s.b));
    EXPECT_TRUE(s.tree.isConsistent());
}

TEST(FolderTree, WatchedVariablesForgetRemovedNodes)
{
    struct Row
    {
        const char *name;
        std::function<void(Sample &)> edit;
        bool forgotten;
    };
    const Row rows[] = {
        {"node removed", [](Sample &s) { s.tree.removeNode(s.a1); }, true},
        {"parent removed", [](Sample &s) { s.tree.removeNode(s.a); }, true},
        {"parent's children removed", [](Sample &s) { s.tree.removeChildren(s.a); }, true},
        {"root removed", [](Sample &s) { s.tree.removeNode(s.r); }, true},
        {"tree cleared", [](Sample &s) { s.tree.clear(); }, true},
        {"new root", [](Sample &s) { s.tree.addRoot("Other", 1); }, true},
        {"sibling removed", [](Sample &s) { s.tree.removeNode(s.a2); }, false},
        {"parent's sibling removed", [](Sample &s) { s.tree.removeNode(s.b); }, false},
        {"child removed", [](Sample &s) { s.tree.removeNode(s.a1a); }, false},
        {"own children removed", [](Sample &s) { s.tree.removeChildren(s.a1); }, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        Sample s;
        NodeId watched = s.a1;
        NodeId unwatched = s.a1;
        s.tree.watch(&watched);
        s.tree.watch(&unwatched);
        s.tree.unwatch(&unwatched);
        row.edit(s);
        EXPECT_TRUE(s.tree.isConsistent());
        EXPECT_EQ(unwatched, s.a1);
        if (row.forgotten) {
            EXPECT_EQ(watched, NoNode);
        } else {
            ASSERT_EQ(watched, s.a1);
            EXPECT_EQ(s.tree.text(watched), "A1");
        }
        s.tree.unwatch(&watched);
    }
}

TEST(FolderTree, TickStates)
{
    Sample s;
    EXPECT_TRUE(isNodeTicked(s.tree, s.a)) << "a node nobody ticked counts as ticked";
    EXPECT_FALSE(isNodeTicked(s.tree, NoNode));
    setNodeTicked(s.tree, s.a, false);
    EXPECT_EQ(s.tree.tick(s.a), Tick::Unticked);
    EXPECT_FALSE(isNodeTicked(s.tree, s.a));
    EXPECT_EQ(s.tree.tick(s.a1), Tick::None) << "one node only";

    setSubtreeTicked(s.tree, s.r, true);
    for (NodeId n : s.tree.preorder())
        EXPECT_EQ(s.tree.tick(n), Tick::Ticked);
    setSubtreeTicked(s.tree, s.a, false);
    for (NodeId n : s.tree.preorder())
        EXPECT_EQ(isNodeTicked(s.tree, n), !s.tree.isWithin(n, s.a)) << s.tree.text(n);
}

TEST(NodePaths, JoinsNamesWithOneSeparator)
{
    struct Row
    {
        const char *name;
        std::vector<std::string> chain; // root first; the path of the last is taken
        char separator;
        std::string path;
    };
    const Row rows[] = {
        {"file-system root", {"/", "Rock"}, '/', "/Rock"},
        {"nested", {"/music", "Rock", "Seventies"}, '/', "/music/Rock/Seventies"},
        {"root with separator", {"/music/", "Rock"}, '/', "/music/Rock"},
        {"empty root", {"", "Rock"}, '/', "/Rock"},
        {"placeholder root", {"[Target Folder]", "Rock"}, '/', "[Target Folder]/Rock"},
        {"root alone", {"/music/"}, '/', "/music/"},
        {"empty parent gets a separator", {"a", "", "b"}, '/', "a//b"},
        {"parent ending with separator", {"a", "b/", "c"}, '/', "a/b/c"},
        {"other separator", {"C:\\", "Rock", "70s"}, '\\', "C:\\Rock\\70s"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        FolderTree tree;
        NodeId node = tree.addRoot(row.chain[0], 1);
        for (std::size_t i = 1; i < row.chain.size(); ++i)
            node = tree.appendChild(node, row.chain[i], 1);
        EXPECT_EQ(nodePath(tree, node, row.separator), row.path);
    }
    FolderTree tree;
    tree.addRoot("/x", 1);
    EXPECT_EQ(nodePath(tree, NoNode), "");
}

TEST(FolderTree, HundredThousandLevelsDeep)
{
    constexpr std::size_t Depth = 100000;
    auto tree = std::make_unique<FolderTree>();
    std::vector<NodeId> chain {tree->addRoot("r", 2)};
    for (std::size_t i = 1; i < Depth; ++i)
        chain.push_back(tree->appendChild(chain.back(), "n", 1));
    const NodeId deepest = chain.back();
    EXPECT_EQ(tree->size(), Depth);
    EXPECT_EQ(tree->level(deepest), static_cast<int>(Depth - 1));
    EXPECT_TRUE(tree->isConsistent());
    EXPECT_EQ(tree->preorder(), chain);

    setSubtreeTicked(*tree, tree->root(), true);
    EXPECT_EQ(tree->tick(deepest), Tick::Ticked);

    std::string expected = "r";
    for (std::size_t i = 1; i < Depth; ++i)
        expected += "/n";
    EXPECT_EQ(nodePath(*tree, deepest, '/'), expected);

    // Nothing but the deepest ticked: the walk visits every level, and the
    // lines stay small.
    setSubtreeTicked(*tree, tree->root(), false);
    setNodeTicked(*tree, deepest, true);
    LineBuffer lines;
    writeTreeLines(*tree, tree->root(), lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "r");
    EXPECT_EQ(lines[1], std::string(2 * (Depth - 1), ' ') + "n");

    NodeId watched = deepest;
    tree->watch(&watched);
    tree->removeNode(chain[1]);
    EXPECT_EQ(watched, NoNode);
    EXPECT_EQ(tree->size(), 1u);
    EXPECT_TRUE(tree->isConsistent());
    tree->unwatch(&watched);

    // A chain again, destroyed with the tree.
    NodeId at = tree->root();
    for (std::size_t i = 1; i < Depth; ++i)
        at = tree->appendChild(at, "n", 1);
    EXPECT_EQ(tree->level(at), static_cast<int>(Depth - 1));
    tree.reset();
}

} // namespace
} // namespace foldertree
