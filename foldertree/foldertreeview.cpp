#include "foldertreeview.h"

#include <QGuiApplication>
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
    setContextMenuPolicy(Qt::CustomContextMenu);
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
    // While the busy pointer shows, a run or a load owns the tree: boxes stay.
    const bool busy = QGuiApplication::overrideCursor() != nullptr;
    if (event->button() == Qt::LeftButton && index.isValid() && !busy
        && checkBoxRect(index).contains(at)) {
        const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        model()->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    QTreeView::mousePressEvent(event);
    emit mousePressed(event->button(), at);
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
