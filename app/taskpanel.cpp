#include "taskpanel.h"

#include "images.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

namespace {

struct Row
{
    const char *caption; // nullptr: a separator
    int level;
    const char *image;
};

// The rows in their order; the English caption decides what a row does.
const Row Rows[] = {
    {QT_TRANSLATE_NOOP("TaskPanel", "Create various category"), 0, "camera"},
    {QT_TRANSLATE_NOOP("TaskPanel", "book category"), 1, "book"},
    {QT_TRANSLATE_NOOP("TaskPanel", "photo category"), 1, "camera"},
    {QT_TRANSLATE_NOOP("TaskPanel", "music category"), 1, "music"},
    {QT_TRANSLATE_NOOP("TaskPanel", "video category"), 1, "film"},
    {QT_TRANSLATE_NOOP("TaskPanel", "singer category"), 1, "music"},
    {QT_TRANSLATE_NOOP("TaskPanel", "country category"), 1, "globe"},
    {QT_TRANSLATE_NOOP("TaskPanel", "software category"), 1, "folders"},
    {QT_TRANSLATE_NOOP("TaskPanel", "document category"), 1, "document"},
    {nullptr, 0, nullptr},
    {QT_TRANSLATE_NOOP("TaskPanel", "Save a folder structrue"), 0, "save-structure"},
    {QT_TRANSLATE_NOOP("TaskPanel", "Load a folder structrue"), 0, "load-structure"},
    {nullptr, 0, nullptr},
    {QT_TRANSLATE_NOOP("TaskPanel", "Rename files"), 0, "rename"},
    {QT_TRANSLATE_NOOP("TaskPanel", "Auto-Classify files"), 0, "classify"},
    {QT_TRANSLATE_NOOP("TaskPanel", "Create bulk folders"), 0, "folders"},
    {nullptr, 0, nullptr},
    {QT_TRANSLATE_NOOP("TaskPanel", "About Brindle"), 0, "about"},
};

} // namespace

TaskPanel::TaskPanel(double scale, QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("taskPanel"));
    setAccessibleName(tr("Tasks"));
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(qRound(27 * scale));
    setIconSize(QSize(qRound(24 * scale), qRound(24 * scale)));
    setRootIsDecorated(true);
    setExpandsOnDoubleClick(false);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setSelectionMode(QAbstractItemView::SingleSelection);
    addRows(scale);
    // The keyboard chooses at once; the mouse when its button comes up.
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!m_pressed)
            chooseSelected();
    });

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("taskMenu"));
    m_openListAction = m_menu->addAction(tr("Open file"));
    m_openListAction->setObjectName(QStringLiteral("openListAction"));
    connect(m_openListAction, &QAction::triggered, this, [this] {
        if (const QString caption = selectedCaption(); !caption.isEmpty())
            emit listRequested(caption);
    });
}

void TaskPanel::addRows(double scale)
{
    // Every row shows the globe while it is selected.
    const QSize size = iconSize();
    const QPixmap selected = ui::taskIcon("globe").pixmap(size);
    const QString separator(29, QLatin1Char('-'));
    QTreeWidgetItem *group = nullptr;
    for (const Row &row : Rows) {
        auto *item = row.level == 0 ? new QTreeWidgetItem(this) : new QTreeWidgetItem(group);
        if (row.caption) {
            item->setText(0, tr(row.caption));
            item->setData(0, Qt::UserRole, QString::fromLatin1(row.caption));
            QIcon icon;
            icon.addPixmap(ui::taskIcon(row.image).pixmap(size), QIcon::Normal);
            icon.addPixmap(selected, QIcon::Selected);
            item->setIcon(0, icon);
            item->setFlags(item->flags() | Qt::ItemIsEditable);
        } else {
            // A separator takes no focus and is read as what it is.
            item->setText(0, separator);
            item->setFlags(Qt::NoItemFlags);
            item->setData(0, Qt::AccessibleTextRole, tr("Separator"));
        }
        if (row.level == 0)
            group = item;
    }
    topLevelItem(0)->setExpanded(true);

    // Wide enough for the longest caption with its indent and icon, and for a
    // scroll bar should the rows not fit the height.
    const QFontMetrics metrics(font());
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    int widest = 0;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        const int depth = (*it)->parent() ? 2 : 1;
        widest = std::max(widest,
                          depth * indentation() + size.width() + 3 * margins
                              + metrics.horizontalAdvance((*it)->text(0)));
    }
    setMinimumWidth(
        std::max(qRound(217 * scale),
                 widest + 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent)));
}

QString TaskPanel::captionOf(const QTreeWidgetItem *row)
{
    const QString english = row->data(0, Qt::UserRole).toString();
    if (!english.isEmpty() && row->text(0) == tr(english.toLatin1().constData()))
        return english;
    return row->text(0);
}

QString TaskPanel::selectedCaption() const
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? QString() : captionOf(selected.constFirst());
}

void TaskPanel::choose(QTreeWidgetItem *row)
{
    if (row)
        setCurrentItem(row);
    else
        clearSelection();
}

QTreeWidgetItem *TaskPanel::row(const QString &shownText) const
{
    return findItems(shownText, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

void TaskPanel::chooseSelected()
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    QTreeWidgetItem *row = selected.isEmpty() ? nullptr : selected.constFirst();
    if (!row || row == m_chosen)
        return;
    if (m_refused && m_refused()) {
        // Refused: the selection goes back to the row chosen last.
        const QSignalBlocker quiet(this);
        if (m_chosen)
            setCurrentItem(m_chosen);
        else
            clearSelection();
        viewport()->update();
        return;
    }
    // One branch open at a time: the row that loses the selection closes.
    if (m_chosen && row->parent() != m_chosen)
        m_chosen->setExpanded(false);
    m_chosen = row;
    row->setExpanded(true);
    emit taskChosen(captionOf(row));
}

void TaskPanel::mousePressEvent(QMouseEvent *event)
{
    // Only the left button over a row selects; a right click leaves the
    // selection for the popup menu, a click on empty space keeps it.
    if (event->button() != Qt::LeftButton || !itemAt(event->position().toPoint())) {
        event->accept();
        return;
    }
    m_pressed = true;
    QTreeWidget::mousePressEvent(event);
}

void TaskPanel::mouseReleaseEvent(QMouseEvent *event)
{
    // A release whose press was not taken (another button, empty space) does
    // nothing: the selection stays.
    if (event->button() != Qt::LeftButton || !m_pressed) {
        event->accept();
        return;
    }
    QTreeWidget::mouseReleaseEvent(event);
    m_pressed = false;
    // Chosen now, before any input that waits behind the release.
    chooseSelected();
}

void TaskPanel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    // Over a row, the second press of a double click is a press like the first.
    if (itemAt(event->position().toPoint())) {
        m_pressed = true;
        QTreeWidget::mouseDoubleClickEvent(event);
    } else {
        event->accept();
    }
    // On a row or on empty space: the selected row runs again.
    if (const QString caption = selectedCaption(); !caption.isEmpty())
        emit taskRepeated(caption);
}

void TaskPanel::contextMenuEvent(QContextMenuEvent *event)
{
    m_openListAction->setEnabled(!selectedItems().isEmpty());
    m_menu->popup(event->globalPos());
}
