#pragma once

// The windows of the program, created at start in this order: the main window,
// then the name dialog, the About dialog and the three companion dialogs, hidden.

#include "dialogs.h"
#include "modulestate.h"
#include "tform1.h"
#include "tform2.h"

#include <memory>

struct Windows
{
    // Builds every window; throws when the main window cannot be built.
    Windows(ModuleState &state, platform::Services services);

    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TAboutBox> AboutBox;
    std::unique_ptr<TForm3> Form3;
    std::unique_ptr<TForm4> Form4;
    std::unique_ptr<TForm5> Form5;
};

// Start-up to exit: builds the windows, runs the event loop until the main
// window closes. A failure at start is shown in the error box. Returns 0.
int runBrindle(platform::Services services);
