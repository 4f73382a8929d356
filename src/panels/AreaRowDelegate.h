#pragma once

#include <QStyledItemDelegate>

// Draws one row of the area list: the first pixels of the row left alone,
// then the name on the window or highlight colour.
class CAreaRowDelegate : public QStyledItemDelegate
{
public:
    CAreaRowDelegate(int indent, int rowHeight, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int m_nIndent;
    int m_nRowHeight;
};
