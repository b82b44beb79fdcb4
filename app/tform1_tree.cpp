// The folder tree: pointer tracking and ticks, lazy loading, the popup
// commands, and reading and writing tree files.

#include "tform1.h"

#include "failure.h"
#include "foldertreeview.h"
#include "mirror.h"
#include "tform2.h"

#include <QLabel>
#include <QLineEdit>

using foldertree::NodeId;
using foldertree::NoNode;

void TForm1::TreeView2MouseMove(const QPoint &position)
{
    const NodeId node = m_model->nodeOf(TreeView2->indexAt(position));
    m_treeState.nodeUnderPointer = node;
    if (node != NoNode)
        m_treeState.nodeUnderPointerTicked = foldertree::isNodeTicked(m_tree, node);
}

void TForm1::TreeView2MouseDown()
{
    const NodeId node = m_treeState.nodeUnderPointer;
    if (node == NoNode || busy())
        return;
    const bool ticked = foldertree::isNodeTicked(m_tree, node);
    if (ticked == m_treeState.nodeUnderPointerTicked)
        return; // the press flipped no box
    m_treeState.nodeUnderPointerTicked = ticked;
    foldertree::setSubtreeTicked(*m_model, node, ticked);
    if (!ticked)
        return;
    for (NodeId up = m_tree.parent(node); up != NoNode && !foldertree::isNodeTicked(m_tree, up);
         up = m_tree.parent(up))
        foldertree::setNodeTicked(*m_model, up, true);
}

void TForm1::TreeView2Expanding(const QModelIndex &index)
{
    if (busy())
        return;
    foldertree::TreeContext context = treeContext();
    foldertree::loadBranchOnExpand(context, m_model->nodeOf(index));
}

void TForm1::Newsubfolder1Click()
{
    const NodeId parent = m_treeState.nodeUnderPointer;
    if (parent == NoNode || busy() || !m_form2)
        return;
    m_form2->setWindowTitle(QStringLiteral("Add Subfolder"));
    m_form2->Label1->setText(QStringLiteral("Add New Subfolder:"));
    m_form2->Label1->adjustSize();
    m_form2->accepted = false;
    m_form2->exec();
    if (!m_form2->accepted || !m_tree.contains(parent))
        return;
    const std::string name = m_form2->Edit1->text().toLocal8Bit().toStdString();
    const NodeId child = m_model->appendChild(parent, name, 1);
    foldertree::setNodeTicked(*m_model, child, true);
}

void TForm1::Rename1Click()
{
    const NodeId node = m_treeState.nodeUnderPointer;
    if (node == NoNode || busy() || !m_form2)
        return;
    const QString current = foldertree::displayText(m_tree.text(node));
    m_form2->setWindowTitle(QStringLiteral("Rename Folder"));
    m_form2->Label1->setText(QStringLiteral("Rename Folder: ") + current);
    m_form2->Label1->adjustSize();
    m_form2->Edit1->setText(current);
    m_form2->accepted = false;
    m_form2->exec();
    if (m_form2->accepted && m_tree.contains(node))
        m_model->setText(node, m_form2->Edit1->text().toLocal8Bit().toStdString());
}

void TForm1::Delete1Click()
{
    if (m_treeState.nodeUnderPointer != NoNode && !busy())
        m_model->removeNode(m_treeState.nodeUnderPointer);
}

void TForm1::Save1Click()
{
    if (m_tree.empty() || busy())
        return;
    const std::string fileName = execute(SaveDialog1);
    if (fileName.empty())
        return;
    m_state.lineBuffer.clear();
    m_state.lineBuffer.append("<tree>");
    foldertree::writeTreeLines(m_tree, m_tree.root(), m_state.lineBuffer);
    const std::error_code error
        = m_services.fileSystem.writeFile(fileName, m_state.lineBuffer.joined());
    m_state.lineBuffer.clear();
    if (error)
        throw platform::cannotCreateFile(fileName);
}

void TForm1::Open1Click()
{
    if (busy())
        return;
    const std::string fileName = execute(OpenDialog1);
    if (!fileName.empty())
        LoadTreeFile(fileName);
}

void TForm1::LoadTreeFile(const std::string &fileName)
{
    if (busy())
        return;
    foldertree::TreeContext context = treeContext();
    foldertree::loadTreeFile(context, targetLocation(), fileName);
}

void TForm1::CaptureFolderStructure()
{
    if (busy())
        return;
    const std::string folder
        = m_services.folderBrowser.browse("Select a folder to save its structure:");
    if (folder.empty())
        return;
    const std::string fileName = execute(SaveDialog1);
    if (fileName.empty())
        return;
    foldertree::TreeContext context = treeContext();
    foldertree::captureFolderToFile(context, folder, fileName, m_state.indentPrefix);
}
