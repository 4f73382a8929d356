#include "LineSegmentFinder.h"

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

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

// The picture as 8-bit grey, read in place for the formats photos load in.
cv::Mat Grey(const QImage& picture)
{
    QImage image = picture;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32 &&
        image.format() != QImage::Format_ARGB32_Premultiplied && image.format() != QImage::Format_Grayscale8)
        image = image.convertToFormat(QImage::Format_RGB32);
    const bool grey = image.format() == QImage::Format_Grayscale8;
    const cv::Mat view(image.height(), image.width(), grey ? CV_8UC1 : CV_8UC4,
                       const_cast<uchar*>(image.constBits()), static_cast<std::size_t>(image.bytesPerLine()));
    cv::Mat out;
    if (grey)
        view.copyTo(out);
    else
        cv::cvtColor(view, out, cv::COLOR_BGRA2GRAY);
    return out;
}

// The area and a band of margin around it, at the working size: where a
// segment's samples are looked up instead of walking a traced outline of
// thousands of vertices for each.
cv::Mat AreaBand(const CPolygon& outline, cv::Size size, double scale, double margin)
{
    QImage mask(size.width, size.height, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const CContour& contour : outline.contours) {
        if (contour.size() < 3)
            continue;
        QPolygonF ring;
        for (const QPointF& p : contour)
            ring << (p + QPointF(0.5, 0.5)) * scale;
        path.addPolygon(ring);
        path.closeSubpath();
    }
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillPath(path, Qt::white);
        // The border itself: a thin sliver of an area still has its edges.
        painter.setPen(QPen(Qt::white, 1.0));
        painter.drawPath(path);
    }
    const cv::Mat inside(mask.height(), mask.width(), CV_8UC1, mask.bits(), static_cast<std::size_t>(mask.bytesPerLine()));
    cv::Mat outside, distance;
    cv::compare(inside, 0, outside, cv::CMP_EQ);
    cv::distanceTransform(outside, distance, cv::DIST_L2, 3);
    // 2 inside, 1 in the band around it, 0 elsewhere.
    cv::Mat band, inner;
    cv::compare(distance, margin * scale, band, cv::CMP_LE);
    cv::compare(distance, 0.0, inner, cv::CMP_LE);
    return band / 255 + inner / 255;
}

// The line segment detector works on one core; the picture's top and
// bottom halves (overlapping a little, so that no edge near the middle is
// lost) are searched side by side, each segment kept by the half its middle
// lies in. A line across the middle comes as two pieces, which is as good
// for its direction.
std::vector<cv::Vec4f> Detect(const cv::Mat& grey)
{
    constexpr int kOverlap = 12;
    const int split = grey.rows / 2;
    if (grey.rows < 8 * kOverlap) {
        std::vector<cv::Vec4f> lines;
        cv::createLineSegmentDetector(cv::LSD_REFINE_STD, 1.0)->detect(grey, lines);
        return lines;
    }
    const cv::Range halves[2] = {cv::Range(0, split + kOverlap), cv::Range(split - kOverlap, grey.rows)};
    std::vector<cv::Vec4f> found[2];
    cv::parallel_for_(cv::Range(0, 2), [&](const cv::Range& range) {
        for (int h = range.start; h < range.end; ++h) {
            // The detector's own copy: it writes into what it is given.
            const cv::Mat part = grey.rowRange(halves[h]).clone();
            cv::createLineSegmentDetector(cv::LSD_REFINE_STD, 1.0)->detect(part, found[h]);
        }
    }, 2);
    std::vector<cv::Vec4f> lines;
    for (int h = 0; h < 2; ++h)
        for (cv::Vec4f l : found[h]) {
            l[1] += static_cast<float>(halves[h].start);
            l[3] += static_cast<float>(halves[h].start);
            const bool top = 0.5f * (l[1] + l[3]) < static_cast<float>(split);
            if (top == (h == 0))
                lines.push_back(l);
        }
    return lines;
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

CLineSegmentFinder::SLines CLineSegmentFinder::Find(const QImage& picture, const CPolygon& outline)
{
    SLines result;
    if (picture.isNull() || outline.IsEmpty() || picture.width() < 8 || picture.height() < 8)
        return result;
    // Edges along the border count (the joint between floor and wall is the
    // clearest line of many floors), so the area reaches a little beyond.
    const double margin = 0.02 * std::hypot(picture.width(), picture.height());

    // Grey first, then reduce: one channel to average instead of four.
    const int longer = std::max(picture.width(), picture.height());
    const int factor = longer <= kFullSizeUpTo ? 1 : (longer + kWorkingSize - 1) / kWorkingSize;
    result.grey = Grey(picture);
    cv::Mat reduced = result.grey;
    if (factor > 1)
        cv::resize(result.grey, reduced, cv::Size(), 1.0 / factor, 1.0 / factor, cv::INTER_AREA);
    const double backX = double(picture.width()) / reduced.cols, backY = double(picture.height()) / reduced.rows;
    result.workingScale = 1.0 / backX;

    const std::vector<cv::Vec4f> lines = Detect(reduced);
    const cv::Mat band = AreaBand(outline, reduced.size(), 1.0 / backX, margin);

    // Very short segments are mostly texture and noise, and their direction
    // is too uncertain to vote for a vanishing point.
    const double minLength = 0.015 * std::max(reduced.cols, reduced.rows) + 6.0;
    struct SFound
    {
        CLineSegment segment;
        char onArea;
    };
    std::vector<SFound> found;
    for (const cv::Vec4f& l : lines) {
        if (std::hypot(l[2] - l[0], l[3] - l[1]) < minLength)
            continue;
        constexpr int kSamples = 5;
        int on = 0, inside = 0;
        for (int i = 0; i < kSamples; ++i) {
            const double t = (i + 0.5) / kSamples;
            const int x = std::clamp(int(l[0] + (l[2] - l[0]) * t), 0, band.cols - 1);
            const int y = std::clamp(int(l[1] + (l[3] - l[1]) * t), 0, band.rows - 1);
            on += band.at<uchar>(y, x) ? 1 : 0;
            inside += band.at<uchar>(y, x) == 2 ? 1 : 0;
        }
        found.push_back({{QPointF((l[0] + 0.5) * backX - 0.5, (l[1] + 0.5) * backY - 0.5),
                          QPointF((l[2] + 0.5) * backX - 0.5, (l[3] + 0.5) * backY - 0.5)},
                         static_cast<char>(on * 5 < kSamples * 4 ? 0 : inside * 5 >= kSamples * 4 ? 2 : 1)});
    }
    std::sort(found.begin(), found.end(),
              [](const SFound& p, const SFound& q) { return p.segment.Length() > q.segment.Length(); });
    // A busy photo (gravel, a patterned rug) can give thousands of edges;
    // the longest carry the directions, and the grouping's time stays
    // bounded. The area's and the room's are bounded apart, so a busy floor
    // cannot crowd out the walls' few long lines, nor they the floor's.
    constexpr int kMaxEach = 1200;
    int area = 0, room = 0;
    for (const SFound& f : found) {
        int& count = f.onArea ? area : room;
        if (count >= kMaxEach)
            continue;
        ++count;
        result.segments.push_back(f.segment);
        result.onArea.push_back(f.onArea);
    }
    return result;
}
