#include "SurfaceSegments.h"

#include <opencv2/imgproc.hpp>
#include <opencv2/ximgproc/segmentation.hpp>

#include <algorithm>
#include <set>

namespace {

// Felzenszwalb's threshold and smallest segment, in reduced pixels: coarse
// enough that a floor falls into a few pieces, fine enough that a chair leg
// stays apart from it (a larger smallest segment folds the legs of tables
// and chairs into the floor around them, where no later cut reaches them).
constexpr double kSigma = 0.5;
constexpr float kThreshold = 400.0f;
constexpr int kSmallest = 50;

cv::Mat WithoutThinLines(const cv::Mat& reduced)
{
    // A closing takes out dark lines (grout, gaps between planks), an
    // opening light ones; the median then evens out grain and noise.
    cv::Mat out;
    const cv::Mat line = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3));
    cv::morphologyEx(reduced, out, cv::MORPH_CLOSE, line);
    cv::morphologyEx(out, out, cv::MORPH_OPEN, line);
    cv::medianBlur(out, out, 5);
    return out;
}

// Gradient magnitude over local brightness: high on patterned surfaces, low
// on paint, upholstery and furniture; unchanged by shade and sunlight.
cv::Mat ContrastMap(const cv::Mat& fine, cv::Size reduced)
{
    cv::Mat grey;
    cv::cvtColor(fine, grey, cv::COLOR_BGR2GRAY);
    grey.convertTo(grey, CV_32F);
    cv::Mat gx, gy, magnitude, brightness;
    cv::Sobel(grey, gx, CV_32F, 1, 0, 3);
    cv::Sobel(grey, gy, CV_32F, 0, 1, 3);
    cv::magnitude(gx, gy, magnitude);
    cv::blur(grey, brightness, cv::Size(7, 7));
    cv::Mat contrast = magnitude / (brightness + 8.0f);
    cv::resize(contrast, contrast, reduced, 0, 0, cv::INTER_AREA);
    return contrast;
}

} // namespace

CSurfaceSegments::CSurfaceSegments(const cv::Mat& reduced, const cv::Mat& fine)
{
    const cv::Mat plain = WithoutThinLines(reduced);
    auto segmentation = cv::ximgproc::segmentation::createGraphSegmentation(kSigma, kThreshold, kSmallest);
    segmentation->processImage(plain, m_labels);
    double most = 0;
    cv::minMaxLoc(m_labels, nullptr, &most);
    m_segments.assign(static_cast<std::size_t>(most) + 1, {});

    cv::Mat& lab = m_lab;
    plain.convertTo(lab, CV_32FC3, 1.0 / 255.0);
    cv::cvtColor(lab, lab, cv::COLOR_BGR2Lab);
    m_texture = ContrastMap(fine, reduced.size());
    const cv::Mat& texture = m_texture;
    std::vector<std::set<int>> touching(m_segments.size());
    for (int y = 0; y < m_labels.rows; ++y) {
        const int* row = m_labels.ptr<int>(y);
        const int* below = y + 1 < m_labels.rows ? m_labels.ptr<int>(y + 1) : nullptr;
        const cv::Vec3f* colour = lab.ptr<cv::Vec3f>(y);
        const float* contrast = texture.ptr<float>(y);
        for (int x = 0; x < m_labels.cols; ++x) {
            SSegment& s = m_segments[static_cast<std::size_t>(row[x])];
            ++s.area;
            s.lab += cv::Vec3d(colour[x]);
            s.texture += contrast[x];
            if (x + 1 < m_labels.cols && row[x + 1] != row[x]) {
                touching[static_cast<std::size_t>(row[x])].insert(row[x + 1]);
                touching[static_cast<std::size_t>(row[x + 1])].insert(row[x]);
            }
            if (below && below[x] != row[x]) {
                touching[static_cast<std::size_t>(row[x])].insert(below[x]);
                touching[static_cast<std::size_t>(below[x])].insert(row[x]);
            }
        }
    }
    for (std::size_t i = 0; i < m_segments.size(); ++i) {
        SSegment& s = m_segments[i];
        if (s.area > 0) {
            s.lab /= double(s.area);
            s.texture /= s.area;
        }
        s.neighbours.assign(touching[i].begin(), touching[i].end());
    }
}
