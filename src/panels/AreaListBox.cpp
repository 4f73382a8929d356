#include "AreaListBox.h"

#include "AreaRowDelegate.h"

#include <QSignalBlocker>

CAreaListBox::CAreaListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new CAreaRowDelegate(kTextIndent, kRowHeight, this));
    setAccessibleName(tr("Areas"));
}

void CAreaListBox::SetNames(const QStringList& names)
{
    const QSignalBlocker quiet(this);
    const QSignalBlocker quietSelection(selectionModel());
    clear();
    addItems(names);
    setCurrentRow(-1);
}

void CAreaListBox::SetCurrentRowQuietly(int row)
{
    const QSignalBlocker quiet(this);
    const QSignalBlocker quietSelection(selectionModel());
    if (row < 0 || row >= count()) {
        clearSelection();
        setCurrentRow(-1);
    } else {
        setCurrentRow(row);
    }
    viewport()->update();
}

int CAreaListBox::SelectedRow() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.front());
}
