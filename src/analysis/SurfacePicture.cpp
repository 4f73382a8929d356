#include "SurfacePicture.h"

#include "PictureMat.h"

#include <opencv2/imgproc.hpp>
#include <opencv2/ximgproc/slic.hpp>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// The reduced copy's longer side: enough for a floor's shape, small enough
// that segmenting it takes a fraction of a second.
constexpr int kWorkSide = 400;
// Texture is measured, and the boundary cut again, on a copy at most this
// large; a larger picture takes that boundary resized.
constexpr int kFineSide = 800;
// Compact cells across the reduced picture's longer side.
constexpr int kCells = 55;

// What makes two pieces unlike; found on the test rooms and real photos
// between walls of nearly the floor's colour and sunlit patches.
constexpr double kPlain = 0.06;   // texture contrast of a flat surface, added to both
constexpr double kTexture = 1.8;  // texture ratio that parts two surfaces
constexpr double kHue = 0.06;     // a*, b* over L* + kDark
constexpr double kDark = 10.0;
constexpr double kWarm = 0.06;    // more hue per unit of log brightness change
constexpr double kLight = 2.2;    // brightness ratio that parts two surfaces
constexpr double kEdge = 0.2;     // brightness step over brightness along a shared border
constexpr double kDrift = 2.5;    // texture ratio to the marked segment
constexpr double kSliver = 0.01;  // of the picture: narrow segments along edges
// The window a piece is seen in from afar, across the reduced picture's
// longer side: a few pieces wide, the size of a rug's motif or a large tile.
constexpr int kAroundParts = 27;

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

// Pieces: the connected runs of pixels sharing both a segment and a cell.
int Relabel(const cv::Mat& segments, const cv::Mat& cells, cv::Mat& out)
{
    out = cv::Mat(segments.size(), CV_32S, cv::Scalar(-1));
    int next = 0;
    std::vector<cv::Point> stack;
    for (int y = 0; y < out.rows; ++y)
        for (int x = 0; x < out.cols; ++x) {
            if (out.at<int>(y, x) >= 0)
                continue;
            const int s = segments.at<int>(y, x), c = cells.at<int>(y, x);
            out.at<int>(y, x) = next;
            stack.assign(1, cv::Point(x, y));
            while (!stack.empty()) {
                const cv::Point p = stack.back();
                stack.pop_back();
                const cv::Point around[4] = {{p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}};
                for (const cv::Point& q : around) {
                    if (q.x < 0 || q.y < 0 || q.x >= out.cols || q.y >= out.rows || out.at<int>(q) >= 0 ||
                        segments.at<int>(q) != s || cells.at<int>(q) != c)
                        continue;
                    out.at<int>(q) = next;
                    stack.push_back(q);
                }
            }
            ++next;
        }
    return next;
}

// How unlike two colours (CIE L*a*b*) are in hue and brightness: 1 or more
// is another surface.
double ColourUnlike(const cv::Vec3d& a, const cv::Vec3d& b)
{
    // Colourfulness grows with light: compare a* and b* relative to L*.
    const double la = a[0] + kDark, lb = b[0] + kDark;
    const double chroma = std::hypot(a[1] / la - b[1] / lb, a[2] / la - b[2] / lb);
    const double light = std::abs(std::log((b[0] + 5) / (a[0] + 5)));
    // Sunlight through a window is warmer than the room's light: the more a
    // patch is brightened, the more its hue may shift.
    const double hue = chroma / (kHue + kWarm * light);
    const double bright = light / std::log(kLight);
    return std::max(hue, bright);
}

} // namespace

using SSegment = CSurfaceSegments::SSegment;

double CSurfacePicture::Unlike(int ia, int ib) const
{
    const SSegment& a = m_segments->Segments()[static_cast<std::size_t>(ia)];
    const SSegment& b = m_segments->Segments()[static_cast<std::size_t>(ib)];
    double worst = ColourUnlike(a.lab, b.lab);
    if (!Sliver(ib))
        worst = std::max(worst, std::abs(std::log((a.texture + kPlain) / (b.texture + kPlain))) / std::log(kTexture));
    return worst * worst;
}

double CSurfacePicture::UnlikeAround(int a, int b) const
{
    const double worst =
        ColourUnlike(m_list[static_cast<std::size_t>(a)].around, m_list[static_cast<std::size_t>(b)].around);
    return worst * worst;
}

double CSurfacePicture::Drift(int ia, int ib) const
{
    const SSegment& a = m_segments->Segments()[static_cast<std::size_t>(ia)];
    const SSegment& b = m_segments->Segments()[static_cast<std::size_t>(ib)];
    if (Sliver(ib))
        return 0;
    return std::abs(std::log((a.texture + kPlain) / (b.texture + kPlain))) / std::log(kDrift);
}

