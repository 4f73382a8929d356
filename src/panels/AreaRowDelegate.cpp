#include "AreaRowDelegate.h"

#include <QFont>
#include <QPainter>

CAreaRowDelegate::CAreaRowDelegate(int indent, int rowHeight, QObject* parent)
    : QStyledItemDelegate(parent), m_nIndent(indent), m_nRowHeight(rowHeight)
{
}

void CAreaRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect text = option.rect.adjusted(m_nIndent, 0, 0, 0);
    if (text.width() <= 0)
        return;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    painter->save();
    painter->fillRect(text, palette.color(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    painter->setFont(font);
    painter->setClipRect(text);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize CAreaRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return QSize(QStyledItemDelegate::sizeHint(option, index).width() + m_nIndent, m_nRowHeight);
}
