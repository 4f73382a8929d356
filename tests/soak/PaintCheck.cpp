#include "PaintCheck.h"

#include "document/TilemontDoc.h"
#include "geometry/Polygon.h"
#include "view/TilemontView.h"
#include "view/ViewCommandIds.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>

#include <cstdlib>

namespace {

// The part of the viewport its window shows (a window can stand partly
// outside the workspace), once pending layouts and paints are done; in the
// top-level window's coordinates.
QRect Settled(QWidget* viewport)
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
    }
    const QRect seen = viewport->visibleRegion().boundingRect();
    return seen.translated(viewport->mapTo(viewport->window(), QPoint(0, 0)));
}

// The window's own pixels there, as last painted.
QImage Shown(QWidget* viewport, const QRect& place)
{
    QWidget* top = viewport->window();
    return top->screen()
        ->grabWindow(top->winId(), place.x(), place.y(), place.width(), place.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The viewport pixels under the selection's outline, where the ants march:
// each paint strokes them one phase on.
QImage AntsBand(const CTilemontView& view)
{
    QImage band(view.viewport()->size(), QImage::Format_RGB32);
    band.fill(Qt::black);
    QPainterPath outline;
    PolygonToPath(view.GetDocument().GetSelection().GetPolygon(), outline);
    QPainter painter(&band);
    painter.setTransform(view.GetGeometry().Transform());
    // Square dash ends reach past the corners.
    QPen pen(Qt::white, 5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    painter.strokePath(outline, pen);
    return band;
}

bool Near(QRgb a, QRgb b)
{
    constexpr int kShade = 24;
    return std::abs(qRed(a) - qRed(b)) <= kShade && std::abs(qGreen(a) - qGreen(b)) <= kShade &&
           std::abs(qBlue(a) - qBlue(b)) <= kShade;
}

// Whether the pixel shown at (x, y) is what the fresh picture has there or
// beside it: composing a part of the window samples a scaled picture a shade
// or a pixel apart from composing all of it, which leaves nothing behind.
bool Explained(const QImage& shown, const QImage& fresh, int x, int y)
{
    // At the rim the pixel beside may lie outside what was grabbed.
    if (x == 0 || y == 0 || x == fresh.width() - 1 || y == fresh.height() - 1)
        return true;
    const QRgb s = shown.pixel(x, y);
    // Under an inverted line (handle edges, tool feedback) the pixel is the
    // inverse of what lies beneath, so the shifted sample shows inverted.
    const QRgb inverse = qRgb(255 - qRed(s), 255 - qGreen(s), 255 - qBlue(s));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (fresh.valid(x + dx, y + dy) &&
                (Near(s, fresh.pixel(x + dx, y + dy)) || ((dx || dy) && Near(inverse, fresh.pixel(x + dx, y + dy)))))
                return true;
    return false;
}

} // namespace

QString CPaintCheck::StalePixels(CTilemontView& view, const QString& saveAs)
{
    QWidget* viewport = view.viewport();
    const QRect place = Settled(viewport);
    if (place.isEmpty())
        return QString();
    const QImage before = Shown(viewport, place);
    view.Commands().OnCommand(ID_REFRESH);
    // A window still finding its place is not done painting.
    if (Settled(viewport) != place)
        return QString();
    const QImage fresh = Shown(viewport, place);
    const QImage band = AntsBand(view);
    const QPoint origin = place.topLeft() - viewport->mapTo(viewport->window(), QPoint(0, 0));
    int stale = 0;
    QRect where;
    QImage marked = fresh;
    for (int y = 0; y < fresh.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(fresh.constScanLine(y));
        const auto* ants = reinterpret_cast<const QRgb*>(band.constScanLine(y + origin.y())) + origin.x();
        for (int x = 0; x < fresh.width(); ++x) {
            if (a[x] != b[x] && qRed(ants[x]) == 0 && !Explained(before, fresh, x, y)) {
                ++stale;
                where |= QRect(x + origin.x(), y + origin.y(), 1, 1);
                marked.setPixel(x, y, qRgb(255, 0, 255));
            }
        }
    }
    // A pixel or two where inverted feedback met a partial repaint is left
    // to the next repaint; more is a change that repainted too little.
    if (stale < kStaleAtLeast)
        return QString();
    before.save(saveAs + QStringLiteral("-shown.png"));
    fresh.save(saveAs + QStringLiteral("-fresh.png"));
    marked.save(saveAs + QStringLiteral("-stale.png"));
    return QStringLiteral("%1 stale pixels within (%2,%3 %4x%5) of the view, zoom %6, scroll %7,%8; see %9-*.png")
        .arg(stale)
        .arg(where.x())
        .arg(where.y())
        .arg(where.width())
        .arg(where.height())
        .arg(view.GetZoomX())
        .arg(view.GetScrollX())
        .arg(view.GetScrollY())
        .arg(saveAs);
}
