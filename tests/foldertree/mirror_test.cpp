#include "desk.h"
#include "mirror.h"
#include "tempdir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace foldertree {
namespace {

using testing::Desk;
using testing::shape;
using Names = std::set<std::string>;

// Answers every path with one icon and counts the questions.
struct FixedIcons : IconSource
{
    explicit FixedIcons(int index) : index(index) { }
    int iconIndex(const std::string &path) override
    {
        asked.push_back(path);
        return index;
    }
    int index;
    std::vector<std::string> asked;
};

Names childNames(const FolderTree &tree, NodeId node)
{
    Names names;
    for (std::size_t i = 0; i < tree.childCount(node); ++i)
        names.emplace(tree.text(tree.child(node, i)));
    return names;
}

NodeId childNamed(const FolderTree &tree, NodeId node, std::string_view name)
{
    for (std::size_t i = 0; i < tree.childCount(node); ++i)
        if (tree.text(tree.child(node, i)) == name)
            return tree.child(node, i);
    return NoNode;
}

// root: .git/objects, Alpha (Alpha1 (Deep (Deep1, Deep2)), Alpha2), Beta, a name that
// is not UTF-8, and a file.
struct Mirroring : ::testing::Test
{
    testsupport::TempDir temp;
    Desk desk;
    FixedIcons icons {7};
    std::string root = temp / "root";
    NodeId alpha = NoNode;
    NodeId beta = NoNode;

