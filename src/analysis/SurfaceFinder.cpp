#include "SurfaceFinder.h"

#include "EdgeCut.h"
#include "PictureMat.h"
#include "SurfaceSegments.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <deque>

namespace {

// The reduced copy's longer side: enough for a floor's shape, small enough
// that segmenting it takes a fraction of a second.
constexpr int kWorkSide = 400;
// Texture is measured, and the boundary cut again, on a copy at most this
// large; a larger picture takes that boundary resized.
constexpr int kFineSide = 800;

// How far a segment may differ from the surface it continues; found on the
// test rooms (tests/data/rooms) between walls of nearly the floor's colour
// and sunlit patches of a warmer hue.
constexpr double kPlain = 0.06;        // texture contrast of a flat surface, added to both
constexpr double kTexture = 1.8;       // ratio of texture to the surface it continues
constexpr double kDrift = 2.5;         // ratio of texture to the clicked segment
constexpr double kHue = 0.06;          // a*, b* over L* + 10
constexpr double kWarm = 0.06;         // more hue per unit of log brightness change
constexpr double kLight = 2.2;         // brightness ratio either way
constexpr double kSliver = 0.01;       // of the picture: narrow segments along edges

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

using SSegment = CSurfaceSegments::SSegment;

double TextureRatio(const SSegment& a, const SSegment& b)
{
    return (std::max(a.texture, b.texture) + kPlain) / (std::min(a.texture, b.texture) + kPlain);
}

// Whether segment b continues surface a: the same hue (light may brighten
// or darken it), and unless b is a sliver along some edge, the same kind of
// texture.
bool Continues(const SSegment& a, const SSegment& b, bool sliver)
{
    // Colourfulness grows with light: compare a* and b* relative to L*.
    const double la = a.lab[0] + 10, lb = b.lab[0] + 10;
    const double chroma = std::hypot(a.lab[1] / la - b.lab[1] / lb, a.lab[2] / la - b.lab[2] / lb);
    const double light = (b.lab[0] + 5) / (a.lab[0] + 5);
    const double texture = TextureRatio(a, b);
    // Sunlight through a window is warmer than the room's light: the more a
    // patch is brightened, the more its hue may shift.
    const double hueShift = kHue + kWarm * std::abs(std::log(light));
    return chroma < hueShift && light > 1 / kLight && light < kLight &&
           (sliver || texture < kTexture);
}

// The surface grown from the seed segment over segments that continue it.
// A segment is compared with the nearest large segment of the surface it
// is reached from, not with a sliver between them: the narrow segments
// along a soft shadow's edge carry that edge's gradient as texture.
std::vector<bool> Grow(const std::vector<SSegment>& segments, int seed, int total)
{
    const int sliverArea = std::max(50, int(kSliver * total));
    std::vector<int> reference(segments.size(), -1);
    std::vector<bool> in(segments.size(), false);
    std::deque<int> queue{seed};
    in[static_cast<std::size_t>(seed)] = true;
    reference[static_cast<std::size_t>(seed)] = seed;
    while (!queue.empty()) {
        const int a = queue.front();
        queue.pop_front();
        const int r = reference[static_cast<std::size_t>(a)];
        for (int b : segments[static_cast<std::size_t>(a)].neighbours) {
            const auto bi = static_cast<std::size_t>(b);
            const bool sliver = segments[bi].area < sliverArea;
            if (in[bi] || !Continues(segments[static_cast<std::size_t>(r)], segments[bi], sliver))
                continue;
            // Nor may texture drift, step by step, far from the seed's.
            if (!sliver && TextureRatio(segments[static_cast<std::size_t>(seed)], segments[bi]) > kDrift)
                continue;
            in[bi] = true;
            reference[bi] = sliver ? r : b;
            queue.push_back(b);
        }
    }
    return in;
}

cv::Mat LoopMask(cv::Size size, const std::vector<QPointF>& loop, double scale)
{
    std::vector<cv::Point> points;
    for (const QPointF& p : loop)
        points.emplace_back(int(std::lround(p.x() * scale)), int(std::lround(p.y() * scale)));
    cv::Mat mask(size, CV_8UC1, cv::Scalar(0));
    cv::fillPoly(mask, std::vector<std::vector<cv::Point>>{points}, cv::Scalar(255));
    return mask;
}

// The segment covering most of the loop: the surface the loop was drawn
// around.
int Dominant(const cv::Mat& labels, const cv::Mat& inside, std::size_t count)
{
    std::vector<int> area(count, 0);
    for (int y = 0; y < labels.rows; ++y) {
        const int* row = labels.ptr<int>(y);
        const uchar* keep = inside.ptr<uchar>(y);
        for (int x = 0; x < labels.cols; ++x)
            if (keep[x])
                ++area[static_cast<std::size_t>(row[x])];
    }
    const auto best = std::max_element(area.begin(), area.end());
    return *best > 0 ? int(best - area.begin()) : -1;
}

// The connected part of the found pixels holding the seed point; holes
// smaller than a speck filled.
cv::Mat Keep(const cv::Mat& found, cv::Point seed)
{
    cv::Mat components;
    cv::connectedComponents(found, components, 8, CV_32S);
    const int label = components.at<int>(seed);
    cv::Mat kept = components == label;
    if (label == 0)
        return cv::Mat::zeros(found.size(), CV_8UC1);
    cv::Mat stats, centroids;
    const int m = cv::connectedComponentsWithStats(kept == 0, components, stats, centroids, 4, CV_32S);
    const int speck = std::max(4, found.rows * found.cols / 2000);
    std::vector<uchar> fill(static_cast<std::size_t>(m), 0);
    for (int i = 1; i < m; ++i)
        fill[static_cast<std::size_t>(i)] = stats.at<int>(i, cv::CC_STAT_AREA) <= speck ? 255 : 0;
    for (int y = 0; y < kept.rows; ++y) {
        const int* row = components.ptr<int>(y);
        uchar* out = kept.ptr<uchar>(y);
        for (int x = 0; x < kept.cols; ++x)
            out[x] |= fill[static_cast<std::size_t>(row[x])];
    }
    return kept;
}

// A 0 / non-zero picture as a region of the given size: resized smoothly
// and cut at half way, so a boundary keeps its place between pixels.
CRegionMask ToMask(const cv::Mat& found, cv::Size size)
{
    cv::Mat full;
    if (found.size() != size) {
        cv::Mat binary = found != 0;
        cv::resize(binary, full, size, 0, 0, cv::INTER_LINEAR);
    } else {
        full = found;
    }
    CRegionMask mask(size.width, size.height);
    for (int y = 0; y < full.rows; ++y) {
        const uchar* row = full.ptr<uchar>(y);
        std::uint8_t* out = mask.Row(y);
        for (int x = 0; x < full.cols; ++x)
            out[x] = row[x] > 127 ? 1 : 0;
    }
    return mask;
}

} // namespace

