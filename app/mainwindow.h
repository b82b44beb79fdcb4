#pragma once

// The main window: the task panel on the left, and on the right the toolbar,
// the target location strip and the folder tree.

#include "alignedpanel.h"
#include "foldertreemodel.h"
#include "modulestate.h"
#include "services.h"
#include "state.h"
#include "treefile.h"
#include "treehistory.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QDialog;
class QLabel;
class QMenu;
class QStatusBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class FolderNameDialog;

namespace foldertree {
class FolderTreeView;
}

class MainWindow : public ui::AlignedPanel
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
    // the line buffer or the disk are refused meanwhile.
    bool busy() const;

    // The target location as bytes.
    std::string targetLocation() const;
    void setTargetLocation(const std::string &text);

    // Runs what a task row's caption asks for: a category list, a folder
    // structure to load or capture, a companion dialog, About.
    void runTask(const std::string &caption);
    // Replaces the folder tree by the tree in the file: one step of the tree's
    // history, named `step` ("Open 'file name'" when empty).
    void loadTreeFile(const std::string &fileName, const QString &step = {});

    // Runs a command; a failure it raises is shown in the error box.
    void guard(const std::function<void()> &command);

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
    void onTaskChosen(QTreeWidgetItem *row);
    void rerunSelectedTask();
    // Runs the selected row's task when the selection moved to a row not yet
    // chosen; while busy the row is refused and the selection goes back.
    void chooseSelectedTask();
    void updateTaskMenu();
    void openCategoryList();
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

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

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
    void buildTaskPanel();
    void buildMenus();
    void connectCommands();
    // A flat button showing a glyph, its hint as tooltip and accessible name.
    QToolButton *toolButton(QWidget *parent, const char *name, const char *glyph,
                            const QString &hint, const QRect &geometry, int iconPixels);
    // The Undo and Redo items of the folder menu follow the tree's history.
    void updateTreeHistoryActions();
    foldertree::TreeContext treeContext();
    // The folder Add, Rename and Delete act on: the current row from the
    // keyboard, else the row under the pointer.
    foldertree::NodeId commandNode() const;
    // Runs a folder command on the current row (a shortcut key).
    void onCurrentFolder(void (MainWindow::*command)());
    QRect scaled(int left, int top, int width, int height) const;
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

    QTreeWidget *m_taskPanel = nullptr;
    QMenu *m_taskMenu = nullptr;
    QAction *m_openListAction = nullptr;
    ui::AlignedPanel *m_rightPane = nullptr;
    ui::AlignedPanel *m_workArea = nullptr;
    ui::AlignedPanel *m_toolbar = nullptr;
    QToolButton *m_createButton = nullptr;
    QToolButton *m_undoButton = nullptr;
    QToolButton *m_aboutButton = nullptr;
    QToolButton *m_helpButton = nullptr;
    QToolButton *m_exitButton = nullptr;
    QToolButton *m_sortButton = nullptr;
    ui::AlignedPanel *m_targetStrip = nullptr;
    QLabel *m_targetLabel = nullptr;
    QComboBox *m_targetBox = nullptr;
    QToolButton *m_browseButton = nullptr;
    foldertree::FolderTreeView *m_folderView = nullptr;
    QMenu *m_folderMenu = nullptr;
    // Set while a command from the keyboard or a menu opened by it runs.
    std::optional<foldertree::NodeId> m_keyboardNode;
    // The task row chosen last; a press in the panel waits for its release.
    QTreeWidgetItem *m_chosenTask = nullptr;
    bool m_taskPanelPressed = false;
    QAction *m_addSubfolderAction = nullptr;
    QAction *m_deleteAction = nullptr;
    QAction *m_renameAction = nullptr;
    QAction *m_saveTreeAction = nullptr;
    QAction *m_openTreeAction = nullptr;
    QAction *m_undoTreeAction = nullptr;
    QAction *m_redoTreeAction = nullptr;
    QStatusBar *m_statusBar = nullptr;

    FolderNameDialog *m_nameDialog = nullptr;
    QDialog *m_aboutDialog = nullptr;
    QDialog *m_sorterDialog = nullptr;
    QDialog *m_renamerDialog = nullptr;
    QDialog *m_foldermillDialog = nullptr;
};
