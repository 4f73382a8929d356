#include "analysis/SpeckFilter.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace
{

struct Run
{
    int start;
    int end; // one past the last pixel
};

// The first x >= from where the pixel's insideness differs from inside, or
// w. Eight pixels at a time over long stretches.
int NextChange(const std::uint8_t* row, int from, int w, bool inside)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    int x = from;
    while (x + 8 <= w) {
        std::uint64_t v;
        std::memcpy(&v, row + x, 8);
        const bool change = inside ? ((v - kOnes) & ~v & kHighs) != 0 : v != 0;
        if (change)
            break;
        x += 8;
    }
    while (x < w && (row[x] != 0) == inside)
        ++x;
    return x;
}

// The runs of every row, alternating inside and outside, with union-find
// over them: inside runs join 8-connected, outside runs 4-connected.
class CRunComponents
{
public:
    explicit CRunComponents(const CRegionMask& mask) : m_rowFirst(std::size_t(mask.height) + 1, 0)
    {
        for (int y = 0; y < mask.height; ++y) {
            const std::uint8_t* row = mask.Row(y);
            const std::size_t first = m_runs.size();
            m_rowFirst[y] = first;
            m_firstInside.push_back(row[0] != 0);
            for (int x = 0; x < mask.width;) {
                const int end = NextChange(row, x, mask.width, row[x] != 0);
                m_runs.push_back({x, end});
                x = end;
            }
            m_parent.resize(m_runs.size());
            m_size.resize(m_runs.size());
            for (std::size_t i = first; i < m_runs.size(); ++i) {
                m_parent[i] = std::uint32_t(i);
                m_size[i] = std::uint64_t(m_runs[i].end - m_runs[i].start);
            }
            if (y > 0)
                JoinRows(y);
        }
        m_rowFirst[std::size_t(mask.height)] = m_runs.size();
    }

    bool Inside(int y, std::size_t i) const { return ((i - m_rowFirst[y]) % 2 == 0) == m_firstInside[y]; }
    std::size_t RowFirst(int y) const { return m_rowFirst[y]; }
    std::size_t RowEnd(int y) const { return m_rowFirst[std::size_t(y) + 1]; }
    const Run& At(std::size_t i) const { return m_runs[i]; }

    std::uint32_t Find(std::size_t i)
    {
        std::uint32_t r = std::uint32_t(i);
        while (m_parent[r] != r) {
            m_parent[r] = m_parent[m_parent[r]];
            r = m_parent[r];
        }
        return r;
    }
    std::uint64_t Size(std::size_t i) { return m_size[Find(i)]; }

private:
    void Union(std::size_t a, std::size_t b)
    {
        std::uint32_t ra = Find(a), rb = Find(b);
        if (ra == rb)
            return;
        if (m_size[ra] < m_size[rb])
            std::swap(ra, rb);
        m_parent[rb] = ra;
        m_size[ra] += m_size[rb];
    }

    // Walks the runs of row y and of the row above side by side.
    void JoinRows(int y)
    {
        std::size_t a = m_rowFirst[y - 1];
        const std::size_t aEnd = m_rowFirst[y];
        for (std::size_t b = m_rowFirst[y]; b < m_runs.size(); ++b) {
            const Run& run = m_runs[b];
            const bool inside = Inside(y, b);
            // Inside runs also meet the runs touching them at a corner.
            const int reach = inside ? 1 : 0;
            while (a < aEnd && m_runs[a].end + reach <= run.start)
                ++a;
            for (std::size_t c = a; c < aEnd && m_runs[c].start < run.end + reach; ++c)
                if (Inside(y - 1, c) == inside)
                    Union(b, c);
        }
    }

    std::vector<Run> m_runs;
    std::vector<std::size_t> m_rowFirst;
    std::vector<bool> m_firstInside;
    std::vector<std::uint32_t> m_parent;
    std::vector<std::uint64_t> m_size;
};

// Sets every run of the given kind whose part is smaller than minPixels to
// the other kind, sparing the part that holds keep.
void Flip(CRegionMask& mask, bool inside, int minPixels, QPoint keep)
{
    CRunComponents parts(mask);
    std::int64_t kept = -1;
    if (mask.Contains(keep.x(), keep.y()) == inside && keep.y() >= 0 && keep.y() < mask.height) {
        for (std::size_t i = parts.RowFirst(keep.y()); i < parts.RowEnd(keep.y()); ++i)
            if (parts.At(i).start <= keep.x() && keep.x() < parts.At(i).end)
                kept = parts.Find(i);
    }
    for (int y = 0; y < mask.height; ++y) {
        std::uint8_t* row = mask.Row(y);
        for (std::size_t i = parts.RowFirst(y); i < parts.RowEnd(y); ++i) {
            if (parts.Inside(y, i) != inside || parts.Size(i) >= std::uint64_t(minPixels)
                || std::int64_t(parts.Find(i)) == kept)
                continue;
            const Run& run = parts.At(i);
            std::memset(row + run.start, inside ? 0 : 1, std::size_t(run.end - run.start));
        }
    }
}

} // namespace

void DropSpecks(CRegionMask& mask, int minPixels, QPoint keep)
{
    if (minPixels <= 1 || mask.width <= 0 || mask.height <= 0)
        return;
    // Islands first: one dropped inside a hole makes the hole larger, never
    // smaller, so the holes are then judged at their full size.
    Flip(mask, true, minPixels, keep);
    Flip(mask, false, minPixels, QPoint(-1, -1));
}
