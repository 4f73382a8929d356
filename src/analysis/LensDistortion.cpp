#include "LensDistortion.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// A chain: the pieces of one edge, end to end.
using Chain = std::vector<int>;

int Root(std::vector<int>& parent, int i)
{
    while (parent[static_cast<std::size_t>(i)] != i)
        i = parent[static_cast<std::size_t>(i)] = parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(i)])];
    return i;
}

// True when b continues a along one gently bending edge: nearly the same
// direction, beyond a's end rather than beside it, and close to its line.
bool Continues(const CLineSegment& a, const CLineSegment& b, double diagonal)
{
    const QPointF d = a.b - a.a;
    const double len = a.Length();
    if (!(len > 0) || !(b.Length() > 0))
        return false;
    const QPointF u = d / len;
    const QPointF e = (b.b - b.a) / b.Length();
    const double sine = std::fabs(u.x() * e.y() - u.y() * e.x());
    if (sine > std::sin(6.0 * M_PI / 180.0))
        return false;
    // b's extent along a's direction, from a's start.
    const auto along = [&](QPointF p) { return (p.x() - a.a.x()) * u.x() + (p.y() - a.a.y()) * u.y(); };
    const auto across = [&](QPointF p) { return (p.x() - a.a.x()) * u.y() - (p.y() - a.a.y()) * u.x(); };
    const double s0 = std::min(along(b.a), along(b.b)), s1 = std::max(along(b.a), along(b.b));
    const double overlap = std::min(s1, len) - std::max(s0, 0.0);
    if (overlap > 0.1 * std::min(len, b.Length()))
        return false;
    const double gap = s0 > len ? s0 - len : (s1 < 0 ? -s1 : 0.0);
    if (gap > 0.05 * diagonal)
        return false;
    const QPointF nearest = s0 > len ? (along(b.a) < along(b.b) ? b.a : b.b) : (along(b.a) > along(b.b) ? b.a : b.b);
    return std::fabs(across(nearest)) <= 0.002 * diagonal + 0.06 * gap;
}

// The points' squared distances from their best line, in pixels^2, each
// capped so that one stray piece cannot outweigh the rest.
double Crookedness(const std::vector<QPointF>& points, double cap)
{
    QPointF mean;
    for (const QPointF& p : points)
        mean += p;
    mean /= double(points.size());
    double sxx = 0, syy = 0, sxy = 0;
    for (const QPointF& p : points) {
        const QPointF q = p - mean;
        sxx += q.x() * q.x();
        syy += q.y() * q.y();
        sxy += q.x() * q.y();
    }
    // The normal is the direction of least spread.
    const double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
    const double nx = -std::sin(angle), ny = std::cos(angle);
    double sum = 0;
    for (const QPointF& p : points) {
        const double r = (p.x() - mean.x()) * nx + (p.y() - mean.y()) * ny;
        sum += std::min(r * r, cap);
    }
    return sum;
}

} // namespace

CLensDistortion::CLensDistortion(double k, QSize picture)
    : m_k(k), m_centre(picture.width() / 2.0, picture.height() / 2.0),
      m_radius(std::max(1.0, 0.5 * std::hypot(picture.width(), picture.height())))
{
}

QPointF CLensDistortion::Undistort(QPointF p) const
{
    if (m_k == 0.0)
        return p;
    const QPointF d = (p - m_centre) / m_radius;
    const double r2 = d.x() * d.x() + d.y() * d.y();
    const double den = 1.0 + m_k * r2;
    // Beyond where the model folds over, a point has no undistorted place;
    // it is kept at the fold's edge rather than flung across the centre.
    return m_centre + d * (m_radius / std::max(den, 0.05));
}

QPointF CLensDistortion::Distort(QPointF p) const
{
    if (m_k == 0.0)
        return p;
    // Solve r_u = r_d / (1 + k r_d^2) for r_d by Newton's method from r_u.
    const QPointF u = (p - m_centre) / m_radius;
    const double ru = std::hypot(u.x(), u.y());
    if (!(ru > 0))
        return p;
    double rd = ru;
    for (int i = 0; i < 20; ++i) {
        const double den = 1.0 + m_k * rd * rd;
        const double f = rd / den - ru;
        const double df = (1.0 - m_k * rd * rd) / (den * den);
        if (!(std::fabs(df) > 1e-9))
            break;
        const double step = f / df;
        rd -= step;
        if (std::fabs(step) < 1e-12)
            break;
    }
    return m_centre + u * (rd / ru * m_radius);
}

