#pragma once

// The main window: the task panel on the left, and on the right the toolbar,
// the target location strip and the folder tree.

#include "alignedpanel.h"
#include "foldertreemodel.h"
#include "modulestate.h"
#include "services.h"
#include "state.h"
#include "treefile.h"

#include <QPointer>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QMenu;
class QAction;
class QStatusBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TForm2;
class QDialog;

namespace foldertree {
class FolderTreeView;
}

class TForm1 : public ui::AlignedPanel
{
    Q_OBJECT

public:
    // Builds the window and fixes the install folder (throws when the settings
    // value cannot be read as text).
    TForm1(ModuleState &state, platform::Services services, QWidget *parent = nullptr);
    ~TForm1() override;

    // The secondary windows, created after this one.
    void setDialogs(TForm2 *form2, QDialog *aboutBox, QDialog *form3, QDialog *form4,
                    QDialog *form5);

    // Pixels of the layout are at 120 dpi; this is the screen's factor.
    double scale() const { return m_scale; }

    // Controls, named as in the layout.
    QTreeWidget *TreeView1;
    ui::AlignedPanel *Panel2;
    ui::AlignedPanel *Panel4;
    ui::AlignedPanel *Panel3;
    ui::AlignedPanel *Panel5;
    QLabel *Label5;
    QComboBox *ComboBox4;
    QToolButton *SpeedButton4;
    foldertree::FolderTreeView *TreeView2;
    QStatusBar *StatusBar1;
    QToolButton *SpeedButton1;
    QToolButton *SpeedButton10;
    QToolButton *SpeedButton5;
    QToolButton *SpeedButton13;
    QToolButton *SpeedButton8;
    QToolButton *SpeedButton2;
    QMenu *PopupMenu1;
    QAction *Newsubfolder1;
    QAction *Delete1;
    QAction *Rename1;
    QAction *N1;
    QAction *Save1;
    QAction *Open1;
    QMenu *PopupMenu2;
    QAction *Openfile1;

    // The folder tree behind TreeView2 and its module variables.
    foldertree::FolderTree &folderTree() { return m_tree; }
    foldertree::FolderTreeModel &folderModel() { return *m_model; }
    foldertree::FolderTreeState &treeState() { return m_treeState; }

    // The open and save dialogs; each remembers the file chosen last.
    struct FileDialog
    {
        platform::FileDialogOptions options;
        std::string fileName;
    };
    FileDialog OpenDialog1;
    FileDialog SaveDialog1;
    // Runs a dialog; "" when cancelled.
    std::string execute(FileDialog &dialog);

    // Handlers. Each is a few lines over the engine.
    void FormCreate();
    void FormResize();
    void SpeedButton8Click();
    void SpeedButton13Click();
    void SpeedButton5Click();
    void SpeedButton2Click();
    // task panel
    void TreeView1Change(QTreeWidgetItem *node);
    void TreeView1DblClick();
    void PopupMenu2Popup();
    void Openfile1Click();
    void runTask(const std::string &caption);
    // folder tree
    void TreeView2MouseMove(const QPoint &position);
    void TreeView2MouseDown();
    void TreeView2Expanding(const QModelIndex &index);
    void Newsubfolder1Click();
    void Delete1Click();
    void Rename1Click();
    void Save1Click();
    void Open1Click();
    void LoadTreeFile(const std::string &fileName);
    void CaptureFolderStructure();
    // target location, creation and undo
    void ComboBox4Change();
    void SpeedButton4Click();
    void SpeedButton1Click();
    void SpeedButton10Click();

    // True while a long operation runs: commands that would change the tree,
    // the line buffer or the disk are refused meanwhile.
    bool busy() const;

    // The target location as bytes.
    std::string targetLocation() const;
    void setTargetLocation(const std::string &text);

    // Runs a handler; a failure it raises is shown in the error box.
    void guard(const std::function<void()> &handler);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void buildTaskPanel();
    void buildMenus();
    void connectHandlers();
    QToolButton *toolButton(const char *name, const char *glyph, const QString &hint, int left,
                            int width);
    foldertree::TreeContext treeContext();
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
    TForm2 *m_form2 = nullptr;
    QDialog *m_aboutBox = nullptr;
    QDialog *m_form3 = nullptr;
    QDialog *m_form4 = nullptr;
    QDialog *m_form5 = nullptr;
};
