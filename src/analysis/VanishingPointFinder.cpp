#include "VanishingPointFinder.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>

namespace {

using Vec3 = std::array<double, 3>;

Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

bool Normalize(Vec3& v)
{
    const double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(n > 1e-12) || !std::isfinite(n))
        return false;
    for (double& c : v)
        c /= n;
    return true;
}

// A segment's own tolerance: a short edge's direction is uncertain by about
// a pixel over its length, a long one is held to half a degree.
double Tolerance(double length)
{
    return std::clamp(1.5 / std::max(length, 1.0), std::sin(0.5 * M_PI / 180.0), std::sin(2.0 * M_PI / 180.0));
}

struct CNormalised
{
    CLineSegment segment;  // normalised coordinates
    Vec3 line;             // a^2 + b^2 = 1
    double length;         // picture pixels
    double tolerance;
};

// The point that best explains the lines, refined from point: the one
// minimising the sum of length^2 * sin^2(deviation), the segments' end
// points' squared distances from lines through their middles and the point.
// line . v is |t| sin(deviation) (t the direction from the middle to v),
// so this is a least-squares problem weighted by length^2 / |t|^2, with t
// taken from the previous estimate.
bool FitPoint(const std::vector<CNormalised>& lines, const std::vector<int>& members, Vec3& point)
{
    for (int round = 0; round < 3; ++round) {
        cv::Matx33d m = cv::Matx33d::zeros();
        for (int i : members) {
            const CNormalised& n = lines[static_cast<std::size_t>(i)];
            const QPointF mid = n.segment.Middle();
            const double tx = point[0] - point[2] * mid.x(), ty = point[1] - point[2] * mid.y();
            const double w = n.length * n.length / std::max(tx * tx + ty * ty, 1e-9);
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c)
                    m(r, c) += w * n.line[static_cast<std::size_t>(r)] * n.line[static_cast<std::size_t>(c)];
        }
        cv::Mat values, vectors;
        if (!cv::eigen(cv::Mat(m), values, vectors))
            return false;
        Vec3 next{vectors.at<double>(2, 0), vectors.at<double>(2, 1), vectors.at<double>(2, 2)};
        if (!Normalize(next))
            return false;
        point = next;
    }
    return true;
}

// Members at least spread apart across the family's direction: two pieces
// of one edge (the two sides of a grout joint) are not two lines.
bool Distinct(const std::vector<CNormalised>& lines, const std::vector<int>& members, double spread)
{
    const Vec3& first = lines[static_cast<std::size_t>(members.front())].line;
    for (int i : members) {
        const QPointF m = lines[static_cast<std::size_t>(i)].segment.Middle();
        if (std::fabs(first[0] * m.x() + first[1] * m.y() + first[2]) > spread)
            return true;
    }
    return false;
}

CNormalised Normalised(const CLineSegment& s, QPointF centre, double scale, bool& ok)
{
    CNormalised n;
    n.segment = {(s.a - centre) / scale, (s.b - centre) / scale};
    n.line = Cross({n.segment.a.x(), n.segment.a.y(), 1.0}, {n.segment.b.x(), n.segment.b.y(), 1.0});
    const double ab = std::hypot(n.line[0], n.line[1]);
    ok = ab > 0;
    if (ok)
        for (double& c : n.line)
            c /= ab;
    n.length = s.Length();
    n.tolerance = Tolerance(n.length);
    return n;
}

// log10 of the chance that a Poisson count of mean mu reaches k.
double Log10PoissonTail(double mu, int k)
{
    if (k <= 0)
        return 0.0;
    // The tail's terms fall at least geometrically once past the mean;
    // summed in logarithms, as k may be in the hundreds.
    const double logMu = std::log(mu);
    double logTerm = -mu + k * logMu - std::lgamma(k + 1.0);
    double sum = 1.0;  // relative to the first term
    double ratio = 1.0;
    for (int i = k + 1; i < k + 400; ++i) {
        ratio *= mu / i;
        sum += ratio;
        if (ratio < 1e-12 * sum)
            break;
    }
    return std::min(0.0, (logTerm + std::log(sum)) / std::log(10.0));
}

} // namespace

