// The task panel: a chosen row's caption decides, by the words in it, what runs.

#include "tform1.h"

#include "foldertreeview.h"

#include <QDialog>
#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>
#include <array>

namespace {

struct Category
{
    std::string_view word;
    std::string_view file;
};

// Tested in this order; the first word found in a caption decides.
constexpr std::array<Category, 9> Categories = {{
    {"singer", "Singer.txt"},
    {"photo", "Photo.txt"},
    {"video", "Video.txt"},
    {"music", "Music.txt"},
    {"book", "Book.txt"},
    {"website", "Website.txt"},
    {"software", "Software.txt"},
    {"document", "Document.txt"},
    {"country", "Country.txt"},
}};

bool contains(std::string_view caption, std::string_view word)
{
    return caption.find(word) != std::string_view::npos;
}

// The list file of the first category word in the caption, or "" when none.
std::string categoryFile(std::string_view caption, const std::string &installFolder)
{
    for (const Category &category : Categories)
        if (contains(caption, category.word))
            return installFolder + "Category" + platform::Separator + std::string(category.file);
    return {};
}

// Says that a category's list file is not where it belongs.
void reportMissing(platform::MessageService &messages, const std::string &listFile)
{
    messages.ask(platform::information("'" + listFile + "' is missing."));
}

std::string captionOf(const QTreeWidgetItem *item)
{
    return item->text(0).toLocal8Bit().toStdString();
}

} // namespace

void TForm1::runTask(const std::string &caption)
{
    if (busy())
        return;
    const std::string listFile = categoryFile(caption, m_state.installFolder);
    if (!listFile.empty()) {
        if (m_services.fileSystem.isFile(listFile))
            LoadTreeFile(listFile);
        else
            reportMissing(m_services.messages, listFile);
    }

    if (contains(caption, "Load")) {
        const std::string fileName = execute(OpenDialog1);
        if (!fileName.empty())
            LoadTreeFile(fileName);
    } else if (contains(caption, "Save")) {
        CaptureFolderStructure();
    }

    if (contains(caption, "About"))
        SpeedButton5->click();
    else if (contains(caption, "Classify") && m_form3)
        m_form3->exec();
    else if (contains(caption, "Rename") && m_form4)
        m_form4->exec();
    else if (contains(caption, "bulk") && m_form5)
        m_form5->exec();
}

void TForm1::TreeView1Change(QTreeWidgetItem *node)
{
    if (node)
        runTask(captionOf(node));
}

void TForm1::TreeView1DblClick()
{
    if (QTreeWidgetItem *selected = TreeView1->currentItem(); selected && selected->isSelected())
        runTask(captionOf(selected));
}

void TForm1::PopupMenu2Popup()
{
    Openfile1->setEnabled(!TreeView1->selectedItems().isEmpty());
}

void TForm1::Openfile1Click()
{
    const QList<QTreeWidgetItem *> selected = TreeView1->selectedItems();
    if (selected.isEmpty())
        return;
    const std::string listFile
        = categoryFile(captionOf(selected.constFirst()), m_state.installFolder);
    if (listFile.empty())
        return;
    if (m_services.fileSystem.isFile(listFile))
        m_services.shell.openDocument(listFile);
    else
        reportMissing(m_services.messages, listFile);
}
