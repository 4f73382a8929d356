#include "SurfaceSolver.h"

#include "EdgeCut.h"
#include "SurfacePicture.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

namespace {

// How far the surface reaches from a mark: a sum of step costs, where 1 is
// one clear edge between surfaces.
constexpr double kReach = 1.0;
// A path's cost is its worst step and this share of the sum of its steps:
// the worst step parts surfaces, the sum keeps a long drift from creeping
// through a room.
constexpr double kLength = 0.1;
// A step costs at most this many times how unlike the piece looks from
// afar to the seed the path began at: a coarse pattern's motifs part the
// colours step by step but not seen whole. Against the seed, never the last
// step, so that colours blurred across a boundary cannot lead on.
constexpr double kAfar = 8.0;

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

using SPiece = CSurfacePicture::SPiece;

struct SReach
{
    std::vector<double> cost;
    std::vector<int> from;  // the seed piece it is reached from
    std::vector<double> worst, sum;
};

// The cheapest way to every piece from any of the seeds. A step into
// another segment costs how unlike that segment is to the last large one on
// the way (not to a sliver between them: the narrow segments along a soft
// shadow's edge carry the edge's gradient as texture); any step costs the
// edge it crosses, unless the piece looks like the seed's from afar. With drift, a segment whose texture has wandered far
// from the seed's own cannot be reached at all.
SReach Reach(const CSurfacePicture& picture, const std::vector<int>& seeds, bool drift)
{
    const auto& list = picture.PieceList();
    const double never = std::numeric_limits<double>::infinity();
    SReach r{std::vector<double>(list.size(), never), std::vector<int>(list.size(), -1),
             std::vector<double>(list.size(), 0), std::vector<double>(list.size(), 0)};
    std::vector<int> reference(list.size(), -1);
    using SItem = std::pair<double, int>;
    std::priority_queue<SItem, std::vector<SItem>, std::greater<>> queue;
    for (int s : seeds) {
        const auto si = static_cast<std::size_t>(s);
        r.cost[si] = 0;
        r.from[si] = s;
        reference[si] = list[si].segment;
        queue.push({0.0, s});
    }
    while (!queue.empty()) {
        const auto [d, a] = queue.top();
        queue.pop();
        const auto ai = static_cast<std::size_t>(a);
        if (d > r.cost[ai] || d > 4 * kReach)
            continue;
        const SPiece& pa = list[ai];
        const int seedSegment = list[static_cast<std::size_t>(r.from[ai])].segment;
        for (std::size_t k = 0; k < pa.neighbours.size(); ++k) {
            const int b = pa.neighbours[k];
            const auto bi = static_cast<std::size_t>(b);
            const int segment = list[bi].segment;
            double step = pa.edge[k];
            int ref = reference[ai];
            if (segment != pa.segment) {
                if (drift && picture.Drift(seedSegment, segment) >= 1)
                    continue;
                step += picture.Unlike(ref, segment);
                if (!picture.Sliver(segment))
                    ref = segment;
            }
            step = std::min(step, kAfar * picture.UnlikeAround(r.from[ai], b));
            const double worst = std::max(r.worst[ai], step);
            const double sum = r.sum[ai] + step;
            const double total = worst + kLength * sum;
            if (total < r.cost[bi]) {
                r.cost[bi] = total;
                r.worst[bi] = worst;
                r.sum[bi] = sum;
                r.from[bi] = r.from[ai];
                reference[bi] = ref;
                queue.push({total, b});
            }
        }
    }
    return r;
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

// The connected parts of the found pixels holding a seed point; holes
// smaller than a speck filled.
cv::Mat Keep(const cv::Mat& found, const std::vector<cv::Point>& seeds)
{
    cv::Mat components;
    const int n = cv::connectedComponents(found, components, 8, CV_32S);
    std::vector<uchar> keep(static_cast<std::size_t>(n), 0);
    for (const cv::Point& s : seeds)
        if (const int label = components.at<int>(s); label > 0)
            keep[static_cast<std::size_t>(label)] = 255;
    cv::Mat kept(found.size(), CV_8UC1);
    for (int y = 0; y < kept.rows; ++y) {
        const int* row = components.ptr<int>(y);
        uchar* out = kept.ptr<uchar>(y);
        for (int x = 0; x < kept.cols; ++x)
            out[x] = keep[static_cast<std::size_t>(row[x])];
    }
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

std::shared_ptr<const CSurfacePicture> CSurfaceSolver::Prepare(const QImage& picture,
                                                              const std::atomic<bool>* cancel)
{
    return CSurfacePicture::Make(picture, cancel);
}

std::optional<CRegionMask> CSurfaceSolver::Solve(const CSurfacePicture& picture, const std::vector<SSurfaceMark>& marks,
                                                 const std::vector<QPointF>& loop, const std::atomic<bool>* cancel)
{
    const QSize size = picture.Size();
    CRegionMask none(size.width(), size.height());
    const auto& list = picture.PieceList();
    // A later mark on the same piece overrules an earlier one.
    std::vector<int> said(list.size(), 0);
    std::vector<cv::Point> seedPixels;
    const cv::Mat& pieces = picture.Pieces();
    for (const SSurfaceMark& mark : marks)
        for (const QPoint& p : mark.points) {
            const int piece = picture.PieceAt(p);
            if (piece < 0)
                continue;
            said[static_cast<std::size_t>(piece)] = mark.part ? 1 : -1;
            if (mark.part)
                seedPixels.emplace_back(std::min(int(p.x() * picture.Scale()), pieces.cols - 1),
                                        std::min(int(p.y() * picture.Scale()), pieces.rows - 1));
        }
    std::vector<int> part, not_;
    for (std::size_t i = 0; i < said.size(); ++i)
        if (said[i] > 0)
            part.push_back(int(i));
        else if (said[i] < 0)
            not_.push_back(int(i));
    if (part.empty())
        return none;
    const SReach in = Reach(picture, part, true);
    const SReach out = Reach(picture, not_, false);
    if (Cancelled(cancel))
        return std::nullopt;
    std::vector<uchar> chosen(list.size(), 0);
    for (std::size_t i = 0; i < list.size(); ++i)
        chosen[i] = said[i] > 0 || (said[i] == 0 && in.cost[i] < kReach && in.cost[i] < out.cost[i]) ? 255 : 0;

    // What the marks said stays as said through the finer cut.
    cv::Mat found(pieces.size(), CV_8UC1), sure(pieces.size(), CV_8UC1);
    for (int y = 0; y < pieces.rows; ++y) {
        const int* row = pieces.ptr<int>(y);
        uchar* o = found.ptr<uchar>(y);
        uchar* s = sure.ptr<uchar>(y);
        for (int x = 0; x < pieces.cols; ++x) {
            const auto i = static_cast<std::size_t>(row[x]);
            o[x] = chosen[i];
            s[x] = said[i] > 0 ? CEdgeCut::kIn : said[i] < 0 ? CEdgeCut::kOut : 0;
        }
    }
    if (loop.size() >= 3)
        found &= LoopMask(found.size(), loop, picture.Scale());
    found = Keep(found, seedPixels);
    sure.setTo(0, (sure == CEdgeCut::kIn) & (found == 0));

    // The boundary is cut again on the finer copy, in a band as wide as a
    // reduced pixel and a little, and then brought to full size.
    const cv::Mat& fine = picture.Fine();
    const CRegionMask coarse = ToMask(found, fine.size());
    if (Cancelled(cancel))
        return std::nullopt;
    const int band = int(std::ceil(2.0 * fine.cols / pieces.cols)) + 1;
    cv::resize(sure, sure, fine.size(), 0, 0, cv::INTER_NEAREST);
    std::optional<CRegionMask> refined = CEdgeCut::Refine(fine, coarse, band, cancel, &sure, 1);
    if (!refined)
        return refined;
    cv::Mat result(refined->height, refined->width, CV_8UC1, refined->bits.data());
    CRegionMask mask = fine.size() == picture.Bgr().size() ? *refined : ToMask(result, picture.Bgr().size());
    if (loop.size() >= 3) {
        const cv::Mat limit = LoopMask(picture.Bgr().size(), loop, 1.0);
        for (std::size_t i = 0; i < mask.bits.size(); ++i)
            mask.bits[i] = mask.bits[i] && limit.data[i] ? 1 : 0;
    }
    return mask;
}
