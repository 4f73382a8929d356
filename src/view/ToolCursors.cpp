#include "view/ToolCursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ToolCursors {

namespace {

constexpr int kSize = 32;
constexpr qreal kScale = 2.0;

// Black strokes on a white halo read on any picture, as the inverted lines
// of a classic cursor do.
void Stroke(QPainter& p, const QPainterPath& path, qreal width = 1.0)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, width + 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(path);
}

QPainterPath Crosshair(QPoint hot)
{
    QPainterPath path;
    const qreal x = hot.x() + 0.5, y = hot.y() + 0.5;
    path.moveTo(x, y - 5);
    path.lineTo(x, y - 1.5);
    path.moveTo(x, y + 1.5);
    path.lineTo(x, y + 5);
    path.moveTo(x - 5, y);
    path.lineTo(x - 1.5, y);
    path.moveTo(x + 1.5, y);
    path.lineTo(x + 5, y);
    return path;
}

void DrawBadge(QPainter& p, Id id)
{
    QPainterPath path;
    switch (id) {
    case Rectangle:
        path.addRect(QRectF(12.5, 13.5, 12, 9));
        break;
    case Ellipse:
        path.addEllipse(QRectF(12.5, 13.5, 13, 9));
        break;
    case Polyline:
        path.moveTo(13.5, 22.5);
        path.lineTo(15.5, 13.5);
        path.lineTo(21.5, 17.5);
        path.lineTo(25.5, 12.5);
        path.lineTo(24.5, 23.5);
        path.closeSubpath();
        break;
    case Freehand:
        path.moveTo(14.5, 18.5);
        path.cubicTo(12, 12, 21, 10, 23.5, 15.5);
        path.cubicTo(27, 21, 20, 25, 17.5, 21.5);
        path.cubicTo(16, 19.5, 19, 17, 20.5, 19);
        break;
    case Surface:
        // A floor seen at an angle, with its tile joints.
        path.moveTo(14.5, 14.5);
        path.lineTo(24.5, 14.5);
        path.lineTo(27.5, 23.5);
        path.lineTo(11.5, 23.5);
        path.closeSubpath();
        path.moveTo(19.5, 14.5);
        path.lineTo(19.5, 23.5);
        path.moveTo(13, 19);
        path.lineTo(26, 19);
        break;
    case Zoom: {
        path.addEllipse(QRectF(11.5, 11.5, 10, 10));
        path.moveTo(20.5, 20.5);
        path.lineTo(26.5, 26.5);
        Stroke(p, path, 1.6);
        QPainterPath plus;
        plus.moveTo(14, 16.5);
        plus.lineTo(19, 16.5);
        plus.moveTo(16.5, 14);
        plus.lineTo(16.5, 19);
        p.setPen(QPen(Qt::black, 1.2));
        p.drawPath(plus);
        return;
    }
    case Hand:
    case Wand:
        break;
    }
    Stroke(p, path);
}

void DrawHand(QPainter& p)
{
    // An open hand: palm and four fingers, thumb to the left.
    QPainterPath hand;
    const qreal fingers[4][2] = {{8.5, 3.5}, {12.0, 2.0}, {15.5, 2.5}, {19.0, 5.0}};
    for (const auto& f : fingers)
        hand.addRoundedRect(QRectF(f[0], f[1], 3.2, 11.0), 1.6, 1.6);
    hand.addRoundedRect(QRectF(8.0, 9.0, 14.5, 12.0), 4.0, 4.0);
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(0, 0, 3.2, 9.0), 1.6, 1.6);
    hand.addPath(QTransform().translate(4.0, 8.5).rotate(-35).map(thumb));
    hand = hand.simplified();
    p.setPen(QPen(Qt::black, 1.0));
    p.setBrush(Qt::white);
    p.drawPath(hand);
}

void DrawWand(QPainter& p)
{
    // The stick from the tip at the hot spot down to the right, with a
    // sparkle round the tip.
    QPainterPath stick;
    stick.moveTo(7.5, 7.5);
    stick.lineTo(24.5, 24.5);
    Stroke(p, stick, 2.5);
    QPainterPath sparkle;
    for (const auto& [dx, dy] : {std::pair{0.0, -1.0}, {1.0, 0.0}, {-1.0, 0.0}, {0.0, 1.0}, {0.7, -0.7}, {-0.7, 0.7}, {-0.7, -0.7}}) {
        sparkle.moveTo(5.5 + 2.0 * dx, 5.5 + 2.0 * dy);
        sparkle.lineTo(5.5 + 4.5 * dx, 5.5 + 4.5 * dy);
    }
    Stroke(p, sparkle);
}

} // namespace

QPoint HotSpot(Id id)
{
    switch (id) {
    case Polyline: return QPoint(6, 6);
    case Hand: return QPoint(8, 8);
    default: return QPoint(5, 5);
    }
}

QCursor Get(Id id)
{
    QPixmap pixmap(int(kSize * kScale), int(kSize * kScale));
    pixmap.setDevicePixelRatio(kScale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (id == Hand) {
        DrawHand(p);
    } else if (id == Wand) {
        DrawWand(p);
    } else {
        Stroke(p, Crosshair(HotSpot(id)));
        DrawBadge(p, id);
    }
    p.end();
    const QPoint hot = HotSpot(id);
    return QCursor(pixmap, hot.x(), hot.y());
}

} // namespace ToolCursors
