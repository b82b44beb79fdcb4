// The window built as at start-up, under a German locale (set by the test's
// environment): its captions, the messages of the engine and Qt's own buttons
// are German.

#include "creationrun.h"
#include "foldernames.h"
#include "language.h"
#include "scripted.h"
#include "tempdir.h"
#include "treefile.h"
#include "undo.h"
#include "undolog.h"
#include "widgetservices.h"
#include "windows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// What a message box showed: its caption, its text and its buttons' texts.
struct Shown
{
    QString caption;
    QString text;
    QStringList buttons;
};

Shown showMessage(const platform::Message &message)
{
    Shown shown;
    QTimer::singleShot(0, [&shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown = {box->windowTitle(), box->text(), {}};
        for (QAbstractButton *button : box->buttons())
            shown.buttons << button->text().remove(QLatin1Char('&'));
        shown.buttons.sort();
        box->buttons().constFirst()->click();
    });
    platform::QtMessages messages;
    messages.ask(message);
    return shown;
}

TEST(WindowLanguage, GermanLocaleShowsGermanTexts)
{
    installTranslations();
    testsupport::TempDir dir;
    dir.makeDirs("Category");
    dir.writeFile("Category/Book.txt", "  Novels\r\n  Comics\r\n");
    platform::ScriptedServices scripted;
    scripted.settings.value = {platform::InstallDirSetting::State::Text, dir.path() + "/"};
    ModuleState state;
    Windows windows(state, scripted.services());
    MainWindow &window = *windows.mainWindow;
    // The row shows "Bücher", and its English caption still picks the book list.
    auto *tasks = window.findChild<QTreeWidget *>(QStringLiteral("taskPanel"));
    tasks->setCurrentItem(tasks->topLevelItem(0)->child(0));
    const QAbstractItemModel *tree
        = window.findChild<QTreeView *>(QStringLiteral("folderView"))->model();
    const QModelIndex root = tree->index(0, 0);
    const QString bookRow = tasks->topLevelItem(0)->child(0)->text(0) + QStringLiteral(": ")
        + tree->index(0, 0, root).data().toString() + QLatin1Char(' ')
        + tree->index(1, 0, root).data().toString();

    using platform::MessageId;
    using platform::messageText;
    const Shown undo
        = showMessage({messageText(MessageId::UndoQuestion), std::string(creation::UndoCaption),
                       platform::Buttons::YesNo, platform::Icon::Question, platform::Answer::Yes});
    platform::MessageText listed = messageText(MessageId::CannotCreateSubfolder, {"/tmp/Fotos"});
    platform::append(listed, messageText(MessageId::MoreNames, {"3"}));
    const Shown subfolder = showMessage({listed, "Information", platform::Buttons::AbortRetryIgnore,
                                         platform::Icon::Information, platform::Answer::Retry});
    // Folder names that read like messages are part of the path, not text to translate.
    const std::string englishPath = "/tmp/Cannot open file x/Can not create subfolder: %1 y";
    const Shown aroundPath = showMessage(
        platform::information(messageText(MessageId::CannotCreateSubfolder, {englishPath})));

    struct Row
    {
        const char *name;
        QString shown;
        QString expected;
    };
    const Row rows[] = {
        {"window caption", window.windowTitle(),
         QStringLiteral("Brindle - Unterordner für Kategorien anlegen")},
        {"toolbar hint", window.findChild<QToolButton *>(QStringLiteral("createButton"))->toolTip(),
         QStringLiteral("Jetzt anlegen")},
        {"task row", tasks->topLevelItem(0)->text(0), QStringLiteral("Kategorien anlegen")},
        {"category row and its list", bookRow, QStringLiteral("Bücher: Novels Comics")},
        {"question caption", undo.caption, QStringLiteral("Rückgängig machen bestätigen")},
        {"question text", undo.text,
         QStringLiteral("Möchten Sie den letzten Vorgang RÜCKGÄNGIG machen?")},
        {"Qt's yes and no", undo.buttons.join(QLatin1Char(',')), QStringLiteral("Ja,Nein")},
        {"message around a path", subfolder.text,
         QStringLiteral("Der Unterordner kann nicht angelegt werden: /tmp/Fotos\nund 3 weitere")},
        {"Qt's abort, retry and ignore", subfolder.buttons.join(QLatin1Char(',')),
         QStringLiteral("Abbrechen,Ignorieren,Wiederholen")},
        {"path of English message texts shown unchanged", aroundPath.text,
         QStringLiteral("Der Unterordner kann nicht angelegt werden: ")
             + QString::fromStdString(englishPath)},
    };
    for (const Row &row : rows)
        EXPECT_EQ(row.shown.toStdString(), row.expected.toStdString()) << row.name;
}

// Every message of the catalogue but the verbatim text reaches the window in
// German.
TEST(WindowLanguage, EngineMessagesAreShownInGerman)
{
    installTranslations();
    using platform::MessageId;
    for (int id = int(MessageId::MoreNames); id <= int(MessageId::UnknownFailure); ++id) {
        const platform::MessageText text = platform::messageText(MessageId(id), {"x", "/y"});
        const std::string english = platform::english(text);
        const Shown shown = showMessage(platform::information(text));
        EXPECT_NE(shown.text.toStdString(), english) << english;
        EXPECT_FALSE(shown.text.contains(QStringLiteral(" the "))) << english;
        EXPECT_EQ(shown.caption.toStdString(), "Hinweis") << english;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
