#include "ToolIconEngine.h"

#include "ResourceIds.h"

#include <QPainter>
#include <QPixmap>
#include <QPainterPath>

namespace {

// Paints one drawing on the 16 x 16 grid. Lines of width 1 sit on half
// units so they fall on whole pixels at 16, 32, 48... pixels.
class Sketch
{
public:
    Sketch(QPainter& p, bool disabled) : m_p(p), m_bDisabled(disabled) {}

    QColor C(QColor c) const
    {
        if (!m_bDisabled)
            return c;
        const int g = qGray(c.rgb()) / 2 + 110;
        return QColor(g, g, g, c.alpha() * 3 / 4);
    }
    QPen Pen(QColor c, qreal w = 1.0) const
    {
        QPen pen(C(c), w);
        pen.setJoinStyle(Qt::MiterJoin);
        return pen;
    }
    QPen Dashed(QColor c) const
    {
        QPen pen = Pen(c);
        pen.setDashPattern({2.0, 2.0});
        pen.setCapStyle(Qt::FlatCap);
        return pen;
    }
    void Shape(const QPainterPath& path, QColor fill, QColor line)
    {
        m_p.setPen(line.isValid() ? Pen(line) : Qt::NoPen);
        m_p.setBrush(fill.isValid() ? QBrush(C(fill)) : Qt::NoBrush);
        m_p.drawPath(path);
    }
    void Poly(std::initializer_list<QPointF> pts, QColor fill, QColor line)
    {
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(pts)));
        path.closeSubpath();
        Shape(path, fill, line);
    }
    void Line(QPointF a, QPointF b, QPen pen)
    {
        m_p.setPen(pen);
        m_p.drawLine(a, b);
    }
    void Plus(QPointF c, QColor colour)
    {
        Badge(c, colour);
        Line(c - QPointF(2, 0), c + QPointF(2, 0), Pen(Qt::white, 1.4));
        Line(c - QPointF(0, 2), c + QPointF(0, 2), Pen(Qt::white, 1.4));
    }
    void Minus(QPointF c, QColor colour)
    {
        Badge(c, colour);
        Line(c - QPointF(2, 0), c + QPointF(2, 0), Pen(Qt::white, 1.4));
    }
    void Cross(QPointF c, QColor colour)
    {
        Badge(c, colour);
        Line(c + QPointF(-1.6, -1.6), c + QPointF(1.6, 1.6), Pen(Qt::white, 1.3));
        Line(c + QPointF(-1.6, 1.6), c + QPointF(1.6, -1.6), Pen(Qt::white, 1.3));
    }
    void Magnifier()
    {
        m_p.setPen(Pen(kInk, 1.2));
        m_p.setBrush(C(QColor(0xe8, 0xf2, 0xff)));
        m_p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
        Line({10, 10}, {14.5, 14.5}, Pen(kInk, 2.2));
    }
    QPainter& P() { return m_p; }

    static inline const QColor kInk{0x30, 0x30, 0x30};
    static inline const QColor kBlue{0x2a, 0x6f, 0xd6};
    static inline const QColor kGreen{0x2e, 0x9b, 0x45};
    static inline const QColor kRed{0xd2, 0x3a, 0x2a};
    static inline const QColor kArea{0x9c, 0xc8, 0x8e};
    static inline const QColor kPaper{0xff, 0xff, 0xff};

private:
    void Badge(QPointF c, QColor colour)
    {
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(C(colour));
        m_p.drawEllipse(c, 3.5, 3.5);
    }

    QPainter& m_p;
    bool m_bDisabled;
};

QPainterPath AreaShape()
{
    QPainterPath path;
    path.addPolygon(QPolygonF({{1.5, 4.5}, {9.5, 1.5}, {12.5, 7.5}, {6.5, 12.5}, {1.5, 10.5}}));
    path.closeSubpath();
    return path;
}

void DrawPicture(Sketch& s)
{
    s.Poly({{1.5, 2.5}, {14.5, 2.5}, {14.5, 13.5}, {1.5, 13.5}}, QColor(0xcf, 0xe6, 0xff), Sketch::kInk);
    s.P().setPen(Qt::NoPen);
    s.P().setBrush(s.C(QColor(0xf2, 0xb8, 0x2e)));
    s.P().drawEllipse(QPointF(10.5, 5.5), 1.5, 1.5);
    s.Poly({{2, 13}, {6, 7}, {9, 11}, {11, 9}, {14, 13}}, QColor(0x4f, 0x8f, 0x3a), QColor());
}

