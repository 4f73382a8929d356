#pragma once

#include "Area.h"
#include "WarpCache.h"

#include <QImage>

#include <optional>
#include <vector>

// A template's content as it was at one moment, for work that runs beside
// the editor (an export, a render on another thread): the images are shared
// with the document, not copied, and the editor may go on changing the
// document meanwhile.
struct CTemplateSnapshot
{
    std::optional<QImage> picture;
    std::vector<CArea> areas;
    // The document's warps, shared: a worker draws the warps the editor
    // built and keeps those it builds. Null for a snapshot of no document.
    std::shared_ptr<CWarpCache> warps;

    // The same template by value: the picture's pixels and what each area
    // stores; the warps and the areas' identities do not count.
    bool operator==(const CTemplateSnapshot& other) const
    {
        return picture == other.picture && areas == other.areas;
    }
};
