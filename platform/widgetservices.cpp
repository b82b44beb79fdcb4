#include "widgetservices.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include <algorithm>

namespace platform {

namespace {

QString fromBytes(const std::string &text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string pathBytes(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

QMessageBox::StandardButton standardButton(Answer answer)
{
    switch (answer) {
    case Answer::Ok:
        return QMessageBox::Ok;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    case Answer::Abort:
        return QMessageBox::Abort;
    case Answer::Retry:
        return QMessageBox::Retry;
    case Answer::Ignore:
        return QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

// A message box shows at most this much of a text, so that it fits the screen;
// the whole text then goes to the details, which scroll.
constexpr qsizetype ShownCharacters = 3000;
constexpr qsizetype ShownLines = 40;

// The text a box shows: cut after ShownCharacters or ShownLines, and every run
// without a blank wider than `width` pixels cut in its middle (a box wraps
// lines at blanks only, so such a run would make it wider than the screen).
// Returns true when anything was cut.
bool fitText(QString &text, const QFontMetrics &metrics, int width)
{
    qsizetype end = std::min(text.size(), ShownCharacters);
    qsizetype lines = 0;
    for (qsizetype i = 0; i < end; ++i) {
        if (text[i] == QLatin1Char('\n') && ++lines == ShownLines)
            end = i;
    }
    if (end > 0 && end < text.size() && text[end - 1].isHighSurrogate())
        --end;
    bool cut = end < text.size();
    QString fitted;
    qsizetype start = 0;
    while (start < end) {
        qsizetype runEnd = start;
        while (runEnd < end && !text[runEnd].isSpace())
            ++runEnd;
        const QString run = text.mid(start, runEnd - start);
        if (metrics.horizontalAdvance(run) > width) {
            fitted += metrics.elidedText(run, Qt::ElideMiddle, width);
            cut = true;
        } else {
            fitted += run;
        }
        qsizetype blanksEnd = runEnd;
        while (blanksEnd < end && text[blanksEnd].isSpace())
            ++blanksEnd;
        fitted += text.mid(runEnd, blanksEnd - runEnd);
        start = blanksEnd;
    }
    if (end < text.size())
        fitted += QStringLiteral("...");
    if (cut)
        text = fitted;
    return cut;
}

} // namespace

Answer QtMessages::ask(const Message &message)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    if (message.icon == Icon::Question)
        icon = QMessageBox::Question;
    else if (message.icon == Icon::Stop)
        icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (message.buttons == Buttons::YesNo)
        buttons = QMessageBox::Yes | QMessageBox::No;
    else if (message.buttons == Buttons::AbortRetryIgnore)
        buttons = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;

    // No owner window, and every window of the program waits for the answer.
    QMessageBox box(icon, fromBytes(message.caption), QString(), buttons);
    // Names in a message are shown as they are, never read as markup.
    box.setTextFormat(Qt::PlainText);
    const QString text = fromBytes(message.text);
    QString shown = text;
    QString details = fromBytes(message.details);
    const int width = std::min(box.screen()->availableGeometry().width() / 2, 640);
    if (fitText(shown, box.fontMetrics(), width))
        details = details.isEmpty() ? text : text + QStringLiteral("\n\n") + details;
    box.setText(shown);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.setWindowModality(Qt::ApplicationModal);
    box.setDefaultButton(standardButton(message.defaultAnswer));
    if (message.buttons != Buttons::Ok)
        box.setEscapeButton(QMessageBox::NoButton);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Abort:
        return Answer::Abort;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    default:
        break;
    }
    // Closed without a button: the answer that changes nothing.
    if (message.buttons == Buttons::YesNo)
        return Answer::No;
    if (message.buttons == Buttons::AbortRetryIgnore)
        return Answer::Abort;
    return Answer::Ok;
}

std::string QtFolderBrowser::browse(const std::string &title)
{
    // The desktop's own folder picker where the platform has one.
    const QString chosen = QFileDialog::getExistingDirectory(nullptr, fromBytes(title), QString(),
                                                             QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return {};
    return pathBytes(QDir::toNativeSeparators(chosen));
}

std::string QtFileDialogs::run(const FileDialogOptions &options, const std::string &initialName)
{
    // The desktop's own file picker where the platform has one.
    QFileDialog dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    const bool saving = options.kind == FileDialogOptions::Kind::Save;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(
        saving ? QFileDialog::AnyFile
               : (options.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    if (!options.defaultSuffix.empty())
        dialog.setDefaultSuffix(fromBytes(options.defaultSuffix));
    QStringList filters;
    for (const auto &[description, pattern] : options.filters)
        filters << fromBytes(description) + QStringLiteral(" (") + fromBytes(pattern) + ')';
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!initialName.empty())
        dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(initialName)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return pathBytes(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

void DesktopShell::openDocument(const std::string &path)
{
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path))));
}

void DesktopShell::openLocation(const std::string &pathOrAddress)
{
    const QString text = fromBytes(pathOrAddress);
    if (text.contains(QStringLiteral("://")))
        QDesktopServices::openUrl(QUrl(text));
    else
        QDesktopServices::openUrl(
            QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(pathOrAddress))));
}

void QtUi::processEvents()
{
    QCoreApplication::processEvents();
}

void QtUi::setBusy(bool busy)
{
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

bool QtUi::isBusy() const
{
    return QGuiApplication::overrideCursor() != nullptr;
}

} // namespace platform
