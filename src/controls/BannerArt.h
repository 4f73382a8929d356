#pragma once

#include <QSize>
#include <QString>

class QPainter;
class QPoint;

// One banner tip as drawn: a sketch of a tiled floor in the colours of the
// program icon, the tip's sentence beside it and the help sign at the right.
// Painted with vectors and text rather than blitted, so it is sharp at any
// screen scale and speaks the language of the translated sentence.
class CBannerArt
{
public:
    static constexpr QSize kSize{480, 60};

    // Paints the tip with its top-left corner at origin, in the painter's
    // logical pixels. The sentence wraps onto two lines and gets smaller
    // until it fits between the floor and the help sign.
    static void Paint(QPainter& painter, QPoint origin, const QString& text);
};