CLensDistortion CLensDistortion::Estimate(const std::vector<CLineSegment>& segments, QSize picture)
{
    const double diagonal = std::hypot(picture.width(), picture.height());
    if (!(diagonal > 0))
        return {};
    // Only pieces long enough to have a direction of their own.
    std::vector<int> pieces;
    for (std::size_t i = 0; i < segments.size(); ++i)
        if (segments[i].Length() >= 0.025 * diagonal)
            pieces.push_back(static_cast<int>(i));
    constexpr std::size_t kMaxPieces = 700;
    if (pieces.size() > kMaxPieces)
        pieces.resize(kMaxPieces);  // the longest: the segments come longest first
    std::vector<int> parent(segments.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (std::size_t i = 0; i < pieces.size(); ++i)
        for (std::size_t j = i + 1; j < pieces.size(); ++j) {
            const CLineSegment& a = segments[static_cast<std::size_t>(pieces[i])];
            const CLineSegment& b = segments[static_cast<std::size_t>(pieces[j])];
            if (Continues(a, b, diagonal) || Continues(b, a, diagonal))
                parent[static_cast<std::size_t>(Root(parent, pieces[i]))] = Root(parent, pieces[j]);
        }
    std::vector<Chain> chains;
    {
        std::vector<int> slot(segments.size(), -1);
        for (int i : pieces) {
            const int r = Root(parent, i);
            if (slot[static_cast<std::size_t>(r)] < 0) {
                slot[static_cast<std::size_t>(r)] = static_cast<int>(chains.size());
                chains.emplace_back();
            }
            chains[static_cast<std::size_t>(slot[static_cast<std::size_t>(r)])].push_back(i);
        }
    }
    // A chain tells the bend only when it is long and runs away from the
    // centre: a line through the centre stays straight whatever the lens.
    const CLensDistortion none(0.0, picture);
    std::vector<Chain> telling;
    for (Chain& chain : chains) {
        if (chain.size() < 2)
            continue;
        double length = 0;
        for (int i : chain)
            length += segments[static_cast<std::size_t>(i)].Length();
        QPointF mid;
        for (int i : chain)
            mid += segments[static_cast<std::size_t>(i)].Middle() / double(chain.size());
        const double off = std::hypot(mid.x() - none.m_centre.x(), mid.y() - none.m_centre.y()) / none.m_radius;
        if (length >= 0.15 * diagonal && off > 0.25)
            telling.push_back(chain);
    }
    if (telling.size() < 3)
        return none;

    const double cap = std::pow(0.006 * diagonal, 2);
    const auto pointsOf = [&](const Chain& chain, const CLensDistortion& lens) {
        std::vector<QPointF> points;
        for (int i : chain) {
            const CLineSegment& s = segments[static_cast<std::size_t>(i)];
            points.push_back(lens.Undistort(s.a));
            points.push_back(lens.Undistort(s.Middle()));
            points.push_back(lens.Undistort(s.b));
        }
        return points;
    };
    const auto cost = [&](double k) {
        const CLensDistortion lens(k, picture);
        double sum = 0;
        for (const Chain& chain : telling)
            sum += Crookedness(pointsOf(chain, lens), cap);
        return sum;
    };
    // Phone lenses bend by up to a few per cent at the corners; the search
    // reaches well beyond, so that a strong bend is found rather than
    // clipped. The minimum between the grid's points is taken from the
    // parabola through the best and its neighbours.
    const auto search = [&]() {
        constexpr double kStep = 0.01;
        double bestK = 0.0, best = cost(0.0);
        for (double k = -0.40; k <= 0.20 + 1e-9; k += kStep) {
            const double c = cost(k);
            if (c < best) {
                best = c;
                bestK = k;
            }
        }
        const double lo = cost(bestK - kStep), hi = cost(bestK + kStep);
        const double curve = lo - 2 * best + hi;
        if (curve > 0)
            bestK += std::clamp(0.5 * kStep * (lo - hi) / curve, -kStep, kStep);
        return bestK;
    };
    double bestK = search();
    // Chains that are straight at no bend are no straight edge (a curved
    // rim, two edges joined by mistake): they go, and the bend is sought
    // again among the rest.
    {
        const CLensDistortion lens(bestK, picture);
        const double straightEnough = std::pow(std::max(1.5, 0.0012 * diagonal), 2);
        std::vector<Chain> kept;
        for (const Chain& chain : telling) {
            const std::vector<QPointF> points = pointsOf(chain, lens);
            if (Crookedness(points, cap) <= straightEnough * double(points.size()))
                kept.push_back(chain);
        }
        telling.swap(kept);
    }
    if (telling.size() < 3)
        return none;
    bestK = search();
    // Pieces that line up as well without a bend say nothing: only a clear
    // gain takes a bend out.
    if (!(cost(bestK) < 0.6 * cost(0.0)) || std::fabs(bestK) < 0.004)
        return none;
    return CLensDistortion(bestK, picture);
}
