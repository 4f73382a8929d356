#pragma once

#include <QPointF>
#include <QRectF>

#include <optional>
#include <utility>

// The part of the segment a-b inside rect (edges included), as parameters
// t0 <= t1 along it (a + t (b - a)); nothing when it misses the rectangle.
// Liang-Barsky: exact for segments parallel to an edge, no division by zero.
std::optional<std::pair<double, double>> ClipSegmentToRect(QPointF a, QPointF b, const QRectF& rect);
