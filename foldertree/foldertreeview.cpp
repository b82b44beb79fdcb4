#include "foldertreeview.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace foldertree {

FolderTreeView::FolderTreeView(QWidget *parent) : QTreeView(parent)
{
    setMouseTracking(true);
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(true);
    setSortingEnabled(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

QRect FolderTreeView::checkBoxRect(const QModelIndex &index) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.features |= QStyleOptionViewItem::HasDecoration;
    option.text = index.data(Qt::DisplayRole).toString();
    option.icon = index.data(Qt::DecorationRole).value<QIcon>();
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

void FolderTreeView::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(event->position().toPoint());
    QTreeView::mouseMoveEvent(event);
}

void FolderTreeView::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const QModelIndex index = indexAt(at);
    if (event->button() == Qt::LeftButton && index.isValid() && !boxesLocked()
        && checkBoxRect(index).contains(at)) {
        const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        model()->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    QTreeView::mousePressEvent(event);
    emit mousePressed(event->button(), at);
}

void FolderTreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A second press on a box flips it again; elsewhere a double click opens
    // or closes the branch.
    const QPoint at = event->position().toPoint();
    const QModelIndex index = indexAt(at);
    if (event->button() == Qt::LeftButton && index.isValid() && checkBoxRect(index).contains(at)) {
        mousePressEvent(event);
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
}

void FolderTreeView::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex index = currentIndex();
    if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Select)
        && event->modifiers() == Qt::NoModifier && index.isValid()) {
        event->accept();
        if (boxesLocked())
            return;
        const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        model()->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        emit boxFlippedByKey(index);
        return;
    }
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        // The menu key's other form.
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, {}, {});
        contextMenuEvent(&menu);
        return;
    }
    QTreeView::keyPressEvent(event);
}

void FolderTreeView::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QRect row = visualRect(currentIndex());
        emit menuRequested(row.isValid() ? row.center() : viewport()->rect().center(), true);
    } else {
        emit menuRequested(event->pos(), false); // from the viewport
    }
}

bool FolderTreeView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // Boxes flip on the press only, never again on the release or a double click.
    if (event
        && (event->type() == QEvent::MouseButtonRelease
            || event->type() == QEvent::MouseButtonDblClick
            || event->type() == QEvent::MouseButtonPress))
        return false;
    return QTreeView::edit(index, trigger, event);
}

} // namespace foldertree
