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

    const Shown undo
        = showMessage({std::string(creation::UndoQuestion), std::string(creation::UndoCaption),
                       platform::Buttons::YesNo, platform::Icon::Question, platform::Answer::Yes});
    const Shown subfolder = showMessage(
        {std::string(creation::CannotCreateSubfolderMessage) + "/tmp/Fotos\nand 3 more",
         "Information", platform::Buttons::AbortRetryIgnore, platform::Icon::Information,
         platform::Answer::Retry});

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
    };
    for (const Row &row : rows)
        EXPECT_EQ(row.shown.toStdString(), row.expected.toStdString()) << row.name;
}

// The engine's messages are English constants shared with brindle-cli; the
// window's list of their texts must follow every change of them.
TEST(WindowLanguage, EngineMessagesAreShownInGerman)
{
    installTranslations();
    using platform::information;
    struct Row
    {
        const char *name;
        platform::Message message;
    };
    const Row rows[] = {
        {"no task", information(std::string(creation::NoTaskMessage))},
        {"invalid target", information(std::string(creation::InvalidTargetMessage))},
        {"target not made", information(std::string(creation::CannotCreateTargetMessage))},
        {"summary", information("3" + std::string(creation::SummaryMessage))},
        {"outside the target", information(creation::outsideTargetMessage("x"))},
        {"control character", information(creation::controlCharacterMessage("x"))},
        {"target control character", information(creation::targetControlCharacterMessage("x"))},
        {"undo done", information(std::string(creation::UndoDoneMessage))},
        {"undo stopped", information(std::string(creation::UndoStoppedMessage))},
        {"skipped lines", information(std::string(creation::SkippedLinesHeading))},
        {"kept back", creation::keptBackMessage({"/x"}, "")},
        {"log busy", information(std::string(creation::LogBusyMessage))},
        {"prohibited characters",
         information(std::string(foldertree::ProhibitedCharactersMessage))},
        {"left out of a tree file",
         foldertree::leftOutMessage(foldertree::LeftOutOfTreeFile, {"/x"})},
        {"left out of the folder tree",
         foldertree::leftOutMessage(foldertree::LeftOutOfFolderTree, {"/x"})},
    };
    for (const Row &row : rows) {
        const QString english = QString::fromStdString(row.message.text);
        const Shown shown = showMessage(row.message);
        EXPECT_NE(shown.text.toStdString(), english.toStdString()) << row.name;
        EXPECT_FALSE(shown.text.contains(QStringLiteral(" the "))) << row.name;
        EXPECT_EQ(shown.caption.toStdString(), "Hinweis") << row.name;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
