#include "SurfaceFinder.h"

#include "SurfacePicture.h"
#include "SurfaceSolver.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// A pixel of the piece covering most of the loop: the surface the loop was
// drawn around.
std::optional<QPoint> Dominant(const CSurfacePicture& picture, const std::vector<QPointF>& loop)
{
    const double scale = picture.Scale();
    const cv::Mat& pieces = picture.Pieces();
    std::vector<cv::Point> points;
    for (const QPointF& p : loop)
        points.emplace_back(int(std::lround(p.x() * scale)), int(std::lround(p.y() * scale)));
    cv::Mat inside(pieces.size(), CV_8UC1, cv::Scalar(0));
    cv::fillPoly(inside, std::vector<std::vector<cv::Point>>{points}, cv::Scalar(255));
    // Pieces are small: count by graph-based segment, the larger whole.
    const auto& list = picture.PieceList();
    std::vector<int> area(picture.Segments().Segments().size(), 0);
    for (int y = 0; y < pieces.rows; ++y)
        for (int x = 0; x < pieces.cols; ++x)
            if (inside.at<uchar>(y, x))
                ++area[static_cast<std::size_t>(list[static_cast<std::size_t>(pieces.at<int>(y, x))].segment)];
    const auto best = std::max_element(area.begin(), area.end());
    if (best == area.end() || *best == 0)
        return std::nullopt;
    const int segment = int(best - area.begin());
    // Its pixel deepest inside it: a segment's middle in reading order
    // may lie on a sliver of another surface it wraps around.
    cv::Mat distance;
    cv::distanceTransform((picture.Segments().Labels() == segment) & inside, distance, cv::DIST_L2, 3);
    double deepest = 0;
    cv::Point p;
    cv::minMaxLoc(distance, nullptr, &deepest, nullptr, &p);
    if (deepest <= 0)
        return std::nullopt;
    return QPoint(std::min(int(p.x / scale), picture.Size().width() - 1),
                  std::min(int(p.y / scale), picture.Size().height() - 1));
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
    const auto prepared = CSurfacePicture::Make(picture, cancel);
    if (!prepared)
        return std::nullopt;
    std::optional<QPoint> at = clicked ? hint.click : Dominant(*prepared, hint.loop);
    if (!at)
        return none;
    return CSurfaceSolver::Solve(*prepared, {SSurfaceMark{true, {*at}}}, hint.loop, cancel);
}