    Mirroring()
    {
        for (const char *dir :
             {"root/.git/objects", "root/Alpha/Alpha1/Deep/Deep1", "root/Alpha/Alpha1/Deep/Deep2",
              "root/Alpha/Alpha2", "root/Beta", "root/\xff\xfe name"})
            temp.makeDirs(dir);
        temp.writeFile("root/file.txt", "x");
        temp.writeFile("root/Alpha/file.txt", "x");
    }
    void mirror()
    {
        mirrorFolder(desk.context, icons, root);
        alpha = childNamed(desk.tree, desk.tree.root(), "Alpha");
        beta = childNamed(desk.tree, desk.tree.root(), "Beta");
        ASSERT_NE(alpha, NoNode);
        ASSERT_NE(beta, NoNode);
    }
};

TEST_F(Mirroring, ReadsTwoLevelsOfFoldersOnly)
{
    mirror();
    const FolderTree &tree = desk.tree;
    EXPECT_EQ(tree.text(tree.root()), root);
    EXPECT_EQ(tree.image(tree.root()), 7);
    EXPECT_EQ(tree.childCount(tree.root()), 3u);
    EXPECT_EQ(childNames(tree, tree.root()), (Names {"Alpha", "Beta", "\xff\xfe name"}));
    ASSERT_EQ(tree.childCount(alpha), 1u);
    const NodeId stand = tree.child(alpha, 0);
    EXPECT_TRUE(tree.text(stand) == "Alpha1" || tree.text(stand) == "Alpha2") << tree.text(stand);
    EXPECT_EQ(tree.childCount(stand), 0u);
    EXPECT_EQ(tree.childCount(beta), 0u);
    for (NodeId node : tree.preorder())
        EXPECT_EQ(tree.tick(node), Tick::Ticked) << tree.text(node);
    EXPECT_EQ(tree.image(alpha), 0) << "resolved when first shown";
    EXPECT_TRUE(desk.state.mirrorMode);
    EXPECT_EQ(desk.state.loadsRunning, 0);
    EXPECT_FALSE(desk.ui.isBusy());
    EXPECT_TRUE(tree.isConsistent());
}

TEST_F(Mirroring, ExpandingAOneChildNodeReadsItAgain)
{
    for (bool ticked : {true, false}) {
        SCOPED_TRACE(ticked ? "ticked" : "unticked");
        mirror();
        const FolderTree &tree = desk.tree;
        setNodeTicked(desk.tree, alpha, ticked);
        loadBranchOnExpand(desk.context, alpha);
        EXPECT_EQ(childNames(tree, alpha), (Names {"Alpha1", "Alpha2"}));
        const NodeId alpha1 = childNamed(tree, alpha, "Alpha1");
        ASSERT_NE(alpha1, NoNode);
        EXPECT_EQ(shape(tree, alpha1), "Deep") << "at most the first subfolder";
        EXPECT_EQ(tree.childCount(childNamed(tree, alpha, "Alpha2")), 0u);
        for (NodeId node : tree.preorder()) {
            if (tree.isWithin(node, alpha) && node != alpha) {
                EXPECT_EQ(tree.tick(node), ticked ? Tick::Ticked : Tick::Unticked);
            }
        }
        EXPECT_EQ(tree.tick(beta), Tick::Ticked);

        // One level further down: Deep stands alone, and now holds one of its own.
        loadBranchOnExpand(desk.context, alpha1);
        ASSERT_EQ(tree.childCount(alpha1), 1u);
        const NodeId deep = tree.child(alpha1, 0);
        EXPECT_EQ(tree.childCount(deep), 1u);
        EXPECT_EQ(nodePath(tree, deep), root + "/Alpha/Alpha1/Deep");
        EXPECT_EQ(desk.state.loadsRunning, 0);
        EXPECT_TRUE(tree.isConsistent());
    }
}

TEST_F(Mirroring, ExpandingReadsNothingElse)
{
    struct Row
    {
        const char *name;
        const char *node;
        bool planMode;
    };
    const Row rows[] = {
        {"node with several children", "root", false},
        {"node without children", "Beta", false},
        {"plan mode", "Alpha", true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        mirror();
        // Folders made after the mirror appear only where the tree reads again.
        temp.makeDirs("root/Gamma");
        temp.makeDirs("root/Beta/Beta1");
        temp.makeDirs("root/Alpha/Alpha3");
        desk.state.mirrorMode = !row.planMode;
        const std::string before = shape(desk.tree, desk.tree.root());
        const std::string node = row.node;
        loadBranchOnExpand(desk.context,
                           node == "root"       ? desk.tree.root()
                               : node == "Beta" ? beta
                                                : alpha);
        EXPECT_EQ(shape(desk.tree, desk.tree.root()), before);
        for (const char *dir : {"root/Gamma", "root/Beta/Beta1", "root/Alpha/Alpha3"})
            std::filesystem::remove(temp / dir);
    }
}

TEST_F(Mirroring, LinksUpShowWithoutChildrenAndNamesAFileCannotHoldAreListed)
{
    for (const char *dir : {"root/bad\nname", "root/ lead", "root/Beta/x\ry", "root/Beta/ok"})
        temp.makeDirs(dir);
    ASSERT_EQ(symlink(root.c_str(), (temp / "root/me").c_str()), 0);
    ASSERT_EQ(symlink(temp.path().c_str(), (temp / "root/up").c_str()), 0);
    ASSERT_EQ(symlink("/", (temp / "root/Beta/slash").c_str()), 0);
    const std::vector<std::string> mirrored = mirrorFolder(desk.context, icons, root);
    const FolderTree &tree = desk.tree;
    EXPECT_EQ(childNames(tree, tree.root()),
              (Names {"Alpha", "Beta", "\xff\xfe name", "me", "up"}));
    EXPECT_EQ(tree.childCount(childNamed(tree, tree.root(), "me")), 0u);
    EXPECT_EQ(tree.childCount(childNamed(tree, tree.root(), "up")), 0u);
    EXPECT_EQ(std::set(mirrored.begin(), mirrored.end()),
              (Names {root + "/bad\nname", root + "/ lead"}));

    // Beta showed one stand-in; expanding reads it in full, and says so once.
    const NodeId betaNode = childNamed(tree, tree.root(), "Beta");
    ASSERT_EQ(tree.childCount(betaNode), 1u);
    const std::vector<std::string> expanded = loadBranchOnExpand(desk.context, betaNode);
    EXPECT_EQ(childNames(tree, betaNode), (Names {"ok", "slash"}));
    EXPECT_EQ(tree.childCount(childNamed(tree, betaNode, "slash")), 0u);
    EXPECT_EQ(expanded, std::vector<std::string> {root + "/Beta/x\ry"});
}

TEST_F(Mirroring, MissingFolderGivesALoneTickedRoot)
{
    const std::string missing = temp / "missing";
    mirrorFolder(desk.context, icons, missing);
    EXPECT_EQ(desk.tree.size(), 1u);
    EXPECT_EQ(desk.tree.text(desk.tree.root()), missing);
    EXPECT_EQ(desk.tree.tick(desk.tree.root()), Tick::Ticked);
}

TEST_F(Mirroring, FolderGoneFromDiskLeavesNoChildren)
{
    mirror();
    std::filesystem::remove_all(temp / "root/Alpha");
    loadBranchOnExpand(desk.context, alpha);
    EXPECT_TRUE(desk.tree.contains(alpha));
    EXPECT_EQ(desk.tree.childCount(alpha), 0u);
    EXPECT_TRUE(desk.tree.isConsistent());
}

TEST_F(Mirroring, NodeUnderPointerForgetsReReadChildren)
{
    StateWatch watch(desk.tree, desk.state);
    mirror();
    desk.state.nodeUnderPointer = desk.tree.child(alpha, 0);
    loadBranchOnExpand(desk.context, alpha);
    EXPECT_EQ(desk.state.nodeUnderPointer, NoNode);

    desk.state.nodeUnderPointer = beta;
    loadBranchOnExpand(desk.context, alpha);
    EXPECT_EQ(desk.state.nodeUnderPointer, beta);
}

TEST(TreeImages, FromTheIconOfThePath)
{
    struct Row
    {
        const char *name;
        int image;
        int icon;
        int shown;
        std::size_t questions;
    };
    const Row rows[] = {
        {"no icon becomes 1", 0, 0, 1, 1},
        {"icon taken", 0, 5, 5, 1},
        {"image already set", 3, 5, 3, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        FolderTree tree;
        const NodeId node = tree.appendChild(tree.addRoot("/music", 2), "Rock", row.image);
        FixedIcons icons(row.icon);
        EXPECT_EQ(imageToShow(tree, icons, node), row.shown);
        EXPECT_EQ(tree.image(node), row.image);
        EXPECT_EQ(icons.asked.size(), row.questions);
        if (!icons.asked.empty()) {
            EXPECT_EQ(icons.asked[0], "/music/Rock");
        }
    }
}

} // namespace
} // namespace foldertree
