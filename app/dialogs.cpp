#include "dialogs.h"

#include "images.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(platform::Shell &shell, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(tr("About Brindle"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *icon = new QLabel(this);
    icon->setPixmap(ui::programIcon().pixmap(64, 64));
    top->addWidget(icon);
    auto *text = new QLabel(tr("<b>Brindle</b><br>Version %1<br><br>Ready-made category folders, "
                               "made in one run and undone in one press.<br><br>Made by Quillmere.")
                                .arg(QStringLiteral(BRINDLE_VERSION)),
                            this);
    text->setObjectName(QStringLiteral("productName"));
    top->addWidget(text, 1);
    layout->addLayout(top);
    auto *link = new QPushButton(tr("Visit the home page"), this);
    link->setObjectName(QStringLiteral("homePageButton"));
    layout->addWidget(link);
    connect(link, &QPushButton::clicked, this, [&shell] { shell.openLocation(HomePage); });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

CompanionDialog::CompanionDialog(platform::Shell &shell, const QString &name,
                                 const QString &description, const std::string &page,
                                 const std::string &download, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(name);
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(QStringLiteral("<b>%1</b><br><br>%2").arg(name, description), this);
    text->setWordWrap(true);
    text->setMinimumWidth(360);
    layout->addWidget(text);
    auto *row = new QHBoxLayout;
    auto *pageButton = new QPushButton(tr("Web page"), this);
    pageButton->setObjectName(QStringLiteral("webPageButton"));
    auto *downloadButton = new QPushButton(tr("Download"), this);
    downloadButton->setObjectName(QStringLiteral("downloadButton"));
    auto *close = new QPushButton(tr("Close"), this);
    row->addWidget(pageButton);
    row->addWidget(downloadButton);
    row->addStretch();
    row->addWidget(close);
    layout->addLayout(row);
    connect(pageButton, &QPushButton::clicked, this, [&shell, page] { shell.openLocation(page); });
    connect(downloadButton, &QPushButton::clicked, this,
            [&shell, download] { shell.openLocation(download); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

SorterDialog::SorterDialog(platform::Shell &shell, QWidget *parent)
    : CompanionDialog(shell, QStringLiteral("Sorter"),
                      tr("Sorter tidies a folder by moving its files into subfolders "
                         "by type: pictures, music, videos, documents, archives and "
                         "programs, each in a folder of its own."),
                      "https://quillmere.example/sorter/",
                      "https://quillmere.example/download/sorter/", parent)
{
    setObjectName(QStringLiteral("sorterDialog"));
}

RenamerDialog::RenamerDialog(platform::Shell &shell, QWidget *parent)
    : CompanionDialog(shell, QStringLiteral("Renamer"),
                      tr("Renamer renames many files at once: numbering, dates, "
                         "search and replace, and changes of case, with a preview "
                         "before anything is renamed."),
                      "https://quillmere.example/renamer/",
                      "https://quillmere.example/download/renamer/", parent)
{
    setObjectName(QStringLiteral("renamerDialog"));
}

FoldermillDialog::FoldermillDialog(platform::Shell &shell, QWidget *parent)
    : CompanionDialog(shell, QStringLiteral("Foldermill"),
                      tr("Foldermill makes numbered folders in bulk: a name pattern, "
                         "a first number and a count, such as Week 01 to Week 52."),
                      "https://quillmere.example/foldermill/",
                      "https://quillmere.example/download/foldermill/", parent)
{
    setObjectName(QStringLiteral("foldermillDialog"));
}
