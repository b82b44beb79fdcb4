#include "desk.h"
#include "failure.h"
#include "tempdir.h"

#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace foldertree {
namespace {

using testing::Desk;
using testing::shape;
using namespace std::string_literals;

std::vector<std::string> linesOf(const LineBuffer &buffer)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < buffer.size(); ++i)
        lines.emplace_back(buffer[i]);
    return lines;
}

TEST(LineBuffer, SplitsAtEveryKindOfLineEnd)
{
    struct Row
    {
        const char *name;
        std::string text;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"lone CR", "a\rb\r", {"a", "b"}},
        {"lone LF", "a\nb\n", {"a", "b"}},
        {"mixed", "a\r\nb\rc\nd\r\n", {"a", "b", "c", "d"}},
        {"LF CR is two ends", "a\n\rb", {"a", "", "b"}},
        {"last line without end", "a\nb", {"a", "b"}},
        {"only a line end", "\r\n", {""}},
        {"NUL ends the text", "a\nb\0c\nd"s, {"a", "b"}},
        {"NUL first", "\0a\n"s, {}},
        {"empty", "", {}},
        {"empty middle line", "a\r\n\r\nb", {"a", "", "b"}},
        {"bytes kept", "\xff\xfe x \t\r\n", {"\xff\xfe x \t"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        LineBuffer buffer;
        buffer.assign("old\nlines\n");
        buffer.assign(row.text);
        EXPECT_EQ(linesOf(buffer), row.lines);
    }
}

TEST(LineBuffer, JoinedEndsEveryLineWithCrLf)
{
    LineBuffer buffer;
    EXPECT_EQ(buffer.joined(), "");
    buffer.assign("a\n\nb");
    buffer.append("  ", "c");
    EXPECT_EQ(buffer.joined(), "a\r\n\r\nb\r\n  c\r\n");
}

// A desk whose tree holds R(Old) with Old unticked, in mirror mode, and a file
// to load from.
struct Loading : ::testing::Test
{
    testsupport::TempDir temp;
    Desk desk;
    std::string file = temp / "tree.txt";

    Loading()
    {
        const NodeId root = desk.tree.addRoot("R", 2);
        setNodeTicked(desk.tree, desk.tree.appendChild(root, "Old", 1), false);
        desk.state.mirrorMode = true;
    }
    void load(std::string_view bytes, std::string_view target)
    {
        temp.writeFile("tree.txt", bytes);
        loadTreeFile(desk.context, target, file);
    }
    void expectUntouched()
    {
        EXPECT_EQ(desk.tree.text(desk.tree.root()), "R");
        ASSERT_EQ(shape(desk.tree, desk.tree.root()), "Old");
        EXPECT_EQ(desk.tree.tick(desk.tree.child(desk.tree.root(), 0)), Tick::Unticked);
        EXPECT_TRUE(desk.state.mirrorMode);
    }
};

TEST_F(Loading, PlacesLinesByIndentation)
{
    const std::string dir = temp / "home";
    struct Row
    {
        const char *name;
        std::string file;
        std::string target;
        std::string rootText;
        std::string shape;
    };
    const Row rows[] = {
        {"no header", "Fiction\r\n  Crime\r\n    Noir\r\nPoetry\r\n", "/t", "/t",
         "Fiction|Crime(Noir)|Poetry"},
        {"tree header", "<tree>\n" + dir + "\n  Apples\n    Berries\n  Cherries\n", "/t", dir,
         "Apples(Berries)|Cherries"},
        {"folder header", "<folder>\n" + dir + "\n  Apples\n    Berries\n  Cherries", "/t", dir,
         "Apples(Berries)|Cherries"},
        {"header inside other text", "xx<tree>yy\nRoot\n  A\n", "/t", "Root", "A"},
        {"header with spaces around", "  <tree>  \nRoot\n  A\n", "/t", "Root", "A"},
        {"upper case is no header", "<TREE>\nRoot\n  A\n", "/t", "/t", "<TREE>|Root|A"},
        {"header and root only", "<tree>\nRoot\n", "/t", "Root", ""},
        {"indented root line", "<tree>\n  /r \n  A\n", "/t", "  /r ", "A"},
        {"odd spaces round down", "A\n   B\n     C\n", "/t", "/t", "A|B(C)"},
        {"two levels deeper", "  A\n      B\n  C\n", "/t", "/t", "A|B|C"},
        {"back up two levels", "A\n    B\n      C\n  D\n", "/t", "/t", "A(B(C))|D"},
        {"tabs after spaces do not count", "A\n  \t\tB\n", "/t", "/t", "A|B"},
        {"tab and one space", "A\n    B\n\tC\n    D\n E\n", "/t", "/t", "A(B)|C(D)|E"},
        {"trailing spaces kept", "A  \n    B \n", "/t", "/t", "A  (B )"},
        {"blank lines skipped", "A\n   \n\t \n\n    B\n", "/t", "/t", "A(B)"},
        {"target trimmed", "A\nB\n", "  /t \t", "/t", "A|B"},
        {"blank target", "A\nB\n", " \t ", "[Target Folder]", "A|B"},
    };
    temp.makeDirs("home");
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        load(row.file, row.target);
        const FolderTree &tree = desk.tree;
        ASSERT_FALSE(tree.empty());
        EXPECT_EQ(tree.text(tree.root()), row.rootText);
        EXPECT_EQ(shape(tree, tree.root()), row.shape);
        EXPECT_EQ(desk.state.rootNode, tree.root());
        EXPECT_FALSE(desk.state.mirrorMode);
        EXPECT_EQ(desk.state.loadsRunning, 0);
        EXPECT_FALSE(desk.ui.isBusy());
        for (NodeId node : tree.preorder()) {
            EXPECT_EQ(tree.tick(node), Tick::Ticked);
            if (node != tree.root()) {
                EXPECT_EQ(tree.image(node), 1);
            }
        }
        EXPECT_TRUE(tree.isConsistent());
    }
}

