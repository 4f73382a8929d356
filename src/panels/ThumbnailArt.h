#pragma once

#include <QSize>

class QColor;
class QFont;
class QPainter;
class QPalette;
class QRect;
class QString;

// The drawing shared by every kind of thumbnail cell.
namespace ThumbnailArt {

// Arial 8 pt, or the nearest face the system has.
const QFont& CaptionFont();

// text on one line, centred in rect, cut off with "…" when too long and
// never drawn outside rect.
void DrawCaption(QPainter& painter, const QRect& rect, const QString& text, const QColor& colour);

// The cell of a file that is no image: a box with both diagonals, in the
// window colours on normal and the highlight colours on selected.
void DrawCrossedBox(QPainter& normal, QPainter& selected, const QPalette& palette, QSize cell);

// A cell still being prepared: only its caption, so a screen of loading
// cells reads as a list rather than as a wall of errors.
void DrawLoadingCell(QPainter& painter, const QRect& cell, const QString& caption, const QPalette& palette);

// The dotted frame of the focused cell, inverting what is under it so it
// shows on any swatch.
void DrawFocusFrame(QPainter& painter, const QRect& cell);

// Where a cell's caption goes, in the cell's coordinates.
QRect CaptionRect(QSize cell);

} // namespace ThumbnailArt