std::optional<CRegionMask> CSurfaceFinder::Find(const QImage& picture, const SHint& hint,
                                                const std::atomic<bool>* cancel)
{
    CRegionMask none(picture.width(), picture.height());
    if (picture.isNull())
        return none;
    const bool clicked = hint.click && QRect(QPoint(0, 0), picture.size()).contains(*hint.click);
    if (!clicked && hint.loop.size() < 3)
        return none;

    const cv::Mat bgr = CPictureMat::Bgr(picture);
    const int side = std::max(bgr.cols, bgr.rows);
    const double scale = std::min(1.0, double(kWorkSide) / side);
    cv::Mat reduced, fine = bgr;
    cv::resize(bgr, reduced, cv::Size(), scale, scale, cv::INTER_AREA);
    if (side > kFineSide)
        cv::resize(bgr, fine, cv::Size(), double(kFineSide) / side, double(kFineSide) / side, cv::INTER_AREA);
    if (Cancelled(cancel))
        return std::nullopt;
    const CSurfaceSegments segments(reduced, fine);
    if (Cancelled(cancel))
        return std::nullopt;
    const cv::Mat& labels = segments.Labels();

    cv::Mat inside(labels.size(), CV_8UC1, cv::Scalar(255));
    int seedSegment = -1;
    cv::Point seedPoint;
    if (hint.loop.size() >= 3)
        inside = LoopMask(labels.size(), hint.loop, scale);
    if (clicked) {
        seedPoint = cv::Point(std::min(int(hint.click->x() * scale), labels.cols - 1),
                              std::min(int(hint.click->y() * scale), labels.rows - 1));
        seedSegment = labels.at<int>(seedPoint);
    } else {
        seedSegment = Dominant(labels, inside, segments.Segments().size());
    }
    if (seedSegment < 0)
        return none;
    const std::vector<bool> surface = Grow(segments.Segments(), seedSegment, labels.rows * labels.cols);
    cv::Mat found(labels.size(), CV_8UC1, cv::Scalar(0));
    for (int y = 0; y < labels.rows; ++y) {
        const int* row = labels.ptr<int>(y);
        uchar* out = found.ptr<uchar>(y);
        for (int x = 0; x < labels.cols; ++x)
            out[x] = surface[static_cast<std::size_t>(row[x])] ? 255 : 0;
    }
    found &= inside;
    if (!clicked) {
        // The seed point: a pixel of the dominant segment inside the loop.
        cv::Mat seedPixels = (labels == seedSegment) & inside;
        std::vector<cv::Point> points;
        cv::findNonZero(seedPixels, points);
        if (points.empty())
            return none;
        seedPoint = points[points.size() / 2];
    }
    found = Keep(found, seedPoint);

    // The boundary is cut again on the finer copy, in a band as wide as a
    // reduced pixel and a little, and then brought to full size.
    const CRegionMask coarse = ToMask(found, fine.size());
    if (Cancelled(cancel))
        return std::nullopt;
    const int band = int(std::ceil(2.0 * fine.cols / labels.cols)) + 1;
    std::optional<CRegionMask> refined = CEdgeCut::Refine(fine, coarse, band, cancel);
    if (!refined)
        return refined;
    cv::Mat result(refined->height, refined->width, CV_8UC1, refined->bits.data());
    CRegionMask out = fine.size() == bgr.size() ? *refined : ToMask(result, bgr.size());
    if (hint.loop.size() >= 3) {
        // The loop is a limit the refined boundary keeps to as well.
        const cv::Mat loop = LoopMask(bgr.size(), hint.loop, 1.0);
        for (std::size_t i = 0; i < out.bits.size(); ++i)
            out.bits[i] = out.bits[i] && loop.data[i] ? 1 : 0;
    }
    return out;
}
