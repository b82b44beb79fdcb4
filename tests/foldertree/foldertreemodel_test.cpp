// The item model during a long load: the window handles its events between
// progress steps, and whatever a view reads then must match what the model
// has told it.

#include "foldertreemodel.h"
#include "scripted.h"
#include "tempdir.h"
#include "treefile.h"

#include <QAbstractItemModelTester>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

using namespace foldertree;

TEST(FolderTreeModelLoad, ViewsReadOnlyWhatTheyWereToldDuringALoad)
{
    int argc = 1;
    char name[] = "foldertreemodel_test";
    char *argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);

    struct Shape
    {
        const char *name;
        int branches; // children of the root
        int leaves; // children of each of those
    };
    // Enough lines that the load lets events run several times on the way.
    const Shape shapes[] = {
        {"flat", 300000, 0},
        {"one child holds all", 1, 300000},
        {"balanced", 550, 550},
    };
    for (const Shape &shape : shapes) {
        SCOPED_TRACE(shape.name);
        testsupport::TempDir temp;
        std::string text = "<tree>\r\n" + temp.path() + "\r\n";
        for (int i = 0; i < shape.branches; ++i) {
            text += "  b" + std::to_string(i) + "\r\n";
            for (int j = 0; j < shape.leaves; ++j)
                text += "    l" + std::to_string(j) + "\r\n";
        }
        temp.writeFile("tree.txt", text);

        FolderTree tree;
        FolderTreeState state;
        IconList icons;
        FolderTreeModel model(tree, state, icons, {});
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        platform::ScriptedFileSystem fileSystem;
        platform::ScriptedUi ui;
        TreeContext context {.editor = model, .state = state, .fileSystem = fileSystem, .ui = ui};

        // The rows below the root and below its first child, as the signals
        // told a view.
        int rootRows = 0;
        int firstRows = 0;
        auto reread = [&] {
            const QModelIndex root = model.index(0, 0);
            rootRows = model.rowCount(root);
            firstRows = model.rowCount(model.index(0, 0, root));
        };
        QObject::connect(&model, &QAbstractItemModel::modelReset, reread);
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, reread);
        QModelIndex expanded;
        QObject::connect(&model, &FolderTreeModel::expandRequested,
                         [&](const QModelIndex &index) { expanded = index; });
        int checks = 0;
        ui.onProcessEvents = [&] {
            const QModelIndex root = model.index(0, 0);
            ASSERT_EQ(model.rowCount(root), rootRows);
            const QModelIndex first = model.index(0, 0, root);
            ASSERT_EQ(model.rowCount(first), firstRows);
            if (rootRows > 0) {
                const QModelIndex last = model.index(rootRows - 1, 0, root);
                ASSERT_TRUE(last.isValid());
                ASSERT_EQ(model.parent(last), root);
            }
            ++checks;
        };

        loadTreeFile(context, "", temp / "tree.txt");

        EXPECT_GT(checks, 0);
        EXPECT_EQ(tree.size(), static_cast<std::size_t>(shape.branches) * (shape.leaves + 1) + 1);
        const QModelIndex root = model.index(0, 0);
        EXPECT_EQ(expanded, root);
        EXPECT_EQ(model.rowCount(root), shape.branches);
        const QModelIndex first = model.index(0, 0, root);
        EXPECT_EQ(model.rowCount(first), shape.leaves);
        const QModelIndex last = model.index(shape.branches - 1, 0, root);
        EXPECT_EQ(last.data().toString(), "b" + QString::number(shape.branches - 1));
        EXPECT_EQ(last.data(Qt::CheckStateRole).toInt(), Qt::Checked);
        EXPECT_EQ(model.index(0, 0, first).data(Qt::CheckStateRole).toInt(),
                  shape.leaves ? Qt::Checked : Qt::Unchecked);
    }
}

} // namespace
