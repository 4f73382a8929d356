#pragma once

#include <QPointF>
#include <QRect>
#include <QRegion>

#include <vector>

class QPainter;

// Drawing and screen regions of the tools' feedback. Everything is drawn
// inverting what is under it, so feedback shows on any picture; each figure
// comes with the region it covers, so that moving it repaints only that.
namespace ToolFeedback {

enum class Figure { Rectangle, Ellipse };

// The rubber band's rectangle from two client points: truncated toward zero,
// normalised, and reaching the far point's pixel (drawn, it covers both the
// press pixel and the pointer pixel).
QRect BandRect(QPointF from, QPointF to);

// The dotted 1-pixel inverting rubber band and the region it covers.
void DrawBand(QPainter& painter, Figure figure, const QRect& band);
QRegion BandRegion(Figure figure, const QRect& band);

// Lines drawn up to, not including, their end pixel, so that joined segments
// invert each shared pixel once. dotted: one pixel on, one off.
void DrawLines(QPainter& painter, const std::vector<QPointF>& points, bool dotted, bool closed = false);
void DrawLine(QPainter& painter, QPointF a, QPointF b, bool dotted);
// A region covering the segment a-b with a pixel to spare on each side.
QRegion LineRegion(QPointF a, QPointF b);

} // namespace ToolFeedback
