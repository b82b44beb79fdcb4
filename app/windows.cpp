#include "windows.h"

#include "failure.h"
#include "startup.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

Windows::Windows(ModuleState &state, platform::Services services)
{
    mainWindow = std::make_unique<MainWindow>(state, services);
    folderNameDialog = std::make_unique<FolderNameDialog>(services.messages, mainWindow->scale());
    aboutDialog = std::make_unique<AboutDialog>(services.shell);
    sorterDialog = std::make_unique<SorterDialog>(services.shell);
    renamerDialog = std::make_unique<RenamerDialog>(services.shell);
    foldermillDialog = std::make_unique<FoldermillDialog>(services.shell);
    mainWindow->setDialogs(folderNameDialog.get(), aboutDialog.get(), sorterDialog.get(),
                           renamerDialog.get(), foldermillDialog.get());
}

int runBrindle(platform::Services services)
{
    ModuleState state;
    try {
        Windows windows(state, services);
        MainWindow &window = *windows.mainWindow;
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frame = window.frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            window.move(frame.topLeft());
        }
        window.show();
        QApplication::exec();
    } catch (const platform::Failure &failure) {
        showErrorBox(services.messages, failure.text());
    }
    return 0;
}
