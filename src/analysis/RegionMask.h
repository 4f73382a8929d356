#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A set of picture pixels: one byte per pixel, row by row, non-zero inside.
// The common currency of the content selections (the wand, the surface
// finder, edge refinement) before a region becomes an outline.
struct CRegionMask
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;

    CRegionMask() = default;
    CRegionMask(int w, int h)
        : width(w > 0 && h > 0 ? w : 0), height(w > 0 && h > 0 ? h : 0),
          bits(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0)
    {
    }

    std::uint8_t* Row(int y) { return bits.data() + static_cast<std::size_t>(y) * width; }
    const std::uint8_t* Row(int y) const { return bits.data() + static_cast<std::size_t>(y) * width; }

    bool Contains(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height && Row(y)[x] != 0;
    }

    std::size_t Count() const
    {
        std::size_t n = 0;
        for (std::uint8_t b : bits)
            n += b != 0;
        return n;
    }

    bool operator==(const CRegionMask&) const = default;
};
