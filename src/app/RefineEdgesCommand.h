#pragma once

#include "analysis/RegionMask.h"

#include <QSize>

#include <optional>

class CPolygon;
class CTilemontDoc;
class QWidget;

// Refine Edges on a document: the selection as pixels, its boundary snapped
// to the picture's edges beside the window (progress and Cancel past half a
// second), and the result as one "Selection" step. Cancel leaves the
// selection as it was.
class CRefineEdgesCommand
{
public:
    static bool CanRun(const CTilemontDoc& doc);
    // Asks for the band width, then refines; false when nothing changed.
    static bool Run(CTilemontDoc& doc, QWidget* parent);
    // Runs with a given band, no question asked.
    static bool Run(CTilemontDoc& doc, int band, QWidget* parent);

    // The pixels whose centres the selection covers by the even-odd rule.
    static CRegionMask Pixels(const CPolygon& selection, QSize size);
};
