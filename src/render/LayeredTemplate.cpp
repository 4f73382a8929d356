#include "LayeredTemplate.h"

#include "AreaDraw.h"
#include "AreaWarp.h"
#include "LightLayerStore.h"
#include "SkewedTexture.h"
#include "document/WarpCache.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

CAreaShading ShadingOf(const QImage& picture, const CArea& area, const CComposeOptions& options)
{
    return options.keepShading
               ? *CLightLayerStore::Shared().Shading(picture, area.GetOutline(), options.StrengthOf(area))
               : CAreaShading();
}

} // namespace

CLayeredTemplate::CLayeredTemplate(const QImage& picture, const std::vector<CArea>& areas, std::size_t index,
                                   const CComposeOptions& options)
    : m_picture(picture), m_options(options)
{
    if (index >= areas.size())
        return;
    m_target = areas[index];
    // Copies keep the warps found for them: a template read from a file
    // draws the warp it stored, and so must every texture's composition.
    for (std::size_t i = 0; i < areas.size(); ++i)
        if (i != index)
            (i < index ? m_belowAreas : m_aboveAreas).push_back(areas[i]);
    m_bHasTarget = true;
}

bool CLayeredTemplate::ComposeLayers()
{
    if (!m_bHasTarget)
        return false;
    m_targetShading = ShadingOf(m_picture, m_target, m_options);
    for (const CArea& area : m_aboveAreas)
        m_aboveShading.push_back(area.GetTexture() ? ShadingOf(m_picture, area, m_options) : CAreaShading());
    m_below = ComposeTemplate(m_picture, m_belowAreas, {}, m_options);
    if (!m_below.isNull() && !m_aboveAreas.empty())
        ComposeAbove();
    return !m_below.isNull();
}

CArea CLayeredTemplate::AreaWithTexture(const QImage& texture) const
{
    CArea area(m_target);
    area.SetTexture(&texture);
    return area;
}

QImage CLayeredTemplate::ComposeWith(const CArea& area) const
{
    QImage canvas = m_below.copy();
    if (canvas.isNull())
        return QImage();
    {
        QPainter painter(&canvas);
        // As ComposeTemplate paints.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        // Each texture's warp is drawn once: it is built here on this thread
        // alone (the render runs a texture per core) and kept nowhere.
        CWarpCache own;
        if (area.IsSkewApplied() && area.HasSkewCorners()) {
            QImage warp = BuildAreaWarp(area, 1);
            // A warp that cannot be made is left to drawing, which fails alike.
            if (!warp.isNull())
                own.Put(area.GetId(), area.WarpInputs(), std::make_shared<const QImage>(std::move(warp)));
        }
        DrawArea(painter, area, {.shading = &m_targetShading, .warps = &own});
        if (m_bDrawAbove)
            DrawAbove(painter);
    }
    const std::size_t depth = sizeof(quint16);
    for (const CRun& run : m_runs)
        std::memcpy(canvas.scanLine(run.y) + std::size_t(run.x) * depth,
                    m_aboveLayer.constScanLine(run.y) + std::size_t(run.x) * depth, std::size_t(run.length) * depth);
    return canvas;
}

void CLayeredTemplate::DrawAbove(QPainter& painter) const
{
    for (std::size_t i = 0; i < m_aboveAreas.size(); ++i)
        DrawArea(painter, m_aboveAreas[i], {.shading = &m_aboveShading[i], .warps = m_options.warps});
}

// The areas above are composed over black and over white, on the canvas
// format the template is composed in, so that each pixel is rounded exactly
// as it would be over the real one. Every step of painting is, channel by
// channel, a non-decreasing function of what lies beneath; where black and
// white give the same value, so does every other background, and the layer
// may be copied in. Where they differ, the pixel is either left alone (then
// nothing was painted there, which a transparent third canvas shows) or
// blends with what lies beneath, and the areas must be drawn again for every
// texture.
void CLayeredTemplate::ComposeAbove()
{
    m_bDrawAbove = true;
    const QSize size = m_picture.size();
    QImage onBlack(size, QImage::Format_RGB16), onWhite(size, QImage::Format_RGB16);
    QImage touched(size, QImage::Format_ARGB32_Premultiplied);
    if (onBlack.isNull() || onWhite.isNull() || touched.isNull())
        return;
    onBlack.fill(Qt::black);
    onWhite.fill(Qt::white);
    touched.fill(Qt::transparent);
    for (QImage* canvas : {&onBlack, &onWhite, &touched}) {
        QPainter painter(canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        DrawAbove(painter);
    }

    constexpr quint16 kBlack = 0x0000, kWhite = 0xFFFF;
    std::vector<CRun> runs;
    for (int y = 0; y < size.height(); ++y) {
        const auto* black = reinterpret_cast<const quint16*>(onBlack.constScanLine(y));
        const auto* white = reinterpret_cast<const quint16*>(onWhite.constScanLine(y));
        const auto* painted = reinterpret_cast<const QRgb*>(touched.constScanLine(y));
        for (int x = 0; x < size.width();) {
            if (black[x] == white[x]) {
                const int start = x;
                while (x < size.width() && black[x] == white[x])
                    ++x;
                runs.push_back({y, start, x - start});
            } else if (black[x] == kBlack && white[x] == kWhite && qAlpha(painted[x]) == 0) {
                ++x;
            } else {
                return;
            }
        }
    }
    m_runs = std::move(runs);
    m_aboveLayer = std::move(onBlack);
    m_bDrawAbove = false;
}
