#include "mainwindow.h"

#include "creationrun.h"
#include "failure.h"
#include "foldertreeview.h"
#include "images.h"
#include "locations.h"
#include "startup.h"
#include "undolog.h"

#include "taskpanel.h"

#include <QAction>
#include <QCollator>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

MainWindow::MainWindow(ModuleState &state, platform::Services services, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_services(services)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        m_scale = screen->logicalDotsPerInch() / 120.0;
    m_watch = std::make_unique<foldertree::StateWatch>(m_tree, m_treeState);
    m_model
        = new foldertree::FolderTreeModel(m_tree, m_treeState, m_icons, ui::folderIcons(), this);
    m_history = std::make_unique<foldertree::TreeHistory>(*m_model, m_treeState);

    buildLayout();
    m_state.locations = creation::findLocations(m_services.settings, m_services.fileSystem);
    // A run that was killed left its record: it is the last run, so undoable.
    creation::recoverAtStartup(m_state.locations.logFolder);
    m_undoAvailable
        = m_services.fileSystem.isFile(creation::undoLogPath(m_state.locations.logFolder));
    // The boxes of the folder tree come with its model.
    m_folderView->setModel(m_model);
    connectCommands();
    updateActions();

    m_openDialog.options.kind = platform::FileDialogOptions::Kind::Open;
    m_openDialog.options.fileMustExist = true;
    m_saveDialog.options.kind = platform::FileDialogOptions::Kind::Save;
    m_saveDialog.options.defaultSuffix = "txt";
    m_saveDialog.options.filters = {{tr("Text File").toLocal8Bit().toStdString(), "*.txt"}};
    m_saveDialog.options.confirmOverwrite = true;
}

MainWindow::~MainWindow() = default;

void MainWindow::setDialogs(FolderNameDialog *nameDialog, QDialog *aboutDialog,
                            QDialog *sorterDialog, QDialog *renamerDialog,
                            QDialog *foldermillDialog)
{
    m_nameDialog = nameDialog;
    m_aboutDialog = aboutDialog;
    m_sorterDialog = sorterDialog;
    m_renamerDialog = renamerDialog;
    m_foldermillDialog = foldermillDialog;
}

int MainWindow::px(int pixels) const
{
    return qRound(pixels * m_scale);
}

QAction *MainWindow::toolAction(const char *name, const char *glyph, const QString &hint)
{
    auto *action = new QAction(ui::glyph(glyph), hint, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    return action;
}

void MainWindow::buildLayout()
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Brindle -  create category's subfolders"));
    setWindowIcon(ui::programIcon());
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    // The desktop's font; the tables' pixels at 120 dpi give the default size,
    // the layouts the rest, so nothing is cut off at any font size or scale.
    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);

    m_taskPanel = new TaskPanel(m_scale, splitter);
    m_taskPanel->setRefusal([this] { return busy(); });
    splitter->addWidget(m_taskPanel);

    // Two raised edges around the work area, as the panels of the desktop's
    // classic forms draw them.
    auto raisedPanel = [](QWidget *parent, const char *name) {
        auto *panel = new QFrame(parent);
        panel->setObjectName(QString::fromLatin1(name));
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setLineWidth(1);
        auto *layout = new QVBoxLayout(panel);
        layout->setContentsMargins(1, 1, 1, 1);
        layout->setSpacing(0);
        return std::pair(panel, layout);
    };
    auto [rightPane, right] = raisedPanel(splitter, "rightPane");
    splitter->addWidget(rightPane);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    auto [workArea, work] = raisedPanel(rightPane, "workArea");
    right->addWidget(workArea);

    // The toolbar in a raised panel of its own.
    auto [toolBarPanel, toolBarLayout] = raisedPanel(workArea, "toolbarPanel");
    toolBarLayout->setContentsMargins(px(7), 0, 0, 0);
    buildToolBar(toolBarPanel);
    toolBarLayout->addWidget(m_toolBar);
    work->addWidget(toolBarPanel);
    work->addWidget(buildTargetStrip(workArea));

    m_folderView = new foldertree::FolderTreeView(workArea);
    m_folderView->setObjectName(QStringLiteral("folderView"));
    m_folderView->setAccessibleName(tr("Folder tree"));
    m_folderView->setIndentation(px(27));
    // While a run or a load owns the tree, its boxes stay as they are.
    m_folderView->setBoxLock([this] { return busy(); });
    work->addWidget(m_folderView, 1);

    buildMenus();

    setTabOrder(m_taskPanel, m_folderView);
    QWidget *previous = m_folderView;
    for (QAction *action :
         {m_createAction, m_undoAction, m_aboutAction, m_helpAction, m_exitAction}) {
        QWidget *button = m_toolBar->widgetForAction(action);
        setTabOrder(previous, button);
        previous = button;
    }
    setTabOrder(previous, m_targetBox);
    setTabOrder(m_targetBox, findChild<QToolButton *>(QStringLiteral("browseButton")));
    // The task panel as wide as its longest caption, and not narrower.
    const int panel = std::max(px(217), m_taskPanel->minimumWidth());
    splitter->setSizes({panel, px(767) - panel});
    resize(px(767), px(562));
}

