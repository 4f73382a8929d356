#pragma once

#include "document/TemplateSnapshot.h"

#include <QImage>
#include <QRectF>

class QPainter;

// A template as it is printed: the export's own composition (the picture
// at its full resolution with every area, no selection and no handles),
// drawn into the page by CPrintLayout. Printing and its tests paint through
// the same Paint, on a printer or on an image.
class CTemplatePrint
{
public:
    // Composes at once; keepShading as the export's "Keep Shading".
    CTemplatePrint(const CTemplateSnapshot& snapshot, bool keepShading);

    // Null when the template has no picture or the canvas could not be made.
    bool IsNull() const { return m_composed.isNull(); }
    const QImage& Composed() const { return m_composed; }

    // Draws the composition fitted into printable (in the painter's
    // coordinates) and returns where it went; an empty rectangle, and
    // nothing drawn, when there is nothing to print.
    QRectF Paint(QPainter& painter, const QRectF& printable) const;

private:
    QImage m_composed;
};
