#pragma once

class CArea;
class CAreaShading;
class CWarpCache;
class QPainter;

// What drawing an area needs besides the area itself.
struct CAreaDrawOptions
{
    // While a view edits the area's corners: the corner quadrilateral
    // clips instead of the outline, and the warp shows only when previewed.
    bool skewEdit = false;
    bool skewPreview = false;
    // The selected area: without a texture it is shown opaque red.
    bool isCurrent = false;
    // Laid over the texture drawn, when given.
    const CAreaShading* shading = nullptr;
    // Where warped textures are kept and found, and a missing one is built
    // into; without it a warp the file was read with is drawn, or one is
    // built for this drawing alone.
    CWarpCache* warps = nullptr;
};

// Paints the area in picture pixels: its texture placed and clipped as the
// skew and the editing flags say, or, without a texture, opaque red while it is the
// selected area and nothing otherwise. May build a missing warped texture,
// which is safe while other threads draw the same area; leaves the
// painter's state as it found it.
void DrawArea(QPainter& painter, const CArea& area, const CAreaDrawOptions& options = {});
