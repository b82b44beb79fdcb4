#include "widgetservices.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include <algorithm>
#include <vector>

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

// The run, wider than `width` pixels, broken into lines after its separators so
// that each line fits; a single component wider than that is cut in its middle,
// and `cut` set.
QString wrappedRun(const QString &run, const QFontMetrics &metrics, int width, bool &cut)
{
    const QChar separator = QLatin1Char(Separator);
    QString wrapped;
    QString line;
    qsizetype start = 0;
    while (start < run.size()) {
        qsizetype end = run.indexOf(separator, start);
        end = end < 0 ? run.size() : end + 1;
        QString piece = run.mid(start, end - start);
        start = end;
        if (metrics.horizontalAdvance(piece) > width) {
            piece = metrics.elidedText(piece, Qt::ElideMiddle, width);
            cut = true;
        }
        if (!line.isEmpty() && metrics.horizontalAdvance(line + piece) > width) {
            wrapped += line + QLatin1Char('\n');
            line.clear();
        }
        line += piece;
    }
    return wrapped + line;
}

// The text a box shows: cut after ShownCharacters or ShownLines, and every run
// without a blank wider than `width` pixels broken at its separators (a box
// wraps lines at blanks only, so such a run would make it wider than the
// screen). Returns true when anything was cut, not when a run was only broken
// into lines.
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
        if (metrics.horizontalAdvance(run) > width)
            fitted += wrappedRun(run, metrics, width, cut);
        else
            fitted += run;
        qsizetype blanksEnd = runEnd;
        while (blanksEnd < end && text[blanksEnd].isSpace())
            ++blanksEnd;
        fitted += text.mid(runEnd, blanksEnd - runEnd);
        start = blanksEnd;
    }
    if (end < text.size())
        fitted += QStringLiteral("...");
    text = fitted;
    return cut;
}

// The messages of the engine come as templates and arguments; the window shows
// each template in the desktop's language (context "Brindle", the catalogue in
// messages.cpp marks them for lupdate) and then puts the arguments in, so a
// name or a path is always shown as it is. Captions are translated whole.
constexpr const char *TranslationContext = "Brindle";

constexpr const char *Captions[] = {
    QT_TRANSLATE_NOOP("Brindle", "Information"),
    QT_TRANSLATE_NOOP("Brindle", "Undo Confirmation"),
};

QString translatedCaption(const QString &caption)
{
    for (const char *source : Captions) {
        if (caption == QLatin1String(source))
            return QCoreApplication::translate(TranslationContext, source);
    }
    return caption;
}

// The template with each %1..%9 replaced by its argument, in one pass, as
// fillTemplate() does in English.
QString filledTemplate(const QString &pattern, const std::vector<std::string> &arguments)
{
    QString filled;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == QLatin1Char('%') && i + 1 < pattern.size()
            && pattern[i + 1] >= QLatin1Char('1') && pattern[i + 1] <= QLatin1Char('9')) {
            const auto index = static_cast<std::size_t>(pattern[i + 1].unicode() - '1');
            if (index < arguments.size()) {
                filled += fromBytes(arguments[index]);
                ++i;
                continue;
            }
        }
        filled += pattern[i];
    }
    return filled;
}

// The text in the desktop's language: each template translated, then its
// arguments put in as they are.
QString shownText(const MessageText &text)
{
    QString translated;
    for (const MessagePart &part : text) {
        const std::string_view source = englishTemplate(part.id);
        const QString pattern = part.id == MessageId::Verbatim
            ? QString::fromUtf8(source.data(), static_cast<qsizetype>(source.size()))
            : QCoreApplication::translate(TranslationContext, source.data());
        translated += filledTemplate(pattern, part.arguments);
    }
    return translated;
}

// Swallows Escape, so that a question is answered only by one of its buttons.
class EscapeBlocker : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

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
    QMessageBox box(icon, translatedCaption(fromBytes(message.caption)), QString(), buttons);
    // Names in a message are shown as they are, never read as markup.
    box.setTextFormat(Qt::PlainText);
    const QString text = shownText(message.text);
    QString shown = text;
    QString details = shownText(message.details);
    const int width = std::min(box.screen()->availableGeometry().width() / 2, 640);
    if (fitText(shown, box.fontMetrics(), width))
        details = details.isEmpty() ? text : text + QStringLiteral("\n\n") + details;
    box.setText(shown);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.setWindowModality(Qt::ApplicationModal);
    box.setDefaultButton(standardButton(message.defaultAnswer));
    // A question is answered by a button only: Escape would pick an answer the
    // person did not choose.
    EscapeBlocker escapeBlocker;
    if (message.buttons != Buttons::Ok)
        box.installEventFilter(&escapeBlocker);
    // During a run the busy pointer shows; over the question, the normal one.
    const bool busy = QGuiApplication::overrideCursor() != nullptr;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const int pressed = box.exec();
    if (busy)
        QGuiApplication::restoreOverrideCursor();
    switch (pressed) {
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
    // It starts at the top of the folder hierarchy, not where a dialog was last.
    const QString chosen = QFileDialog::getExistingDirectory(
        nullptr, fromBytes(title), QDir::rootPath(), QFileDialog::ShowDirsOnly);
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