std::shared_ptr<const CSurfacePicture> CSurfacePicture::Make(const QImage& picture, const std::atomic<bool>* cancel)
{
    std::shared_ptr<CSurfacePicture> out(new CSurfacePicture);
    out->m_size = picture.size();
    out->m_cacheKey = picture.cacheKey();
    out->m_bgr = CPictureMat::Bgr(picture);
    const cv::Mat& bgr = out->m_bgr;
    const int side = std::max(bgr.cols, bgr.rows);
    out->m_scale = std::min(1.0, double(kWorkSide) / std::max(1, side));
    cv::Mat reduced;
    cv::resize(bgr, reduced, cv::Size(), out->m_scale, out->m_scale, cv::INTER_AREA);
    out->m_fine = bgr;
    if (side > kFineSide)
        cv::resize(bgr, out->m_fine, cv::Size(), double(kFineSide) / side, double(kFineSide) / side, cv::INTER_AREA);
    if (Cancelled(cancel))
        return nullptr;
    out->m_segments = std::make_unique<CSurfaceSegments>(reduced, out->m_fine);
    if (Cancelled(cancel))
        return nullptr;
    const CSurfaceSegments& segments = *out->m_segments;
    const cv::Mat& lab = segments.Lab();

    const int cell = std::max(4, std::max(reduced.cols, reduced.rows) / kCells);
    // A picture a few cells across is left to its segments (the cell
    // search needs room to move).
    cv::Mat cells(reduced.size(), CV_32S, cv::Scalar(0));
    if (reduced.cols >= 4 * cell && reduced.rows >= 4 * cell) {
        auto slic = cv::ximgproc::createSuperpixelSLIC(lab, cv::ximgproc::SLICO, cell, 10.0f);
        slic->iterate(5);
        slic->enforceLabelConnectivity(25);
        slic->getLabels(cells);
    }
    const int count = Relabel(segments.Labels(), cells, out->m_pieces);
    if (Cancelled(cancel))
        return nullptr;

    // Brightness steps along each shared border, over the brightness there.
    cv::Mat light, gx, gy, step;
    cv::extractChannel(lab, light, 0);
    cv::Sobel(light, gx, CV_32F, 1, 0, 3, 1.0 / 8);
    cv::Sobel(light, gy, CV_32F, 0, 1, 3, 1.0 / 8);
    cv::magnitude(gx, gy, step);
    step /= light + 10.0f;

    std::vector<SPiece>& list = out->m_list;
    list.assign(static_cast<std::size_t>(count), {});
    const int window = std::max(3, std::max(reduced.cols, reduced.rows) / kAroundParts) | 1;
    cv::Mat around;
    cv::blur(lab, around, cv::Size(window, window), cv::Point(-1, -1), cv::BORDER_REFLECT);
    std::vector<std::map<int, std::pair<double, int>>> borders(list.size());
    const cv::Mat& pieces = out->m_pieces;
    const cv::Mat& texture = segments.Texture();
    for (int y = 0; y < pieces.rows; ++y) {
        const int* row = pieces.ptr<int>(y);
        const int* below = y + 1 < pieces.rows ? pieces.ptr<int>(y + 1) : nullptr;
        const int* segment = segments.Labels().ptr<int>(y);
        const cv::Vec3f* colour = lab.ptr<cv::Vec3f>(y);
        const cv::Vec3f* afar = around.ptr<cv::Vec3f>(y);
        const float* contrast = texture.ptr<float>(y);
        const float* edge = step.ptr<float>(y);
        const float* edgeBelow = below ? step.ptr<float>(y + 1) : nullptr;
        for (int x = 0; x < pieces.cols; ++x) {
            SPiece& p = list[static_cast<std::size_t>(row[x])];
            ++p.area;
            p.segment = segment[x];
            p.lab += cv::Vec3d(colour[x]);
            p.around += cv::Vec3d(afar[x]);
            p.texture += contrast[x];
            const auto border = [&](int a, int b, double e) {
                auto& [sum, n] = borders[static_cast<std::size_t>(std::min(a, b))][std::max(a, b)];
                sum += e;
                ++n;
            };
            if (x + 1 < pieces.cols && row[x + 1] != row[x])
                border(row[x], row[x + 1], std::max(edge[x], edge[x + 1]));
            if (below && below[x] != row[x])
                border(row[x], below[x], std::max(edge[x], edgeBelow[x]));
        }
    }
    for (SPiece& p : list)
        if (p.area > 0) {
            p.lab /= double(p.area);
            p.around /= double(p.area);
            p.texture /= p.area;
        }
    for (std::size_t a = 0; a < list.size(); ++a)
        for (const auto& [b, border] : borders[a]) {
            const double edge = border.first / border.second / kEdge;
            list[a].neighbours.push_back(b);
            list[a].edge.push_back(edge * edge);
            list[static_cast<std::size_t>(b)].neighbours.push_back(int(a));
            list[static_cast<std::size_t>(b)].edge.push_back(edge * edge);
        }
    out->m_sliver = std::max(50, int(kSliver * reduced.rows * reduced.cols));
    return out;
}

int CSurfacePicture::PieceAt(QPoint pixel) const
{
    if (!QRect(QPoint(0, 0), m_size).contains(pixel))
        return -1;
    const int x = std::min(int(pixel.x() * m_scale), m_pieces.cols - 1);
    const int y = std::min(int(pixel.y() * m_scale), m_pieces.rows - 1);
    return m_pieces.at<int>(y, x);
}
