#include "startup.h"

#include "failure.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <new>

platform::MessageText errorBoxText(platform::MessageText message)
{
    const std::string text = platform::english(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        platform::append(message, platform::verbatim("."));
    return message;
}

void showErrorBox(platform::MessageService &messages, const platform::MessageText &message)
{
    const std::string title
        = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
    messages.ask({errorBoxText(message), title, platform::Buttons::Ok, platform::Icon::Stop,
                  platform::Answer::Ok});
}

void showCurrentFailure(platform::MessageService &messages)
{
    using platform::MessageId;
    platform::MessageText message;
    try {
        throw;
    } catch (const std::bad_alloc &) {
        message = platform::messageText(MessageId::OutOfMemory);
    } catch (const platform::Failure &failure) {
        message = failure.text();
    } catch (const std::exception &failure) {
        message = platform::verbatim(failure.what());
    } catch (...) {
        message = platform::messageText(MessageId::UnknownFailure);
    }
    showErrorBox(messages, message);
}

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showCurrentFailure(m_messages);
    }
    return false;
}
