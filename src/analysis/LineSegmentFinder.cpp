#include "LineSegmentFinder.h"

#include <opencv2/imgproc.hpp>

#include <QRectF>

#include <algorithm>
#include <cmath>

namespace {

QRectF Bounds(const CPolygon& outline)
{
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const CContour& contour : outline.contours)
        for (const QPointF& p : contour) {
            x0 = std::min(x0, p.x());
            y0 = std::min(y0, p.y());
            x1 = std::max(x1, p.x());
            y1 = std::max(y1, p.y());
        }
    return x1 >= x0 ? QRectF(QPointF(x0, y0), QPointF(x1, y1)) : QRectF();
}

bool Inside(const CPolygon& outline, QPointF p)
{
    bool inside = false;
    for (const CContour& contour : outline.contours)
        for (std::size_t i = 0, j = contour.size() - 1; i < contour.size(); j = i++) {
            const QPointF& a = contour[i];
            const QPointF& b = contour[j];
            if ((a.y() > p.y()) != (b.y() > p.y()) &&
                p.x() < (b.x() - a.x()) * (p.y() - a.y()) / (b.y() - a.y()) + a.x())
                inside = !inside;
        }
    return inside;
}

double DistanceToBorder(const CPolygon& outline, QPointF p)
{
    double best = 1e300;
    for (const CContour& contour : outline.contours)
        for (std::size_t i = 0, j = contour.size() - 1; i < contour.size(); j = i++) {
            const QPointF a = contour[j], d = contour[i] - a;
            const double len2 = d.x() * d.x() + d.y() * d.y();
            double t = len2 > 0 ? ((p.x() - a.x()) * d.x() + (p.y() - a.y()) * d.y()) / len2 : 0.0;
            t = std::clamp(t, 0.0, 1.0);
            best = std::min(best, std::hypot(p.x() - a.x() - t * d.x(), p.y() - a.y() - t * d.y()));
        }
    return best;
}

// The crop of the picture as 8-bit grey, read in place for the formats
// photos load in.
cv::Mat Grey(const QImage& picture, const QRect& crop)
{
    QImage image = picture;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32 &&
        image.format() != QImage::Format_ARGB32_Premultiplied && image.format() != QImage::Format_Grayscale8)
        image = image.convertToFormat(QImage::Format_RGB32);
    const bool grey = image.format() == QImage::Format_Grayscale8;
    const cv::Mat view(image.height(), image.width(), grey ? CV_8UC1 : CV_8UC4,
                       const_cast<uchar*>(image.constBits()), static_cast<std::size_t>(image.bytesPerLine()));
    const cv::Mat part = view(cv::Rect(crop.x(), crop.y(), crop.width(), crop.height()));
    cv::Mat out;
    if (grey)
        part.copyTo(out);
    else
        cv::cvtColor(part, out, cv::COLOR_BGRA2GRAY);
    return out;
}

} // namespace

bool CLineSegmentFinder::LiesOnArea(const CLineSegment& segment, const CPolygon& outline, double margin)
{
    constexpr int kSamples = 5;
    int on = 0;
    for (int i = 0; i < kSamples; ++i) {
        const double t = (i + 0.5) / kSamples;
        const QPointF p = segment.a + (segment.b - segment.a) * t;
        if (Inside(outline, p) || DistanceToBorder(outline, p) <= margin)
            ++on;
    }
    return on * 5 >= kSamples * 4;
}

std::vector<CLineSegment> CLineSegmentFinder::Find(const QImage& picture, const CPolygon& outline)
{
    std::vector<CLineSegment> result;
    if (picture.isNull() || outline.IsEmpty())
        return result;
    // Edges along the border count (the joint between floor and wall is the
    // clearest line of many floors), so the search reaches a little beyond.
    const double diagonal = std::hypot(picture.width(), picture.height());
    const double margin = 0.02 * diagonal;
    const QRectF area = Bounds(outline).adjusted(-margin, -margin, margin, margin) &
                        QRectF(0, 0, picture.width(), picture.height());
    if (area.width() < 8 || area.height() < 8)
        return result;
    const QRect crop = area.toAlignedRect() & picture.rect();

    // Grey first, then reduce: one channel to average instead of four.
    const double scale = std::min(1.0, double(kWorkingSize) / std::max(picture.width(), picture.height()));
    cv::Mat grey = Grey(picture, crop);
    if (scale < 1.0) {
        cv::Mat reduced;
        cv::resize(grey, reduced, cv::Size(), scale, scale, cv::INTER_AREA);
        grey = reduced;
    }
    const double back = 1.0 / (double(grey.cols) / crop.width());
    const double backY = 1.0 / (double(grey.rows) / crop.height());

    std::vector<cv::Vec4f> lines;
    cv::createLineSegmentDetector(cv::LSD_REFINE_STD, 1.0)->detect(grey, lines);

    // Very short segments are mostly texture and noise, and their direction
    // is too uncertain to vote for a vanishing point.
    const double minLength = 0.015 * std::max(grey.cols, grey.rows) + 6.0;
    for (const cv::Vec4f& l : lines) {
        if (std::hypot(l[2] - l[0], l[3] - l[1]) < minLength)
            continue;
        const CLineSegment s{QPointF(crop.x() + (l[0] + 0.5) * back - 0.5, crop.y() + (l[1] + 0.5) * backY - 0.5),
                             QPointF(crop.x() + (l[2] + 0.5) * back - 0.5, crop.y() + (l[3] + 0.5) * backY - 0.5)};
        if (LiesOnArea(s, outline, margin))
            result.push_back(s);
    }
    std::sort(result.begin(), result.end(),
              [](const CLineSegment& p, const CLineSegment& q) { return p.Length() > q.Length(); });
    // A busy photo (gravel, a patterned rug) can give thousands of edges;
    // the longest carry the directions, and the grouping's time stays bounded.
    constexpr std::size_t kMaxSegments = 1500;
    if (result.size() > kMaxSegments)
        result.resize(kMaxSegments);
    return result;
}
