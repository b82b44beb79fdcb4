// The task panel: a chosen row's caption decides, by the words in it, what runs.

#include "mainwindow.h"

#include "locations.h"
#include "taskpanel.h"

#include <QAction>
#include <QDialog>
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

// The list file of the first category word in the caption, relative to a data
// folder ("Category/Book.txt"), or "" when none.
std::string categoryFile(std::string_view caption)
{
    for (const Category &category : Categories)
        if (contains(caption, category.word))
            return "Category" + std::string(1, platform::Separator) + std::string(category.file);
    return {};
}

// Says that a category's list file is not where it belongs.
void reportMissing(platform::MessageService &messages, const std::string &listFile)
{
    messages.ask(
        platform::information(platform::messageText(platform::MessageId::ListMissing, {listFile})));
}

} // namespace

void MainWindow::runTask(const std::string &caption)
{
    if (const std::string list = categoryFile(caption); !list.empty()) {
        const std::string listFile
            = creation::dataFilePath(m_state.locations, m_services.fileSystem, list);
        if (m_services.fileSystem.isFile(listFile))
            loadTreeFile(listFile,
                         tr("Choose ")
                             + foldertree::TreeHistory::quoted(
                                 TaskPanel::tr(caption.c_str()).toLocal8Bit().toStdString()));
        else
            reportMissing(m_services.messages, listFile);
    }

    if (contains(caption, "Load")) {
        const std::string fileName = execute(m_openDialog);
        if (!fileName.empty())
            loadTreeFile(fileName);
    } else if (contains(caption, "Save")) {
        captureFolderStructure();
    }

    if (contains(caption, "About"))
        m_aboutAction->trigger();
    else if (contains(caption, "Classify") && m_sorterDialog)
        m_sorterDialog->exec();
    else if (contains(caption, "Rename") && m_renamerDialog)
        m_renamerDialog->exec();
    else if (contains(caption, "bulk") && m_foldermillDialog)
        m_foldermillDialog->exec();
}

void MainWindow::openCategoryList(const std::string &caption)
{
    const std::string list = categoryFile(caption);
    if (list.empty())
        return;
    // A list of the system is copied to the user's data folder first: the
    // person's edit is the one read next time.
    const std::string editable
        = creation::editableDataFile(m_state.locations, m_services.fileSystem, list);
    if (!editable.empty())
        m_services.shell.openDocument(editable);
    else
        reportMissing(m_services.messages,
                      creation::dataFilePath(m_state.locations, m_services.fileSystem, list));
}
