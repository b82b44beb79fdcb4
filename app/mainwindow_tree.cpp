// The folder tree: pointer tracking and ticks, lazy loading, the popup
// commands, and reading and writing tree files.

#include "mainwindow.h"

#include "capture.h"
#include "failure.h"
#include "foldernamedialog.h"
#include "foldertreeview.h"
#include "mirror.h"
#include "paths.h"

using foldertree::NodeId;
using foldertree::NoNode;

void MainWindow::trackPointer(const QPoint &position)
{
    const NodeId node = m_model->nodeOf(m_folderView->indexAt(position));
    m_treeState.nodeUnderPointer = node;
    if (node != NoNode)
        m_treeState.nodeUnderPointerTicked = foldertree::isNodeTicked(m_tree, node);
}

void MainWindow::spreadTick()
{
    const NodeId node = m_treeState.nodeUnderPointer;
    if (node == NoNode)
        return;
    const bool ticked = foldertree::isNodeTicked(m_tree, node);
    if (ticked == m_treeState.nodeUnderPointerTicked)
        return; // the press flipped no box
    m_treeState.nodeUnderPointerTicked = ticked;
    // With the flip of the box itself, one step of the tree's history.
    m_history->spreadTick(node, ticked);
}

void MainWindow::spreadTickOf(const QModelIndex &index)
{
    const NodeId node = m_model->nodeOf(index);
    if (node != NoNode)
        m_history->spreadTick(node, foldertree::isNodeTicked(m_tree, node));
}

NodeId MainWindow::commandNode() const
{
    const NodeId node = m_keyboardNode ? *m_keyboardNode : m_treeState.nodeUnderPointer;
    return node != NoNode && m_tree.contains(node) ? node : NoNode;
}

void MainWindow::onCurrentFolder(void (MainWindow::*command)())
{
    m_keyboardNode = m_model->nodeOf(m_folderView->currentIndex());
    whenIdle([=, this] { (this->*command)(); });
    m_keyboardNode.reset();
}

void MainWindow::onFolderExpanded(const QModelIndex &index)
{
    foldertree::TreeContext context = treeContext();
    const std::vector<std::string> leftOut
        = foldertree::loadBranchOnExpand(context, m_model->nodeOf(index));
    if (!leftOut.empty())
        m_services.messages.ask(
            foldertree::leftOutMessage(foldertree::LeftOutOfFolderTree, leftOut));
}

void MainWindow::addSubfolder()
{
    const NodeId parent = commandNode();
    if (parent == NoNode || !m_nameDialog)
        return;
    if (!m_nameDialog->askName(tr("Add Subfolder"), tr("Add New Subfolder:"))
        || !m_tree.contains(parent))
        return;
    m_history->addSubfolder(parent, m_nameDialog->name().toLocal8Bit().toStdString());
}

void MainWindow::renameFolder()
{
    const NodeId node = commandNode();
    if (node == NoNode || !m_nameDialog)
        return;
    const QString current = foldertree::displayText(m_tree.text(node));
    m_nameDialog->setName(current);
    if (m_nameDialog->askName(tr("Rename Folder"), tr("Rename Folder: ") + current)
        && m_tree.contains(node) && m_nameDialog->name() != current)
        // An unchanged text keeps the name's bytes, even those that are no text.
        m_history->rename(node, m_nameDialog->name().toLocal8Bit().toStdString());
}

void MainWindow::deleteFolder()
{
    if (const NodeId node = commandNode(); node != NoNode)
        m_history->remove(node);
}

void MainWindow::saveTree()
{
    if (m_tree.empty())
        return;
    const std::string fileName = execute(m_saveDialog);
    if (fileName.empty())
        return;
    foldertree::LineBuffer lines;
    lines.append("<tree>");
    foldertree::writeTreeLines(m_tree, m_tree.root(), lines);
    const std::error_code error = m_services.fileSystem.writeFile(fileName, lines.joined());
    if (error)
        throw platform::cannotCreateFile(fileName);
}

void MainWindow::openTree()
{
    const std::string fileName = execute(m_openDialog);
    if (!fileName.empty())
        loadTreeFile(fileName);
}

void MainWindow::loadTreeFile(const std::string &fileName, const QString &step)
{
    foldertree::TreeContext context = treeContext();
    const std::string target = targetLocation();
    const std::string shortName(platform::finalPart(fileName));
    m_history->replaceTree(step.isEmpty() ? tr("Open ") + foldertree::TreeHistory::quoted(shortName)
                                          : step,
                           [&] { foldertree::loadTreeFile(context, target, fileName); });
}

std::string MainWindow::browseFolder(const QString &title)
{
    return m_services.folderBrowser.browse(title.toLocal8Bit().toStdString());
}

void MainWindow::captureFolderStructure()
{
    const std::string folder = browseFolder(tr("Select a folder to save its structure:"));
    if (folder.empty())
        return;
    const std::string fileName = execute(m_saveDialog);
    if (fileName.empty())
        return;
    foldertree::TreeContext context = treeContext();
    const std::vector<std::string> leftOut
        = foldertree::captureFolderToFile(context, folder, fileName);
    if (!leftOut.empty())
        m_services.messages.ask(foldertree::leftOutMessage(foldertree::LeftOutOfTreeFile, leftOut));
}

void MainWindow::undoTreeEdit()
{
    m_history->undo();
}

void MainWindow::redoTreeEdit()
{
    m_history->redo();
}
