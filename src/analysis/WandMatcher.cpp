#include "analysis/WandMatcher.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

using SLab = CWandColours::SLab;

constexpr int kSide = 64;
constexpr int kLevels = 256 / kSide;

SLab LabOf(int r, int g, int b)
{
    return CWandColours::Lab(0xff000000u | std::uint32_t(std::min(r, 255)) << 16 | std::uint32_t(std::min(g, 255)) << 8
                             | std::uint32_t(std::min(b, 255)));
}

// Per cell: the colour near its centre and how far from it any colour of
// the cell lies (its farthest corner, the corners taken one level beyond
// the cell on the far side, with a quarter more for the conversion's bend
// within so few levels). Worked out once, in a few milliseconds.
struct SCell
{
    SLab centre;
    float reach;
};

const std::vector<SCell>& Cells()
{
    static const std::vector<SCell> cells = [] {
        constexpr int kCorners = kSide + 1;
        std::vector<SLab> corners(std::size_t(kCorners) * kCorners * kCorners);
        for (int r = 0; r < kCorners; ++r)
            for (int g = 0; g < kCorners; ++g)
                for (int b = 0; b < kCorners; ++b)
                    corners[std::size_t((r * kCorners + g) * kCorners + b)] =
                        LabOf(r * kLevels, g * kLevels, b * kLevels);
        std::vector<SCell> out(std::size_t(kSide) * kSide * kSide);
        for (int r = 0; r < kSide; ++r)
            for (int g = 0; g < kSide; ++g)
                for (int b = 0; b < kSide; ++b) {
                    SCell& cell = out[std::size_t((r * kSide + g) * kSide + b)];
                    cell.centre = LabOf(r * kLevels + kLevels / 2, g * kLevels + kLevels / 2, b * kLevels + kLevels / 2);
                    float reach2 = 0.0f;
                    for (int c = 0; c < 8; ++c) {
                        const SLab& corner = corners[std::size_t(((r + (c & 1)) * kCorners + g + (c >> 1 & 1)) * kCorners
                                                                 + b + (c >> 2 & 1))];
                        reach2 = std::max(reach2, CWandColours::Distance2(corner, cell.centre));
                    }
                    cell.reach = 1.25f * std::sqrt(reach2);
                }
        return out;
    }();
    return cells;
}

// Float rounding in the distance, far above what it can amount to.
constexpr float kRoundingMargin = 0.05f;

// Edge cells measured when the matcher is made, at most: a millisecond or
// so of work for the tolerances one uses; beyond, cells are measured pixel
// by pixel.
constexpr std::size_t kMaxEdgeCells = 8192;

} // namespace

CWandMatcher::CWandMatcher(std::uint32_t seed, int tolerance) : m_seed(seed)
{
    if (tolerance <= 0) {
        m_mode = Mode::Exact;
        return;
    }
    if (tolerance >= 255) {
        m_mode = Mode::All;
        return;
    }
    m_seedLab = CWandColours::Lab(seed);
    m_limit = CWandColours::Limit2(tolerance);
    // A seed with transparency differs from every opaque colour in alpha
    // as well: all of them are measured.
    if ((seed >> 24) != 0xff) {
        m_cells.assign(std::size_t(kSide) * kSide * kSide, kMeasure);
        return;
    }
    const float radius = float(tolerance) / 2.0f;
    const std::vector<SCell>& cells = Cells();
    m_cells.resize(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const float d = std::sqrt(CWandColours::Distance2(cells[i].centre, m_seedLab));
        const float spread = cells[i].reach + kRoundingMargin;
        m_cells[i] = d + spread <= radius ? 1 : d - spread > radius ? 0 : kMeasure;
    }
    m_edgeIndex.assign(cells.size(), 0);
    for (std::size_t i = 0; i < cells.size() && m_edgeBits.size() < kMaxEdgeCells; ++i) {
        if (m_cells[i] != kMeasure)
            continue;
        const int r0 = int(i >> 12) * kLevels, g0 = int(i >> 6 & 0x3f) * kLevels, b0 = int(i & 0x3f) * kLevels;
        std::uint64_t bits = 0;
        for (int r = 0; r < kLevels; ++r)
            for (int g = 0; g < kLevels; ++g)
                for (int b = 0; b < kLevels; ++b) {
                    const std::uint32_t argb =
                        0xff000000u | std::uint32_t(r0 + r) << 16 | std::uint32_t(g0 + g) << 8 | std::uint32_t(b0 + b);
                    bits |= std::uint64_t(Measured(argb)) << BitOf(argb);
                }
        m_edgeIndex[i] = std::uint32_t(m_edgeBits.size());
        m_edgeBits.push_back(bits);
        m_cells[i] = kEdge;
    }
}

bool CWandMatcher::Measured(std::uint32_t argb) const
{
    if (m_mode != Mode::Table)
        return Matches(argb);
    return CWandColours::Distance2(CWandColours::Lab(argb), m_seedLab) <= m_limit;
}

void CWandMatcher::MatchRow(const std::uint32_t* in, int count, bool opaque, std::uint8_t* out) const
{
    const std::uint32_t force = opaque ? 0xff000000u : 0u;
    if (m_mode != Mode::Table) {
        for (int x = 0; x < count; ++x)
            out[x] = Matches(in[x] | force);
        return;
    }
    // First the table alone, without a branch the colours could upset;
    // then the few pixels it leaves open.
    for (int x = 0; x < count; ++x) {
        const std::uint32_t c = in[x] | force;
        const std::uint8_t cell = m_cells[CellOf(c)];
        out[x] = (c >> 24) == 0xff ? cell : kMeasure;
    }
    constexpr std::uint64_t kOpen = 0xfefefefefefefefeull;
    // Colours measured one by one come in runs in a photograph: the last
    // one is remembered.
    std::uint32_t lastColour = 0;
    bool lastAnswer = Measured(0);
    for (int x = 0; x < count; ++x) {
        if ((x & 7) == 0 && x + 8 <= count) {
            std::uint64_t v;
            std::memcpy(&v, out + x, 8);
            if ((v & kOpen) == 0) {
                x += 7;
                continue;
            }
        }
        if (out[x] < kEdge)
            continue;
        const std::uint32_t c = in[x] | force;
        if (out[x] == kEdge) {
            out[x] = std::uint8_t((m_edgeBits[m_edgeIndex[CellOf(c)]] >> BitOf(c)) & 1);
            continue;
        }
        if (c != lastColour) {
            lastColour = c;
            lastAnswer = Measured(c);
        }
        out[x] = lastAnswer;
    }
}
