#include "tform1.h"

#include "failure.h"
#include "foldertreeview.h"
#include "images.h"
#include "installfolder.h"
#include "startup.h"

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
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>

TForm1::TForm1(ModuleState &state, platform::Services services, QWidget *parent)
    : ui::AlignedPanel(parent), m_state(state), m_services(services)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        m_scale = screen->logicalDotsPerInch() / 120.0;
    m_watch = std::make_unique<foldertree::StateWatch>(m_tree, m_treeState);
    m_model
        = new foldertree::FolderTreeModel(m_tree, m_treeState, m_icons, ui::folderImages(), this);

    buildLayout();
    m_state.installFolder
        = creation::determineInstallFolder(m_services.settings, m_services.fileSystem);
    TreeView1->topLevelItem(0)->setExpanded(true);
    if (m_services.fileSystem.isFile(m_state.installFolder + "undo.udo"))
        SpeedButton10->setEnabled(true);
    FormCreate();
    connectHandlers();

    OpenDialog1.options.kind = platform::FileDialogOptions::Kind::Open;
    OpenDialog1.options.fileMustExist = true;
    SaveDialog1.options.kind = platform::FileDialogOptions::Kind::Save;
    SaveDialog1.options.defaultSuffix = "txt";
    SaveDialog1.options.filters = {{"Text File", "*.txt"}};
    SaveDialog1.options.confirmOverwrite = true;
}

TForm1::~TForm1() = default;

void TForm1::setDialogs(TForm2 *form2, QDialog *aboutBox, QDialog *form3, QDialog *form4,
                        QDialog *form5)
{
    m_form2 = form2;
    m_aboutBox = aboutBox;
    m_form3 = form3;
    m_form4 = form4;
    m_form5 = form5;
}

int TForm1::px(int pixels) const
{
    return qRound(pixels * m_scale);
}

QRect TForm1::scaled(int left, int top, int width, int height) const
{
    return {px(left), px(top), px(width), px(height)};
}

QToolButton *TForm1::toolButton(const char *name, const char *glyph, const QString &hint, int left,
                                int width)
{
    auto *button = new QToolButton(Panel3);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setIcon(ui::glyph(glyph));
    button->setIconSize(QSize(px(28), px(28)));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setFocusPolicy(Qt::TabFocus);
    button->setGeometry(scaled(left, 0, width, 41));
    return button;
}

