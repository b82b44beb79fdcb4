#pragma once

// The task panel at the window's left: the categories and the other tasks as
// rows with icons, and a popup menu that opens a category's list.

#include <QTreeWidget>

#include <functional>

class QAction;
class QMenu;

class TaskPanel : public QTreeWidget
{
    Q_OBJECT

public:
    // `scale` is the screen's factor against 120 dpi.
    explicit TaskPanel(double scale, QWidget *parent = nullptr);

    // While `refused` answers true, a row the person moves to is not chosen:
    // the selection goes back to the row chosen last.
    void setRefusal(std::function<bool()> refused) { m_refused = std::move(refused); }

    // The row's English caption while it shows its translation; the shown text
    // once a person has edited it, as the edited words then decide.
    static QString captionOf(const QTreeWidgetItem *row);
    // The English caption of the selected row; "" when none is selected.
    QString selectedCaption() const;

    // Chooses the row as a person does; `row` null clears the selection.
    void choose(QTreeWidgetItem *row);
    // The row with this shown text, or nullptr.
    QTreeWidgetItem *row(const QString &shownText) const;

signals:
    // A row was chosen: by the keyboard at once, by the left mouse button when
    // it comes up over the row.
    void taskChosen(const QString &caption);
    // A double click: the selected row again.
    void taskRepeated(const QString &caption);
    // "Open file" of the popup menu on the selected row.
    void listRequested(const QString &caption);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void addRows(double scale);
    // Chooses the selected row when it is not the one chosen last.
    void chooseSelected();

    QMenu *m_menu = nullptr;
    QAction *m_openListAction = nullptr;
    std::function<bool()> m_refused;
    // The row chosen last.
    QTreeWidgetItem *m_chosen = nullptr;
    // The left button is down over the rows: nothing is chosen until it comes up.
    bool m_pressed = false;
};
