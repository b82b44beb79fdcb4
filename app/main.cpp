// Brindle: ready-made category folders, made in one run and undone in one press.

#include "language.h"
#include "posixfilesystem.h"
#include "qtsettings.h"
#include "startup.h"
#include "trash.h"
#include "widgetservices.h"
#include "windows.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // A failure that reaches the event loop or main is shown, not fatal.
    platform::QtMessages messages;
    GuardedApplication application(argc, argv, messages);
    // The settings keep their place (organisation and application name); the
    // desktop finds the menu entry and the icon by the desktop file name.
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmere"));
    QCoreApplication::setApplicationName(QStringLiteral("brindle"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRINDLE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(BRINDLE_APP_ID));
    installTranslations();
    platform::QtFolderBrowser folderBrowser;
    platform::QtFileDialogs fileDialogs;
    platform::DesktopShell shell;
    platform::SystemTrash trash;
    platform::PosixFileSystem fileSystem;
    platform::QtSettings settings;
    platform::QtUi ui;
    try {
        return runBrindle(
            {messages, folderBrowser, fileDialogs, shell, trash, fileSystem, settings, ui});
    } catch (...) {
        showCurrentFailure(messages);
    }
    return 0;
}
