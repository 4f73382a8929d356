#include "LineRefiner.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

double At(const cv::Mat& grey, double x, double y)
{
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    if (x0 < 0 || y0 < 0 || x0 + 1 >= grey.cols || y0 + 1 >= grey.rows)
        return -1.0;
    const double fx = x - x0, fy = y - y0;
    const uchar* r0 = grey.ptr<uchar>(y0) + x0;
    const uchar* r1 = grey.ptr<uchar>(y0 + 1) + x0;
    return (r0[0] * (1 - fx) + r0[1] * fx) * (1 - fy) + (r1[0] * (1 - fx) + r1[1] * fx) * fy;
}

} // namespace

std::optional<CLineSegment> CLineRefiner::Refine(const cv::Mat& grey, const CLineSegment& segment, double reach)
{
    const double length = segment.Length();
    if (grey.empty() || grey.type() != CV_8UC1 || !(length > 4) || !(reach > 0))
        return std::nullopt;
    const QPointF u = (segment.b - segment.a) / length;
    const QPointF n(-u.y(), u.x());
    const int steps = static_cast<int>(std::ceil(reach)) + 1;
    // Points every few pixels, short of the ends where the edge may turn.
    const int count = std::clamp(static_cast<int>(length / 4), 4, 48);
    // The segment's own sense of the edge (dark to light across n) is
    // kept: a neighbouring edge of the other sense is not this one.
    double sense = 0;
    std::vector<QPointF> points;
    std::vector<double> profile(static_cast<std::size_t>(2 * steps + 1));
    for (int k = 0; k < count; ++k) {
        const double t = 0.1 + 0.8 * (k + 0.5) / count;
        const QPointF p = segment.a + (segment.b - segment.a) * t;
        bool inside = true;
        for (int s = -steps; s <= steps && inside; ++s) {
            const QPointF q = p + n * double(s);
            const double g = At(grey, q.x(), q.y());
            inside = g >= 0;
            profile[static_cast<std::size_t>(s + steps)] = g;
        }
        if (!inside)
            continue;
        // The steepest step across, to a fraction of a pixel by the parabola
        // through it and its neighbours.
        int best = 0;
        double bestGrad = 0;
        for (int s = 1; s + 1 < static_cast<int>(profile.size()); ++s) {
            const double grad = 0.5 * (profile[static_cast<std::size_t>(s + 1)] - profile[static_cast<std::size_t>(s - 1)]);
            if (std::fabs(grad) > std::fabs(bestGrad) && (sense == 0 || grad * sense > 0)) {
                bestGrad = grad;
                best = s;
            }
        }
        if (best <= 1 || best + 2 >= static_cast<int>(profile.size()) || std::fabs(bestGrad) < 4.0)
            continue;
        if (sense == 0)
            sense = bestGrad;
        const auto gradAt = [&](int s) {
            return std::fabs(0.5 * (profile[static_cast<std::size_t>(s + 1)] - profile[static_cast<std::size_t>(s - 1)]));
        };
        const double gl = gradAt(best - 1), gc = gradAt(best), gr = gradAt(best + 1);
        const double curve = gl - 2 * gc + gr;
        const double offset = curve < 0 ? 0.5 * (gl - gr) / curve : 0.0;
        points.push_back(p + n * (best - steps + std::clamp(offset, -0.5, 0.5)));
    }
    if (points.size() < 4 || points.size() * 2 < static_cast<std::size_t>(count))
        return std::nullopt;
    // The line through the points, twice: the second time without those a
    // pixel off the first (a crossing joint, a speck of dirt).
    QPointF dir = u, mean;
    for (int round = 0; round < 2; ++round) {
        std::vector<QPointF> use;
        for (const QPointF& p : points)
            if (round == 0 || std::fabs((p.x() - mean.x()) * dir.y() - (p.y() - mean.y()) * dir.x()) <= 1.0)
                use.push_back(p);
        if (use.size() < 4)
            return std::nullopt;
        QPointF m;
        for (const QPointF& p : use)
            m += p / double(use.size());
        double sxx = 0, syy = 0, sxy = 0;
        for (const QPointF& p : use) {
            const QPointF q = p - m;
            sxx += q.x() * q.x();
            syy += q.y() * q.y();
            sxy += q.x() * q.y();
        }
        const double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
        dir = QPointF(std::cos(angle), std::sin(angle));
        mean = m;
    }
    // The new line must be the old one, only truer.
    if (std::fabs(dir.x() * u.y() - dir.y() * u.x()) > std::sin(3.0 * M_PI / 180.0))
        return std::nullopt;
    if (dir.x() * u.x() + dir.y() * u.y() < 0)
        dir = -dir;
    const auto project = [&](QPointF p) {
        const double t = (p.x() - mean.x()) * dir.x() + (p.y() - mean.y()) * dir.y();
        return mean + dir * t;
    };
    return CLineSegment{project(segment.a), project(segment.b)};
}
