#pragma once

#include "analysis/RegionMask.h"

#include <QPoint>

// Drops the specks of a region in place: first its islands (8-connected
// parts) of fewer than minPixels pixels, except the one holding keep, then
// the holes (4-connected parts of the outside, the picture's edge counting
// as nothing special) of fewer than minPixels pixels, which become inside.
// Works on runs of pixels, so a large region costs little more than one
// read of the mask. Nothing happens for minPixels <= 1.
void DropSpecks(CRegionMask& mask, int minPixels, QPoint keep);
