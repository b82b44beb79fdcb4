#include "foldernamedialog.h"

#include "foldernames.h"
#include "treefile.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QRect scaled(double scale, int left, int top, int width, int height)
{
    return {qRound(left * scale), qRound(top * scale), qRound(width * scale),
            qRound(height * scale)};
}

} // namespace

FolderNameDialog::FolderNameDialog(platform::MessageService &messages, double scale,
                                   QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_messages(messages)
{
    setObjectName(QStringLiteral("folderNameDialog"));
    setModal(true);
    setFixedSize(qRound(446 * scale), qRound(169 * scale));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(qRound(13 * scale));
    setFont(font);

    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("prompt"));
    m_prompt->move(qRound(24 * scale), qRound(24 * scale));
    m_prompt->setMinimumWidth(qRound(400 * scale));
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_nameEdit->setGeometry(scaled(scale, 48, 64, 345, 24));
    m_prompt->setBuddy(m_nameEdit);
    m_okButton = new QPushButton(tr("OK"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setGeometry(scaled(scale, 208, 128, 75, 25));
    m_okButton->setDefault(true);
    m_okButton->setAutoDefault(true);
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setGeometry(scaled(scale, 344, 128, 75, 25));
    m_cancelButton->setAutoDefault(false);
    setTabOrder(m_nameEdit, m_okButton);
    setTabOrder(m_okButton, m_cancelButton);

    connect(m_okButton, &QPushButton::clicked, this, &FolderNameDialog::acceptName);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

bool FolderNameDialog::askName(const QString &title, const QString &prompt)
{
    setWindowTitle(title);
    m_prompt->setText(prompt);
    m_prompt->adjustSize();
    m_accepted = false;
    // Typing goes into the box, replacing its text, however the last visit ended.
    m_nameEdit->setFocus();
    m_nameEdit->selectAll();
    exec();
    return m_accepted;
}

QString FolderNameDialog::name() const
{
    return m_nameEdit->text();
}

void FolderNameDialog::setName(const QString &name)
{
    m_nameEdit->setText(name);
}

void FolderNameDialog::acceptName()
{
    const std::string typed = m_nameEdit->text().toLocal8Bit().toStdString();
    const std::string name(foldertree::trimmed(typed));
    m_nameEdit->setText(QString::fromLocal8Bit(name.data(), static_cast<qsizetype>(name.size())));
    if (name.empty()) {
        m_messages.ask(platform::information("No new name is inputted."));
        return;
    }
    if (!foldertree::checkProhibitedCharacters(name, m_messages))
        return;
    m_accepted = true;
    accept();
}

void FolderNameDialog::keyPressEvent(QKeyEvent *event)
{
    // Escape does not close the dialog; the close box and Cancel do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