bool Draw(int id, Sketch& s)
{
    using S = Sketch;
    switch (id) {
    case IDR_MAINFRAME: {
        const QColor tiles[2] = {QColor(0xc9, 0x7b, 0x4a), QColor(0xe9, 0xd8, 0xb8)};
        s.P().setPen(Qt::NoPen);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) {
                s.P().setBrush(s.C(tiles[(x + y) % 2]));
                s.P().drawRect(QRectF(1 + x * 14.0 / 3, 1 + y * 14.0 / 3, 14.0 / 3, 14.0 / 3));
            }
        s.P().setBrush(Qt::NoBrush);
        s.P().setPen(s.Pen(S::kInk));
        s.P().drawRect(QRectF(0.5, 0.5, 15, 15));
        return true;
    }
    case ID_FILE_NEW:
        s.Poly({{3.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {3.5, 14.5}}, S::kPaper, S::kInk);
        s.Poly({{9.5, 1.5}, {9.5, 4.5}, {12.5, 4.5}}, QColor(0xdd, 0xdd, 0xdd), S::kInk);
        return true;
    case ID_FILE_OPEN:
        s.Poly({{1.5, 3.5}, {5.5, 3.5}, {6.5, 4.5}, {12.5, 4.5}, {12.5, 13.5}, {1.5, 13.5}},
               QColor(0xe8, 0xb3, 0x3a), S::kInk);
        s.Poly({{3.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}, {1.5, 13.5}}, QColor(0xf7, 0xd0, 0x6a), S::kInk);
        return true;
    case ID_FILE_SAVE:
        s.Poly({{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}}, S::kBlue, S::kInk);
        s.Poly({{4.5, 1.5}, {11.5, 1.5}, {11.5, 6.5}, {4.5, 6.5}}, S::kPaper, S::kInk);
        s.Poly({{4.5, 9.5}, {11.5, 9.5}, {11.5, 14.5}, {4.5, 14.5}}, QColor(0xdd, 0xdd, 0xdd), S::kInk);
        return true;
    case ID_EXPORT:
        DrawPicture(s);
        s.Poly({{8, 8}, {8, 16}, {16, 16}, {16, 8}}, S::kPaper, QColor());
        s.Line({9.5, 14.5}, {14.5, 9.5}, s.Pen(S::kGreen, 1.6));
        s.Poly({{10.5, 9}, {15, 9}, {15, 13.5}}, S::kGreen, QColor());
        return true;
    case ID_APP_ABOUT:
        s.P().setPen(Qt::NoPen);
        s.P().setBrush(s.C(S::kBlue));
        s.P().drawEllipse(QPointF(8, 8), 7, 7);
        s.P().setBrush(s.C(Qt::white));
        s.P().drawEllipse(QPointF(8, 4.5), 1.2, 1.2);
        s.P().drawRect(QRectF(7, 7, 2, 5.5));
        return true;
    case ID_CREATE_AREA:
        s.Shape(AreaShape(), S::kArea, S::kInk);
        s.Plus({11.5, 11.5}, S::kGreen);
        return true;
    case ID_DELETE_AREA:
        s.Shape(AreaShape(), S::kArea, S::kInk);
        s.Cross({11.5, 11.5}, S::kRed);
        return true;
    case ID_ADD_SELECTION_TO_AREA:
    case ID_DELETE_SELECTION_FROM_AREA:
        s.Shape(AreaShape(), S::kArea, S::kInk);
        s.P().setBrush(Qt::NoBrush);
        s.P().setPen(s.Dashed(S::kInk));
        s.P().drawRect(QRectF(5.5, 5.5, 7, 6));
        if (id == ID_ADD_SELECTION_TO_AREA)
            s.Plus({11.5, 11.5}, S::kGreen);
        else
            s.Minus({11.5, 11.5}, S::kRed);
        return true;
    case ID_CLEAR_SELECTION:
        s.P().setBrush(Qt::NoBrush);
        s.P().setPen(s.Dashed(S::kInk));
        s.P().drawRect(QRectF(1.5, 1.5, 11, 10));
        s.Cross({11.5, 11.5}, S::kRed);
        return true;
    case ID_SELECT_PICTURE:
        DrawPicture(s);
        return true;
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO: {
        // A curved arrow turning back (undo) or forward (redo).
        const bool undo = id == ID_EDIT_UNDO;
        s.P().save();
        if (!undo) {
            s.P().translate(16, 0);
            s.P().scale(-1, 1);
        }
        QPainterPath arc;
        arc.moveTo(4.5, 6.5);
        arc.lineTo(9.5, 6.5);
        arc.cubicTo(15.5, 6.5, 15.5, 13.5, 9.5, 13.5);
        arc.lineTo(6.5, 13.5);
        s.P().setBrush(Qt::NoBrush);
        QPen pen = s.Pen(S::kBlue, 1.8);
        pen.setCapStyle(Qt::FlatCap);
        s.P().setPen(pen);
        s.P().drawPath(arc);
        s.Poly({{0.8, 6.5}, {5.5, 2.3}, {5.5, 10.7}}, S::kBlue, QColor());
        s.P().restore();
        return true;
    }
    case ID_REFRESH: {
        QPainterPath arc;
        arc.arcMoveTo(QRectF(2.5, 2.5, 11, 11), 60);
        arc.arcTo(QRectF(2.5, 2.5, 11, 11), 60, 280);
        s.P().setBrush(Qt::NoBrush);
        QPen pen = s.Pen(S::kGreen, 1.8);
        pen.setCapStyle(Qt::FlatCap);
        s.P().setPen(pen);
        s.P().drawPath(arc);
        s.Poly({{8.2, 0.8}, {13.2, 3.2}, {9.2, 6.6}}, S::kGreen, QColor());
        return true;
    }
    case ID_ELLIPSE_SELECTION:
        s.P().setBrush(Qt::NoBrush);
        s.P().setPen(s.Dashed(S::kInk));
        s.P().drawEllipse(QRectF(1.5, 3.5, 13, 9));
        return true;
    case ID_RECT_SELECTION:
        s.P().setBrush(Qt::NoBrush);
        s.P().setPen(s.Dashed(S::kInk));
        s.P().drawRect(QRectF(1.5, 2.5, 13, 11));
        return true;
    case ID_POLYLINE_SELECTION: {
        const QPolygonF pts({{2.5, 12.5}, {4.5, 3.5}, {10.5, 6.5}, {13.5, 2.5}, {13.5, 12.5}});
        s.P().setBrush(Qt::NoBrush);
        s.P().setPen(s.Dashed(S::kInk));
        s.P().drawPolygon(pts);
        s.P().setPen(Qt::NoPen);
        s.P().setBrush(s.C(S::kBlue));
        for (const QPointF& p : pts)
            s.P().drawRect(QRectF(p - QPointF(1.25, 1.25), QSizeF(2.5, 2.5)));
        return true;
    }
    case ID_FREEHAND_SELECTION: {
        QPainterPath lasso;
        lasso.moveTo(3, 9);
        lasso.cubicTo(0, 3, 9, 0, 13, 3);
        lasso.cubicTo(16, 6, 12, 11, 7, 10.5);
        lasso.cubicTo(4.5, 10.3, 5, 13, 6.5, 14.5);
        s.P().setBrush(Qt::NoBrush);
        s.P().setPen(s.Dashed(S::kInk));
        s.P().drawPath(lasso);
        return true;
    }
    case ID_MAGIC_WAND: {
        s.Line(QPointF(2.5, 13.5), QPointF(10, 6), s.Pen(S::kInk, 2.0));
        s.Line(QPointF(10, 6), QPointF(11.2, 4.8), s.Pen(Qt::white, 2.0));
        const QColor gold(0xf0, 0xb4, 0x20);
        for (const auto& [a, b] : {std::pair{QPointF(12.5, 0.5), QPointF(12.5, 3)}, {QPointF(12.5, 6), QPointF(12.5, 8.5)},
                                   {QPointF(8.5, 3.5), QPointF(11, 3.5)}, {QPointF(14, 3.5), QPointF(15.5, 3.5)}})
            s.Line(a, b, s.Pen(gold, 1.2));
        return true;
    }
    case ID_FIND_SURFACE: {
        // A tiled floor seen at an angle, found whole.
        const QPolygonF floor({{4.5, 4.5}, {11.5, 4.5}, {15, 13.5}, {1, 13.5}});
        s.P().setPen(Qt::NoPen);
        s.P().setBrush(s.C(S::kBlue));
        s.P().drawPolygon(floor);
        s.P().setPen(QPen(s.C(S::kInk), 0.8));
        s.P().drawLine(QPointF(8, 4.5), QPointF(8, 13.5));
        s.P().drawLine(QPointF(2.9, 9), QPointF(13.3, 9));
        s.P().setBrush(Qt::NoBrush);
        s.P().setPen(s.Dashed(S::kInk));
        s.P().drawPolygon(floor);
        return true;
    }
    case ID_HAND: {
        const QColor skin(0xf4, 0xd2, 0xb0);
        QPainterPath hand;
        for (int i = 0; i < 4; ++i)
            hand.addRoundedRect(QRectF(4 + i * 2.5, 1.5 + (i == 0 || i == 3 ? 1.5 : 0), 2.3, 8), 1.1, 1.1);
        hand.addRoundedRect(QRectF(4, 6.5, 10, 8), 2.5, 2.5);
        QPainterPath thumb;
        thumb.moveTo(4.5, 12);
        thumb.lineTo(1.2, 7.8);
        thumb.cubicTo(0.6, 6.6, 2.2, 5.8, 3.0, 6.8);
        thumb.lineTo(5, 9);
        thumb.closeSubpath();
        hand = hand.united(thumb);
        s.Shape(hand, skin, S::kInk);
        return true;
    }
    case ID_ZOOM_IN:
        s.Magnifier();
        s.Line({4.5, 6.5}, {8.5, 6.5}, s.Pen(S::kInk, 1.2));
        s.Line({6.5, 4.5}, {6.5, 8.5}, s.Pen(S::kInk, 1.2));
        return true;
    case ID_ZOOM_OUT:
        s.Magnifier();
        s.Line({4.5, 6.5}, {8.5, 6.5}, s.Pen(S::kInk, 1.2));
        return true;
    case ID_ZOOM_TO_FIT:
        // The picture within the window's corners.
        s.Poly({{4, 5}, {12, 5}, {12, 11}, {4, 11}}, S::kPaper, S::kInk);
        for (const QPointF& c : {QPointF(1.5, 1.5), QPointF(14.5, 1.5), QPointF(14.5, 14.5), QPointF(1.5, 14.5)}) {
            const qreal dx = c.x() < 8 ? 3.5 : -3.5, dy = c.y() < 8 ? 3.5 : -3.5;
            s.Line(c, {c.x() + dx, c.y()}, s.Pen(S::kBlue, 1.4));
            s.Line(c, {c.x(), c.y() + dy}, s.Pen(S::kBlue, 1.4));
        }
        return true;
    case ID_ORIGINAL_SIZE:
        s.Poly({{1.5, 2.5}, {14.5, 2.5}, {14.5, 13.5}, {1.5, 13.5}}, S::kPaper, S::kInk);
        for (qreal x : {4.5, 11.5}) {
            s.Line({x, 5}, {x, 11.5}, s.Pen(S::kBlue, 1.4));
            s.Line({x - 1.5, 6.5}, {x, 5}, s.Pen(S::kBlue, 1.4));
        }
        s.P().setPen(Qt::NoPen);
        s.P().setBrush(s.C(S::kBlue));
        s.P().drawRect(QRectF(7.3, 6.3, 1.4, 1.4));
        s.P().drawRect(QRectF(7.3, 9.3, 1.4, 1.4));
        return true;
    default:
        return false;
    }
}

} // namespace

QIcon CToolIconEngine::Icon(int id)
{
    return QIcon(new CToolIconEngine(id));
}

bool CToolIconEngine::HasDrawing(int id)
{
    QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&probe);
    Sketch sketch(painter, false);
    return Draw(id, sketch);
}

void CToolIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / 16.0, rect.height() / 16.0);
    Sketch sketch(*painter, mode == QIcon::Disabled);
    Draw(m_nId, sketch);
    painter->restore();
}

QPixmap CToolIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return scaledPixmap(size, mode, state, 1.0);
}

QPixmap CToolIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    // QIcon hands over the size in device pixels already.
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    }
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QIconEngine* CToolIconEngine::clone() const
{
    return new CToolIconEngine(m_nId);
}

QSize CToolIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    return size;
}

QString CToolIconEngine::key() const
{
    return QStringLiteral("CToolIconEngine");
}
