#pragma once

// The main window: the task panel on the left, and on the right the toolbar,
// the target location strip and the folder tree.

#include "foldertreemodel.h"
#include "modulestate.h"
#include "services.h"
#include "state.h"
#include "treefile.h"
#include "treehistory.h"

#include <QMainWindow>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QDialog;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;
class FolderNameDialog;
class TaskPanel;

namespace foldertree {
class FolderTreeView;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Builds the window and fixes the install folder (throws when the settings
    // value cannot be read as text).
    MainWindow(ModuleState &state, platform::Services services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The secondary windows, created after this one.
    void setDialogs(FolderNameDialog *nameDialog, QDialog *aboutDialog, QDialog *sorterDialog,
                    QDialog *renamerDialog, QDialog *foldermillDialog);

    // Pixels of the layout are at 120 dpi; this is the screen's factor.
    double scale() const { return m_scale; }

    foldertree::FolderTree &folderTree() { return m_tree; }
    foldertree::FolderTreeModel &folderModel() { return *m_model; }
    foldertree::FolderTreeState &treeState() { return m_treeState; }
    foldertree::TreeHistory &treeHistory() { return *m_history; }

    // True while a long operation runs: commands that would change the tree,
    // the line buffer or the disk are refused meanwhile (see whenIdle).
    bool busy() const;

    // The target location as bytes.
    std::string targetLocation() const;
    void setTargetLocation(const std::string &text);

    // Runs what a task row's English caption asks for: a category list, a
    // folder structure to load or capture, a companion dialog, About.
    void runTask(const std::string &caption);
    // Replaces the folder tree by the tree in the file: one step of the tree's
    // history, named `step` ("Open 'file name'" when empty).
    void loadTreeFile(const std::string &fileName, const QString &step = {});

    // Runs a command; a failure it raises is shown in the error box.
    void guard(const std::function<void()> &command);
    // Runs a command that changes the tree, the line buffer or the disk:
    // refused silently while busy, a failure shown in the error box.
    void whenIdle(const std::function<void()> &command);

    // How long a creation run or an undo runs before its progress window shows.
    void setProgressDelay(std::chrono::milliseconds delay) { m_progressDelay = delay; }

public slots:
    // toolbar and target location
    void createNow();
    void undoLastRun();
    void showAbout();
    void showHelp();
    void sortFile();
    void browseForTarget();
    void onTargetEdited();
    // task panel
    void openCategoryList(const std::string &caption);
    // folder tree
    void trackPointer(const QPoint &position);
    void spreadTick();
    // Space on a folder: its box flipped, spread as a click spreads it.
    void spreadTickOf(const QModelIndex &index);
    void onFolderExpanded(const QModelIndex &index);
    void addSubfolder();
    void deleteFolder();
    void renameFolder();
    void saveTree();
    void openTree();
    void captureFolderStructure();
    // the folder tree's own edit history (not the folders on disk)
    void undoTreeEdit();
    void redoTreeEdit();

    // Decides what is enabled: the undo of the last run, the Undo and Redo of
    // the tree's history with their texts.
    void updateActions();

private:
    // The open and save dialogs; each remembers the file chosen last.
    struct FileDialog
    {
        platform::FileDialogOptions options;
        std::string fileName;
    };
    // Runs a dialog; "" when cancelled.
    std::string execute(FileDialog &dialog);
    // The folder browser with a title in the desktop's language; "" when cancelled.
    std::string browseFolder(const QString &title);

    void buildLayout();
    QWidget *buildTargetStrip(QWidget *parent);
    void buildToolBar(QWidget *parent);
    void buildMenus();
    void connectCommands();
    // An action with a glyph, its hint as tooltip.
    QAction *toolAction(const char *name, const char *glyph, const QString &hint);
    foldertree::TreeContext treeContext();
    // The folder Add, Rename and Delete act on: the current row from the
    // keyboard, else the row under the pointer.
    foldertree::NodeId commandNode() const;
    // Runs a folder command on the current row (a shortcut key).
    void onCurrentFolder(void (MainWindow::*command)());
    int px(int pixels) const;

    ModuleState &m_state;
    platform::Services m_services;
    double m_scale = 1.0;
    foldertree::FolderTree m_tree;
    foldertree::FolderTreeState m_treeState;
    std::unique_ptr<foldertree::StateWatch> m_watch;
    foldertree::IconList m_icons;
    foldertree::FolderTreeModel *m_model = nullptr;
    std::unique_ptr<foldertree::TreeHistory> m_history;
    FileDialog m_openDialog;
    FileDialog m_saveDialog;
    std::chrono::milliseconds m_progressDelay {1000};

    // An undo log is there to undo.
    bool m_undoAvailable = false;

    TaskPanel *m_taskPanel = nullptr;
    QToolBar *m_toolBar = nullptr;
    QAction *m_createAction = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_aboutAction = nullptr;
    QAction *m_helpAction = nullptr;
    QAction *m_exitAction = nullptr;
    QAction *m_sortAction = nullptr;
    QAction *m_browseAction = nullptr;
    QLabel *m_targetLabel = nullptr;
    QComboBox *m_targetBox = nullptr;
    foldertree::FolderTreeView *m_folderView = nullptr;
    QMenu *m_folderMenu = nullptr;
    // Set while a command from the keyboard or a menu opened by it runs.
    std::optional<foldertree::NodeId> m_keyboardNode;
    QAction *m_addSubfolderAction = nullptr;
    QAction *m_deleteAction = nullptr;
    QAction *m_renameAction = nullptr;
    QAction *m_saveTreeAction = nullptr;
    QAction *m_openTreeAction = nullptr;
    QAction *m_undoTreeAction = nullptr;
    QAction *m_redoTreeAction = nullptr;

    FolderNameDialog *m_nameDialog = nullptr;
    QDialog *m_aboutDialog = nullptr;
    QDialog *m_sorterDialog = nullptr;
    QDialog *m_renamerDialog = nullptr;
    QDialog *m_foldermillDialog = nullptr;
};
