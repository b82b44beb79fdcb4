// The main window as a person uses it: built by Windows with scripted services,
// shown on the offscreen platform and driven through its widgets.

#include "failure.h"
#include "foldertreeview.h"
#include "qtsettings.h"
#include "scripted.h"
#include "startup.h"
#include "tempdir.h"
#include "widgetservices.h"
#include "windows.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>
#include <sstream>

using foldertree::NodeId;
using foldertree::NoNode;
using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::InstallDirSetting;
using Message = platform::EnglishMessage;
using State = InstallDirSetting::State;

namespace {

// The error box's caption: the name of this executable.
const std::string ExecutableName = "brindle_app_test";
const QString Separator(29, QLatin1Char('-'));
const QString Prohibited = QStringLiteral(
    "You should remove one of following nine characters from input text, because they are "
    "prohibited in Windows filenames:  \\ / : * ? \" < > |");

QString q(std::string_view text)
{
    return QString::fromStdString(std::string(text));
}

QString describe(const Message &m)
{
    return q(m.text) + " | " + q(m.caption) + " | buttons " + QString::number(int(m.buttons))
        + " icon " + QString::number(int(m.icon)) + " default "
        + QString::number(int(m.defaultAnswer));
}

QStringList childNames(const foldertree::FolderTree &tree, NodeId node)
{
    QStringList names;
    for (std::size_t i = 0; node != NoNode && i < tree.childCount(node); ++i)
        names << q(tree.text(tree.child(node, i)));
    return names;
}

// Names of the unticked nodes, in pre-order, joined by commas.
QString unticked(const foldertree::FolderTree &tree)
{
    QStringList names;
    for (NodeId node : tree.empty() ? std::vector<NodeId>() : tree.preorder())
        if (!foldertree::isNodeTicked(tree, node))
            names << q(tree.text(node));
    return names.join(',');
}

// A control of `parent` by its object name; the test stops when there is none.
template<typename T> T *control(QObject &parent, const char *name)
{
    T *found = parent.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

// What a modal dialog showed while the test's answer ran inside its event loop.
struct Visit
{
    bool shown = false, stayedOpen = false;
    QString title, label, editBefore, editAfter;
    QStringList topNames;
};

// Runs `act` inside the next modal run of `dialog`; nothing when it never shows.
std::shared_ptr<Visit> onShown(QDialog &dialog, std::function<void(Visit &)> act)
{
    auto visit = std::make_shared<Visit>();
    QPointer<QDialog> shown(&dialog);
    QTimer::singleShot(0, &dialog, [visit, shown, act] {
        if (!shown || !shown->isVisible())
            return;
        visit->shown = true;
        visit->title = shown->windowTitle();
        act(*visit);
    });
    return visit;
}

// Types `text` into the name dialog and presses OK (Cancel when `ok` is false).
// When the dialog refuses the name and stays open, Cancel closes it.
std::shared_ptr<Visit> answerName(FolderNameDialog &dialog, const QString &text, bool ok = true)
{
    return onShown(dialog, [&dialog, text, ok](Visit &visit) {
        QLineEdit *name = control<QLineEdit>(dialog, "nameEdit");
        QPushButton *cancel = control<QPushButton>(dialog, "cancelButton");
        visit.label = control<QLabel>(dialog, "prompt")->text();
        visit.editBefore = name->text();
        name->setText(text);
        (ok ? control<QPushButton>(dialog, "okButton") : cancel)->click();
        visit.stayedOpen = dialog.isVisible();
        visit.editAfter = name->text();
        if (visit.stayedOpen)
            cancel->click();
    });
}

// A test folder with an install folder holding category lists, the scripted
// desktop, and the windows built on them.
struct Desk
{
    testsupport::TempDir dir;
    platform::ScriptedServices scripted;
    ModuleState state;
    std::string install = dir / "install/";
    std::unique_ptr<Windows> windows;
    std::unique_ptr<QAbstractItemModelTester> tester;

    Desk()
    {
        dir.makeDirs("install/Category");
        dir.writeFile("install/Category/Book.txt", "  Novels\r\n  Comics\r\n    Manga\r\n");
        dir.writeFile("install/Category/Video.txt", "  Films\r\n  Series\r\n");
        dir.writeFile("install/Category/Music.txt", "  Rock\r\n  Jazz\r\n");
        dir.writeFile("install/Category/Photo.txt", "  Family\r\n  Travel\r\n");
        scripted.settings.value = {State::Text, install};
    }
    void build() { windows = std::make_unique<Windows>(state, scripted.services()); }
    // Builds the windows, watches the tree's model and shows the main window.
    bool open()
    {
        build();
        tester = std::make_unique<QAbstractItemModelTester>(
            &model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        window().show();
        return QTest::qWaitForWindowExposed(&window());
    }

    MainWindow &window() { return *windows->mainWindow; }
    FolderNameDialog &nameDialog() { return *windows->folderNameDialog; }
    template<typename T> T *child(const char *name) { return control<T>(window(), name); }
    QToolButton *button(const char *name) { return child<QToolButton>(name); }
    QAction *action(const char *name) { return child<QAction>(name); }
    QTreeWidget *taskPanel() { return child<QTreeWidget>("taskPanel"); }
    foldertree::FolderTreeView *folderView()
    {
        return child<foldertree::FolderTreeView>("folderView");
    }
    QComboBox *targetBox() { return child<QComboBox>("targetBox"); }
    const foldertree::FolderTree &tree() { return window().folderTree(); }
    foldertree::FolderTreeModel &model() { return window().folderModel(); }
    QStringList topNames() { return tree().empty() ? QStringList() : childNames(tree(), root()); }
    NodeId root() { return tree().root(); }
    QStringList messages()
    {
        QStringList list;
        for (const Message &m : scripted.messages.english())
            list << describe(m);
        return list;
    }

    void load(std::string_view file, std::string_view text)
    {
        dir.writeFile(file, text);
        window().loadTreeFile(dir / file);
    }
    NodeId find(std::string_view name)
    {
        for (NodeId node : tree().preorder())
            if (tree().text(node) == name)
                return node;
        return NoNode;
    }
    QTreeWidgetItem *row(const QString &caption)
    {
        return taskPanel()->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    }

    // The pointer and the buttons over the folder tree.
    QWidget *viewport() { return folderView()->viewport(); }
    QRect box(NodeId node) { return folderView()->checkBoxRect(model().indexOf(node)); }
    QPoint label(NodeId node) { return box(node).center() + QPoint(box(node).width() + 30, 0); }
    // Two moves: a move to where the pointer already is brings no event.
    void hover(QPoint at)
    {
        QTest::mouseMove(viewport(), at + QPoint(1, 0));
        QTest::mouseMove(viewport(), at);
    }
    void hover(NodeId node) { hover(label(node)); }
};

// Root / Alpha / Beta / Gamma / Delta, and Omega below the root; the named
// nodes unticked, the others ticked; every branch open.
void buildGreekTree(Desk &desk, const QStringList &untickedNames)
{
    foldertree::FolderTreeModel &model = desk.model();
    const NodeId root = model.addRoot("Root", 1);
    NodeId at = root;
    for (const char *name : {"Alpha", "Beta", "Gamma", "Delta"})
        at = model.appendChild(at, name, 1);
    model.appendChild(root, "Omega", 1);
    for (NodeId node : desk.tree().preorder())
        model.setTick(node,
                      untickedNames.contains(q(desk.tree().text(node))) ? foldertree::Tick::Unticked
                                                                        : foldertree::Tick::Ticked);
    desk.folderView()->expandAll();
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        m_startFolder = std::filesystem::current_path().string();
        // QSettings reads XDG_CONFIG_HOME once per process: the settings tests share
        // this home, fixed by the first read.
        m_settingsHome = std::make_unique<testsupport::TempDir>();
        platform::QtSettings().installDir();
    }

    void cleanupTestCase() { m_settingsHome.reset(); }

    void installFolder_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("startIn"); // "test" for the test folder
        QTest::addColumn<QString>("expected"); // "test/" for the test folder
        auto row = [](const char *name, State state, QString text, QString in, QString expected) {
            QTest::newRow(name) << int(state) << text << in << expected;
        };
        row("text gets a separator", State::Text, "/opt/app", {}, "/opt/app/");
        row("text ending with one", State::Text, "/opt/app/", {}, "/opt/app/");
        row("empty text is the root", State::Text, "", {}, "/");
        row("absent: current folder with lists", State::Absent, "", "test/install",
            "test/install/");
        row("absent, no lists here: the state folder", State::Absent, "", "test",
            "test/home/.local/state/brindle/");
    }

    void installFolder()
    {
        QFETCH(int, state);
        QFETCH(QString, text);
        QFETCH(QString, startIn);
        QFETCH(QString, expected);
        Desk desk;
        desk.scripted.settings.value = {State(state), text.toStdString()};
        const QString test = q(std::filesystem::canonical(desk.dir.path()).string());
        if (!startIn.isEmpty())
            std::filesystem::current_path(QString(startIn).replace("test", test).toStdString());
        desk.build();
        std::filesystem::current_path(m_startFolder);
        // The window writes its undo log there.
        QCOMPARE(q(desk.state.locations.logFolder), expected.replace("test/", test + "/"));
    }

    void wrongTypeStopsStart()
    {
        Desk desk;
        desk.scripted.settings.value = {State::WrongType, {}};
        try {
            desk.build();
            QFAIL("the windows were built");
        } catch (const platform::Failure &failure) {
            QCOMPARE(q(failure.what()), "Invalid data type for 'Installdir'");
        }
        QCOMPARE(runBrindle(desk.scripted.services()), 0);
        QCOMPARE(desk.messages(),
                 // The same rule as any error box: no full stop after a quote.
                 QStringList {describe({"Invalid data type for 'Installdir'", ExecutableName,
                                        Buttons::Ok, Icon::Stop, Answer::Ok})});
    }

    void settingsFile_data()
    {
        QTest::addColumn<QString>("content"); // null: no file
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("text");
        QTest::newRow("no file") << QString() << int(State::Absent) << "";
        QTest::newRow("text") << "[General]\nInstalldir=/x\n" << int(State::Text) << "/x";
        QTest::newRow("list") << "[General]\nInstalldir=a, b\n" << int(State::WrongType) << "";
    }

    void settingsFile()
    {
        QFETCH(QString, content);
        QFETCH(int, state);
        QFETCH(QString, text);
        const std::string file = "home/.config/Quillmere/brindle.conf";
        std::filesystem::remove(*m_settingsHome / file);
        if (!content.isNull()) {
            m_settingsHome->makeDirs("home/.config/Quillmere");
            m_settingsHome->writeFile(file, content.toStdString());
        }
        const InstallDirSetting value = platform::QtSettings().installDir();
        QCOMPARE(int(value.state), state);
        QCOMPARE(q(value.text), text);
        QCOMPARE(m_settingsHome->exists(file), !content.isNull());
    }

    void undoLogEnablesUndoAtStart()
    {
        Desk desk;
        desk.dir.writeFile("install/undo.udo", "/nowhere\r\n");
        QVERIFY(desk.open());
        QVERIFY(desk.button("undoButton")->isEnabled());
    }

    void startWindow()
    {
        Desk desk;
        QVERIFY(desk.open());
        MainWindow &window = desk.window();
        QCOMPARE(window.windowTitle(), "Brindle -  create category's subfolders");

        QTreeWidgetItem *group = desk.taskPanel()->topLevelItem(0);
        QVERIFY(group->isExpanded());
        QStringList captions;
        for (QTreeWidgetItemIterator it(desk.taskPanel()); *it; ++it)
            captions << (*it)->text(0);
        QCOMPARE(captions,
                 (QStringList {"Create various category", "book category", "photo category",
                               "music category", "video category", "singer category",
                               "country category", "software category", "document category",
                               Separator, "Save a folder structrue", "Load a folder structrue",
                               Separator, "Rename files", "Auto-Classify files",
                               "Create bulk folders", Separator, "About Brindle"}));
        QCOMPARE(group->childCount(), 8);

        QCOMPARE(desk.button("createButton")->toolTip(), "Create Now");
        QCOMPARE(desk.button("undoButton")->toolTip(), "Undo the last operation");
        QVERIFY(!desk.button("undoButton")->isEnabled()); // no undo log
        QCOMPARE(desk.button("helpButton")->toolTip(), "Read help ");
        QCOMPARE(desk.button("exitButton")->toolTip(), "Exit");
        // Sorting a file is there, but no control shows it.
        QCOMPARE(desk.action("sortAction")->toolTip(), "Sort a file");
        QVERIFY(desk.action("sortAction")->associatedObjects().isEmpty());
        QCOMPARE(desk.button("browseButton")->toolTip(), "Select a folder");
        QCOMPARE(desk.child<QLabel>("targetLabel")->text(), "Target Location: ");

        auto texts = [](QMenu *menu) {
            QStringList list;
            for (QAction *action : menu->actions())
                list << (action->isSeparator() ? QStringLiteral("<separator>") : action->text());
            return list;
        };
        QCOMPARE(texts(desk.child<QMenu>("folderMenu")),
                 (QStringList {"Add subfolder", "Delete", "Rename", "<separator>",
                               "Save the tree structure", "Open a tree from a file", "<separator>",
                               "Undo", "Redo"}));
        QVERIFY(!desk.action("undoTreeAction")->isEnabled());
        QVERIFY(!desk.action("redoTreeAction")->isEnabled());
        QCOMPARE(texts(desk.child<QMenu>("taskMenu")), QStringList {"Open file"});

        desk.button("exitButton")->click();
        QVERIFY(!window.isVisible());
        QVERIFY(desk.scripted.messages.shown.empty());
    }

    void widerWindowWidensTheTargetStrip()
    {
        Desk desk;
        QVERIFY(desk.open());
        MainWindow &window = desk.window();
        const int combo = desk.targetBox()->width();
        const int button = desk.button("browseButton")->x();
        const int tasks = desk.taskPanel()->width();
        const int strip = desk.child<QWidget>("targetStrip")->width();
        window.resize(window.width() + 100, window.height());
        QTRY_COMPARE(desk.child<QWidget>("targetStrip")->width(), strip + 100);
        QCOMPARE(desk.targetBox()->width(), combo + 100);
        QCOMPARE(desk.button("browseButton")->x(), button + 100);
        QCOMPARE(desk.taskPanel()->width(), tasks);
    }

    // Also run with QT_SCALE_FACTOR=2 (brindle_app_layout_2x).
    void layoutFits()
    {
        const QFont desktop = QApplication::font();
        QFont large = desktop;
        if (large.pointSizeF() > 0)
            large.setPointSizeF(large.pointSizeF() * 2);
        else
            large.setPixelSize(large.pixelSize() * 2);
        QApplication::setFont(large);
        Desk desk;
        QVERIFY(desk.open());
        QApplication::setFont(desktop);
        MainWindow &window = desk.window();
        QLabel *label = desk.child<QLabel>("targetLabel");
        QCOMPARE(label->font().family(), large.family());
        QCOMPARE(label->font().pointSizeF(), large.pointSizeF());
        QVERIFY(label->font().bold());
        QTreeWidget *panel = desk.taskPanel();
        QWidget *toolbar = desk.child<QWidget>("toolbar");
        QWidget *strip = desk.child<QWidget>("targetStrip");
        for (const QSize size : {window.size(), window.minimumSize()}) {
            window.resize(size);
            QTRY_COMPARE(window.size(), size);
            QCoreApplication::processEvents();
            const QString at = QStringLiteral(" at %1x%2").arg(size.width()).arg(size.height());
            // Every caption whole: the widest row fits the panel.
            QVERIFY2(static_cast<QAbstractItemView *>(panel)->sizeHintForColumn(0)
                         <= panel->viewport()->width(),
                     qPrintable(at));
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(at));
            for (const char *name :
                 {"createButton", "undoButton", "aboutButton", "helpButton", "exitButton"})
                QVERIFY2(desk.button(name)->isVisible()
                             && toolbar->rect().contains(desk.button(name)->geometry()),
                         qPrintable(name + at));
            QVERIFY2(strip->rect().contains(desk.button("browseButton")->geometry()),
                     qPrintable(at));
            QVERIFY2(desk.targetBox()->width() >= desk.targetBox()->minimumSizeHint().width(),
                     qPrintable(at));
        }
    }

