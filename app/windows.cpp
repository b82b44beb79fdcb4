#include "windows.h"

#include "failure.h"
#include "startup.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

Windows::Windows(ModuleState &state, platform::Services services)
{
    Form1 = std::make_unique<TForm1>(state, services);
    Form2 = std::make_unique<TForm2>(services.messages, Form1->scale());
    AboutBox = std::make_unique<TAboutBox>(services.shell);
    Form3 = std::make_unique<TForm3>(services.shell);
    Form4 = std::make_unique<TForm4>(services.shell);
    Form5 = std::make_unique<TForm5>(services.shell);
    Form1->setDialogs(Form2.get(), AboutBox.get(), Form3.get(), Form4.get(), Form5.get());
}

int runBrindle(platform::Services services)
{
    ModuleState state;
    try {
        Windows windows(state, services);
        TForm1 &form = *windows.Form1;
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frame = form.frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            form.move(frame.topLeft());
        }
        form.show();
        QApplication::exec();
    } catch (const platform::Failure &failure) {
        showErrorBox(services.messages, failure.what());
    }
    return 0;
}