void TForm1::buildLayout()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Brindle -  create category's subfolders"));
    setWindowIcon(ui::programIcon());
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(px(13));
    setFont(font);
    resize(px(767), px(562));

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(scaled(0, 543, 767, 19));
    align(StatusBar1, ui::Align::Bottom);

    buildTaskPanel();
    align(TreeView1, ui::Align::Left);

    Panel2 = new ui::AlignedPanel(this, true);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(scaled(217, 0, 550, 543));
    align(Panel2, ui::Align::Client);

    Panel4 = new ui::AlignedPanel(Panel2, true);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setGeometry(scaled(1, 1, 548, 541));
    Panel2->align(Panel4, ui::Align::Client);

    Panel3 = new ui::AlignedPanel(Panel4, true);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(scaled(1, 1, 546, 41));
    Panel4->align(Panel3, ui::Align::Top);

    Panel5 = new ui::AlignedPanel(Panel4, false);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setGeometry(scaled(1, 42, 546, 62));
    Panel4->align(Panel5, ui::Align::Top);

    TreeView2 = new foldertree::FolderTreeView(Panel4);
    TreeView2->setObjectName(QStringLiteral("TreeView2"));
    TreeView2->setAccessibleName(QStringLiteral("Folder tree"));
    TreeView2->setGeometry(scaled(1, 104, 546, 436));
    TreeView2->setIndentation(px(27));
    Panel4->align(TreeView2, ui::Align::Client);

    Label5 = new QLabel(QStringLiteral("Target Location: "), Panel5);
    Label5->setObjectName(QStringLiteral("Label5"));
    QFont bold = font;
    bold.setBold(true);
    bold.setPixelSize(px(15));
    Label5->setFont(bold);
    Label5->setGeometry(scaled(2, 7, 118, 16));
    Label5->adjustSize();

    ComboBox4 = new QComboBox(Panel5);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    ComboBox4->setEditable(true);
    ComboBox4->setCompleter(nullptr);
    ComboBox4->setInsertPolicy(QComboBox::NoInsert);
    ComboBox4->setAccessibleName(QStringLiteral("Target Location"));
    ComboBox4->setGeometry(scaled(0, 31, 369, 24));
    Label5->setBuddy(ComboBox4);

    SpeedButton4 = new QToolButton(Panel5);
    SpeedButton4->setObjectName(QStringLiteral("SpeedButton4"));
    SpeedButton4->setAutoRaise(true);
    SpeedButton4->setIcon(ui::glyph("browse"));
    SpeedButton4->setIconSize(QSize(px(24), px(24)));
    SpeedButton4->setToolTip(QStringLiteral("Select a folder"));
    SpeedButton4->setAccessibleName(QStringLiteral("Select a folder"));
    SpeedButton4->setFocusPolicy(Qt::TabFocus);
    SpeedButton4->setGeometry(scaled(372, 22, 33, 33));

    SpeedButton1 = toolButton("SpeedButton1", "create", QStringLiteral("Create Now"), 7, 41);
    SpeedButton10
        = toolButton("SpeedButton10", "undo", QStringLiteral("Undo the last operation"), 55, 42);
    SpeedButton10->setEnabled(false);
    SpeedButton5 = toolButton("SpeedButton5", "about", QStringLiteral("About Brindle"), 167, 41);
    SpeedButton13 = toolButton("SpeedButton13", "help", QStringLiteral("Read help "), 216, 41);
    SpeedButton8 = toolButton("SpeedButton8", "exit", QStringLiteral("Exit"), 271, 41);
    SpeedButton2 = toolButton("SpeedButton2", "sort", QStringLiteral("Sort a file"), 325, 41);
    SpeedButton2->hide();

    buildMenus();

    setTabOrder(TreeView1, TreeView2);
    setTabOrder(TreeView2, SpeedButton1);
    setTabOrder(SpeedButton1, SpeedButton10);
    setTabOrder(SpeedButton10, SpeedButton5);
    setTabOrder(SpeedButton5, SpeedButton13);
    setTabOrder(SpeedButton13, SpeedButton8);
    setTabOrder(SpeedButton8, ComboBox4);
    setTabOrder(ComboBox4, SpeedButton4);
    realign();
    FormResize();
}

void TForm1::buildTaskPanel()
{
    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setAccessibleName(QStringLiteral("Tasks"));
    TreeView1->setGeometry(scaled(0, 0, 217, 543));
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setIndentation(px(27));
    TreeView1->setIconSize(QSize(px(24), px(24)));
    TreeView1->setRootIsDecorated(true);
    TreeView1->setExpandsOnDoubleClick(false);
    TreeView1->setEditTriggers(QAbstractItemView::EditKeyPressed
                               | QAbstractItemView::SelectedClicked);
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    // A right click selects nothing: the popup menu acts on the selected row.
    TreeView1->viewport()->installEventFilter(this);

    const std::vector<QIcon> images = ui::taskImages();
    auto rowIcon = [&](int image) {
        if (image < 0)
            return QIcon();
        const QSize size(px(24), px(24));
        QIcon icon;
        icon.addPixmap(images[static_cast<std::size_t>(image)].pixmap(size), QIcon::Normal);
        icon.addPixmap(images[0].pixmap(size), QIcon::Selected);
        return icon;
    };
    struct Row
    {
        const char *caption;
        int level;
        int image;
    };
    const QString separator(29, QLatin1Char('-'));
    const Row rows[] = {
        {"Create various category", 0, 1},
        {"book category", 1, 6},
        {"photo category", 1, 1},
        {"music category", 1, 2},
        {"video category", 1, 3},
        {"singer category", 1, 2},
        {"country category", 1, 0},
        {"software category", 1, 9},
        {"document category", 1, 4},
        {nullptr, 0, -1},
        {"Save a folder structrue", 0, 17},
        {"Load a folder structrue", 0, 18},
        {nullptr, 0, -1},
        {"Rename files", 0, 7},
        {"Auto-Classify files", 0, 20},
        {"Create bulk folders", 0, 9},
        {nullptr, 0, -1},
        {"About Brindle", 0, 15},
    };
    QTreeWidgetItem *group = nullptr;
    for (const Row &row : rows) {
        auto *item = row.level == 0 ? new QTreeWidgetItem(TreeView1) : new QTreeWidgetItem(group);
        item->setText(0, row.caption ? QString::fromLatin1(row.caption) : separator);
        item->setIcon(0, rowIcon(row.image));
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        if (row.level == 0)
            group = item;
    }
}

