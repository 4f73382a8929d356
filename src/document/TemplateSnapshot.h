#pragma once

#include "Area.h"

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

    // The same template by value: the picture's pixels and what each area
    // stores; warp caches, editing flags and identities do not count.
    bool operator==(const CTemplateSnapshot&) const = default;
};
