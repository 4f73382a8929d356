#pragma once

#include "document/Area.h"
#include "render/AreaShading.h"
#include "render/TemplateCompositor.h"

#include <QImage>
#include <vector>

// A template split around one of its areas, for drawing that area with many
// textures in turn: the picture and the areas before it are composed once,
// the areas after it once as well, so that each texture costs only its own
// area. The result for a texture is, pixel for pixel, what ComposeTemplate
// gives with that texture in the area. Once composed, everything is
// read-only; any number of threads may use it at once.
class CLayeredTemplate
{
public:
    // Takes the areas over; composes nothing yet.
    CLayeredTemplate(const QImage& picture, const std::vector<CArea>& areas, std::size_t index,
                     const CComposeOptions& options = {});

    // Composes the layers (and measures the shading), once: the costly part,
    // which textures being prepared meanwhile need not wait for. False when
    // the canvases could not be allocated, or the index names no area.
    bool ComposeLayers();

    // The split area with texture in place of its own and everything else as
    // it was; a skewed area gets its warp rebuilt for the texture on the
    // calling thread alone, so that parallel callers each keep to one core.
    // Needs no layers.
    CArea AreaWithTexture(const QImage& texture) const;

    // The composed template with area drawn where the split area was; null
    // until the layers are composed.
    QImage ComposeWith(const CArea& area) const;

    // Whether the areas above were composed once; false when one of them
    // blends with what lies beneath (a translucent texture, shading beyond
    // its texture), and they are then drawn again for every texture.
    bool HasAboveLayer() const { return !m_bDrawAbove; }

private:
    // A stretch of one row where the areas above decide the pixel alone.
    struct CRun
    {
        int y;
        int x;
        int length;
    };

    void ComposeAbove();
    void DrawAbove(QPainter& painter) const;

    QImage m_picture;
    CComposeOptions m_options;
    std::vector<CArea> m_belowAreas;
    CArea m_target;
    CAreaShading m_targetShading;
    std::vector<CArea> m_aboveAreas;
    std::vector<CAreaShading> m_aboveShading;
    QImage m_below;
    QImage m_aboveLayer;
    std::vector<CRun> m_runs;
    bool m_bHasTarget = false;
    bool m_bDrawAbove = false;
};