bool CVanishingPointFinder::Refit(const std::vector<CLineSegment>& segments, const std::vector<int>& members,
                                  std::array<double, 3>& point, QPointF centre, double scale)
{
    if (members.size() < 2 || !(scale > 0))
        return false;
    std::vector<CNormalised> lines(segments.size());
    for (int i : members) {
        bool ok = false;
        lines[static_cast<std::size_t>(i)] = Normalised(segments[static_cast<std::size_t>(i)], centre, scale, ok);
        if (!ok)
            return false;
    }
    Vec3 p{(point[0] - centre.x() * point[2]) / scale, (point[1] - centre.y() * point[2]) / scale, point[2]};
    if (!Normalize(p) || !FitPoint(lines, members, p))
        return false;
    Vec3 back{scale * p[0] + centre.x() * p[2], scale * p[1] + centre.y() * p[2], p[2]};
    if (!Normalize(back))
        return false;
    point = back;
    return true;
}

double CVanishingPointFinder::SignificanceAmong(const std::vector<CLineSegment>& segments,
                                               const std::vector<int>& members, const std::vector<int>& candidates,
                                               double spread)
{
    if (candidates.size() < 2 || !(spread > 0))
        return -1e300;
    double expected = 0;
    for (int i : candidates)
        expected += std::min(1.0, 2.0 * std::asin(Tolerance(segments[static_cast<std::size_t>(i)].Length())) / spread);
    std::vector<int> sorted = candidates;
    std::sort(sorted.begin(), sorted.end());
    int count = 0;
    for (int i : members)
        count += std::binary_search(sorted.begin(), sorted.end(), i) ? 1 : 0;
    const double n = static_cast<double>(candidates.size());
    return -(std::log10(std::max(1.0, 0.5 * n * n)) + Log10PoissonTail(std::max(expected, 1e-9), count));
}

double CVanishingPointFinder::Deviation(const CLineSegment& segment, const std::array<double, 3>& point)
{
    const QPointF m = segment.Middle();
    const double dx = segment.b.x() - segment.a.x(), dy = segment.b.y() - segment.a.y();
    const double tx = point[0] - point[2] * m.x(), ty = point[1] - point[2] * m.y();
    const double n = std::hypot(dx, dy) * std::hypot(tx, ty);
    if (!(n > 0))
        return 1.0;
    // The point on the segment itself agrees with any direction.
    return std::fabs(dx * ty - dy * tx) / n;
}

