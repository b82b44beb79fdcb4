#pragma once

// The windows of the program, created at start in this order: the main window,
// then the name dialog, the About dialog and the three companion dialogs, hidden.

#include "dialogs.h"
#include "foldernamedialog.h"
#include "mainwindow.h"
#include "modulestate.h"

#include <memory>

struct Windows
{
    // Builds every window; throws when the main window cannot be built.
    Windows(ModuleState &state, platform::Services services);

    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<FolderNameDialog> folderNameDialog;
    std::unique_ptr<AboutDialog> aboutDialog;
    std::unique_ptr<SorterDialog> sorterDialog;
    std::unique_ptr<RenamerDialog> renamerDialog;
    std::unique_ptr<FoldermillDialog> foldermillDialog;
};

// Start-up to exit: builds the windows, runs the event loop until the main
// window closes. A failure at start is shown in the error box. Returns 0.
int runBrindle(platform::Services services);