    void errorBoxText_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        auto row = [](const char *name, QString message, QString shown) {
            QTest::newRow(name) << message << shown;
        };
        row("letter gets a full stop", "abc", "abc.");
        row("digit gets a full stop", "x1", "x1.");
        row("closing bracket unchanged", "(x)", "(x)");
        row("full stop unchanged", "x.", "x.");
        row("empty unchanged", "", "");
    }

    void errorBoxText()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(q(platform::english(::errorBoxText(platform::verbatim(message.toStdString())))),
                 shown);
    }

    void failingHandlerShowsErrorBox()
    {
        Desk desk;
        QVERIFY(desk.open());
        const std::string missing = desk.dir / "missing.txt";
        desk.scripted.fileDialogs.queue(missing);
        desk.action("openTreeAction")->trigger();
        QCOMPARE(desk.messages(),
                 QStringList {describe({"Cannot open file " + missing + ".", ExecutableName,
                                        Buttons::Ok, Icon::Stop, Answer::Ok})});
        QVERIFY(desk.tree().empty());
        // The program goes on: the next command works.
        desk.dir.writeFile("good.txt", "  One\r\n  Two\r\n");
        desk.scripted.fileDialogs.queue(desk.dir / "good.txt");
        desk.action("openTreeAction")->trigger();
        QCOMPARE(desk.topNames(), (QStringList {"One", "Two"}));
        QCOMPARE(desk.scripted.messages.shown.size(), 1u);
    }

    void sortFile_data()
    {
        QTest::addColumn<QByteArray>("before"); // null: no file
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("failure");
        QTest::newRow("lines in order, case ignored, CR LF each")
            << QByteArray("banana\ncherry\r\nApple") << QByteArray("Apple\r\nbanana\r\ncherry\r\n")
            << QString();
        QTest::newRow("one line left byte for byte")
            << QByteArray("one line\n") << QByteArray("one line\n") << QString();
        QTest::newRow("missing file")
            << QByteArray() << QByteArray() << "Cannot open file <test>/list.txt";
    }

    void sortFile()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QString, failure);
        Desk desk;
        desk.build();
        if (!before.isNull())
            desk.dir.writeFile("list.txt", before.toStdString());
        desk.scripted.fileDialogs.queue(desk.dir / "list.txt");
        try {
            desk.window().sortFile();
            QCOMPARE(QByteArray::fromStdString(desk.dir.readFile("list.txt")), after);
            QVERIFY(failure.isEmpty());
        } catch (const platform::Failure &caught) {
            QCOMPARE(q(caught.what()), failure.replace("<test>", q(desk.dir.path())));
        }
    }

    void helpAndAbout()
    {
        Desk desk;
        QVERIFY(desk.open());
        desk.button("helpButton")->click();
        QCOMPARE(desk.scripted.shell.locations,
                 std::vector<std::string> {desk.install + "Help/index.html"});
        AboutDialog &about = *desk.windows->aboutDialog;
        auto visit = onShown(about, [&about](Visit &) { about.accept(); });
        desk.window().showAbout();
        QVERIFY(visit->shown);
        QVERIFY(!about.isVisible());
    }

    void tickClicks_data()
    {
        QTest::addColumn<QString>("before"); // unticked nodes
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("after");
        auto row = [](const char *name, QString before, QString target, QString where,
                      QString after) { QTest::newRow(name) << before << target << where << after; };
        row("ticked box unticks its subtree, no ancestor", "", "Beta", "box", "Beta,Gamma,Delta");
        row("unticked box ticks up to the first ticked ancestor", "Root,Beta,Gamma,Delta,Omega",
            "Gamma", "box", "Root,Omega");
        row("root box ticks everything", "Root,Alpha,Beta,Gamma,Delta,Omega", "Root", "box", "");
        row("label click changes no tick", "Beta,Gamma,Delta", "Beta", "label", "Beta,Gamma,Delta");
        row("right click on an unticked box", "Beta", "Beta", "right", "Beta");
        row("right click on a ticked box", "", "Alpha", "right", "");
    }

    void tickClicks()
    {
        QFETCH(QString, before);
        QFETCH(QString, target);
        QFETCH(QString, where);
        QFETCH(QString, after);
        Desk desk;
        QVERIFY(desk.open());
        buildGreekTree(desk, before.split(','));
        const NodeId node = desk.find(target.toStdString());
        const QPoint at = where == "label" ? desk.label(node) : desk.box(node).center();
        QCOMPARE(desk.folderView()->indexAt(at), desk.model().indexOf(node));
        desk.hover(at);
        QCOMPARE(desk.window().treeState().nodeUnderPointer, node);
        const Qt::MouseButton button = where == "right" ? Qt::RightButton : Qt::LeftButton;
        QTest::mousePress(desk.viewport(), button, {}, at);
        QTest::mouseRelease(desk.viewport(), button, {}, at);
        QCOMPARE(unticked(desk.tree()), after);
        // The boxes show the ticks.
        for (NodeId each : desk.tree().preorder())
            QCOMPARE(desk.model().indexOf(each).data(Qt::CheckStateRole).toInt(),
                     foldertree::isNodeTicked(desk.tree(), each) ? Qt::Checked : Qt::Unchecked);
    }

    void pointerOverEmptySpace()
    {
        Desk desk;
        QVERIFY(desk.open());
        buildGreekTree(desk, {"Gamma"});
        const QRect last = desk.folderView()->visualRect(desk.model().indexOf(desk.find("Omega")));
        const QPoint below(last.left() + 5, last.bottom() + 20);
        QVERIFY(desk.viewport()->rect().contains(below));
        desk.hover(desk.find("Beta"));
        desk.hover(below);
        QCOMPARE(desk.window().treeState().nodeUnderPointer, NoNode);
        QTest::mouseClick(desk.viewport(), Qt::LeftButton, {}, below);
        for (QAction *command : {desk.action("addSubfolderAction"), desk.action("renameAction")}) {
            auto visit = answerName(desk.nameDialog(), "New");
            command->trigger();
            QCoreApplication::processEvents();
            QVERIFY(!visit->shown);
        }
        desk.action("deleteAction")->trigger();
        QCOMPARE(desk.tree().size(), 6u);
        QCOMPARE(unticked(desk.tree()), "Gamma");
        QCOMPARE(childNames(desk.tree(), desk.find("Beta")), QStringList {"Gamma"});
    }

    void keyboard_data()
    {
        QTest::addColumn<QString>("keys"); // key sequences; "Menu" the menu key,
        // "Mouse" a right click, an action's name a menu item chosen
        QTest::addColumn<QString>("after"); // the tree in pre-order (* unticked), then calls
        auto row = [](const char *name, QString keys, QString after) {
            QTest::newRow(name) << keys << after;
        };
        // Beta is the current row, the pointer rests on Omega.
        const QString calls = QStringLiteral(" | dialogs 0 help 0 shown 1");
        row("menu key: Delete acts on the current row", "Menu deleteAction",
            "Root Alpha Omega" + calls);
        row("Shift+F10: Rename acts on the current row", "Shift+F10 renameAction",
            "Root Alpha One Gamma Delta Omega" + calls);
        row("right click: Delete acts on the pointer's row", "Mouse deleteAction",
            "Root Alpha Beta Gamma Delta" + calls);
        row("Delete", "Del", "Root Alpha Omega" + calls);
        row("Insert twice, typed into the box each time", "Ins Ins",
            "Root Alpha Beta Gamma Delta One Two Omega" + calls);
        row("F2", "F2", "Root Alpha One Gamma Delta Omega" + calls);
        row("Space spreads over the branch", "Space",
            "Root Alpha Beta* Gamma* Delta* Omega" + calls);
        row("Space, then Ctrl+Z undoes it", "Space Ctrl+Z",
            "Root Alpha Beta Gamma Delta Omega" + calls);
        row("Ctrl+S", "Ctrl+S", "Root Alpha Beta Gamma Delta Omega | dialogs 1 help 0 shown 1");
        row("Ctrl+O", "Ctrl+O", "Root Alpha Beta Gamma Delta Omega | dialogs 1 help 0 shown 1");
        row("F1", "F1", "Root Alpha Beta Gamma Delta Omega | dialogs 0 help 1 shown 1");
        row("Ctrl+Q", "Ctrl+Q", "Root Alpha Beta Gamma Delta Omega | dialogs 0 help 0 shown 0");
    }

    void keyboard()
    {
        QFETCH(QString, keys);
        QFETCH(QString, after);
        Desk desk;
        QVERIFY(desk.open());
        desk.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&desk.window()));
        buildGreekTree(desk, {});
        foldertree::FolderTreeView *view = desk.folderView();
        view->setCurrentIndex(desk.model().indexOf(desk.find("Beta")));
        view->setFocus();
        desk.hover(desk.find("Omega"));
        // Each name is typed where the focus is, and OK clicked with the mouse.
        QStringList names {"One", "Two"};
        FolderNameDialog &dialog = desk.nameDialog();
        for (const QString &key : keys.split(' ')) {
            onShown(dialog, [&dialog, &names](Visit &) {
                QTest::keyClicks(dialog.focusWidget(), names.takeFirst());
                QTest::mouseClick(control<QPushButton>(dialog, "okButton"), Qt::LeftButton);
            });
            QMenu *menu = desk.child<QMenu>("folderMenu");
            if (key == "Menu") { // as the platform sends it
                QContextMenuEvent press(QContextMenuEvent::Keyboard, {}, {});
                QCoreApplication::sendEvent(view, &press);
            } else if (key == "Mouse") {
                const QPoint at = desk.label(desk.find("Omega"));
                QContextMenuEvent click(QContextMenuEvent::Mouse, at,
                                        desk.viewport()->mapToGlobal(at));
                QCoreApplication::sendEvent(desk.viewport(), &click);
            } else if (key.endsWith("Action")) {
                QVERIFY(menu->isVisible());
                desk.action(key.toLatin1().constData())->trigger();
                menu->hide();
            } else {
                QTest::keySequence(view, QKeySequence(key));
            }
            QCoreApplication::processEvents();
            // The main window is active again after a dialog, as on a desktop.
            if (desk.window().isVisible()) {
                desk.window().activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&desk.window()));
            }
        }
        QStringList shown;
        for (NodeId node : desk.tree().preorder())
            shown << q(desk.tree().text(node))
                    + (foldertree::isNodeTicked(desk.tree(), node) ? "" : "*");
        QCOMPARE(shown.join(' ') + " | dialogs "
                     + QString::number(desk.scripted.fileDialogs.calls.size()) + " help "
                     + QString::number(desk.scripted.shell.locations.size()) + " shown "
                     + QString::number(desk.window().isVisible()),
                 after);
        QVERIFY(desk.scripted.messages.shown.empty());
    }

    void addSubfolder()
    {
        Desk desk;
        QVERIFY(desk.open());
        desk.load("t.txt", "<tree>\nRoot\n  Music\n  Books\n");
        const NodeId music = desk.find("Music");
        desk.model().setTick(music, foldertree::Tick::Unticked);
        desk.hover(music);
        auto visit = answerName(desk.nameDialog(), "  Docs  ");
        desk.action("addSubfolderAction")->trigger();
        QVERIFY(visit->shown);
        QCOMPARE(visit->title, "Add Subfolder");
        QCOMPARE(visit->label, "Add New Subfolder:");
        QCOMPARE(visit->editBefore, "");
        QCOMPARE(desk.nameDialog().name(), "Docs");
        QCOMPARE(childNames(desk.tree(), music), QStringList {"Docs"});
        const NodeId docs = desk.find("Docs");
        QCOMPARE(desk.tree().tick(docs), foldertree::Tick::Ticked);
        QCOMPARE(desk.tree().image(docs), 1);
        QCOMPARE(unticked(desk.tree()), "Music");
        QVERIFY(!desk.folderView()->isExpanded(desk.model().indexOf(music)));
        QVERIFY(desk.folderView()->isExpanded(desk.model().indexOf(desk.root())));
    }

    void renameThenAdd()
    {
        Desk desk;
        QVERIFY(desk.open());
        desk.load("t.txt", "<tree>\nRoot\n  Music\n  Books\n");
        desk.hover(desk.find("Books"));
        auto rename = answerName(desk.nameDialog(), "Novels");
        desk.action("renameAction")->trigger();
        QCOMPARE(rename->title, "Rename Folder");
        QCOMPARE(rename->label, "Rename Folder: Books");
        QCOMPARE(rename->editBefore, "Books");
        QCOMPARE(desk.topNames(), (QStringList {"Music", "Novels"}));

        auto add = answerName(desk.nameDialog(), "Paperbacks");
        desk.action("addSubfolderAction")->trigger();
        QCOMPARE(add->editBefore, "Novels");
        QCOMPARE(childNames(desk.tree(), desk.find("Novels")), QStringList {"Paperbacks"});

        auto sibling = answerName(desk.nameDialog(), "Music");
        desk.action("renameAction")->trigger();
        QVERIFY(!sibling->stayedOpen);
        QCOMPARE(desk.topNames(), (QStringList {"Music", "Music"}));
        QVERIFY(desk.scripted.messages.shown.empty());
    }

    void refusedNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("editAfter");
        auto row = [](const char *name, QString typed, QString message, QString editAfter) {
            QTest::newRow(name) << typed << message << editAfter;
        };
        row("blanks only", "   ", "No new name is inputted.", "");
        row("slash", " a/b ", Prohibited, "a/b");
        row("double quote", "say \"hi\"", Prohibited, "say \"hi\"");
    }

    void refusedNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, editAfter);
        Desk desk;
        QVERIFY(desk.open());
        desk.load("t.txt", "<tree>\nRoot\n  Music\n");
        desk.hover(desk.find("Music"));
        auto visit = answerName(desk.nameDialog(), typed);
        desk.action("addSubfolderAction")->trigger();
        QVERIFY(visit->stayedOpen);
        QCOMPARE(visit->editAfter, editAfter);
        QCOMPARE(desk.messages(),
                 QStringList {describe(platform::englishInformation(message.toStdString()))});
        QCOMPARE(desk.tree().size(), 2u);
    }

    void escapeAndCancel()
    {
        Desk desk;
        QVERIFY(desk.open());
        desk.load("t.txt", "<tree>\nRoot\n  Music\n");
        desk.hover(desk.find("Music"));
        FolderNameDialog &dialog = desk.nameDialog();
        auto visit = onShown(dialog, [&dialog](Visit &visit) {
            QTest::keyClick(control<QLineEdit>(dialog, "nameEdit"), Qt::Key_Escape);
            QTest::keyClick(&dialog, Qt::Key_Escape);
            visit.stayedOpen = dialog.isVisible();
            dialog.setName("Docs");
            control<QPushButton>(dialog, "cancelButton")->click();
        });
        desk.action("addSubfolderAction")->trigger();
        QVERIFY(visit->stayedOpen);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(desk.tree().size(), 2u);

        auto cancel = answerName(dialog, "Renamed", false);
        desk.action("renameAction")->trigger();
        QVERIFY(cancel->shown);
        QCOMPARE(desk.topNames(), QStringList {"Music"});
    }

    void deleteNodes()
    {
        Desk desk;
        QVERIFY(desk.open());
        desk.load("t.txt", "<tree>\nRoot\n  Music\n    Rock\n  Books\n");
        desk.hover(desk.find("Music"));
        desk.action("deleteAction")->trigger();
        QCOMPARE(desk.topNames(), QStringList {"Books"});
        QCOMPARE(desk.tree().size(), 2u);
        desk.hover(desk.root());
        desk.action("deleteAction")->trigger();
        QVERIFY(desk.tree().empty());
        QCOMPARE(desk.model().rowCount(), 0);
        desk.action("saveTreeAction")->trigger();
        QVERIFY(desk.scripted.fileDialogs.calls.empty());
        QVERIFY(desk.scripted.messages.shown.empty());
    }

    void treeHistoryBringsBackTicks()
    {
        Desk desk;
        QVERIFY(desk.open());
        desk.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&desk.window()));
        QAction *undo = desk.action("undoTreeAction");
        QAction *redo = desk.action("redoTreeAction");
        auto keys = [&](Qt::KeyboardModifiers modifiers, Qt::Key key) {
            QTest::keyClick(desk.folderView(), key, modifiers);
        };
        desk.taskPanel()->setCurrentItem(desk.row("music category"));
        const NodeId jazz = desk.find("Jazz");
        desk.hover(desk.box(jazz).center());
        QTest::mouseClick(desk.viewport(), Qt::LeftButton, {}, desk.box(jazz).center());
        QCOMPARE(unticked(desk.tree()), "Jazz");
        QCOMPARE(undo->text(), "Undo Untick 'Jazz'");

        desk.taskPanel()->setCurrentItem(desk.row("book category"));
        QCOMPARE(undo->text(), "Undo Choose 'book category'");
        keys(Qt::ControlModifier, Qt::Key_Z);
        QCOMPARE(desk.topNames(), (QStringList {"Rock", "Jazz"}));
        QCOMPARE(unticked(desk.tree()), "Jazz");
        QCOMPARE(redo->text(), "Redo Choose 'book category'");

        desk.hover(desk.root());
        desk.action("deleteAction")->trigger();
        QVERIFY(desk.tree().empty());
        QCOMPARE(undo->text(), "Undo Delete '[Target Folder]'");
        QCOMPARE(redo->text(), "Redo");
        QVERIFY(!redo->isEnabled());
        undo->trigger();
        QCOMPARE(desk.topNames(), (QStringList {"Rock", "Jazz"}));
        QCOMPARE(unticked(desk.tree()), "Jazz");
        keys(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
        QVERIFY(desk.tree().empty());
        keys(Qt::ControlModifier, Qt::Key_Z);
        keys(Qt::ControlModifier, Qt::Key_Z);
        QCOMPARE(unticked(desk.tree()), "");
        keys(Qt::ControlModifier, Qt::Key_Y);
        QCOMPARE(unticked(desk.tree()), "Jazz");
        // The toolbar's undo stays the undo of a run on disk.
        QCOMPARE(desk.button("undoButton")->toolTip(), "Undo the last operation");
        QVERIFY(!desk.button("undoButton")->isEnabled());
        QVERIFY(desk.scripted.messages.shown.empty());
    }

    void taskCaptions_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("removed"); // a category list taken away first
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("message");
        auto row = [](const char *name, QString caption, QString removed, QStringList names,
                      QString message) {
            QTest::newRow(name) << caption << removed << names << message;
        };
        const QStringList seed {"Seed", "Other"};
        row("category row", "book category", "", {"Novels", "Comics"}, "");
        row("first word in the list order decides", "video and book", "", {"Films", "Series"}, "");
        row("words are case-sensitive", "Book list", "", seed, "");
        row("group row", "Create various category", "", seed, "");
        row("separator", Separator, "", seed, "");
        row("missing list", "book category", "Book.txt", seed,
            "'<install>Category/Book.txt' is missing.");
    }

    void taskCaptions()
    {
        QFETCH(QString, caption);
        QFETCH(QString, removed);
        QFETCH(QStringList, names);
        QFETCH(QString, message);
        Desk desk;
        QVERIFY(desk.open());
        if (!removed.isEmpty())
            std::filesystem::remove(desk.install + "Category/" + removed.toStdString());
        desk.load("seed.txt", "  Seed\r\n  Other\r\n");
        desk.window().runTask(caption.toStdString());
        QCOMPARE(desk.topNames(), names);
        const QStringList messages {describe(platform::englishInformation(
            message.replace("<install>", q(desk.install)).toStdString()))};
        QCOMPARE(desk.messages(), message.isEmpty() ? QStringList() : messages);
    }

    void freshStartClickOnSave()
    {
        Desk desk;
        QVERIFY(desk.open());
        desk.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&desk.window()));
        QTreeWidget *panel = desk.taskPanel();
        QTreeWidgetItem *group = panel->topLevelItem(0);
        // The focus makes the first row current without selecting it.
        panel->setFocus(Qt::TabFocusReason);
        QCOMPARE(panel->currentItem(), group);
        QVERIFY(panel->selectedItems().isEmpty());
        QTreeWidgetItem *save = desk.row("Save a folder structrue");
        QTest::mouseClick(panel->viewport(), Qt::LeftButton, {},
                          panel->visualItemRect(save).center());
        QCoreApplication::processEvents();
        QCOMPARE(desk.scripted.folderBrowser.titles,
                 std::vector<std::string> {"Select a folder to save its structure:"});
        QVERIFY(group->isExpanded());
        QCOMPARE(panel->selectedItems(), QList<QTreeWidgetItem *> {save});
        // The browse button now mirrors the folder it is given.
        desk.dir.makeDirs("disk/Alpha");
        desk.scripted.folderBrowser.queue(desk.dir / "disk");
        desk.button("browseButton")->click();
        QCOMPARE(desk.topNames(), QStringList {"Alpha"});
    }

    // What the person does in the task panel, one step a word: "click:ROW",
    // "press:ROW", "move:ROW", "release:ROW", "middle:ROW", "dclick:ROW" with ROW a
    // caption or "empty" (space below the rows), "key:down", "remove:NAME" (a
    // folder taken out of the tree), "create-queued:ROW" (a click on the row with
    // a click on "Create Now" waiting behind its release).
    void taskPanelInput_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QStringList>("messages");
        auto row = [](const char *name, QString steps, QStringList names, QString selected,
                      QStringList messages = {}) {
            QTest::newRow(name) << steps.split(' ') << names << selected << messages;
        };
        row("a click chooses the row", "click:book", {"Novels", "Comics"}, "book category");
        row("a drag chooses only where the button comes up",
            "press:load move:book move:photo move:bulk move:music release:music", {"Rock", "Jazz"},
            "music category");
        row("a click on empty space keeps the selection", "click:book click:empty",
            {"Novels", "Comics"}, "book category");
        row("a double click on empty space runs the selected row again",
            "click:music remove:Jazz dclick:empty", {"Rock", "Jazz"}, "music category");
        row("the middle button chooses nothing", "middle:book", {}, "");
        row("the keyboard chooses at once", "key:down", {"Novels", "Comics"}, "book category");
        row("a click waiting behind the release comes after the row", "create-queued:book",
            {"Novels", "Comics"}, "book category",
            {"You have not specified a valid target location!"});
    }

    void taskPanelInput()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, names);
        QFETCH(QString, selected);
        QFETCH(QStringList, messages);
        Desk desk;
        QVERIFY(desk.open());
        QTreeWidget *panel = desk.taskPanel();
        QWidget *rows = panel->viewport();
        const std::map<QString, QString> captions {{"book", "book category"},
                                                   {"photo", "photo category"},
                                                   {"music", "music category"},
                                                   {"load", "Load a folder structrue"},
                                                   {"bulk", "Create bulk folders"}};
        auto at = [&](const QString &name) {
            if (name == "empty") {
                const QRect last = panel->visualItemRect(desk.row("About Brindle"));
                return QPoint(last.center().x(), last.bottom() + 20);
            }
            return panel->visualItemRect(desk.row(captions.at(name))).center();
        };
        for (const QString &step : steps) {
            const QString verb = step.section(':', 0, 0);
            const QString what = step.section(':', 1);
            if (verb == "click")
                QTest::mouseClick(rows, Qt::LeftButton, {}, at(what));
            else if (verb == "press")
                QTest::mousePress(rows, Qt::LeftButton, {}, at(what));
            else if (verb == "move")
                QTest::mouseMove(rows, at(what));
            else if (verb == "release")
                QTest::mouseRelease(rows, Qt::LeftButton, {}, at(what));
            else if (verb == "middle")
                QTest::mouseClick(rows, Qt::MiddleButton, {}, at(what));
            else if (verb == "dclick")
                QTest::mouseDClick(rows, Qt::LeftButton, {}, at(what));
            else if (verb == "key") {
                panel->setFocus(Qt::TabFocusReason);
                QTest::keyClick(panel, Qt::Key_Down);
            } else if (verb == "remove")
                desk.model().removeNode(desk.find(what.toStdString()));
            else if (verb == "create-queued") {
                const QPointF row = at(what);
                QTest::mousePress(rows, Qt::LeftButton, {}, row.toPoint());
                QToolButton *create = desk.button("createButton");
                const QPointF middle = QRectF(create->rect()).center();
                const QPointF global = create->mapToGlobal(middle);
                QCoreApplication::postEvent(rows,
                                            new QMouseEvent(QEvent::MouseButtonRelease, row,
                                                            rows->mapToGlobal(row), Qt::LeftButton,
                                                            Qt::NoButton, Qt::NoModifier));
                QCoreApplication::postEvent(create,
                                            new QMouseEvent(QEvent::MouseButtonPress, middle,
                                                            global, Qt::LeftButton, Qt::LeftButton,
                                                            Qt::NoModifier));
                QCoreApplication::postEvent(create,
                                            new QMouseEvent(QEvent::MouseButtonRelease, middle,
                                                            global, Qt::LeftButton, Qt::NoButton,
                                                            Qt::NoModifier));
            }
            QCoreApplication::processEvents();
        }
        QCOMPARE(desk.topNames(), names);
        const QList<QTreeWidgetItem *> chosen = panel->selectedItems();
        QCOMPARE(chosen.isEmpty() ? QString() : chosen.constFirst()->text(0), selected);
        QCOMPARE(desk.scripted.messages.texts().size(), std::size_t(messages.size()));
        for (qsizetype i = 0; i < messages.size(); ++i)
            QCOMPARE(q(desk.scripted.messages.texts()[std::size_t(i)]), messages[i]);
        // No step ever chose the Load row, which would have asked for a file.
        QVERIFY(desk.scripted.fileDialogs.calls.empty());
    }

    void loadRows()
    {
        Desk desk;
        QVERIFY(desk.open());
        desk.dir.writeFile("first.txt", "<tree>\nLoaded\n  Kept\n");
        desk.dir.writeFile("second.txt", "  Again\r\n  More\r\n");
        desk.scripted.fileDialogs.queue(desk.dir / "first.txt");
        desk.taskPanel()->setCurrentItem(desk.row("Load a folder structrue"));
        QCOMPARE(q(desk.tree().text(desk.root())), "Loaded");
        QCOMPARE(desk.topNames(), QStringList {"Kept"});
        desk.window().runTask("Load a folder structrue"); // cancelled
        QCOMPARE(desk.topNames(), QStringList {"Kept"});
        desk.scripted.fileDialogs.queue(desk.dir / "second.txt");
        desk.window().runTask("Load then Save");
        QCOMPARE(desk.topNames(), (QStringList {"Again", "More"}));
        QVERIFY(desk.scripted.folderBrowser.titles.empty());
        QCOMPARE(desk.scripted.fileDialogs.calls.size(), 3u);
        QVERIFY(desk.scripted.messages.shown.empty());
    }

    void companionRows()
    {
        Desk desk;
        QVERIFY(desk.open());
        RenamerDialog &renamer = *desk.windows->renamerDialog;
        auto visit = onShown(renamer, [&](Visit &visit) {
            visit.topNames = desk.topNames();
            renamer.accept();
        });
        desk.window().runTask("music and Rename");
        QVERIFY(visit->shown);
        QCOMPARE(visit->topNames, (QStringList {"Rock", "Jazz"}));

        AboutDialog &about = *desk.windows->aboutDialog;
        auto aboutVisit = onShown(about, [&about](Visit &) { about.accept(); });
        desk.taskPanel()->setCurrentItem(desk.row("About Brindle"));
        QVERIFY(aboutVisit->shown);
        QVERIFY(!about.isVisible() && !renamer.isVisible());
    }

    void openFileMenu()
    {
        Desk desk;
        QVERIFY(desk.open());
        // The menu key over the panel, then Escape.
        auto menuKey = [&desk] {
            QContextMenuEvent key(QContextMenuEvent::Keyboard, {}, {});
            QCoreApplication::sendEvent(desk.taskPanel()->viewport(), &key);
            desk.child<QMenu>("taskMenu")->hide();
        };
        menuKey();
        QVERIFY(!desk.action("openListAction")->isEnabled());

        auto renamer = onShown(*desk.windows->renamerDialog,
                               [&desk](Visit &) { desk.windows->renamerDialog->accept(); });
        desk.taskPanel()->setCurrentItem(desk.row("Rename files"));
        QVERIFY(renamer->shown);
        menuKey();
        QVERIFY(desk.action("openListAction")->isEnabled());
        desk.action("openListAction")->trigger();
        QVERIFY(desk.scripted.shell.documents.empty());

        QTreeWidgetItem *photo = desk.row("photo category");
        desk.taskPanel()->setCurrentItem(photo);
        desk.action("openListAction")->trigger();
        QCOMPARE(desk.scripted.shell.documents,
                 std::vector<std::string> {desk.install + "Category/Photo.txt"});

        const QPoint music = desk.taskPanel()->visualItemRect(desk.row("music category")).center();
        QTest::mouseClick(desk.taskPanel()->viewport(), Qt::RightButton, {}, music);
        QCOMPARE(desk.taskPanel()->currentItem(), photo);
        QCOMPARE(desk.taskPanel()->selectedItems(), QList<QTreeWidgetItem *> {photo});
        QCOMPARE(desk.topNames(), (QStringList {"Family", "Travel"}));
        QVERIFY(desk.scripted.messages.shown.empty());
    }

    void typedTarget_data()
    {
        QTest::addColumn<QString>("typed"); // "<test>" stands for the test folder
        QTest::addColumn<int>("image");
        QTest::newRow("existing folder") << "<test>/target" << 2;
        QTest::newRow("missing folder") << "<test>/nothing" << 1;
        QTest::newRow("leading blanks kept") << "  <test>/target" << 1;
    }

    void typedTarget()
    {
        QFETCH(QString, typed);
        QFETCH(int, image);
        Desk desk;
        QVERIFY(desk.open());
        desk.dir.makeDirs("target");
        desk.load("t.txt", "  One\r\n  Two\r\n");
        typed.replace("<test>", q(desk.dir.path()));
        QTest::keyClicks(desk.targetBox()->lineEdit(), typed);
        QCOMPARE(q(desk.tree().text(desk.root())), typed);
        QCOMPARE(desk.tree().image(desk.root()), image);
    }

    void browseTarget()
    {
        Desk desk;
        QVERIFY(desk.open());
        desk.dir.makeDirs("target");
        desk.load("t.txt", "  One\r\n  Two\r\n");
        const QString target = q(desk.dir / "target");
        desk.scripted.folderBrowser.queue(target.toStdString());
        desk.button("browseButton")->click();
        QCOMPARE(desk.targetBox()->currentText(), target);
        QCOMPARE(q(desk.tree().text(desk.root())), target);
        QCOMPARE(desk.tree().image(desk.root()), 2);
        desk.button("browseButton")->click(); // cancelled
        QCOMPARE(desk.targetBox()->currentText(), target);
        QCOMPARE(q(desk.tree().text(desk.root())), target);
        QCOMPARE(
            desk.scripted.folderBrowser.titles,
            (std::vector<std::string> {"Select a target location", "Select a target location"}));
    }

    void browseMirrorsInSaveMode()
    {
        Desk desk;
        QVERIFY(desk.open());
        desk.dir.makeDirs("disk/Alpha/Inner/Deep");
        desk.dir.makeDirs("disk/Alpha/Second");
        desk.dir.makeDirs("disk/Beta");
        desk.dir.makeDirs("disk/.hidden");
        desk.taskPanel()->setCurrentItem(desk.row("Save a folder structrue"));
        QCOMPARE(desk.scripted.folderBrowser.titles,
                 std::vector<std::string> {"Select a folder to save its structure:"});
        QVERIFY(desk.scripted.fileDialogs.calls.empty());

        const QString disk = q(desk.dir / "disk");
        desk.scripted.folderBrowser.queue(disk.toStdString());
        desk.button("browseButton")->click();
        QVERIFY(desk.window().treeState().mirrorMode);
        QCOMPARE(desk.targetBox()->currentText(), disk);
        QCOMPARE(q(desk.tree().text(desk.root())), disk);
        QStringList names = desk.topNames();
        names.sort();
        QCOMPARE(names, (QStringList {"Alpha", "Beta"}));
        const NodeId alpha = desk.find("Alpha");
        QCOMPARE(desk.tree().childCount(alpha), 1u); // a stand-in for the rest

        desk.button("browseButton")->click(); // cancelled
        QCOMPARE(desk.tree().size(), 4u);
        QCOMPARE(desk.targetBox()->currentText(), disk);

        // Opening a branch reads the rest of it, ticked like the branch.
        desk.model().setTick(alpha, foldertree::Tick::Unticked);
        desk.folderView()->expand(desk.model().indexOf(alpha));
        names = childNames(desk.tree(), alpha);
        names.sort();
        QCOMPARE(names, (QStringList {"Inner", "Second"}));
        QCOMPARE(childNames(desk.tree(), desk.find("Inner")), QStringList {"Deep"});
        names = unticked(desk.tree()).split(',');
        names.sort();
        QCOMPARE(names, (QStringList {"Alpha", "Deep", "Inner", "Second"}));
    }

    void createAndUndo()
    {
        Desk desk;
        QVERIFY(desk.open());
        MainWindow &window = desk.window();
        desk.load("plan.txt", "<tree>\nPlan\n  One\n    Two\n  Three\n");
        window.setTargetLocation("  " + (desk.dir / "out") + "  ");
        desk.scripted.ui.setBusy(true); // a long operation runs: refused
        desk.button("createButton")->click();
        desk.scripted.ui.setBusy(false);
        QVERIFY(!desk.dir.exists("out") && desk.scripted.messages.shown.empty());
        QVERIFY(!desk.button("undoButton")->isEnabled());

        desk.scripted.messages.queue(Answer::No);
        desk.button("createButton")->click();
        for (const char *made : {"out/One", "out/One/Two", "out/Three"})
            QVERIFY2(desk.dir.isDirectory(made), made);
        QVERIFY(desk.button("undoButton")->isEnabled());
        QCOMPARE(desk.messages(),
                 QStringList {describe(
                     {"3 subfolders were created successfully!\nOpen the target location now?",
                      "Information", Buttons::YesNo, Icon::Information, Answer::Yes})});
        QCOMPARE(desk.targetBox()->currentText(), q(desk.dir / "out"));
        QVERIFY(desk.scripted.shell.locations.empty());

        desk.dir.makeDirs("trash");
        desk.scripted.trash = platform::ScriptedTrash(desk.dir / "trash");
        desk.scripted.messages.shown.clear();
        desk.button("undoButton")->click();
        QVERIFY(!desk.dir.exists("out/One") && !desk.dir.exists("out/Three"));
        QVERIFY(!desk.button("undoButton")->isEnabled());
        QCOMPARE(q(desk.scripted.messages.texts().back()), "Undo done.");
        QVERIFY(!desk.dir.exists("install/undo.udo"));
    }

    // A run stopped from its progress window keeps what it made, says so in its
    // summary and can undo exactly that; the window's commands stay refused.
    void cancelStopsRun()
    {
        Desk desk;
        QVERIFY(desk.open());
        constexpr int Branches = 20, Leaves = 150;
        std::string text = "<tree>\nBig\n";
        for (int i = 0; i < Branches; ++i) {
            text += "  d" + std::to_string(i) + "\n";
            for (int j = 0; j < Leaves; ++j)
                text += "    e" + std::to_string(j) + "\n";
        }
        desk.load("big.txt", text);
        const std::string out = desk.dir / "out";
        desk.window().setTargetLocation(out);
        desk.window().setProgressDelay(std::chrono::milliseconds(0));
        std::filesystem::remove(desk.install + "Category/Book.txt"); // a task that ran would say so

        QPointer<QDialog> progress;
        bool found = false;
        QString title, label;
        desk.scripted.ui.onProcessEvents = [&] {
            if (found)
                return;
            for (QWidget *top : QApplication::topLevelWidgets()) {
                for (QPushButton *button : top->findChildren<QPushButton *>()) {
                    if (button->window() == top && top->isVisible()
                        && button->accessibleName() == "Cancel" && button->text() == "Cancel")
                        progress = qobject_cast<QDialog *>(top);
                }
            }
            if (!progress)
                return;
            found = true;
            title = progress->windowTitle();
            for (QLabel *each : progress->findChildren<QLabel *>())
                label += each->text();
            // Clicks as the window system brings them: elsewhere while the run goes
            // on they change nothing; on Cancel they stop the run.
            auto click = [](QWidget *widget, QPoint at) {
                QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, {},
                                  widget->mapTo(widget->window(), at));
            };
            click(desk.button("createButton"), desk.button("createButton")->rect().center());
            click(desk.taskPanel()->viewport(),
                  desk.taskPanel()->visualItemRect(desk.row("book category")).center());
            click(desk.viewport(), desk.box(desk.find("d0")).center());
            for (QPushButton *button : progress->findChildren<QPushButton *>())
                if (button->accessibleName() == "Cancel")
                    click(button, button->rect().center());
        };
        desk.scripted.messages.queue(Answer::No);
        desk.button("createButton")->click();
        desk.scripted.ui.onProcessEvents = nullptr;

        QVERIFY(found);
        QCOMPARE(title, "Create Now");
        QVERIFY2(label.startsWith("1 folder made\n") && label.endsWith("/out/d0"),
                 qPrintable(label));
        QVERIFY(!QGuiApplication::overrideCursor());
        std::vector<std::string> made;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(out))
            made.push_back(entry.path().string());
        QVERIFY(!made.empty() && made.size() < std::size_t(Branches * (Leaves + 1)));
        QCOMPARE(desk.messages(),
                 QStringList {
                     describe({std::to_string(made.size())
                                   + " subfolders were created successfully!\nOpen the "
                                     "target location now?",
                               "Information", Buttons::YesNo, Icon::Information, Answer::Yes})});
        std::vector<std::string> logged;
        std::istringstream log(desk.dir.readFile("install/undo.udo"));
        for (std::string line; std::getline(log, line);)
            logged.push_back(line.substr(0, line.find('\r')));
        std::sort(made.begin(), made.end());
        std::sort(logged.begin(), logged.end());
        QCOMPARE(logged, made);
        QCOMPARE(desk.topNames().size(), Branches);
        QCOMPARE(unticked(desk.tree()), "");
    }

    // Message boxes show their text as it is, and never grow past the screen.
    void messageBoxText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("details");
        QTest::addColumn<QString>("fit");
        QTest::newRow("markup shown as written, details below") << "<b>x</b>"
                                                                << "<i>every</i> name"
                                                                << "as it is";
        QTest::newRow("long unbroken name cut, whole text in the details")
            << "Can not create subfolder: /" + QString(20000, 'n') << ""
            << "cut";
        QString path;
        for (int i = 0; i < 12; ++i)
            path += "/InvoicesAndReceipts" + QString::number(i);
        QTest::newRow("long path wraps at its separators, nothing cut, no details")
            << "Can not create subfolder: " + path << ""
            << "wrapped";
    }

    void messageBoxText()
    {
        QFETCH(QString, text);
        QFETCH(QString, details);
        QFETCH(QString, fit);
        QString shownText, shownDetails;
        int format = -1;
        QSize size, screen;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            shownText = box->text();
            shownDetails = box->detailedText();
            format = box->textFormat();
            size = box->frameGeometry().size();
            screen = box->screen()->availableGeometry().size();
            box->button(QMessageBox::Ok)->click();
        });
        const Answer answer = platform::QtMessages().ask(
            {platform::verbatim(text.toStdString()), "Caption", Buttons::Ok, Icon::Stop, Answer::Ok,
             platform::verbatim(details.toStdString())});
        QCOMPARE(answer, Answer::Ok);
        QCOMPARE(format, int(Qt::PlainText));
        if (fit == "cut") {
            QVERIFY(shownText.size() < text.size());
            QVERIFY(shownText.startsWith("Can not create subfolder: /nnn"));
            QCOMPARE(shownDetails, text);
        } else if (fit == "wrapped") {
            QVERIFY2(shownText.count('\n') >= 2, qPrintable(shownText));
            for (const QString &line : shownText.split('\n').mid(1))
                QVERIFY2(line.startsWith("InvoicesAndReceipts"), qPrintable(shownText));
            QCOMPARE(QString(shownText).remove('\n'), text);
            QCOMPARE(shownDetails, "");
        } else {
            QCOMPARE(shownText, text);
            QCOMPARE(shownDetails, details);
        }
        QVERIFY2(size.width() <= screen.width() && size.height() <= screen.height(),
                 qPrintable(QString("%1x%2").arg(size.width()).arg(size.height())));
    }

    // Escape answers a notice, never a question: that takes one of its buttons.
    void messageBoxEscape_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Abort, Retry, Ignore stays open") << int(Buttons::AbortRetryIgnore) << false;
        QTest::newRow("Yes, No stays open") << int(Buttons::YesNo) << false;
        QTest::newRow("OK closes") << int(Buttons::Ok) << true;
    }

    void messageBoxEscape()
    {
        QFETCH(int, buttons);
        QFETCH(bool, closes);
        bool openAfterEscape = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box,
                            Qt::Key_Escape);
            openAfterEscape = box->isVisible();
            if (openAfterEscape)
                box->buttons().constFirst()->click();
        });
        platform::QtMessages().ask({platform::verbatim("Question"), "Caption", Buttons(buttons),
                                    Icon::Question, Answer::No});
        QCOMPARE(!openAfterEscape, closes);
    }

    void largeLoadIgnoresInput()
    {
        Desk desk;
        QVERIFY(desk.open());
        // Levels 1, 2, 3, 4, 1, 2, ... : every line a child of the one before, or of the root.
        constexpr int Lines = 20000;
        std::string text = "<tree>\nBig\n";
        for (int i = 0; i < Lines; ++i)
            text += std::string(2 * (1 + i % 4), ' ') + "n" + std::to_string(i) + "\n";
        desk.window().setTargetLocation(desk.dir / "out");
        // Input arrives while the load runs: at every event pass, and when the model
        // shows the first stage of the load (a reset in the middle of it). Book.txt is
        // gone, so a task that ran would say so.
        std::filesystem::remove(desk.install + "Category/Book.txt");
        QTreeWidgetItem *book = desk.row("book category");
        int inputs = 0;
        auto input = [&desk, book, &inputs] {
            if (!desk.scripted.ui.isBusy())
                return;
            ++inputs;
            desk.button("createButton")->click();
            desk.taskPanel()->setCurrentItem(book);
        };
        desk.scripted.ui.onProcessEvents = input;
        QObject::connect(&desk.model(), &QAbstractItemModel::modelReset, &desk.window(), input);
        desk.load("big.txt", text);
        desk.scripted.ui.onProcessEvents = nullptr;
        QVERIFY(inputs > 0);
        QVERIFY(!book->isSelected()); // the row chosen meanwhile was refused

        const std::vector<NodeId> order = desk.tree().preorder();
        QCOMPARE(order.size(), std::size_t(Lines + 1));
        QCOMPARE(q(desk.tree().text(order[0])), "Big");
        for (int i = 0; i < Lines; ++i) {
            const NodeId node = order[std::size_t(i) + 1];
            if (desk.tree().text(node) != "n" + std::to_string(i)
                || desk.tree().level(node) != 1 + i % 4)
                QFAIL(qPrintable("line " + QString::number(i) + " misplaced"));
        }
        QCOMPARE(unticked(desk.tree()), "");
        QVERIFY(desk.folderView()->isExpanded(desk.model().index(0, 0)));
        QVERIFY(desk.scripted.messages.shown.empty());
        QVERIFY(!desk.dir.exists("out"));
    }

private:
    std::unique_ptr<testsupport::TempDir> m_settingsHome;
    std::string m_startFolder;
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
