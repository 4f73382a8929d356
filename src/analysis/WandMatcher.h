#pragma once

#include "analysis/WandColours.h"

#include <cstdint>
#include <vector>

// Whether a colour lies within a wand tolerance of the clicked one, by the
// distance CWandColours defines, at the price of one table look-up for
// every colour. The table splits RGB into 64 x 64 x 64 cells and marks
// those lying wholly inside or wholly outside the tolerance; the cells the
// tolerance's edge crosses get a bit for each of their 64 colours, measured
// when the matcher is made. Only pixels not fully opaque, and edge cells
// beyond a budget (huge tolerances), are measured as they come. The answer
// is the measured one either way.
class CWandMatcher
{
public:
    // seed and the colours asked about are ARGB, not premultiplied.
    CWandMatcher(std::uint32_t seed, int tolerance);

    bool Matches(std::uint32_t argb) const
    {
        if (m_mode == Mode::All)
            return true;
        if (m_mode == Mode::Exact)
            return argb == m_seed;
        if ((argb >> 24) == 0xff) {
            const std::size_t i = CellOf(argb);
            const std::uint8_t cell = m_cells[i];
            if (cell < kEdge)
                return cell != 0;
            if (cell == kEdge)
                return (m_edgeBits[m_edgeIndex[i]] >> BitOf(argb)) & 1;
        }
        return Measured(argb);
    }

    // out[x] = 1 where in[x] (with alpha forced to opaque when opaque is
    // set) matches, 0 elsewhere.
    void MatchRow(const std::uint32_t* in, int count, bool opaque, std::uint8_t* out) const;

    // Whether the colour matches by converting and measuring it: the
    // definition the table answers for.
    bool Measured(std::uint32_t argb) const;

private:
    enum class Mode
    {
        Exact, // tolerance 0: the very same colour
        All,   // tolerance 255: every colour
        Table,
    };
    static constexpr std::uint8_t kEdge = 2;    // per colour in m_edgeBits
    static constexpr std::uint8_t kMeasure = 3; // measured as asked

    static std::size_t CellOf(std::uint32_t argb)
    {
        return ((argb >> 6) & 0x3f000) | ((argb >> 4) & 0xfc0) | ((argb >> 2) & 0x3f);
    }

    static unsigned BitOf(std::uint32_t argb)
    {
        return ((argb >> 12) & 0x30) | ((argb >> 6) & 0xc) | (argb & 0x3);
    }

    Mode m_mode = Mode::Table;
    std::uint32_t m_seed = 0;
    CWandColours::SLab m_seedLab;
    float m_limit = 0;
    std::vector<std::uint8_t> m_cells;
    std::vector<std::uint32_t> m_edgeIndex; // per cell, where its bits are
    std::vector<std::uint64_t> m_edgeBits;
};
