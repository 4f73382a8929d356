#pragma once

#include "geometry/Polygon.h"

#include <QSize>

#include <optional>

class QPainterPath;

// Combines a finished tool shape (in picture pixels) with the selection and
// returns the new selection. Ctrl subtracts the shape, otherwise Shift adds
// it, otherwise it replaces the selection. With a picture, the shape is first
// clipped to the picture rectangle, so selections never leave the picture.
CPolygon CommitShape(const CPolygon& selection, const QPainterPath& shapePath, bool ctrl,
                     bool shift, std::optional<QSize> pictureSize);
