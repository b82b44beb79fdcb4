#pragma once

#include "services.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The name dialog of "Add subfolder" and "Rename": a prompt, a name box that
// keeps its text from one use to the next, OK and Cancel. Names holding a
// character that file systems prohibit are refused with a message, and the
// dialog stays open.
class FolderNameDialog : public QDialog
{
    Q_OBJECT

public:
    FolderNameDialog(platform::MessageService &messages, double scale, QWidget *parent = nullptr);

    // Shows the dialog modally with this title and prompt. True when OK accepted
    // a name, which name() then holds trimmed; false after Cancel or the close box.
    bool askName(const QString &title, const QString &prompt);

    QString name() const;
    void setName(const QString &name);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void acceptName();

    platform::MessageService &m_messages;
    QLabel *m_prompt;
    QLineEdit *m_nameEdit;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
    bool m_accepted = false;
};
