#include "view/PerspectiveGrid.h"

#include "document/Area.h"
#include "geometry/SegmentClip.h"
#include "render/SkewedTexture.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace {

using CanvasMap = std::function<std::optional<QPointF>(QPointF)>;

// Canvas point to picture point for the area as it is warped now.
std::optional<CanvasMap> CanvasToPictureMap(const CArea& area)
{
    const QSize canvas = area.WarpCanvasSize();
    if (canvas.isEmpty() || !area.HasSkewCorners())
        return std::nullopt;
    if (area.IsPerspective()) {
        const auto h = area.CanvasToPicture();
        if (!h)
            return std::nullopt;
        const double wCentre = h->Weight(QPointF(canvas.width() / 2.0, canvas.height() / 2.0));
        return CanvasMap([h = *h, wCentre](QPointF p) -> std::optional<QPointF> {
            // Near the horizon the image runs off to infinity: stop short.
            if (!(h.Weight(p) / wCentre > 0.02))
                return std::nullopt;
            return h.Map(p);
        });
    }
    const auto& c = area.GetSkewCorners();
    const QPointF tl(c[CArea::TopLeft]), tr(c[CArea::TopRight]), bl(c[CArea::BottomLeft]), br(c[CArea::BottomRight]);
    const double w = canvas.width(), h = canvas.height();
    return CanvasMap([=](QPointF p) -> std::optional<QPointF> {
        const double s = p.x() / w, t = p.y() / h;
        return (1 - s) * (1 - t) * tl + s * (1 - t) * tr + (1 - s) * t * bl + s * t * br;
    });
}

double Cross(QPointF a, QPointF b)
{
    return a.x() * b.y() - a.y() * b.x();
}

bool OutsideSameSide(QPointF a, QPointF b, const QRectF& r)
{
    return (a.x() < r.left() && b.x() < r.left()) || (a.x() > r.right() && b.x() > r.right()) ||
           (a.y() < r.top() && b.y() < r.top()) || (a.y() > r.bottom() && b.y() > r.bottom());
}

} // namespace

std::vector<QLineF> CPerspectiveGrid::Segments(const CArea& area, const QTransform& pictureToClient,
                                               const QRectF& clip)
{
    std::vector<QLineF> out;
    const QImage* texture = area.GetTexture();
    const auto toPicture = CanvasToPictureMap(area);
    if (!texture || texture->isNull() || !toPicture)
        return out;
    const QTransform place =
        TextureTransform(area.GetRotation(), area.GetShiftX(), area.GetShiftY(), area.GetScale());
    bool invertible = false;
    const QTransform toTexel = place.inverted(&invertible);
    if (!invertible || !std::isfinite(toTexel.m11()))
        return out;
    const QRectF canvas(QPointF(0, 0), QSizeF(area.WarpCanvasSize()));
    const QRectF texels = toTexel.mapRect(canvas);
    const auto toClient = [&](QPointF texel) -> std::optional<QPointF> {
        const auto p = (*toPicture)(place.map(texel));
        if (!p)
            return std::nullopt;
        return pictureToClient.map(*p);
    };

    // Direction 0: edges u = i * width, along v; direction 1: v = j * height.
    const double tile[2] = {double(texture->width()), double(texture->height())};
    for (int dir = 0; dir < 2; ++dir) {
        const double size = tile[dir];
        const double lo = dir == 0 ? texels.left() : texels.top();
        const double hi = dir == 0 ? texels.right() : texels.bottom();
        const double alongLo = dir == 0 ? texels.top() : texels.left();
        const double alongHi = dir == 0 ? texels.bottom() : texels.right();
        const auto texel = [dir](double across, double along) {
            return dir == 0 ? QPointF(across, along) : QPointF(along, across);
        };
        const double first = std::ceil(lo / size), last = std::floor(hi / size);
        if (!(last >= first))
            continue;
        // However fine the tiles, no more than kMaxLines lines are walked.
        double stride = 1.0;
        while ((last - first) / stride > kMaxLines)
            stride *= 2.0;
        for (double i = std::ceil(first / stride) * stride; i <= last; i += stride) {
            const double across = i * size;
            // The line in canvas pixels, cut to the canvas.
            const QPointF a = place.map(texel(across, alongLo)), b = place.map(texel(across, alongHi));
            const auto clipped = ClipSegmentToRect(a, b, canvas);
            if (!clipped || !(clipped->first < clipped->second))
                continue;
            const auto [t0, t1] = *clipped;
            const double from = alongLo + (alongHi - alongLo) * t0, to = alongLo + (alongHi - alongLo) * t1;
            const double piece = (to - from) / kPieces;
            for (int k = 0; k < kPieces; ++k) {
                const double s0 = from + piece * k, s1 = s0 + piece;
                const auto p0 = toClient(texel(across, s0)), p1 = toClient(texel(across, s1));
                const auto next = toClient(texel(across + size, (s0 + s1) / 2));
                const auto mid = toClient(texel(across, (s0 + s1) / 2));
                if (!p0 || !p1 || !next || !mid)
                    continue;
                if (OutsideSameSide(*p0, *p1, clip))
                    continue;
                // The screen distance to the next line, across this one.
                const QPointF along = *p1 - *p0;
                const double length = std::hypot(along.x(), along.y());
                const double spacing =
                    length > 0.0 ? std::abs(Cross(along, *next - *mid)) / length : 0.0;
                // Keep every 2^level-th line here so that those kept stand
                // at least kMinSpacing apart.
                double keep = stride;
                while (keep * spacing < kMinSpacing && keep < 1e9)
                    keep *= 2.0;
                if (keep >= 1e9 || std::fmod(std::abs(i), keep) != 0.0)
                    continue;
                out.emplace_back(*p0, *p1);
            }
        }
    }
    return out;
}

void CPerspectiveGrid::Paint(QPainter& painter, const std::vector<QLineF>& segments)
{
    if (segments.empty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 200), 0));
    const QPointF shadow(1.0, 1.0);
    for (const QLineF& s : segments)
        painter.drawLine(s.translated(shadow));
    painter.setPen(QPen(QColor(255, 255, 255), 0));
    for (const QLineF& s : segments)
        painter.drawLine(s);
    painter.restore();
}