void TForm1::buildMenus()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Newsubfolder1 = PopupMenu1->addAction(QStringLiteral("Add subfolder"));
    Delete1 = PopupMenu1->addAction(QStringLiteral("Delete"));
    Rename1 = PopupMenu1->addAction(QStringLiteral("Rename"));
    N1 = PopupMenu1->addSeparator();
    Save1 = PopupMenu1->addAction(QStringLiteral("Save the tree structure"));
    Open1 = PopupMenu1->addAction(QStringLiteral("Open a tree from a file"));
    Newsubfolder1->setObjectName(QStringLiteral("Newsubfolder1"));
    Delete1->setObjectName(QStringLiteral("Delete1"));
    Rename1->setObjectName(QStringLiteral("Rename1"));
    N1->setObjectName(QStringLiteral("N1"));
    Save1->setObjectName(QStringLiteral("Save1"));
    Open1->setObjectName(QStringLiteral("Open1"));

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    Openfile1 = PopupMenu2->addAction(QStringLiteral("Open file"));
    Openfile1->setObjectName(QStringLiteral("Openfile1"));
}

void TForm1::guard(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const platform::Failure &failure) {
        showErrorBox(m_services.messages, failure.what());
    }
}

void TForm1::connectHandlers()
{
    auto on = [this](auto handler) {
        return [this, handler] { guard([=, this] { (this->*handler)(); }); };
    };
    connect(SpeedButton1, &QToolButton::clicked, this, on(&TForm1::SpeedButton1Click));
    connect(SpeedButton10, &QToolButton::clicked, this, on(&TForm1::SpeedButton10Click));
    connect(SpeedButton5, &QToolButton::clicked, this, on(&TForm1::SpeedButton5Click));
    connect(SpeedButton13, &QToolButton::clicked, this, on(&TForm1::SpeedButton13Click));
    connect(SpeedButton8, &QToolButton::clicked, this, on(&TForm1::SpeedButton8Click));
    connect(SpeedButton2, &QToolButton::clicked, this, on(&TForm1::SpeedButton2Click));
    connect(SpeedButton4, &QToolButton::clicked, this, on(&TForm1::SpeedButton4Click));
    connect(ComboBox4->lineEdit(), &QLineEdit::textEdited, this, on(&TForm1::ComboBox4Change));

    connect(TreeView1, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current, QTreeWidgetItem *previous) {
                // One branch open at a time: the row that loses the selection closes.
                if (previous && previous != current && !(current && current->parent() == previous))
                    previous->setExpanded(false);
                if (current)
                    current->setExpanded(true);
                guard([=, this] { TreeView1Change(current); });
            });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, on(&TForm1::TreeView1DblClick));
    connect(TreeView1, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        PopupMenu2Popup();
        PopupMenu2->popup(TreeView1->viewport()->mapToGlobal(at));
    });
    connect(Openfile1, &QAction::triggered, this, on(&TForm1::Openfile1Click));

    connect(TreeView2, &foldertree::FolderTreeView::mouseMoved, this,
            [this](const QPoint &at) { TreeView2MouseMove(at); });
    connect(TreeView2, &foldertree::FolderTreeView::mousePressed, this,
            on(&TForm1::TreeView2MouseDown));
    connect(TreeView2, &QTreeView::expanded, this,
            [this](const QModelIndex &index) { guard([=, this] { TreeView2Expanding(index); }); });
    connect(TreeView2, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        PopupMenu1->popup(TreeView2->viewport()->mapToGlobal(at));
    });
    connect(m_model, &foldertree::FolderTreeModel::expandRequested, TreeView2,
            [this](const QModelIndex &index) { TreeView2->expand(index); });
    connect(Newsubfolder1, &QAction::triggered, this, on(&TForm1::Newsubfolder1Click));
    connect(Delete1, &QAction::triggered, this, on(&TForm1::Delete1Click));
    connect(Rename1, &QAction::triggered, this, on(&TForm1::Rename1Click));
    connect(Save1, &QAction::triggered, this, on(&TForm1::Save1Click));
    connect(Open1, &QAction::triggered, this, on(&TForm1::Open1Click));
}