TEST_F(Loading, RootImageComesFromTheTarget)
{
    temp.makeDirs("there");
    const std::string there = temp / "there";
    const std::string nowhere = temp / "nowhere";
    load("<tree>\n" + nowhere + "\n  A\n", there);
    EXPECT_EQ(desk.tree.image(desk.tree.root()), 2);
    EXPECT_EQ(desk.tree.text(desk.tree.root()), nowhere);

    load("<tree>\n" + there + "\n  A\n", nowhere);
    EXPECT_EQ(desk.tree.image(desk.tree.root()), 1);
    EXPECT_EQ(desk.tree.text(desk.tree.root()), there);
}

TEST_F(Loading, ShortFilesChangeNothing)
{
    for (const char *bytes : {"", "<tree>\n", "Alpha", "\r\n"}) {
        SCOPED_TRACE(bytes);
        load(bytes, "/t");
        expectUntouched();
    }
}

TEST_F(Loading, FilesThatCannotBeReadThrowAndChangeNothing)
{
    // Each of these would keep a reader waiting or fill the memory.
    ASSERT_EQ(mkfifo((temp / "fifo").c_str(), 0644), 0);
    temp.makeDirs("folder.txt");
    temp.writeFile("huge.txt", "");
    ASSERT_EQ(truncate((temp / "huge.txt").c_str(), (off_t(1) << 30) + 1), 0); // sparse
    for (const std::string &name : {temp / "missing.txt", temp / "fifo", "/dev/zero"s,
                                    temp / "folder.txt", temp / "huge.txt"}) {
        SCOPED_TRACE(name);
        try {
            loadTreeFile(desk.context, "/t", name);
            ADD_FAILURE() << "no exception";
        } catch (const platform::Failure &failure) {
            EXPECT_EQ(std::string(failure.what()), "Cannot open file " + name);
        }
        expectUntouched();
        EXPECT_EQ(desk.state.loadsRunning, 0);
        EXPECT_FALSE(desk.ui.isBusy());
    }
}

TEST_F(Loading, NamesThatAreNotUtf8SurviveLoadAndWrite)
{
    const std::string bytes = "<tree>\r\n/r\xe9\r\n  \xff\xfe name\r\n    caf\xe9 \r\n";
    load(bytes, "/t");
    EXPECT_EQ(shape(desk.tree, desk.tree.root()), "\xff\xfe name(caf\xe9 )");
    LineBuffer lines;
    lines.append("<tree>");
    writeTreeLines(desk.tree, desk.tree.root(), lines);
    EXPECT_EQ(lines.joined(), bytes);
}

TEST(WritingTrees, WritesTickedNodesTwoSpacesALevel)
{
    struct Row
    {
        const char *name;
        // In order: "-X" unticks node X, "--X" its subtree, "+X" ticks node X.
        std::vector<std::string> edits;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"nothing set", {}, {"R", "  A", "    A1", "    A2", "  B", "    B1"}},
        {"unticked node", {"-A"}, {"R", "    A1", "    A2", "  B", "    B1"}},
        {"unticked subtree, one child ticked", {"--A", "+A2"}, {"R", "    A2", "  B", "    B1"}},
        {"root unticked", {"--R", "+A", "+B1"}, {"R", "  A", "    B1"}},
        {"nothing ticked", {"--R"}, {"R"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        FolderTree tree;
        std::map<std::string, NodeId> nodes;
        nodes["R"] = tree.addRoot("R", 1);
        nodes["A"] = tree.appendChild(nodes["R"], "A", 1);
        nodes["A1"] = tree.appendChild(nodes["A"], "A1", 1);
        nodes["A2"] = tree.appendChild(nodes["A"], "A2", 1);
        nodes["B"] = tree.appendChild(nodes["R"], "B", 1);
        nodes["B1"] = tree.appendChild(nodes["B"], "B1", 1);
        for (const std::string &edit : row.edits) {
            if (edit.starts_with("--"))
                setSubtreeTicked(tree, nodes.at(edit.substr(2)), false);
            else
                setNodeTicked(tree, nodes.at(edit.substr(1)), edit[0] == '+');
        }
        LineBuffer lines;
        writeTreeLines(tree, tree.root(), lines);
        EXPECT_EQ(linesOf(lines), row.lines);
    }
}

TEST_F(Loading, WrittenTreeLoadsBackTheSame)
{
    FolderTree source;
    const NodeId root = source.addRoot("/music/", 2);
    const NodeId rock = source.appendChild(root, "Rock", 1);
    source.appendChild(source.appendChild(rock, "Seventies", 1), "Punk  ", 1);
    source.appendChild(rock, "Eighties", 1);
    source.appendChild(root, "Jazz", 1);
    source.appendChild(source.appendChild(root, "Folk", 1), "Irish", 1);
    LineBuffer lines;
    lines.append("<tree>");
    writeTreeLines(source, root, lines);
    load(lines.joined(), "/t");
    EXPECT_EQ(desk.tree.text(desk.tree.root()), "/music/");
    EXPECT_EQ(shape(desk.tree, desk.tree.root()),
              "Rock(Seventies(Punk  )|Eighties)|Jazz|Folk(Irish)");
}

} // namespace
} // namespace foldertree
