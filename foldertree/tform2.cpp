#include "tform2.h"

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

TForm2::TForm2(platform::MessageService &messages, double scale, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_messages(messages)
{
    setObjectName(QStringLiteral("Form2"));
    setModal(true);
    setFixedSize(qRound(446 * scale), qRound(169 * scale));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(qRound(13 * scale));
    setFont(font);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(qRound(24 * scale), qRound(24 * scale));
    Label1->setMinimumWidth(qRound(400 * scale));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(scaled(scale, 48, 64, 345, 24));
    Label1->setBuddy(Edit1);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(scaled(scale, 208, 128, 75, 25));
    Button1->setDefault(true);
    Button1->setAutoDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(scaled(scale, 344, 128, 75, 25));
    Button2->setAutoDefault(false);
    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
}

void TForm2::Button1Click()
{
    const std::string typed = Edit1->text().toLocal8Bit().toStdString();
    const std::string name(foldertree::trimmed(typed));
    Edit1->setText(QString::fromLocal8Bit(name.data(), static_cast<qsizetype>(name.size())));
    if (name.empty()) {
        m_messages.ask(platform::information("No new name is inputted."));
        return;
    }
    if (!foldertree::checkProhibitedCharacters(name, m_messages))
        return;
    accepted = true;
    accept();
}

void TForm2::Button2Click()
{
    reject();
}

void TForm2::keyPressEvent(QKeyEvent *event)
{
    // Escape does not close the dialog; the close box and Cancel do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
