// Everything of CArea that draws or builds the warped texture lives with the
// renderer it uses, so that the area record itself calls nothing above the
// document: drawing, the warp, and the setters that rebuild it at once.
#include "document/Area.h"
#include "render/AreaShading.h"
#include "render/PerspectiveWarp.h"
#include "render/SkewedTexture.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>

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

} // namespace

void CArea::SetTexture(const QImage* texture)
{
    if (!texture)
        return;
    SetTexture(CStoredImage(*texture));
}

void CArea::SetTexture(const CStoredImage& texture)
{
    m_pTexture = std::make_unique<QImage>(texture.Image());
    m_textureJpeg = texture.Jpeg();
    if (m_bSkew)
        RenderSkewedTexture(true);
}

void CArea::SetSkewEdit(bool edit)
{
    m_bSkewEdit = edit;
    if (!edit)
        RenderSkewedTexture(true);
}

void CArea::SetSkewPreview(bool preview)
{
    m_bSkewPreview = preview;
    if (preview && m_bSkewEdit)
        RenderSkewedTexture(true);
}

void CArea::Draw(QPainter& painter, bool isCurrent, const CAreaShading* shading) const
{
    QPainterPath outline;
    PolygonToPath(m_outline, outline);
    if (!m_pTexture) {
        if (isCurrent)
            painter.fillPath(outline, QColor(0xFF, 0x00, 0x00));
        return;
    }

    painter.save();
    const QTransform placement = TextureTransform(m_dRotation, m_nShiftX, m_nShiftY, m_dScale);
    const QBrush brush = TextureBrush(*m_pTexture, placement);
    // Quarter turns at natural size put every pixel centre on a texel centre;
    // smooth sampling would only blur them by rounding.
    if (IsWholeTexelMapping(placement))
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

    // Outside editing the area's own outline clips; while the corners are
    // edited or previewed, the corner quadrilateral does, so the whole warp
    // shows. The caller's own clip, if any, still applies.
    const bool editing = m_bSkewEdit || m_bSkewPreview;
    if (!editing) {
        painter.setClipPath(outline, Qt::IntersectClip);
    } else if (HasSkewCorners()) {
        QPainterPath quad;
        quad.moveTo(m_ptSkew[TopLeft]);
        quad.lineTo(m_ptSkew[TopRight]);
        quad.lineTo(m_ptSkew[BottomRight]);
        quad.lineTo(m_ptSkew[BottomLeft]);
        quad.closeSubpath();
        painter.setClipPath(quad, Qt::IntersectClip);
    }

    // Without corners (an undo took back the ones that editing the skew
    // gave) there is no quadrilateral to warp onto.
    const bool drawSkewed = (m_bSkewEdit ? m_bSkewPreview : m_bSkew != 0) && HasSkewCorners();
    if (drawSkewed) {
        m_skewed.GetOrBuild([this] { return BuildSkewedTexture(); });
        int reduction = 1;
        if (const auto skewed = m_skewed.Get(reduction)) {
            // The warp's pixel (0, 0) is its rect's top-left: for the
            // bilinear patch, the corners' top-left bound.
            const QPoint origin = GetSkewedTextureRect().topLeft();
            if (reduction == 1)
                painter.drawImage(origin, *skewed);
            else
                painter.drawImage(QRectF(origin, QSizeF(skewed->size() * reduction)), *skewed);
        }
    } else if (!m_bSkewEdit) {
        if (m_bSkewPreview)
            painter.fillRect(GetOutlineBounds(), brush);
        else
            painter.fillPath(outline, brush);
    }
    // Over the texture just drawn, inside the same clip. While the corners
    // are edited with the warp previewed, the light is known only under the
    // outline: it shades the warp there, and the warp beyond the outline,
    // shown only to place the corners, stays as it is. Without a preview
    // there is no texture to shade.
    if (shading && !editing) {
        shading->Apply(painter);
    } else if (shading && m_bSkewEdit && drawSkewed) {
        painter.setClipPath(outline, Qt::IntersectClip);
        shading->Apply(painter);
    }
    painter.restore();
}

std::optional<CHomography> CArea::PictureToTexel() const
{
    const CHomography placement = TexturePlacement(m_dRotation, m_nShiftX, m_nShiftY, m_dScale);
    const auto canvasToPicture = CanvasToPicture();
    if (!canvasToPicture)
        return std::nullopt;
    const auto toCanvas = canvasToPicture->Inverted();
    const auto toTexel = placement.Inverted();
    if (!toCanvas || !toTexel)
        return std::nullopt;
    return *toTexel * *toCanvas;
}

