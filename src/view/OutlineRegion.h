#pragma once

#include <QRegion>
#include <QSize>

class CPolygon;
class QTransform;

// The window under a selection (even-odd interior and outline) widened by
// trunc(2 x zoom), at least 1, plus extra pixels: what must repaint when the
// selection appears, goes or moves. toClient maps picture to window pixels.
QRegion SelectionOutlineRegion(const CPolygon& selection, const QTransform& toClient, QSize window, double zoom,
                               int extra);
