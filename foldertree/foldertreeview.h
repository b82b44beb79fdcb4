#pragma once

#include <QTreeView>

#include <functional>

namespace foldertree {

// The view of the folder tree. A press on a node's box flips that box at
// once, as the press is handled; the window then sees the press (mousePressed)
// and every pointer move (mouseMoved). Space flips the current node's box as
// a press on it does (boxFlippedByKey). A second quick press on a box is a
// press too, never a double click.
class FolderTreeView : public QTreeView
{
    Q_OBJECT

public:
    explicit FolderTreeView(QWidget *parent = nullptr);

    // The rectangle of the check box of the row at `index`, in viewport coordinates.
    QRect checkBoxRect(const QModelIndex &index) const;
    // While `locked` answers true, neither a press nor Space flips a box: a run
    // or a load owns the tree.
    void setBoxLock(std::function<bool()> locked) { m_boxesLocked = std::move(locked); }

signals:
    void mouseMoved(const QPoint &position);
    void mousePressed(Qt::MouseButton button, const QPoint &position);
    void boxFlippedByKey(const QModelIndex &index);
    // The popup menu is asked for at `position` (viewport coordinates): by the
    // keyboard (Menu key, Shift+F10) at the current row, else by the mouse.
    void menuRequested(const QPoint &position, bool fromKeyboard);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;

private:
    bool boxesLocked() const { return m_boxesLocked && m_boxesLocked(); }

    std::function<bool()> m_boxesLocked;
};

} // namespace foldertree
