#pragma once

#include "document/Area.h"

// The area as it lies on the picture scaled by factor (below 1: shrunk):
// outline, skew corners, initial rectangle and the texture's placement all
// scaled alike, each rounded to the whole pixels it is kept in, so that
// drawing it on the scaled picture shows what drawing the area on the whole
// one shows, scaled, to within a pixel. A texture laid flat that comes out
// smaller than its texels is averaged over the texels each pixel then covers
// (a perspective warp averages by itself), as scaling the drawing would
// average it. The name and the flags stay; the warp as read no longer fits,
// so drawing builds one at the new size. For drawing only: what the area
// saves no longer is the file's.
CArea ScaleArea(const CArea& area, double factor);
