#pragma once

#include "Area.h"

#include <QRect>

// What changed in a document, so that a view repaints and recomposes only
// that. bounds is in picture pixels: for an area, everything it painted
// before and paints now; for the selection, the old outline's bounds.
struct CDocChange
{
    enum class Kind {
        AreaAdded,
        AreaRemoved,
        AreaChanged,
        // The Areas panel's pick changed: the red fill of an untextured area.
        SelectedAreaChanged,
        PictureChanged,
        SelectionChanged,
        // A step was done, undone or redone, or the clean point moved.
        HistoryChanged,
    };

    Kind kind;
    AreaId area = 0;
    QRect bounds;
};
