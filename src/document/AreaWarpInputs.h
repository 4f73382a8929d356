#pragma once

#include "IntRect.h"

#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>

// Everything an area's warped texture is built from; the texture by the
// identity of its pixels, which every change of them renews. Two areas with
// equal inputs have the same warp, so these are what a kept warp is looked
// up by and what tells whether the warp a file was read with still holds.
struct CAreaWarpInputs
{
    qint64 texture = 0;
    double rotation = 0.0;
    double scale = 1.0;
    std::int32_t shiftX = 0;
    std::int32_t shiftY = 0;
    std::uint32_t skew = 0;
    std::array<QPoint, 4> corners{};
    CIntRect initial;
    QRect outline;
    bool perspective = false;
    bool operator==(const CAreaWarpInputs&) const = default;
};
