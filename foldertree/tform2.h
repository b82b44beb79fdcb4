#pragma once

#include "services.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The name dialog of "Add subfolder" and "Rename": a prompt, an edit box that
// keeps its text from one use to the next, OK and Cancel. Names holding a
// character that file systems prohibit are refused with a message.
class TForm2 : public QDialog
{
    Q_OBJECT

public:
    TForm2(platform::MessageService &messages, double scale, QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *Edit1;
    QPushButton *Button1;
    QPushButton *Button2;

    // Set by OK when the name passes; the command clears it before showing.
    bool accepted = false;

    void Button1Click();
    void Button2Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    platform::MessageService &m_messages;
};