void TForm1::FormCreate()
{
    // The boxes of the folder tree come with its model.
    TreeView2->setModel(m_model);
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    ui::AlignedPanel::resizeEvent(event);
    FormResize();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TreeView1->viewport()
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
            || event->type() == QEvent::MouseButtonDblClick)
        && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
        return true; // the context menu request still follows
    return ui::AlignedPanel::eventFilter(watched, event);
}

void TForm1::FormResize()
{
    ComboBox4->resize(Panel5->width() - ComboBox4->x() - 40, ComboBox4->height());
    SpeedButton4->move(Panel5->width() - 37, SpeedButton4->y());
}

std::string TForm1::execute(FileDialog &dialog)
{
    const std::string chosen = m_services.fileDialogs.run(dialog.options, dialog.fileName);
    if (!chosen.empty())
        dialog.fileName = chosen;
    return chosen;
}

bool TForm1::busy() const
{
    return m_services.ui.isBusy() || m_treeState.loadsRunning > 0;
}

std::string TForm1::targetLocation() const
{
    return ComboBox4->currentText().toLocal8Bit().toStdString();
}

void TForm1::setTargetLocation(const std::string &text)
{
    ComboBox4->setEditText(
        QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
}

foldertree::TreeContext TForm1::treeContext()
{
    return {*m_model, m_treeState, m_services.fileSystem, m_services.ui, m_state.lineBuffer};
}

void TForm1::SpeedButton8Click()
{
    close();
}

void TForm1::SpeedButton13Click()
{
    m_services.shell.openLocation(m_state.installFolder + "Help" + platform::Separator
                                  + "index.html");
}

void TForm1::SpeedButton5Click()
{
    if (m_aboutBox)
        m_aboutBox->exec();
}

void TForm1::SpeedButton2Click()
{
    if (busy())
        return;
    const std::string fileName = execute(OpenDialog1);
    if (fileName.empty())
        return;
    const std::optional<std::string> text = m_services.fileSystem.readFile(fileName);
    if (!text)
        throw platform::cannotOpenFile(fileName);
    m_state.lineBuffer.assign(*text);
    if (m_state.lineBuffer.size() < 2)
        return;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_state.lineBuffer.sort([&](std::string_view a, std::string_view b) {
        return collator.compare(QString::fromLocal8Bit(a.data(), static_cast<qsizetype>(a.size())),
                                QString::fromLocal8Bit(b.data(), static_cast<qsizetype>(b.size())))
            < 0;
    });
    if (m_services.fileSystem.writeFile(fileName, m_state.lineBuffer.joined()))
        throw platform::cannotCreateFile(fileName);
}
