#pragma once

// The window that follows a long creation run or undo: how many folders are
// done, the one at hand, and a Cancel button that stops the run as Abort does.

#include "services.h"
#include "throttle.h"

#include <QDialog>

#include <chrono>
#include <optional>

class QLabel;

class ProgressWindow : public QDialog
{
    Q_OBJECT

public:
    enum class Kind { Creation, Undo };

    // Watches a run that uses `ui` as its event loop. The window stays hidden
    // until the run has shown its busy pointer for `delay`, so a short run looks
    // as if there were no window at all.
    ProgressWindow(Kind kind, std::chrono::milliseconds delay, platform::Ui &ui,
                   QWidget *parent = nullptr);
    ~ProgressWindow() override;

    // The event loop to hand to the run instead of `ui`: the same, except that
    // the window follows the busy pointer. Each stretch of it (an undo has one
    // to look at the folders and one to trash them) has its own delay, and the
    // window goes as soon as the stretch ends.
    platform::Ui &ui() { return m_watchedUi; }
    // The report to hand to the run: false once the person cancelled.
    platform::ProgressReport report();

public slots:
    // Cancel, Escape and closing the window.
    void reject() override;

private:
    // The event loop of the run, passed through, with the window tied to the
    // busy pointer.
    class WatchedUi : public platform::Ui
    {
    public:
        WatchedUi(ProgressWindow &window, platform::Ui &ui) : m_window(window), m_ui(ui) { }
        void processEvents() override { m_ui.processEvents(); }
        void setBusy(bool busy) override;
        bool isBusy() const override { return m_ui.isBusy(); }

    private:
        ProgressWindow &m_window;
        platform::Ui &m_ui;
        int m_depth = 0;
    };

    // One step of the run: shows the window once the delay has passed and lets
    // window events run at most every few dozen milliseconds. O(1) between
    // those passes.
    bool step(std::size_t done, const std::string &current);
    void startStretch();
    // Hides the window and gives the pointer back.
    void endStretch();
    void showProgress(std::size_t done, const std::string &current);

    Kind m_kind;
    std::chrono::milliseconds m_delay;
    platform::Ui &m_ui;
    WatchedUi m_watchedUi;
    QLabel *m_label = nullptr;
    std::optional<std::chrono::steady_clock::time_point> m_start;
    platform::EventThrottle m_throttle;
    bool m_shown = false;
    bool m_cancelled = false;
};
