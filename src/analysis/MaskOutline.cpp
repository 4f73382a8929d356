#include "analysis/MaskOutline.h"

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <vector>

namespace
{

// The working copy keeps one byte per pixel with a blank border all round,
// so the walk never tests for the picture's edge: the inside bit, and one
// bit each for a top and a bottom edge the walk has already passed.
constexpr std::uint8_t kInside = 1;
constexpr std::uint8_t kTopDone = 2;
constexpr std::uint8_t kBottomDone = 4;

enum Heading
{
    East,
    South,
    West,
    North
};

class CTracer
{
public:
    explicit CTracer(const CRegionMask& mask)
        : m_width(mask.width), m_height(mask.height), m_stride(std::ptrdiff_t(mask.width) + 2),
          m_cells(std::size_t(m_stride) * std::size_t(mask.height + 2), 0)
    {
        for (int y = 0; y < m_height; ++y) {
            const std::uint8_t* in = mask.Row(y);
            std::uint8_t* out = Cell(0, y);
            for (int x = 0; x < m_width; ++x)
                out[x] = in[x] != 0 ? kInside : 0;
        }
        // A vertex (x, y) is addressed by the cell of pixel (x, y): the
        // pixels around it are that cell, the one before it, and the two
        // above them.
        m_step[East] = 1;
        m_step[South] = m_stride;
        m_step[West] = -1;
        m_step[North] = -m_stride;
        // The two pixels ahead of a vertex, to the left and to the right
        // of the heading (y grows downwards).
        m_left[East] = -m_stride;
        m_right[East] = 0;
        m_left[South] = 0;
        m_right[South] = -1;
        m_left[West] = -1;
        m_right[West] = -m_stride - 1;
        m_left[North] = -m_stride - 1;
        m_right[North] = -m_stride;
    }

    CPolygon Trace()
    {
        CPolygon polygon;
        // Every contour has a horizontal edge; each edge not yet walked
        // starts a walk. Rows are compared eight pixels at a time, since
        // most neighbouring pixels agree.
        constexpr std::uint64_t kOnes = 0x0101010101010101ull;
        for (int y = 0; y <= m_height; ++y) {
            const std::uint8_t* above = Cell(0, y - 1);
            const std::uint8_t* below = Cell(0, y);
            int x = 0;
            while (x < m_width) {
                if (x + 8 <= m_width) {
                    std::uint64_t a, b;
                    std::memcpy(&a, above + x, 8);
                    std::memcpy(&b, below + x, 8);
                    if (((a ^ b) & kOnes) == 0) {
                        x += 8;
                        continue;
                    }
                }
                const int end = std::min(x + 8, m_width);
                for (; x < end; ++x) {
                    const std::uint8_t up = above[x], down = below[x];
                    if ((down & kInside) && !(up & kInside) && !(down & kTopDone))
                        Walk(x, y, East, polygon);
                    else if ((up & kInside) && !(down & kInside) && !(up & kBottomDone))
                        Walk(x + 1, y, West, polygon);
                }
            }
        }
        return polygon;
    }

private:
    std::uint8_t* Cell(int x, int y) { return m_cells.data() + (y + 1) * m_stride + (x + 1); }

    // Follows one contour with the inside on the right, from the vertex
    // (x, y) along the horizontal edge that leaves it heading h, until it
    // is back on that edge. At each vertex: a pixel inside ahead on the left
    // turns left (this is what joins pixels meeting at a corner), else one
    // ahead on the right goes straight on, else the walk turns right.
    void Walk(int x, int y, Heading start, CPolygon& polygon)
    {
        static constexpr int kDx[4] = {1, 0, -1, 0};
        static constexpr int kDy[4] = {0, 1, 0, -1};
        m_points.clear();
        std::uint8_t* const base = m_cells.data();
        const std::ptrdiff_t home = (y + 1) * m_stride + (x + 1);
        std::ptrdiff_t at = home;
        int h = start;
        for (;;) {
            if (h == East)
                base[at] |= kTopDone;
            else if (h == West)
                base[at - m_stride - 1] |= kBottomDone;
            at += m_step[h];
            x += kDx[h];
            y += kDy[h];
            int next;
            if (base[at + m_left[h]] & kInside)
                next = (h + 3) & 3;
            else if (base[at + m_right[h]] & kInside)
                next = h;
            else
                next = (h + 1) & 3;
            if (next != h)
                m_points.emplace_back(x, y);
            if (at == home && next == start)
                break;
            h = next;
        }
        // The walk meets its first corner last; listed first, every contour
        // starts at its first vertex in reading order.
        const bool homeIsCorner = m_points.back() == QPointF(x, y);
        polygon.contours.emplace_back();
        CContour& contour = polygon.contours.back();
        contour.reserve(m_points.size());
        if (homeIsCorner)
            contour.push_back(m_points.back());
        contour.insert(contour.end(), m_points.begin(), m_points.end() - (homeIsCorner ? 1 : 0));
    }

    int m_width;
    int m_height;
    std::ptrdiff_t m_stride;
    std::vector<std::uint8_t> m_cells;
    std::ptrdiff_t m_step[4];
    std::ptrdiff_t m_left[4];
    std::ptrdiff_t m_right[4];
    std::vector<QPointF> m_points;
};

} // namespace

CPolygon MaskOutline(const CRegionMask& mask)
{
    if (mask.width <= 0 || mask.height <= 0 || mask.bits.size() != std::size_t(mask.width) * std::size_t(mask.height))
        return CPolygon();
    return CTracer(mask).Trace();
}
