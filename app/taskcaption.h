#pragma once

// The caption of a row of the task panel in English, whatever the language
// shown: the words in it ("book", "Save", ...) decide what the row does.

#include <QCoreApplication>
#include <QTreeWidgetItem>

// The row's English caption while it shows its translation; the shown text
// once a person has edited it, as the edited words then decide.
inline QString taskCaption(const QTreeWidgetItem *item)
{
    const QString english = item->data(0, Qt::UserRole).toString();
    if (!english.isEmpty()
        && item->text(0)
            == QCoreApplication::translate("MainWindow", english.toLatin1().constData()))
        return english;
    return item->text(0);
}
