#pragma once

#include <QTreeView>

namespace foldertree {

// The view of the folder tree. A press on a node's box flips that box at
// once, as the press is handled; the window then sees the press (mousePressed)
// and every pointer move (mouseMoved). Space flips the current node's box alone.
class FolderTreeView : public QTreeView
{
    Q_OBJECT

public:
    explicit FolderTreeView(QWidget *parent = nullptr);

    // The rectangle of the check box of the row at `index`, in viewport coordinates.
    QRect checkBoxRect(const QModelIndex &index) const;

signals:
    void mouseMoved(const QPoint &position);
    void mousePressed(Qt::MouseButton button, const QPoint &position);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
};

} // namespace foldertree
