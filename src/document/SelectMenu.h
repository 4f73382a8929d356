#pragma once

#include "geometry/Polygon.h"

#include <QSize>
#include <QString>

#include <optional>

class CTilemontDoc;
class IDocumentPrompts;

// The Select menu's changes to the selection, each worked out on the
// selection's polygon within a picture of the given size; the document
// makes each one history step.
namespace SelectMenu {

// The whole picture.
CPolygon All(QSize picture);
// The picture minus the selection.
CPolygon Inverted(const CPolygon& selection, QSize picture);
// The selection grown (pixels > 0, corners rounded) or shrunk (pixels < 0)
// and kept within the picture; shrinking keeps it at the picture's edge.
CPolygon Resized(const CPolygon& selection, int pixels, QSize picture);

// Asks by how many pixels to grow or shrink: a whole number from 1 to
// kMaxPixels, or nothing when the user cancels or gives something else
// (which is said).
std::optional<int> AskPixels(IDocumentPrompts& prompts, bool grow);
inline constexpr int kMaxPixels = 10000;

} // namespace SelectMenu