std::vector<CVanishingFamily> CVanishingPointFinder::Find(const std::vector<CLineSegment>& segments,
                                                          QPointF centre, double scale, int maxFamilies)
{
    std::vector<CVanishingFamily> families;
    if (!(scale > 0) || segments.size() < 2)
        return families;
    std::vector<CNormalised> lines;
    lines.reserve(segments.size());
    // Indices into segments, for the members handed back.
    std::vector<int> original;
    for (std::size_t k = 0; k < segments.size(); ++k) {
        bool ok = false;
        const CNormalised n = Normalised(segments[k], centre, scale, ok);
        if (!ok)
            continue;
        lines.push_back(n);
        original.push_back(static_cast<int>(k));
    }
    const auto index = [&](int i) -> const CNormalised& { return lines[static_cast<std::size_t>(i)]; };
    const auto inliers = [&](const std::vector<int>& pool, const Vec3& p) {
        std::vector<int> in;
        for (int i : pool)
            if (Deviation(index(i).segment, p) <= index(i).tolerance)
                in.push_back(i);
        return in;
    };
    const auto supportOf = [&](const std::vector<int>& in) {
        double s = 0;
        for (int i : in)
            s += index(i).length;
        return s;
    };

    std::vector<int> pool(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        pool[i] = static_cast<int>(i);
    // Fixed seed: the same photo gives the same fit every time.
    std::mt19937 random(20240611u);
    std::vector<std::pair<Vec3, std::vector<int>>> found;
    constexpr int kTrials = 400;
    // A family that is one edge found twice is set aside, not counted; a few
    // such attempts at most.
    for (int attempt = 0; attempt < maxFamilies + 3 && static_cast<int>(found.size()) < maxFamilies &&
                          pool.size() >= 2;
         ++attempt) {
        // Long edges are the trustworthy ones: they are drawn more often.
        std::vector<double> weights;
        for (int i : pool)
            weights.push_back(index(i).length);
        std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
        Vec3 best{0, 0, 0};
        double bestSupport = 0;
        for (int t = 0; t < kTrials; ++t) {
            const int i = pool[pick(random)], j = pool[pick(random)];
            if (i == j)
                continue;
            Vec3 p = Cross(index(i).line, index(j).line);
            if (!Normalize(p))
                continue;  // one line found twice
            const double s = supportOf(inliers(pool, p));
            if (s > bestSupport) {
                bestSupport = s;
                best = p;
            }
        }
        if (!(bestSupport > 0))
            break;
        std::vector<int> members = inliers(pool, best);
        for (int round = 0; round < 3 && members.size() >= 2; ++round) {
            if (!FitPoint(lines, members, best))
                break;
            members = inliers(pool, best);
        }
        if (members.empty())
            break;
        std::vector<int> rest;
        std::set_difference(pool.begin(), pool.end(), members.begin(), members.end(), std::back_inserter(rest));
        pool = rest;
        if (members.size() >= 2 && Distinct(lines, members, 0.01))
            found.emplace_back(best, members);
    }

    // Taken one at a time, an early family keeps edges that barely agree
    // with it (a wall's foot nearly in line with the boards): each edge now
    // goes to the family it agrees with best, and the points are refitted.
    for (int round = 0; round < 2 && found.size() > 1; ++round) {
        for (auto& [point, members] : found)
            members.clear();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::size_t bestFamily = found.size();
            double bestRatio = 1.0;
            for (std::size_t f = 0; f < found.size(); ++f) {
                const double ratio = Deviation(lines[i].segment, found[f].first) / lines[i].tolerance;
                if (ratio <= bestRatio) {
                    bestRatio = ratio;
                    bestFamily = f;
                }
            }
            if (bestFamily < found.size())
                found[bestFamily].second.push_back(static_cast<int>(i));
        }
        for (auto& [point, members] : found)
            if (members.size() >= 2)
                FitPoint(lines, members, point);
    }

    // What chance gives: a segment of random direction points at a given
    // point within its tolerance with the chance 2 asin(tolerance) / pi;
    // the search tried about as many points as there are pairs of lines.
    double expected = 0;
    for (const CNormalised& n : lines)
        expected += 2.0 * std::asin(n.tolerance) / M_PI;
    const double log10Tests = std::log10(std::max(1.0, 0.5 * double(lines.size()) * double(lines.size())));
    for (const auto& [best, members] : found) {
        if (members.size() < 2 || !Distinct(lines, members, 0.01))
            continue;
        CVanishingFamily family;
        family.significance =
            -(log10Tests + Log10PoissonTail(std::max(expected, 1e-9), static_cast<int>(members.size())));
        // Back to picture pixels: x = s * xn + cx.
        family.point = {scale * best[0] + centre.x() * best[2], scale * best[1] + centre.y() * best[2], best[2]};
        Normalize(family.point);
        family.support = supportOf(members);
        for (int i : members)
            family.members.push_back(original[static_cast<std::size_t>(i)]);
        families.push_back(family);
    }
    std::stable_sort(families.begin(), families.end(),
                     [](const CVanishingFamily& a, const CVanishingFamily& b) { return a.support > b.support; });
    return families;
}
