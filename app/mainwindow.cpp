#include "mainwindow.h"

#include "creationrun.h"
#include "failure.h"
#include "foldertreeview.h"
#include "images.h"
#include "locations.h"
#include "startup.h"
#include "undolog.h"

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
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

MainWindow::MainWindow(ModuleState &state, platform::Services services, QWidget *parent)
    : ui::AlignedPanel(parent), m_state(state), m_services(services)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        m_scale = screen->logicalDotsPerInch() / 120.0;
    m_watch = std::make_unique<foldertree::StateWatch>(m_tree, m_treeState);
    m_model
        = new foldertree::FolderTreeModel(m_tree, m_treeState, m_icons, ui::folderIcons(), this);
    m_history = std::make_unique<foldertree::TreeHistory>(*m_model, m_treeState);

    buildLayout();
    m_state.locations = creation::findLocations(m_services.settings, m_services.fileSystem);
    m_taskPanel->topLevelItem(0)->setExpanded(true);
    // A run that was killed left its record: it is the last run, so undoable.
    creation::recoverAtStartup(m_state.locations.logFolder);
    if (m_services.fileSystem.isFile(creation::undoLogPath(m_state.locations.logFolder)))
        m_undoButton->setEnabled(true);
    // The boxes of the folder tree come with its model.
    m_folderView->setModel(m_model);
    connectCommands();

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

QRect MainWindow::scaled(int left, int top, int width, int height) const
{
    return {px(left), px(top), px(width), px(height)};
}

QToolButton *MainWindow::toolButton(QWidget *parent, const char *name, const char *glyph,
                                    const QString &hint, const QRect &geometry, int iconPixels)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setIcon(ui::glyph(glyph));
    button->setIconSize(QSize(px(iconPixels), px(iconPixels)));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setToolTip(hint);
    button->setAccessibleName(hint.trimmed());
    button->setFocusPolicy(Qt::TabFocus);
    button->setFixedSize(geometry.size());
    return button;
}

