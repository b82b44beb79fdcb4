// Faults of the machine: a full disk, and a trash that cannot take a folder.
// Mounting needs root rights; without them these tests are skipped.

#include "creationrun.h"
#include "failure.h"
#include "scripted.h"
#include "scriptedrun.h"
#include "tempdir.h"
#include "trash.h"
#include "treefile.h"
#include "undo.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A small file system of its own, mounted for one test.
class SmallDisk
{
public:
    SmallDisk(const std::string &where, const char *options) : m_where(where)
    {
        m_mounted = mount("brindle-test", where.c_str(), "tmpfs", 0, options) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            umount2(m_where.c_str(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }

private:
    std::string m_where;
    bool m_mounted = false;
};

// Fills the disk below `folder` until nothing more fits.
void fill(const std::string &folder)
{
    const std::string block(4096, 'x');
    FILE *file = std::fopen((folder + "/filler").c_str(), "w");
    while (file && std::fwrite(block.data(), 1, block.size(), file) == block.size()) { }
    if (file)
        std::fclose(file);
}

TEST(Faults, FullDiskKeepsTheEarlierUndoLogAndSavedTree)
{
    testsupport::TempDir dir;
    dir.makeDirs("disk");
    SmallDisk disk(dir / "disk", "size=256k");
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small file system needs root rights";

    dir.writeFile("disk/undo.udo", "/earlier/run\r\n");
    dir.writeFile("disk/tree.txt", "<tree>\r\nearlier\r\n");
    fill(dir / "disk");

    platform::ScriptedServices scripted;
    foldertree::FolderTree tree;
    const foldertree::NodeId root = tree.addRoot("x", 1);
    tree.appendChild(root, "made", 1);
    creation::CreationContext context = testsupport::scriptedRun(tree, scripted, dir / "disk/");
    std::string target = dir / "target";
    try {
        creation::createTickedFolders(context, target);
        FAIL() << "a full disk must fail the run";
    } catch (const platform::Failure &failure) {
        EXPECT_EQ(std::string(failure.what()), "Cannot create file " + (dir / "disk/undo.udo"));
    }
    EXPECT_EQ(dir.readFile("disk/undo.udo"), "/earlier/run\r\n");
    EXPECT_TRUE(scripted.messages.texts().empty()) << "no summary after a failed log";

    foldertree::LineBuffer lines;
    lines.append("<tree>");
    for (int i = 0; i < 10000; ++i)
        lines.append("  a folder name long enough to need room");
    EXPECT_TRUE(scripted.fileSystem.writeFile(dir / "disk/tree.txt", lines.joined()));
    EXPECT_EQ(dir.readFile("disk/tree.txt"), "<tree>\r\nearlier\r\n");
}

// The trash of a folder on a device of its own: GIO will not trash on a
// system-internal mount, so the folder stays and the undo can be tried again.
TEST(Faults, FolderTheTrashRefusesStaysAndStaysListed)
{
    testsupport::TempDir dir;
    dir.makeDirs("other");
    SmallDisk disk(dir / "other", "size=1m");
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small file system needs root rights";
    dir.makeDirs("other/made/inner");
    dir.makeDirs("install");
    dir.writeFile("install/undo.udo", (dir / "other/made") + "\r\n");

    platform::ScriptedServices scripted;
    platform::SystemTrash trash;
    bool enabled = false;
    creation::UndoContext context {.messages = scripted.messages,
                                   .fileSystem = scripted.fileSystem,
                                   .ui = scripted.ui,
                                   .trash = trash,
                                   .logFolder = dir / "install/",
                                   .setUndoEnabled = [&](bool on) { enabled = on; }};
    scripted.messages.queue(platform::Answer::Yes);
    const creation::UndoResult result = creation::undoLastRun(context);
    EXPECT_TRUE(dir.isDirectory("other/made/inner"));
    EXPECT_EQ(result.keptBack, std::vector<std::string> {dir / "other/made"});
    EXPECT_TRUE(enabled);
    EXPECT_EQ(dir.readFile("install/undo.udo"), (dir / "other/made") + "\r\n");
    EXPECT_EQ(scripted.messages.texts().back(),
              platform::english(creation::keptBackMessage(result.keptBack, result.refusal).text));
}

// A trash folder that cannot be written: the trash refuses the folder, and
// nothing is deleted for good.
TEST(Faults, UnwritableTrashKeepsTheFolder)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "the check runs as user nobody, which needs root rights to become";
    testsupport::TempDir dir;
    dir.makeDirs("home/share/Trash");
    dir.makeDirs("made/inner");
    ASSERT_EQ(testsupport::run("chown -R 65534:65534 " + dir.path() + " && chown 0:0 "
                               + (dir / "home/share/Trash") + " && chmod 0555 "
                               + (dir / "home/share/Trash")),
              0);
    const pid_t child = fork();
    if (child == 0) {
        setenv("HOME", (dir / "home").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir / "home/share").c_str(), 1);
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        platform::SystemTrash trash;
        _exit(trash.moveToTrash(dir / "made").moved ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the trash must refuse the folder";
    EXPECT_TRUE(dir.isDirectory("made/inner"));
}

} // namespace
