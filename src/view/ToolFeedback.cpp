#include "view/ToolFeedback.h"

#include "view/ViewGeometry.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace ToolFeedback {

namespace {

QPen FeedbackPen(bool dotted)
{
    QPen pen(Qt::black, 0);
    pen.setCapStyle(Qt::FlatCap);
    if (dotted)
        pen.setDashPattern({1.0, 1.0});
    return pen;
}

// Inverting, unfilled, aliased: drawing the same figure twice removes it.
void PrepareInverting(QPainter& painter, bool dotted)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(FeedbackPen(dotted));
    painter.setBrush(Qt::NoBrush);
}

} // namespace

QRect BandRect(QPointF from, QPointF to)
{
    const int x0 = TruncPixel(from.x()), y0 = TruncPixel(from.y());
    const int x1 = TruncPixel(to.x()), y1 = TruncPixel(to.y());
    const int left = std::min(x0, x1), right = std::max(x0, x1);
    const int top = std::min(y0, y1), bottom = std::max(y0, y1);
    // A stroked QRect covers x .. x + width, hence width = right - left.
    return QRect(left, top, right - left, bottom - top);
}

void DrawBand(QPainter& painter, Figure figure, const QRect& band)
{
    painter.save();
    PrepareInverting(painter, true);
    if (figure == Figure::Rectangle)
        painter.drawRect(band);
    else
        painter.drawEllipse(band);
    painter.restore();
}

QRegion BandRegion(Figure figure, const QRect& band)
{
    const QRect outer = band.adjusted(-2, -2, 3, 3);
    const QRect inner = band.adjusted(2, 2, -2, -2);
    if (figure == Figure::Rectangle)
        return inner.isValid() ? QRegion(outer) - QRegion(inner) : QRegion(outer);
    return inner.isValid() ? QRegion(outer, QRegion::Ellipse) - QRegion(inner, QRegion::Ellipse)
                           : QRegion(outer, QRegion::Ellipse);
}

void DrawLines(QPainter& painter, const std::vector<QPointF>& points, bool dotted, bool closed)
{
    if (points.size() < 2)
        return;
    painter.save();
    PrepareInverting(painter, dotted);
    // Only what can reach the area being painted: a long trace repaints a
    // few pixels at a time.
    const QRectF clip = painter.hasClipping() ? painter.clipBoundingRect().adjusted(-2, -2, 2, 2) : QRectF();
    // Segment by segment, as the pixels of each are what gets inverted.
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const QPointF a = points[i], b = points[i + 1];
        if (!clip.isNull() && (std::max(a.x(), b.x()) < clip.left() || std::min(a.x(), b.x()) > clip.right() ||
                               std::max(a.y(), b.y()) < clip.top() || std::min(a.y(), b.y()) > clip.bottom()))
            continue;
        painter.drawLine(a, b);
    }
    if (closed)
        painter.drawLine(points.back(), points.front());
    painter.restore();
}

void DrawLine(QPainter& painter, QPointF a, QPointF b, bool dotted)
{
    DrawLines(painter, {a, b}, dotted);
}

QRegion LineRegion(QPointF a, QPointF b)
{
    const int x0 = TruncPixel(std::floor(a.x())), y0 = TruncPixel(std::floor(a.y()));
    const int x1 = TruncPixel(std::floor(b.x())), y1 = TruncPixel(std::floor(b.y()));
    // Short or axis-parallel segments: their box is tight enough.
    if (std::abs(x1 - x0) < 24 || std::abs(y1 - y0) < 24)
        return QRect(QPoint(std::min(x0, x1), std::min(y0, y1)), QPoint(std::max(x0, x1), std::max(y0, y1)))
            .adjusted(-2, -2, 2, 2);
    // A long diagonal: a thin band along it rather than its whole box.
    const double dx = x1 - x0, dy = y1 - y0, len = std::hypot(dx, dy);
    const double nx = -dy / len * 3, ny = dx / len * 3;
    QPolygon band;
    band << QPoint(TruncPixel(x0 + nx), TruncPixel(y0 + ny)) << QPoint(TruncPixel(x1 + nx), TruncPixel(y1 + ny))
         << QPoint(TruncPixel(x1 - nx), TruncPixel(y1 - ny)) << QPoint(TruncPixel(x0 - nx), TruncPixel(y0 - ny));
    return QRegion(band) | QRect(x0 - 2, y0 - 2, 5, 5) | QRect(x1 - 2, y1 - 2, 5, 5);
}

} // namespace ToolFeedback
