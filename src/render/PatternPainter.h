#pragma once

#include "PatternLayout.h"

#include <QImage>
#include <QSize>
#include <QTransform>
#include <vector>

// Paints laid pieces into a texture: the joint colour first, then every
// piece's image stretched over its frame and cut to its shape, edges
// smoothed by coverage so a joint is as wide as its width in pixels
// including fractions. Each variant is brought to the texture's scale once,
// with averaging, so a fine photograph does not shimmer when laid small.
class CPatternPainter
{
public:
    // surfaceToTexture maps surface cm to texture pixels by a scale of
    // pxPerCm and a shift. Strips of the texture are painted side by side.
    static QImage Paint(const CLayingPattern& pattern, const std::vector<CLaidPiece>& pieces, QSize size,
                        const QTransform& surfaceToTexture, double pxPerCm);
};
