#include "AreaDraw.h"

#include "document/Area.h"
#include "render/AreaShading.h"
#include "render/AreaWarp.h"
#include "render/SkewedTexture.h"
#include "document/WarpCache.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

bool IsUnitOrZero(qreal v)
{
    return v == 0.0 || v == 1.0 || v == -1.0;
}

bool IsWholeTexelMapping(const QTransform& t)
{
    return t.type() <= QTransform::TxRotate && IsUnitOrZero(t.m11()) && IsUnitOrZero(t.m12()) &&
           IsUnitOrZero(t.m21()) && IsUnitOrZero(t.m22()) && t.dx() == std::trunc(t.dx()) &&
           t.dy() == std::trunc(t.dy());
}

QPainterPath CornerQuad(const CArea::Corners& corners)
{
    QPainterPath quad;
    quad.moveTo(corners[CArea::TopLeft]);
    quad.lineTo(corners[CArea::TopRight]);
    quad.lineTo(corners[CArea::BottomRight]);
    quad.lineTo(corners[CArea::BottomLeft]);
    quad.closeSubpath();
    return quad;
}

void DrawWarp(QPainter& painter, const CArea& area, CWarpCache* warps)
{
    int reduction = 1;
    CWarpCache::Image skewed;
    if (warps) {
        // A preview kept for the values is drawn as it is.
        const CWarpCache::CEntry kept = warps->Find(area.GetId(), area.WarpInputs());
        skewed = kept.image;
        reduction = kept.reduction;
    }
    if (!skewed)
        skewed = area.GetStoredWarp();
    if (!skewed && warps) {
        skewed = warps->GetOrBuild(area, [](const CArea& a) { return BuildAreaWarp(a); });
        reduction = 1;
    } else if (!skewed) {
        QImage made = BuildAreaWarp(area);
        if (!made.isNull())
            skewed = std::make_shared<const QImage>(std::move(made));
    }
    if (!skewed)
        return;
    // The warp's pixel (0, 0) is its rect's top-left: for the bilinear
    // patch, the corners' top-left bound.
    const QRect rect = area.GetSkewedTextureRect();
    if (reduction == 1) {
        painter.drawImage(rect.topLeft(), *skewed);
        return;
    }
    // A preview drawn enlarged, cut to the exact warp's rect, so that it
    // paints nowhere the area's bounds do not reach.
    const QSizeF shown(std::min<qreal>(rect.width(), skewed->width() * reduction),
                       std::min<qreal>(rect.height(), skewed->height() * reduction));
    painter.drawImage(QRectF(rect.topLeft(), shown), *skewed,
                      QRectF(0, 0, shown.width() / reduction, shown.height() / reduction));
}

} // namespace

void DrawArea(QPainter& painter, const CArea& area, const CAreaDrawOptions& options)
{
    QPainterPath outline;
    PolygonToPath(area.GetOutline(), outline);
    const QImage* texture = area.GetTexture();
    if (!texture) {
        if (options.isCurrent)
            painter.fillPath(outline, QColor(0xFF, 0x00, 0x00));
        return;
    }

    painter.save();
    const QTransform placement =
        TextureTransform(area.GetRotation(), area.GetShiftX(), area.GetShiftY(), area.GetScale());
    const QBrush brush = TextureBrush(*texture, placement);
    // Quarter turns at natural size put every pixel centre on a texel centre;
    // smooth sampling would only blur them by rounding.
    if (IsWholeTexelMapping(placement))
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

    // Outside editing the area's own outline clips; while the corners are
    // edited or previewed, the corner quadrilateral does, so the whole warp
    // shows. The caller's own clip, if any, still applies.
    const bool skewEdit = options.skewEdit;
    const bool skewPreview = options.skewPreview;
    const bool editing = skewEdit || skewPreview;
    if (!editing)
        painter.setClipPath(outline, Qt::IntersectClip);
    else if (area.HasSkewCorners())
        painter.setClipPath(CornerQuad(area.GetSkewCorners()), Qt::IntersectClip);

    // Without corners (an undo took back the ones that editing the skew
    // gave) there is no quadrilateral to warp onto.
    const bool drawSkewed = (skewEdit ? skewPreview : area.IsSkewApplied()) && area.HasSkewCorners();
    if (drawSkewed) {
        DrawWarp(painter, area, options.warps);
    } else if (!skewEdit) {
        if (skewPreview)
            painter.fillRect(area.GetOutlineBounds(), brush);
        else
            painter.fillPath(outline, brush);
    }
    // Over the texture just drawn, inside the same clip. While the corners
    // are edited with the warp previewed, the light is known only under the
    // outline: it shades the warp there, and the warp beyond the outline,
    // shown only to place the corners, stays as it is. Without a preview
    // there is no texture to shade.
    const CAreaShading* shading = options.shading;
    if (shading && !editing) {
        shading->Apply(painter);
    } else if (shading && skewEdit && drawSkewed) {
        painter.setClipPath(outline, Qt::IntersectClip);
        shading->Apply(painter);
    }
    painter.restore();
}
