#pragma once

#include "LightLayer.h"
#include "geometry/Polygon.h"

#include <QImage>
#include <QRectF>

#include <vector>

class QPainter;

// The picture's own light and shadow under one area, to lay over a new
// texture there: the area's light layer (relative to its usual light, the
// old surface's pattern taken out) at a strength. Only brightness changes; a
// texture keeps its colours. Depends on the picture, the outline and the
// strength alone, so one measure serves every texture laid in.
class CAreaShading
{
public:
    // No shading: Apply changes nothing.
    CAreaShading() = default;

    // Null when the outline covers no pixel of the picture. strength scales
    // the light's contrast: 1 as measured, 0 none, 1.5 half as much again.
    static CAreaShading Measure(const QImage& picture, const CPolygon& outline, double strength = 1.0);
    // The same from a layer measured before.
    static CAreaShading FromLayer(const CLightLayer& layer, double strength);

    bool IsNull() const { return m_darken.isNull(); }
    // Scales what painter has drawn (in picture coordinates, within its
    // current clip) by the shading: darker where the picture is darker than
    // usual for the area, lighter where it is lighter.
    void Apply(QPainter& painter) const;
    // The same straight on an image's pixels (16-bit 5-6-5 or 32-bit RGB)
    // where mask (Alpha8, its pixel (0, 0) on image pixel maskOrigin) is
    // set: a composition pays for the pixels it shades and no more.
    void ApplyTo(QImage& image, const QImage& mask, QPoint maskOrigin) const;

    // The factor the shading applies at a picture point (1 outside), for
    // tests and tools.
    double FactorAt(QPointF picturePoint) const;

private:
    // The picture pixels the maps reach, within image.
    QRect Covered(const QRect& image) const;

    // Multiplied in (grey g darkens by g / 255) and colour-dodged in (grey g
    // brightens by 255 / (255 - g)): together any factor from 0 to the
    // brightening limit, each neutral where the other acts.
    QImage m_darken;
    QImage m_lighten;
    // Where the two maps lie on the picture.
    QRectF m_rect;
    // The factors themselves, a cell per map pixel, for ApplyTo.
    std::vector<float> m_factor;
    int m_step = 1;
};
