#include "panels/ThumbnailArt.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QRect>

namespace ThumbnailArt {

namespace {

void DrawCross(QPainter& painter, const QColor& fill, const QColor& pen, QSize cell)
{
    const int w = cell.width(), h = cell.height();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(0, 0, w, h, fill);
    painter.setPen(QPen(pen, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, w - 1, h - 1);
    painter.drawLine(0, 0, w, h);
    painter.drawLine(w, 0, 0, h);
    painter.restore();
}

} // namespace

const QFont& CaptionFont()
{
    // Built on first use on the UI thread; QFont falls back by itself when
    // the family is missing.
    static const QFont font = [] {
        QFont f(QStringLiteral("Arial"));
        f.setPointSize(8);
        f.setWeight(QFont::Normal);
        return f;
    }();
    return font;
}

void DrawCaption(QPainter& painter, const QRect& rect, const QString& text, const QColor& colour)
{
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setFont(CaptionFont());
    painter.setPen(colour);
    const QString shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, rect.width());
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, shown);
    painter.restore();
}

void DrawCrossedBox(QPainter& normal, QPainter& selected, const QPalette& palette, QSize cell)
{
    DrawCross(normal, palette.color(QPalette::Window), palette.color(QPalette::WindowText), cell);
    DrawCross(selected, palette.color(QPalette::Highlight), palette.color(QPalette::HighlightedText), cell);
}

void DrawLoadingCell(QPainter& painter, const QRect& cell, const QString& caption, const QPalette& palette)
{
    DrawCaption(painter, CaptionRect(cell.size()).translated(cell.topLeft()), caption,
                palette.color(QPalette::PlaceholderText));
}

void DrawFocusFrame(QPainter& painter, const QRect& cell)
{
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    painter.restore();
}

QRect CaptionRect(QSize cell)
{
    return QRect(5, cell.height() - 20, cell.width() - 10, 20);
}

} // namespace ThumbnailArt