void MainWindow::buildLayout()
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Brindle -  create category's subfolders"));
    setWindowIcon(ui::programIcon());
    // The desktop's font; the tables' pixels at 120 dpi give the default size,
    // the layouts the rest, so nothing is cut off at any font size or scale.
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    outer->addWidget(splitter, 1);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("statusBar"));
    outer->addWidget(m_statusBar);

    buildTaskPanel();
    splitter->addWidget(m_taskPanel);

    m_rightPane = new ui::AlignedPanel(splitter, true);
    m_rightPane->setObjectName(QStringLiteral("rightPane"));
    splitter->addWidget(m_rightPane);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    auto *right = new QVBoxLayout(m_rightPane);
    right->setContentsMargins(1, 1, 1, 1);
    right->setSpacing(0);

    m_workArea = new ui::AlignedPanel(m_rightPane, true);
    m_workArea->setObjectName(QStringLiteral("workArea"));
    right->addWidget(m_workArea);
    auto *work = new QVBoxLayout(m_workArea);
    work->setContentsMargins(1, 1, 1, 1);
    work->setSpacing(0);

    m_toolbar = new ui::AlignedPanel(m_workArea, true);
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    work->addWidget(m_toolbar);

    m_targetStrip = new ui::AlignedPanel(m_workArea, false);
    m_targetStrip->setObjectName(QStringLiteral("targetStrip"));
    work->addWidget(m_targetStrip);

    m_folderView = new foldertree::FolderTreeView(m_workArea);
    m_folderView->setObjectName(QStringLiteral("folderView"));
    m_folderView->setAccessibleName(tr("Folder tree"));
    m_folderView->setIndentation(px(27));
    work->addWidget(m_folderView, 1);

    m_targetLabel = new QLabel(tr("Target Location: "), m_targetStrip);
    m_targetLabel->setObjectName(QStringLiteral("targetLabel"));
    QFont bold = m_targetLabel->font();
    bold.setBold(true);
    m_targetLabel->setFont(bold);

    m_targetBox = new QComboBox(m_targetStrip);
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

    m_browseButton = toolButton(m_targetStrip, "browseButton", "browse", tr("Select a folder"),
                                scaled(372, 22, 33, 33), 24);
    // The label above the box, the browse button at the box's right end.
    auto *strip = new QGridLayout(m_targetStrip);
    strip->setContentsMargins(px(2), px(7), px(4), px(7));
    strip->setHorizontalSpacing(px(3));
    strip->setVerticalSpacing(px(4));
    strip->addWidget(m_targetLabel, 0, 0);
    strip->addWidget(m_targetBox, 1, 0, Qt::AlignBottom);
    strip->addWidget(m_browseButton, 0, 1, 2, 1, Qt::AlignBottom);
    strip->setColumnStretch(0, 1);

    auto toolbarButton
        = [this](const char *name, const char *glyph, const char *hint, int left, int width) {
              return toolButton(m_toolbar, name, glyph, tr(hint), scaled(left, 0, width, 41), 28);
          };
    m_createButton = toolbarButton("createButton", "create", QT_TR_NOOP("Create Now"), 7, 41);
    m_undoButton
        = toolbarButton("undoButton", "undo", QT_TR_NOOP("Undo the last operation"), 55, 42);
    m_undoButton->setEnabled(false);
    m_aboutButton = toolbarButton("aboutButton", "about", QT_TR_NOOP("About Brindle"), 167, 41);
    m_helpButton = toolbarButton("helpButton", "help", QT_TR_NOOP("Read help "), 216, 41);
    m_exitButton = toolbarButton("exitButton", "exit", QT_TR_NOOP("Exit"), 271, 41);
    m_sortButton = toolbarButton("sortButton", "sort", QT_TR_NOOP("Sort a file"), 325, 41);
    m_sortButton->hide();
    // The buttons at the toolbar's left, with the gaps between them.
    auto *buttons = new QHBoxLayout(m_toolbar);
    buttons->setContentsMargins(px(7), 0, 0, 0);
    buttons->setSpacing(0);
    const std::pair<QToolButton *, int> gaps[]
        = {{m_createButton, 0}, {m_undoButton, 7},  {m_aboutButton, 70},
           {m_helpButton, 8},   {m_exitButton, 14}, {m_sortButton, 13}};
    for (const auto &[button, gap] : gaps) {
        buttons->addSpacing(px(gap));
        buttons->addWidget(button);
    }
    buttons->addStretch(1);

    buildMenus();

    setTabOrder(m_taskPanel, m_folderView);
    setTabOrder(m_folderView, m_createButton);
    setTabOrder(m_createButton, m_undoButton);
    setTabOrder(m_undoButton, m_aboutButton);
    setTabOrder(m_aboutButton, m_helpButton);
    setTabOrder(m_helpButton, m_exitButton);
    setTabOrder(m_exitButton, m_targetBox);
    setTabOrder(m_targetBox, m_browseButton);
    // The task panel as wide as its longest caption, and not narrower.
    const int panel = std::max(px(217), m_taskPanel->minimumWidth());
    splitter->setSizes({panel, px(767) - panel});
    resize(px(767), px(562));
}

