#pragma once

#include <QImage>
#include <memory>

#include <QtGlobal>

class CArea;
class CWarpCache;

// What an edit does to the warps kept for an area, so that the cache holds
// what the area shows as the edit leaves it: the saved file and an undo
// both take the warp from there.

// The exact warp of the area's values, kept in warps: the one kept, or one
// built now.
std::shared_ptr<const QImage> KeepExactWarp(CWarpCache& warps, const CArea& area);

// Lets a save build the warp of an area that shows one and has none kept.
void InstallWarpBuilder(CWarpCache& warps);

// After a change of the warp's inputs: the exact warp is made now when the
// area shows it, otherwise none is kept for the new values, so that an area
// drawn flat pays for no warp and saves none.
void RefreshAreaWarp(CWarpCache& warps, const CArea& area, bool shown);

// A quick warp for while the corners are dragged: everything reduced until
// the warp's box holds about maxPixels, kept as the area's warp for its
// values and drawn enlarged. Nothing without a texture; an area small
// enough gets the exact warp.
void PreviewAreaWarp(CWarpCache& warps, const CArea& area, qint64 maxPixels);
