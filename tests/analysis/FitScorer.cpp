#include "FitScorer.h"

#include <algorithm>
#include <cmath>

std::optional<CFitScorer::SScore> CFitScorer::Score(const CHomography& truth, const CPerspectiveFit& fit,
                                                    const CPolygon& outline)
{
    const QRectF canvas(0, 0, fit.canvas.width(), fit.canvas.height());
    const auto toPicture = CHomography::FromRect(canvas, fit.corners);
    const auto toPlane = truth.Inverted();
    if (!toPicture || !toPlane || outline.contours.empty())
        return std::nullopt;
    const auto canvasOf = toPicture->Inverted();
    if (!canvasOf)
        return std::nullopt;
    QPointF middle;
    int n = 0;
    for (const CContour& contour : outline.contours)
        for (const QPointF& p : contour)
            if (const auto q = canvasOf->Map(p)) {
                middle += *q;
                ++n;
            }
    if (n == 0)
        return std::nullopt;
    middle /= n;
    for (double k = 1.0; k > 0.05; k *= 0.8) {
        std::array<QPointF, 4> onPlane;
        bool ok = true;
        for (std::size_t i = 0; i < 4 && ok; ++i) {
            const QPointF corner((i & 1) ? canvas.right() : canvas.left(), (i & 2) ? canvas.bottom() : canvas.top());
            const auto picture = toPicture->Map(middle + (corner - middle) * k);
            const auto q = picture ? toPlane->Map(*picture) : std::nullopt;
            // The plane point the picture point sees must lie before the
            // camera, not where the ray's backward extension meets it.
            ok = q && truth.Weight(*q) > 0;
            if (ok)
                onPlane[i] = *q;
        }
        if (!ok)
            continue;
        // Ring order TL, TR, BR, BL.
        const std::array<QPointF, 4> ring{onPlane[0], onPlane[1], onPlane[3], onPlane[2]};
        SScore score;
        for (std::size_t i = 0; i < 4; ++i) {
            const QPointF a = ring[(i + 3) % 4] - ring[i], b = ring[(i + 1) % 4] - ring[i];
            const double angle = std::atan2(std::fabs(a.x() * b.y() - a.y() * b.x()), a.x() * b.x() + a.y() * b.y());
            score.angle = std::max(score.angle, std::fabs(angle * 180 / M_PI - 90));
        }
        const auto len = [](QPointF d) { return std::hypot(d.x(), d.y()); };
        const double width = len(ring[1] - ring[0]) + len(ring[2] - ring[3]);
        const double height = len(ring[3] - ring[0]) + len(ring[2] - ring[1]);
        score.aspect = std::fabs((width / height) / (canvas.width() / canvas.height()) - 1);
        return score;
    }
    return std::nullopt;
}

CPerspectiveFit CFitScorer::TrueFit(const CHomography& truth, double s0, double t0, double s1, double t1)
{
    CPerspectiveFit fit;
    const std::array<QPointF, 4> rect{QPointF(s0, t0), QPointF(s1, t0), QPointF(s0, t1), QPointF(s1, t1)};
    for (std::size_t i = 0; i < 4; ++i)
        fit.corners[i] = truth.Map(rect[i]).value_or(QPointF());
    const double scale = 2000.0 / std::max(s1 - s0, t1 - t0);
    fit.canvas = QSize(std::max(1, int(std::lround((s1 - s0) * scale))), std::max(1, int(std::lround((t1 - t0) * scale))));
    return fit;
}

double CFitScorer::Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}