QImage CArea::BuildPerspectiveTexture(int reduction, int threads) const
{
    const QRect rect = GetSkewedTextureRect();
    if (rect.isEmpty())
        return QImage();
    auto toTexel = PictureToTexel();
    if (!toTexel) {
        // Corners that make no plane (three in a line, a fold) or a
        // placement that squeezes the texture to nothing: the texture lies
        // flat, so the area is still painted.
        toTexel = TexturePlacement(m_dRotation, m_nShiftX, m_nShiftY, m_dScale).Inverted();
        if (!toTexel)
            toTexel = CHomography::Affine(0, 0, 0, 0, 0, 0);
    }
    // Output pixel (i, j) of a reduced warp stands for the reduction-sized
    // block of picture pixels at rect's top-left + reduction * (i, j).
    const CHomography fromOutput = CHomography::Affine(reduction, 0, 0, reduction, rect.x(), rect.y());
    const QRect out(0, 0, (rect.width() + reduction - 1) / reduction, (rect.height() + reduction - 1) / reduction);
    return WarpPerspective(*m_pTexture, *toTexel * fromOutput, out, PerspectiveWarpOptions{threads});
}

QImage CArea::BuildSkewedTexture(int threads) const
{
    if (!m_pTexture)
        return QImage();
    if (m_bPerspective)
        return BuildPerspectiveTexture(1, threads);
    return ::RenderSkewedTexture(*m_pTexture, m_dRotation, m_nShiftX, m_nShiftY, m_dScale, WarpCanvasSize(),
                                 m_ptSkew, WarpOptions{threads, false});
}

QSize CArea::WarpCanvasSize() const
{
    if (m_rcInitial.IsEmpty())
        return GetOutlineBounds().size();
    // Sizes beyond int come only from damaged files; the renderer refuses
    // anything that large anyway.
    const auto clampInt = [](std::int64_t v) {
        return static_cast<int>(std::min<std::int64_t>(v, std::numeric_limits<int>::max()));
    };
    return QSize(clampInt(m_rcInitial.Width()), clampInt(m_rcInitial.Height()));
}

void CArea::RenderSkewedTexture(bool force)
{
    if (!m_pTexture || (!m_bSkewPreview && !force))
        return;
    m_skewed.Reset();
    QImage skewed = BuildSkewedTexture();
    if (!skewed.isNull())
        m_skewed.Set(std::make_shared<const QImage>(std::move(skewed)));
}

void CArea::RefreshSkewedTexture()
{
    const bool shown = m_bSkewEdit ? m_bSkewPreview : m_bSkew != 0;
    if (shown)
        RenderSkewedTexture(true);
    else
        m_skewed.Reset();
}

void CArea::RenderSkewedPreview(qint64 maxPixels)
{
    if (!m_pTexture)
        return;
    const QRect bounds = GetSkewedTextureRect();
    const double box = double(bounds.width()) * double(bounds.height());
    const int reduction = std::max(1, int(std::ceil(std::sqrt(box / double(std::max<qint64>(1, maxPixels))))));
    if (reduction == 1) {
        RenderSkewedTexture(true);
        return;
    }
    if (m_bPerspective) {
        QImage preview = BuildPerspectiveTexture(reduction);
        if (preview.isNull())
            m_skewed.Reset();
        else
            m_skewed.Set(std::make_shared<const QImage>(std::move(preview)), reduction);
        return;
    }
    // The same warp at a smaller scale: canvas, placement and corners
    // shrunk alike, the corners about the box's origin so that the preview's
    // pixel (0, 0) is still the box's top-left.
    Corners small;
    for (std::size_t i = 0; i < 4; ++i)
        small[i] = QPoint((m_ptSkew[i].x() - bounds.left()) / reduction, (m_ptSkew[i].y() - bounds.top()) / reduction);
    QImage preview = ::RenderSkewedTexture(*m_pTexture, m_dRotation, m_nShiftX / reduction, m_nShiftY / reduction,
                                           m_dScale / reduction, WarpCanvasSize() / reduction, small);
    if (preview.isNull())
        m_skewed.Reset();
    else
        m_skewed.Set(std::make_shared<const QImage>(std::move(preview)), reduction);
}