void MainWindow::buildToolBar(QWidget *parent)
{
    m_toolBar = new QToolBar(parent);
    m_toolBar->setObjectName(QStringLiteral("toolbar"));
    m_toolBar->setAccessibleName(tr("Toolbar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(px(28), px(28)));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setContentsMargins(0, 0, 0, 0);
    m_toolBar->layout()->setContentsMargins(0, 0, 0, 0);
    m_toolBar->layout()->setSpacing(0);

    m_createAction = toolAction("createAction", "create", tr("Create Now"));
    m_undoAction = toolAction("undoAction", "undo", tr("Undo the last operation"));
    m_aboutAction = toolAction("aboutAction", "about", tr("About Brindle"));
    m_helpAction = toolAction("helpAction", "help", tr("Read help "));
    m_exitAction = toolAction("exitAction", "exit", tr("Exit"));
    m_helpAction->setShortcut(QKeySequence(Qt::Key_F1));
    m_exitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // Sorting a file has no place on the toolbar: nothing shows it, so no
    // person or screen reader reaches it.
    m_sortAction = toolAction("sortAction", "sort", tr("Sort a file"));

    // The buttons at the toolbar's left, with the gaps between them.
    const std::tuple<QAction *, const char *, int> buttons[] = {{m_createAction, "createButton", 0},
                                                                {m_undoAction, "undoButton", 7},
                                                                {m_aboutAction, "aboutButton", 70},
                                                                {m_helpAction, "helpButton", 8},
                                                                {m_exitAction, "exitButton", 14}};
    for (const auto &[action, name, gap] : buttons) {
        if (gap > 0) {
            auto *space = new QWidget(m_toolBar);
            space->setFixedSize(px(gap), 1);
            m_toolBar->addWidget(space);
        }
        m_toolBar->addAction(action);
        QWidget *button = m_toolBar->widgetForAction(action);
        button->setObjectName(QString::fromLatin1(name));
        button->setAccessibleName(action->toolTip().trimmed());
        button->setFocusPolicy(Qt::TabFocus);
        button->setFixedSize(px(name == std::string_view("undoButton") ? 42 : 41), px(41));
    }
    // Every button stays on the toolbar, none goes into an overflow menu.
    m_toolBar->setMinimumWidth(m_toolBar->sizeHint().width());
}

QWidget *MainWindow::buildTargetStrip(QWidget *parent)
{
    auto *strip = new QWidget(parent);
    strip->setObjectName(QStringLiteral("targetStrip"));
    m_targetLabel = new QLabel(tr("Target Location: "), strip);
    m_targetLabel->setObjectName(QStringLiteral("targetLabel"));
    QFont bold = m_targetLabel->font();
    bold.setBold(true);
    m_targetLabel->setFont(bold);

    m_targetBox = new QComboBox(strip);
    m_targetBox->setObjectName(QStringLiteral("targetBox"));
    m_targetBox->setEditable(true);
    m_targetBox->setCompleter(nullptr);
    m_targetBox->setInsertPolicy(QComboBox::NoInsert);
    m_targetBox->setAccessibleName(tr("Target Location"));
    // Its width follows the window, not the text in it.
    m_targetBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_targetBox->setMinimumContentsLength(12);
    m_targetBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_targetLabel->setBuddy(m_targetBox);

    m_browseAction = toolAction("browseAction", "browse", tr("Select a folder"));
    auto *browse = new QToolButton(strip);
    browse->setObjectName(QStringLiteral("browseButton"));
    browse->setDefaultAction(m_browseAction);
    browse->setAutoRaise(true);
    browse->setIconSize(QSize(px(24), px(24)));
    browse->setToolButtonStyle(Qt::ToolButtonIconOnly);
    browse->setAccessibleName(m_browseAction->toolTip().trimmed());
    browse->setFocusPolicy(Qt::TabFocus);
    browse->setFixedSize(px(33), px(33));

    // The label above the box, the browse button at the box's right end.
    auto *grid = new QGridLayout(strip);
    grid->setContentsMargins(px(2), px(7), px(4), px(7));
    grid->setHorizontalSpacing(px(3));
    grid->setVerticalSpacing(px(4));
    grid->addWidget(m_targetLabel, 0, 0);
    grid->addWidget(m_targetBox, 1, 0, Qt::AlignBottom);
    grid->addWidget(browse, 0, 1, 2, 1, Qt::AlignBottom);
    grid->setColumnStretch(0, 1);
    return strip;
}

void MainWindow::buildMenus()
{
    m_folderMenu = new QMenu(this);
    m_folderMenu->setObjectName(QStringLiteral("folderMenu"));
    m_addSubfolderAction = m_folderMenu->addAction(tr("Add subfolder"));
    m_deleteAction = m_folderMenu->addAction(tr("Delete"));
    m_renameAction = m_folderMenu->addAction(tr("Rename"));
    QAction *separator = m_folderMenu->addSeparator();
    m_saveTreeAction = m_folderMenu->addAction(tr("Save the tree structure"));
    m_openTreeAction = m_folderMenu->addAction(tr("Open a tree from a file"));
    m_addSubfolderAction->setObjectName(QStringLiteral("addSubfolderAction"));
    m_deleteAction->setObjectName(QStringLiteral("deleteAction"));
    m_renameAction->setObjectName(QStringLiteral("renameAction"));
    separator->setObjectName(QStringLiteral("folderMenuSeparator"));
    m_saveTreeAction->setObjectName(QStringLiteral("saveTreeAction"));
    m_openTreeAction->setObjectName(QStringLiteral("openTreeAction"));
    // Shown in the menu; from the keyboard these keys act on the current row
    // of the folder tree (see connectCommands).
    m_addSubfolderAction->setShortcut(QKeySequence(Qt::Key_Insert));
    m_deleteAction->setShortcut(QKeySequence(Qt::Key_Delete));
    m_renameAction->setShortcut(QKeySequence(Qt::Key_F2));
    for (QAction *action : {m_addSubfolderAction, m_deleteAction, m_renameAction})
        action->setShortcutContext(Qt::WidgetShortcut);
    m_saveTreeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_openTreeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    addAction(m_saveTreeAction);
    addAction(m_openTreeAction);
    // The tree's own history, apart from the toolbar's undo of a run on disk.
    m_folderMenu->addSeparator()->setObjectName(QStringLiteral("treeHistorySeparator"));
    m_undoTreeAction = m_folderMenu->addAction(tr("Undo"));
    m_redoTreeAction = m_folderMenu->addAction(tr("Redo"));
    m_undoTreeAction->setObjectName(QStringLiteral("undoTreeAction"));
    m_redoTreeAction->setObjectName(QStringLiteral("redoTreeAction"));
    m_undoTreeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redoTreeAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    addAction(m_undoTreeAction);
    addAction(m_redoTreeAction);
}

void MainWindow::guard(const std::function<void()> &command)
{
    try {
        command();
    } catch (...) {
        showCurrentFailure(m_services.messages);
    }
}

void MainWindow::whenIdle(const std::function<void()> &command)
{
    if (!busy())
        guard(command);
}

void MainWindow::updateActions()
{
    m_undoAction->setEnabled(m_undoAvailable);
    // An ampersand in a folder's name is no shortcut letter.
    QString undo = m_history->undoText();
    QString redo = m_history->redoText();
    m_undoTreeAction->setText(undo.replace(QLatin1Char('&'), QStringLiteral("&&")));
    m_redoTreeAction->setText(redo.replace(QLatin1Char('&'), QStringLiteral("&&")));
    m_undoTreeAction->setEnabled(m_history->canUndo());
    m_redoTreeAction->setEnabled(m_history->canRedo());
}

void MainWindow::connectCommands()
{
    // Commands that change the tree, the line buffer or the disk wait until
    // nothing else runs; the others only show their failures.
    auto idle = [this](void (MainWindow::*command)()) {
        return [this, command] { whenIdle([=, this] { (this->*command)(); }); };
    };
    auto guarded = [this](void (MainWindow::*command)()) {
        return [this, command] { guard([=, this] { (this->*command)(); }); };
    };
    connect(m_createAction, &QAction::triggered, this, idle(&MainWindow::createNow));
    connect(m_undoAction, &QAction::triggered, this, idle(&MainWindow::undoLastRun));
    connect(m_aboutAction, &QAction::triggered, this, guarded(&MainWindow::showAbout));
    connect(m_helpAction, &QAction::triggered, this, guarded(&MainWindow::showHelp));
    connect(m_exitAction, &QAction::triggered, this, &QWidget::close);
    connect(m_sortAction, &QAction::triggered, this, idle(&MainWindow::sortFile));
    connect(m_browseAction, &QAction::triggered, this, idle(&MainWindow::browseForTarget));
    connect(m_targetBox->lineEdit(), &QLineEdit::textEdited, this,
            idle(&MainWindow::onTargetEdited));

    auto task = [this](void (MainWindow::*command)(const std::string &)) {
        return [this, command](const QString &caption) {
            whenIdle([=, this] { (this->*command)(caption.toLocal8Bit().toStdString()); });
        };
    };
    connect(m_taskPanel, &TaskPanel::taskChosen, this, task(&MainWindow::runTask));
    connect(m_taskPanel, &TaskPanel::taskRepeated, this, task(&MainWindow::runTask));
    connect(m_taskPanel, &TaskPanel::listRequested, this, task(&MainWindow::openCategoryList));

    connect(m_folderView, &foldertree::FolderTreeView::mouseMoved, this,
            [this](const QPoint &at) { trackPointer(at); });
    connect(m_folderView, &foldertree::FolderTreeView::mousePressed, this,
            idle(&MainWindow::spreadTick));
    connect(m_folderView, &QTreeView::expanded, this,
            [this](const QModelIndex &index) { whenIdle([=, this] { onFolderExpanded(index); }); });
    connect(m_folderView, &foldertree::FolderTreeView::boxFlippedByKey, this,
            [this](const QModelIndex &index) { whenIdle([=, this] { spreadTickOf(index); }); });
    connect(m_folderView, &foldertree::FolderTreeView::menuRequested, this,
            [this](const QPoint &at, bool fromKeyboard) {
                if (fromKeyboard)
                    m_keyboardNode = m_model->nodeOf(m_folderView->currentIndex());
                else
                    m_keyboardNode.reset();
                m_folderMenu->popup(m_folderView->viewport()->mapToGlobal(at));
            });
    // The chosen item's command runs after the menu hides.
    connect(m_folderMenu, &QMenu::aboutToHide, this, [this] {
        QMetaObject::invokeMethod(
            this, [this] { m_keyboardNode.reset(); }, Qt::QueuedConnection);
    });
    const std::pair<QAction *, void (MainWindow::*)()> folderKeys[]
        = {{m_addSubfolderAction, &MainWindow::addSubfolder},
           {m_deleteAction, &MainWindow::deleteFolder},
           {m_renameAction, &MainWindow::renameFolder}};
    for (const auto &[action, command] : folderKeys) {
        auto *key = new QShortcut(action->shortcut(), m_folderView);
        key->setContext(Qt::WidgetShortcut);
        connect(key, &QShortcut::activated, this, [this, command] { onCurrentFolder(command); });
        connect(action, &QAction::triggered, this, idle(command));
    }
    connect(m_model, &foldertree::FolderTreeModel::expandRequested, m_folderView,
            [this](const QModelIndex &index) { m_folderView->expand(index); });
    connect(m_saveTreeAction, &QAction::triggered, this, idle(&MainWindow::saveTree));
    connect(m_openTreeAction, &QAction::triggered, this, idle(&MainWindow::openTree));
    connect(m_undoTreeAction, &QAction::triggered, this, idle(&MainWindow::undoTreeEdit));
    connect(m_redoTreeAction, &QAction::triggered, this, idle(&MainWindow::redoTreeEdit));
    connect(m_history.get(), &foldertree::TreeHistory::changed, this, &MainWindow::updateActions);
}

std::string MainWindow::execute(FileDialog &dialog)
{
    const std::string chosen = m_services.fileDialogs.run(dialog.options, dialog.fileName);
    if (!chosen.empty())
        dialog.fileName = chosen;
    return chosen;
}

bool MainWindow::busy() const
{
    return m_services.ui.isBusy() || m_treeState.loadsRunning > 0;
}

std::string MainWindow::targetLocation() const
{
    return m_targetBox->currentText().toLocal8Bit().toStdString();
}

void MainWindow::setTargetLocation(const std::string &text)
{
    m_targetBox->setEditText(
        QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
}

foldertree::TreeContext MainWindow::treeContext()
{
    return {.editor = *m_model,
            .state = m_treeState,
            .fileSystem = m_services.fileSystem,
            .ui = m_services.ui};
}

void MainWindow::showHelp()
{
    m_services.shell.openLocation(
        creation::dataFilePath(m_state.locations, m_services.fileSystem,
                               std::string("Help") + platform::Separator + "index.html"));
}

void MainWindow::showAbout()
{
    if (m_aboutDialog)
        m_aboutDialog->exec();
}

void MainWindow::sortFile()
{
    const std::string fileName = execute(m_openDialog);
    if (fileName.empty())
        return;
    const std::optional<std::string> text = m_services.fileSystem.readFile(fileName);
    if (!text)
        throw platform::cannotOpenFile(fileName);
    foldertree::LineBuffer lines;
    lines.assign(*text);
    if (lines.size() < 2)
        return;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    lines.sort([&](std::string_view a, std::string_view b) {
        return collator.compare(QString::fromLocal8Bit(a.data(), static_cast<qsizetype>(a.size())),
                                QString::fromLocal8Bit(b.data(), static_cast<qsizetype>(b.size())))
            < 0;
    });
    if (m_services.fileSystem.writeFile(fileName, lines.joined()))
        throw platform::cannotCreateFile(fileName);
}
