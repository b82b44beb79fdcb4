#include "foldernamedialog.h"

#include "foldernames.h"
#include "treefile.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FolderNameDialog::FolderNameDialog(platform::MessageService &messages, double scale,
                                   QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_messages(messages)
{
    setObjectName(QStringLiteral("folderNameDialog"));
    setModal(true);
    auto px = [scale](int pixels) { return qRound(pixels * scale); };

    // The desktop's font, laid out: the prompt, the box below it, indented, and
    // OK and Cancel at the right; as wide as the prompt needs.
    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("prompt"));
    m_prompt->setMinimumWidth(px(400));
    m_prompt->setMaximumWidth(px(800));
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_nameEdit->setMinimumWidth(px(345));
    m_prompt->setBuddy(m_nameEdit);
    m_okButton = new QPushButton(tr("OK"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_okButton->setAutoDefault(true);
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setAutoDefault(false);
    for (QPushButton *button : {m_okButton, m_cancelButton})
        button->setMinimumSize(px(75), px(25));

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(px(24), px(24), px(24), px(16));
    layout->setSpacing(px(16));
    layout->addWidget(m_prompt);
    auto *box = new QHBoxLayout;
    box->addSpacing(px(24));
    box->addWidget(m_nameEdit, 1);
    box->addSpacing(px(29));
    layout->addLayout(box);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    buttons->addSpacing(px(61));
    buttons->addWidget(m_cancelButton);
    layout->addLayout(buttons);
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
        m_messages.ask(
            platform::information(platform::messageText(platform::MessageId::NoNewName)));
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
