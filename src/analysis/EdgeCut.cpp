#include "EdgeCut.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>

namespace {

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

// Cuts one window of the band: grabCut with the window's own colour models.
// Gives up (leaves the window as drawn) when one side has too few pixels to
// describe it.
bool CutWindow(const cv::Mat& image, cv::Mat& part, int iterations)
{
    int inside = 0, outside = 0, undecided = 0;
    for (int y = 0; y < part.rows; ++y) {
        const uchar* row = part.ptr<uchar>(y);
        for (int x = 0; x < part.cols; ++x) {
            inside += row[x] == cv::GC_FGD || row[x] == cv::GC_PR_FGD;
            outside += row[x] == cv::GC_BGD || row[x] == cv::GC_PR_BGD;
            undecided += row[x] == cv::GC_PR_FGD || row[x] == cv::GC_PR_BGD;
        }
    }
    constexpr int kFewest = 40;
    if (undecided == 0 || inside < kFewest || outside < kFewest)
        return false;
    cv::Mat bgModel, fgModel;
    cv::grabCut(image, part, cv::Rect(), bgModel, fgModel, iterations, cv::GC_INIT_WITH_MASK);
    return true;
}

} // namespace

std::optional<CRegionMask> CEdgeCut::Refine(const cv::Mat& bgr, const CRegionMask& mask, int band,
                                            const std::atomic<bool>* cancel, const cv::Mat* sure, int iterations)
{
    if (bgr.cols != mask.width || bgr.rows != mask.height || band <= 0 || mask.bits.empty())
        return mask;
    // grabCut seeds its colour models at random: a fixed seed gives the
    // editor and the command line the same outline for the same input.
    cv::theRNG() = cv::RNG(0x5EEDu);
    const cv::Mat drawn(mask.height, mask.width, CV_8UC1, const_cast<std::uint8_t*>(mask.bits.data()));
    cv::Mat in;
    cv::compare(drawn, 0, in, cv::CMP_NE);
    const cv::Mat disc =
        cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(2 * band + 1, 2 * band + 1));
    cv::Mat inner, outer;
    // Outside the picture counts as neither side: a region touching the
    // picture's edge keeps its edge there.
    cv::erode(in, inner, disc, cv::Point(-1, -1), 1, cv::BORDER_REPLICATE);
    cv::dilate(in, outer, disc, cv::Point(-1, -1), 1, cv::BORDER_REPLICATE);
    cv::Mat labels(in.size(), CV_8UC1, cv::Scalar(cv::GC_BGD));
    labels.setTo(cv::GC_PR_BGD, outer);
    labels.setTo(cv::GC_PR_FGD, in);
    labels.setTo(cv::GC_FGD, inner);
    if (sure && sure->size() == in.size() && sure->type() == CV_8UC1) {
        labels.setTo(cv::GC_FGD, *sure == kIn);
        labels.setTo(cv::GC_BGD, *sure == kOut);
    }

    // Windows a few bands wide, overlapping by a band so each band pixel is
    // decided by a window it lies well inside of.
    const int step = std::max(48, 6 * band);
    const int margin = 2 * band;
    cv::Mat result = labels.clone();
    for (int y0 = 0; y0 < in.rows; y0 += step)
        for (int x0 = 0; x0 < in.cols; x0 += step) {
            if (Cancelled(cancel))
                return std::nullopt;
            const cv::Rect core = cv::Rect(x0, y0, step, step) & cv::Rect(0, 0, in.cols, in.rows);
            cv::Mat coreBand = (inner(core) == 0) & (outer(core) != 0);
            if (cv::countNonZero(coreBand) == 0)
                continue;
            const cv::Rect window =
                cv::Rect(x0 - margin, y0 - margin, step + 2 * margin, step + 2 * margin) &
                cv::Rect(0, 0, in.cols, in.rows);
            cv::Mat part = labels(window).clone();
            if (CutWindow(bgr(window), part, iterations))
                part(core - window.tl()).copyTo(result(core));
        }

    CRegionMask out(mask.width, mask.height);
    for (int y = 0; y < result.rows; ++y) {
        const uchar* row = result.ptr<uchar>(y);
        std::uint8_t* dst = out.Row(y);
        for (int x = 0; x < result.cols; ++x)
            dst[x] = (row[x] == cv::GC_FGD || row[x] == cv::GC_PR_FGD) ? 1 : 0;
    }
    return out;
}
