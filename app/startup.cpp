#include "startup.h"

#include "failure.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <new>

std::string errorBoxText(const std::string &message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

void showErrorBox(platform::MessageService &messages, const std::string &message)
{
    const std::string title
        = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
    messages.ask({errorBoxText(message), title, platform::Buttons::Ok, platform::Icon::Stop,
                  platform::Answer::Ok});
}

void showCurrentFailure(platform::MessageService &messages)
{
    std::string message;
    try {
        throw;
    } catch (const std::bad_alloc &) {
        message = "Out of memory";
    } catch (const std::exception &failure) {
        message = failure.what();
    } catch (...) {
        message = "Unknown failure";
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
