// Brindle: ready-made category folders, made in one run and undone in one press.

#include "language.h"
#include "posixfilesystem.h"
#include "qtsettings.h"
#include "trash.h"
#include "widgetservices.h"
#include "windows.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // The settings keep their place (organisation and application name); the
    // desktop finds the menu entry and the icon by the desktop file name.
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmere"));
    QCoreApplication::setApplicationName(QStringLiteral("brindle"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRINDLE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(BRINDLE_APP_ID));
    installTranslations();
    platform::QtMessages messages;
    platform::QtFolderBrowser folderBrowser;
    platform::QtFileDialogs fileDialogs;
    platform::DesktopShell shell;
    platform::SystemTrash trash;
    platform::PosixFileSystem fileSystem;
    platform::QtSettings settings;
    platform::QtUi ui;
    return runBrindle(
        {messages, folderBrowser, fileDialogs, shell, trash, fileSystem, settings, ui});
}
