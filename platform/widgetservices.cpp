#include "widgetservices.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

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
    QMessageBox box(icon, fromBytes(message.caption), fromBytes(message.text), buttons);
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
    const QString chosen = QFileDialog::getExistingDirectory(
        nullptr, fromBytes(title), QString(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return {};
    return pathBytes(QDir::toNativeSeparators(chosen));
}

std::string QtFileDialogs::run(const FileDialogOptions &options, const std::string &initialName)
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
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
