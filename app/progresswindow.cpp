#include "progresswindow.h"

#include "messagetext.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

ProgressWindow::ProgressWindow(Kind kind, std::chrono::milliseconds delay, platform::Ui &ui,
                               QWidget *parent)
    : QDialog(parent), m_kind(kind), m_delay(delay), m_ui(ui), m_watchedUi(*this, ui)
{
    setObjectName(QStringLiteral("progressWindow"));
    setWindowTitle(kind == Kind::Creation ? tr("Create Now") : tr("Undo"));
    setWindowModality(Qt::ApplicationModal);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("progressLabel"));
    // Folder names are shown as they are, never read as markup; the path is cut
    // in the middle to this width, so the window keeps its size.
    m_label->setTextFormat(Qt::PlainText);
    m_label->setFixedWidth(m_label->fontMetrics().averageCharWidth() * 64);

    auto *cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setAccessibleName(tr("Cancel"));
    // Enter typed by chance does not stop the run; Escape does.
    cancelButton->setAutoDefault(false);
    connect(cancelButton, &QPushButton::clicked, this, &ProgressWindow::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

ProgressWindow::~ProgressWindow()
{
    endStretch();
}

platform::ProgressReport ProgressWindow::report()
{
    return [this](std::size_t done, const std::string &current) { return step(done, current); };
}

void ProgressWindow::reject()
{
    m_cancelled = true;
    QDialog::reject();
}

void ProgressWindow::WatchedUi::setBusy(bool busy)
{
    if (busy) {
        if (m_depth++ == 0)
            m_window.startStretch();
    } else if (--m_depth == 0) {
        // The window and its pointer go before the busy pointer, so the pointers
        // come off in the order they were set.
        m_window.endStretch();
    }
    m_ui.setBusy(busy);
}

void ProgressWindow::startStretch()
{
    m_start = std::chrono::steady_clock::now();
}

void ProgressWindow::endStretch()
{
    m_start.reset();
    if (!m_shown)
        return;
    m_shown = false;
    hide();
    QGuiApplication::restoreOverrideCursor();
}

bool ProgressWindow::step(std::size_t done, const std::string &current)
{
    if (m_cancelled)
        return false;
    if (!m_shown) {
        if (!m_start)
            startStretch(); // a run without a busy pointer: timed from here
        if (std::chrono::steady_clock::now() - *m_start < m_delay)
            return true;
        m_shown = true;
        // The busy pointer stays set, so the window's commands stay refused; the
        // Cancel button shows the pointer that says it can be clicked.
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        showProgress(done, current);
        show();
        m_ui.processEvents();
        return !m_cancelled;
    }
    if (!m_throttle.due())
        return true;
    showProgress(done, current);
    m_ui.processEvents();
    return !m_cancelled;
}

void ProgressWindow::showProgress(std::size_t done, const std::string &current)
{
    const QString count = QLocale().toString(qulonglong(done));
    QString text;
    if (m_kind == Kind::Creation)
        text = done == 1 ? tr("1 folder made") : tr("%1 folders made").arg(count);
    else
        text = done == 1 ? tr("1 folder moved to the trash")
                         : tr("%1 folders moved to the trash").arg(count);
    const std::string escaped = platform::escapeControl(current);
    const QString path
        = QString::fromLocal8Bit(escaped.data(), static_cast<qsizetype>(escaped.size()));
    m_label->setText(text + QLatin1Char('\n')
                     + m_label->fontMetrics().elidedText(path, Qt::ElideMiddle, m_label->width()));
}
