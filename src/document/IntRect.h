#pragma once

#include <cstdint>

// A rectangle by its four edges, as templates store it. Unlike QRect,
// right and bottom are exclusive: width is right - left.
struct CIntRect
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    std::int64_t Width() const { return std::int64_t(right) - left; }
    std::int64_t Height() const { return std::int64_t(bottom) - top; }
    bool operator==(const CIntRect&) const = default;
};
