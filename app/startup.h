#pragma once

#include "services.h"

#include <QApplication>

#include <string>

// The text of the error box: a full stop is added after a character above it
// (a letter or a digit) at the end of the English text, not after ")" or ".".
platform::MessageText errorBoxText(platform::MessageText message);

// Shows a failure that ended a command or start-up: stop icon, OK, and the
// executable's name as caption.
void showErrorBox(platform::MessageService &messages, const platform::MessageText &message);

// Shows the failure being handled in the error box: call it inside a catch
// block. The program's own failures show their text, any other its kind.
void showCurrentFailure(platform::MessageService &messages);

// The application whose event loop survives a failure in a handler: the
// failure is shown in the error box and the next event is handled.
class GuardedApplication : public QApplication
{
public:
    GuardedApplication(int &argc, char **argv, platform::MessageService &messages)
        : QApplication(argc, argv), m_messages(messages)
    { }
    bool notify(QObject *receiver, QEvent *event) override;

private:
    platform::MessageService &m_messages;
};