void MainWindow::buildTaskPanel()
{
    m_taskPanel = new QTreeWidget(this);
    m_taskPanel->setObjectName(QStringLiteral("taskPanel"));
    m_taskPanel->setAccessibleName(tr("Tasks"));
    m_taskPanel->setHeaderHidden(true);
    m_taskPanel->setColumnCount(1);
    m_taskPanel->setIndentation(px(27));
    m_taskPanel->setIconSize(QSize(px(24), px(24)));
    m_taskPanel->setRootIsDecorated(true);
    m_taskPanel->setExpandsOnDoubleClick(false);
    m_taskPanel->setEditTriggers(QAbstractItemView::EditKeyPressed
                                 | QAbstractItemView::SelectedClicked);
    m_taskPanel->setContextMenuPolicy(Qt::CustomContextMenu);
    m_taskPanel->setSelectionMode(QAbstractItemView::SingleSelection);
    // A right click selects nothing: the popup menu acts on the selected row.
    m_taskPanel->viewport()->installEventFilter(this);

    // Every row shows the globe while it is selected.
    const QSize iconSize(px(24), px(24));
    const QPixmap selected = ui::taskIcon("globe").pixmap(iconSize);
    auto rowIcon = [&](const char *image) {
        if (!image)
            return QIcon();
        QIcon icon;
        icon.addPixmap(ui::taskIcon(image).pixmap(iconSize), QIcon::Normal);
        icon.addPixmap(selected, QIcon::Selected);
        return icon;
    };
    struct Row
    {
        const char *caption; // nullptr: a separator
        int level;
        const char *image;
    };
    const QString separator(29, QLatin1Char('-'));
    const Row rows[] = {
        {QT_TR_NOOP("Create various category"), 0, "camera"},
        {QT_TR_NOOP("book category"), 1, "book"},
        {QT_TR_NOOP("photo category"), 1, "camera"},
        {QT_TR_NOOP("music category"), 1, "music"},
        {QT_TR_NOOP("video category"), 1, "film"},
        {QT_TR_NOOP("singer category"), 1, "music"},
        {QT_TR_NOOP("country category"), 1, "globe"},
        {QT_TR_NOOP("software category"), 1, "folders"},
        {QT_TR_NOOP("document category"), 1, "document"},
        {nullptr, 0, nullptr},
        {QT_TR_NOOP("Save a folder structrue"), 0, "save-structure"},
        {QT_TR_NOOP("Load a folder structrue"), 0, "load-structure"},
        {nullptr, 0, nullptr},
        {QT_TR_NOOP("Rename files"), 0, "rename"},
        {QT_TR_NOOP("Auto-Classify files"), 0, "classify"},
        {QT_TR_NOOP("Create bulk folders"), 0, "folders"},
        {nullptr, 0, nullptr},
        {QT_TR_NOOP("About Brindle"), 0, "about"},
    };
    QTreeWidgetItem *group = nullptr;
    for (const Row &row : rows) {
        auto *item = row.level == 0 ? new QTreeWidgetItem(m_taskPanel) : new QTreeWidgetItem(group);
        item->setText(0, row.caption ? tr(row.caption) : separator);
        // The English caption decides what the row does (see captionOf).
        if (row.caption)
            item->setData(0, Qt::UserRole, QString::fromLatin1(row.caption));
        item->setIcon(0, rowIcon(row.image));
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        if (!row.caption) {
            // A separator takes no focus and is read as what it is.
            item->setFlags(Qt::NoItemFlags);
            item->setData(0, Qt::AccessibleTextRole, tr("Separator"));
        }
        if (row.level == 0)
            group = item;
    }
    // Wide enough for the longest caption with its indent and icon, and for a
    // scroll bar should the rows not fit the height.
    const QFontMetrics metrics(m_taskPanel->font());
    const int margins = 2 * (m_taskPanel->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    int widest = 0;
    for (QTreeWidgetItemIterator it(m_taskPanel); *it; ++it) {
        int depth = 1;
        for (const QTreeWidgetItem *up = (*it)->parent(); up; up = up->parent())
            ++depth;
        widest = std::max(widest,
                          depth * m_taskPanel->indentation() + m_taskPanel->iconSize().width()
                              + 3 * margins + metrics.horizontalAdvance((*it)->text(0)));
    }
    m_taskPanel->setMinimumWidth(widest + 2 * m_taskPanel->frameWidth()
                                 + m_taskPanel->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
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
    updateTreeHistoryActions();

    m_taskMenu = new QMenu(this);
    m_taskMenu->setObjectName(QStringLiteral("taskMenu"));
    m_openListAction = m_taskMenu->addAction(tr("Open file"));
    m_openListAction->setObjectName(QStringLiteral("openListAction"));
}

void MainWindow::guard(const std::function<void()> &command)
{
    try {
        command();
    } catch (...) {
        showCurrentFailure(m_services.messages);
    }
}

void MainWindow::connectCommands()
{
    auto on = [this](auto command) {
        return [this, command] { guard([=, this] { (this->*command)(); }); };
    };
    connect(m_createButton, &QToolButton::clicked, this, on(&MainWindow::createNow));
    connect(m_undoButton, &QToolButton::clicked, this, on(&MainWindow::undoLastRun));
    connect(m_aboutButton, &QToolButton::clicked, this, on(&MainWindow::showAbout));
    connect(m_helpButton, &QToolButton::clicked, this, on(&MainWindow::showHelp));
    connect(m_exitButton, &QToolButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            on(&MainWindow::showHelp));
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this), &QShortcut::activated, this,
            &QWidget::close);
    connect(m_sortButton, &QToolButton::clicked, this, on(&MainWindow::sortFile));
    connect(m_browseButton, &QToolButton::clicked, this, on(&MainWindow::browseForTarget));
    connect(m_targetBox->lineEdit(), &QLineEdit::textEdited, this, on(&MainWindow::onTargetEdited));

    // A row is chosen when the selection moves by keyboard at once, by the
    // mouse when its button comes up (see eventFilter).
    connect(m_taskPanel, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!m_taskPanelPressed)
            guard([this] { chooseSelectedTask(); });
    });
    connect(m_taskPanel, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        updateTaskMenu();
        m_taskMenu->popup(m_taskPanel->viewport()->mapToGlobal(at));
    });
    connect(m_openListAction, &QAction::triggered, this, on(&MainWindow::openCategoryList));

    connect(m_folderView, &foldertree::FolderTreeView::mouseMoved, this,
            [this](const QPoint &at) { trackPointer(at); });
    connect(m_folderView, &foldertree::FolderTreeView::mousePressed, this,
            on(&MainWindow::spreadTick));
    connect(m_folderView, &QTreeView::expanded, this,
            [this](const QModelIndex &index) { guard([=, this] { onFolderExpanded(index); }); });
    connect(m_folderView, &foldertree::FolderTreeView::boxFlippedByKey, this,
            [this](const QModelIndex &index) { guard([=, this] { spreadTickOf(index); }); });
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
    }
    connect(m_model, &foldertree::FolderTreeModel::expandRequested, m_folderView,
            [this](const QModelIndex &index) { m_folderView->expand(index); });
    connect(m_addSubfolderAction, &QAction::triggered, this, on(&MainWindow::addSubfolder));
    connect(m_deleteAction, &QAction::triggered, this, on(&MainWindow::deleteFolder));
    connect(m_renameAction, &QAction::triggered, this, on(&MainWindow::renameFolder));
    connect(m_saveTreeAction, &QAction::triggered, this, on(&MainWindow::saveTree));
    connect(m_openTreeAction, &QAction::triggered, this, on(&MainWindow::openTree));
    connect(m_undoTreeAction, &QAction::triggered, this, on(&MainWindow::undoTreeEdit));
    connect(m_redoTreeAction, &QAction::triggered, this, on(&MainWindow::redoTreeEdit));
    connect(m_history.get(), &foldertree::TreeHistory::changed, this,
            &MainWindow::updateTreeHistoryActions);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    ui::AlignedPanel::resizeEvent(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_taskPanel->viewport()
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
            || event->type() == QEvent::MouseButtonDblClick)) {
        const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
        if (button == Qt::RightButton)
            return true; // the context menu request still follows
        if (button == Qt::LeftButton) {
            // A press, or a drag over the rows, chooses nothing until the button comes up.
            m_taskPanelPressed = event->type() != QEvent::MouseButtonRelease;
            auto later = [this](void (MainWindow::*command)()) {
                QMetaObject::invokeMethod(
                    this, [this, command] { guard([=, this] { (this->*command)(); }); },
                    Qt::QueuedConnection);
            };
            if (event->type() == QEvent::MouseButtonRelease)
                later(&MainWindow::chooseSelectedTask);
            else if (event->type() == QEvent::MouseButtonDblClick)
                later(&MainWindow::rerunSelectedTask); // on a row or on empty space
        }
    }
    return ui::AlignedPanel::eventFilter(watched, event);
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
    if (busy())
        return;
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
