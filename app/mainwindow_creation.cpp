// The target location, "Create Now" and the undo button.

#include "mainwindow.h"

#include "creationrun.h"
#include "foldertreeview.h"
#include "mirror.h"
#include "progresswindow.h"
#include "taskpanel.h"
#include "undo.h"

#include <QComboBox>

void MainWindow::onTargetEdited()
{
    if (m_tree.empty())
        return;
    const std::string text = targetLocation();
    m_model->setText(m_tree.root(), text);
    m_model->setImage(m_tree.root(),
                      m_services.fileSystem.isDirectory(text) ? foldertree::ExistingFolderImage
                                                              : foldertree::NewFolderImage);
}

void MainWindow::browseForTarget()
{
    const std::string folder = browseFolder(tr("Select a target location"));
    if (folder.empty())
        return;
    setTargetLocation(folder);
    if (m_taskPanel->selectedCaption().contains(QStringLiteral("Save"))) {
        foldertree::TreeContext context = treeContext();
        std::vector<std::string> leftOut;
        m_history->replaceTree(tr("Mirror ") + foldertree::TreeHistory::quoted(folder), [&] {
            leftOut = foldertree::mirrorFolder(context, m_icons, folder);
        });
        if (!leftOut.empty())
            m_services.messages.ask(
                foldertree::leftOutMessage(foldertree::LeftOutOfFolderTree, leftOut));
        return;
    }
    if (m_tree.empty())
        return;
    m_model->setText(m_tree.root(), folder);
    m_model->setImage(m_tree.root(),
                      m_services.fileSystem.isDirectory(folder) ? foldertree::ExistingFolderImage
                                                                : foldertree::NewFolderImage);
}

void MainWindow::createNow()
{
    std::string target = targetLocation();
    ProgressWindow progress(ProgressWindow::Kind::Creation, m_progressDelay, m_services.ui, this);
    creation::CreationContext context {
        .editor = *m_model,
        .messages = m_services.messages,
        .fileSystem = m_services.fileSystem,
        .ui = progress.ui(),
        .shell = m_services.shell,
        .logFolder = m_state.locations.logFolder,
        .focusTargetLocation = [this] { m_targetBox->setFocus(); },
        .enableUndo =
            [this] {
                m_undoAvailable = true;
                updateActions();
            },
        .showTarget =
            [this](const std::string &trimmed) {
                if (trimmed != targetLocation())
                    setTargetLocation(trimmed);
            },
        .progress = progress.report(),
        .makeLogFolder = m_state.locations.makeLogFolder,
    };
    creation::createTickedFolders(context, target);
}

void MainWindow::undoLastRun()
{
    ProgressWindow progress(ProgressWindow::Kind::Undo, m_progressDelay, m_services.ui, this);
    creation::UndoContext context {
        .messages = m_services.messages,
        .fileSystem = m_services.fileSystem,
        .ui = progress.ui(),
        .trash = m_services.trash,
        .logFolder = m_state.locations.logFolder,
        .setUndoEnabled =
            [this](bool enabled) {
                m_undoAvailable = enabled;
                updateActions();
            },
        .progress = progress.report(),
    };
    creation::undoLastRun(context);
}
