#include "widgetservices.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
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

// The messages of the engine are English, as brindle-cli shows them; the
// window shows them in the desktop's language. Their texts are translated here
// in the context "Brindle": a caption or a whole message by its text, and a
// message built around names, paths or counts piece by piece.
constexpr const char *TranslationContext = "Brindle";

constexpr const char *Captions[] = {
    QT_TRANSLATE_NOOP("Brindle", "Information"),
    QT_TRANSLATE_NOOP("Brindle", "Undo Confirmation"),
};

// The fixed pieces of messages, each replaced wherever it occurs. Each is long
// enough that a name or a path does not hold it by chance.
constexpr const char *Pieces[] = {
    // A run
    QT_TRANSLATE_NOOP("Brindle", "Please select a task at left panel."),
    QT_TRANSLATE_NOOP("Brindle", "You have not specified a valid target location!"),
    QT_TRANSLATE_NOOP("Brindle", "Can not create target location:"),
    QT_TRANSLATE_NOOP("Brindle", "Can not create subfolder: "),
    QT_TRANSLATE_NOOP("Brindle",
                      " subfolders were created successfully!\nOpen the target location now?"),
    QT_TRANSLATE_NOOP("Brindle", "The folder name '"),
    QT_TRANSLATE_NOOP("Brindle",
                      "' would lead outside the target location, so it is not created, and "
                      "neither is anything below it."),
    QT_TRANSLATE_NOOP("Brindle",
                      "' holds a control character, so it is not created, and neither is "
                      "anything below it."),
    QT_TRANSLATE_NOOP("Brindle", "The target location '"),
    QT_TRANSLATE_NOOP("Brindle", "' holds a control character, so nothing is created."),
    QT_TRANSLATE_NOOP("Brindle",
                      "Another run or undo is in progress. Nothing was changed: try again when "
                      "it has finished."),
    // The undo
    QT_TRANSLATE_NOOP("Brindle", "Do you want to UNDO the last operation ?"),
    QT_TRANSLATE_NOOP("Brindle", "Undo done."),
    QT_TRANSLATE_NOOP("Brindle",
                      "The undo was stopped. The folders not yet moved to the trash stay in the "
                      "undo list: press Undo again to go on."),
    QT_TRANSLATE_NOOP("Brindle",
                      "These lines of the undo list do not name a folder a run could have made, "
                      "so they were left alone:"),
    QT_TRANSLATE_NOOP("Brindle",
                      "None of the folders the last run made is still there: the undo only "
                      "empties the undo list."),
    QT_TRANSLATE_NOOP("Brindle", " folder made by the last run will go to the trash, from "),
    QT_TRANSLATE_NOOP("Brindle", " folders made by the last run will go to the trash, from "),
    QT_TRANSLATE_NOOP("Brindle",
                      "These folders now also hold files or folders the last run did not make, "
                      "which will go to the trash with them:"),
    QT_TRANSLATE_NOOP("Brindle",
                      " line of the undo list names no folder a run could have made and will be "
                      "left alone."),
    QT_TRANSLATE_NOOP("Brindle",
                      " lines of the undo list name no folder a run could have made and will be "
                      "left alone."),
    QT_TRANSLATE_NOOP("Brindle",
                      "These folders could not be moved to the trash and were left where they "
                      "are:"),
    QT_TRANSLATE_NOOP("Brindle", "The trash said: "),
    QT_TRANSLATE_NOOP("Brindle", "They stay in the undo list: press Undo again to retry."),
    // Folder names
    QT_TRANSLATE_NOOP("Brindle", "No new name is inputted."),
    QT_TRANSLATE_NOOP("Brindle",
                      "You should remove one of following nine characters from input text, "
                      "because they are prohibited in Windows filenames:  \\ / : * ? \" < > |"),
    QT_TRANSLATE_NOOP("Brindle", "The new filename: '"),
    QT_TRANSLATE_NOOP("Brindle",
                      "' can not be renamed, because some names(con, aux, com1, lpt1, prn, nul) "
                      "are reserved by Windows, you should use another name."),
    QT_TRANSLATE_NOOP("Brindle",
                      "' can not be renamed, because the filename(plus path) is too long(>255 "
                      "characters), you should shorten it."),
    // Tree files, lists and settings
    QT_TRANSLATE_NOOP("Brindle",
                      "These folders were left out of the tree file, because a tree file cannot "
                      "hold their names or their paths are too long:"),
    QT_TRANSLATE_NOOP("Brindle",
                      "These folders were left out of the folder tree, because a tree file "
                      "cannot hold their names:"),
    QT_TRANSLATE_NOOP("Brindle", "' is missing."),
    QT_TRANSLATE_NOOP("Brindle", "Cannot open file "),
    QT_TRANSLATE_NOOP("Brindle", "Cannot create file "),
    QT_TRANSLATE_NOOP("Brindle", "Invalid data type for 'Installdir'"),
    // Failures
    QT_TRANSLATE_NOOP("Brindle", "Out of memory"),
    QT_TRANSLATE_NOOP("Brindle", "Unknown failure"),
};

// The end of a list cut short: "and 12 more".
constexpr const char *MoreNames = QT_TRANSLATE_NOOP("Brindle", "and %1 more");

QString translatedCaption(const QString &caption)
{
    for (const char *source : Captions) {
        if (caption == QLatin1String(source))
            return QCoreApplication::translate(TranslationContext, source);
    }
    return caption;
}

// The text with every piece of Pieces in the desktop's language; as it is
// under C or an English locale. O(text * pieces).
QString translatedText(const QString &text)
{
    if (text.isEmpty())
        return text;
    // The longest first, so that no piece is cut by a shorter one.
    std::vector<const char *> pieces(std::begin(Pieces), std::end(Pieces));
    std::stable_sort(pieces.begin(), pieces.end(),
                     [](const char *a, const char *b) { return qstrlen(a) > qstrlen(b); });
    QString translated = text;
    for (const char *source : pieces) {
        const QString target = QCoreApplication::translate(TranslationContext, source);
        if (target != QLatin1String(source))
            translated.replace(QString::fromUtf8(source), target);
    }
    static const QRegularExpression more(QStringLiteral("(^|\\n)and (\\d+) more(?=\\n|$)"));
    QString result;
    qsizetype done = 0;
    for (auto it = more.globalMatch(translated); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result += QStringView(translated).mid(done, match.capturedStart() - done);
        result += match.captured(1)
            + QCoreApplication::translate(TranslationContext, MoreNames).arg(match.captured(2));
        done = match.capturedEnd();
    }
    if (done == 0)
        return translated;
    result += QStringView(translated).mid(done);
    return result;
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
    QMessageBox box(icon, translatedCaption(fromBytes(message.caption)), QString(), buttons);
    // Names in a message are shown as they are, never read as markup.
    box.setTextFormat(Qt::PlainText);
    const QString text = translatedText(fromBytes(message.text));
    QString shown = text;
    QString details = translatedText(fromBytes(message.details));
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
