#pragma once

#include <QCursor>

// The selection, hand and zoom tools' cursors, 32 x 32 logical pixels drawn
// in code at twice that resolution, so they stay sharp on dense screens.
namespace ToolCursors {

enum Id : int { Rectangle = 130, Ellipse = 131, Polyline = 132, Freehand = 133, Hand = 134, Zoom = 135, Wand = 136,
                Surface = 139 };

QCursor Get(Id id);
// The hot spot of id, in logical pixels.
QPoint HotSpot(Id id);

} // namespace ToolCursors
