#include "Area.h"

#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "ImageCodec.h"
#include "render/SkewedTexture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

// The least a stored contour takes: its vertex count.
constexpr quint64 kMinContourBytes = 4;
constexpr quint64 kVertexBytes = 16;

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

CArea::CArea(const CArea& other)
{
    AssignStored(other);
}

CArea& CArea::operator=(const CArea& other)
{
    if (this != &other) {
        Clear();
        AssignStored(other);
    }
    return *this;
}

void CArea::AssignStored(const CArea& other)
{
    CopyPolygon(m_outline, &other.m_outline);
    m_strName = other.m_strName;
    if (other.m_pTexture)
        m_pTexture = std::make_unique<QImage>(*other.m_pTexture);
    m_dRotation = other.m_dRotation;
    m_dScale = other.m_dScale;
    m_nShiftX = other.m_nShiftX;
    m_nShiftY = other.m_nShiftY;
    m_bSkew = other.m_bSkew;
    m_ptSkew = other.m_ptSkew;
    m_rcInitial = other.m_rcInitial;
}

void CArea::SetTexture(const QImage* texture)
{
    if (!texture)
        return;
    m_pTexture = std::make_unique<QImage>(*texture);
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

bool CArea::HasSkewCorners() const
{
    return std::any_of(m_ptSkew.begin(), m_ptSkew.end(), [](const QPoint& p) { return !p.isNull(); });
}

QRect CArea::GetOutlineBounds() const
{
    QPainterPath path;
    PolygonToPath(m_outline, path);
    // The path holds whole pixels only, so its bounds are whole too.
    const QRectF r = path.boundingRect();
    return QRect(static_cast<int>(r.x()), static_cast<int>(r.y()), static_cast<int>(r.width()),
                 static_cast<int>(r.height()));
}

void CArea::ResetSkew()
{
    m_bSkew = 0;
    m_pSkewedTexture.reset();
    const QRect b = GetOutlineBounds();
    const int x = b.x(), y = b.y(), w = b.width(), h = b.height();
    m_ptSkew[TopLeft] = QPoint(x, y);
    m_ptSkew[TopRight] = QPoint(x + w, y);
    m_ptSkew[BottomLeft] = QPoint(x, y + h);
    m_ptSkew[BottomRight] = QPoint(x + w, y + h);
}

void CArea::ResetInitialRect()
{
    if (HasSkewCorners()) {
        auto byX = [](const QPoint& a, const QPoint& b) { return a.x() < b.x(); };
        auto byY = [](const QPoint& a, const QPoint& b) { return a.y() < b.y(); };
        const auto [minX, maxX] = std::minmax_element(m_ptSkew.begin(), m_ptSkew.end(), byX);
        const auto [minY, maxY] = std::minmax_element(m_ptSkew.begin(), m_ptSkew.end(), byY);
        m_rcInitial = {minX->x(), minY->y(), maxX->x(), maxY->y()};
        return;
    }
    const QRect b = GetOutlineBounds();
    m_rcInitial = {b.x(), b.y(), b.x() + b.width(), b.y() + b.height()};
}

void CArea::Clear()
{
    m_outline.contours.clear();
    m_pTexture.reset();
    m_pSkewedTexture.reset();
    m_bSkew = 0;
}

void CArea::Draw(QPainter& painter, bool isCurrent)
{
    QPainterPath outline;
    PolygonToPath(m_outline, outline);
    if (!m_pTexture) {
        if (isCurrent)
            painter.fillPath(outline, QColor(0xFF, 0x00, 0x00));
        return;
    }

    painter.save();
    QBrush brush(*m_pTexture);
    const QTransform placement = TextureTransform(m_dRotation, m_nShiftX, m_nShiftY, m_dScale);
    brush.setTransform(placement);
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

    const bool drawSkewed = m_bSkewEdit ? m_bSkewPreview : m_bSkew != 0;
    if (drawSkewed) {
        if (!m_pSkewedTexture)
            RenderSkewedTexture(true);
        if (m_pSkewedTexture) {
            // The warp's pixel (0, 0) is the corners' top-left bound.
            const auto x = [this](int i) { return m_ptSkew[i].x(); };
            const auto y = [this](int i) { return m_ptSkew[i].y(); };
            const int minX = std::min({x(0), x(1), x(2), x(3)});
            const int minY = std::min({y(0), y(1), y(2), y(3)});
            painter.drawImage(QPoint(minX, minY), *m_pSkewedTexture);
        }
    } else if (!m_bSkewEdit) {
        if (m_bSkewPreview)
            painter.fillRect(GetOutlineBounds(), brush);
        else
            painter.fillPath(outline, brush);
    }
    painter.restore();
}

void CArea::RenderSkewedTexture(bool force)
{
    if (!m_pTexture || (!m_bSkewPreview && !force))
        return;
    m_pSkewedTexture.reset();
    QSize canvas = GetOutlineBounds().size();
    if (!m_rcInitial.IsEmpty()) {
        // Sizes beyond int come only from damaged files; the renderer
        // refuses anything that large anyway.
        const auto clampInt = [](std::int64_t v) {
            return static_cast<int>(std::min<std::int64_t>(v, std::numeric_limits<int>::max()));
        };
        canvas = QSize(clampInt(m_rcInitial.Width()), clampInt(m_rcInitial.Height()));
    }
    QImage skewed = ::RenderSkewedTexture(*m_pTexture, m_dRotation, m_nShiftX, m_nShiftY, m_dScale,
                                          canvas, m_ptSkew);
    if (!skewed.isNull())
        m_pSkewedTexture = std::make_unique<QImage>(std::move(skewed));
}

bool CArea::Serialize(CArchiveWriter& ar) const
{
    ar.WriteString(m_strName);
    if (!WriteImage(ar, m_pTexture.get(), kTemplateImageQuality) ||
        !WriteImage(ar, m_pSkewedTexture.get(), kTemplateImageQuality))
        return false;
    ar.WriteF64(m_dRotation);
    ar.WriteI32(m_nShiftX);
    ar.WriteI32(m_nShiftY);
    ar.WriteF64(m_dScale);
    ar.WriteU32(m_bSkew);
    for (const QPoint& p : m_ptSkew) {
        ar.WriteI32(p.x());
        ar.WriteI32(p.y());
    }
    ar.WriteU32(static_cast<std::uint32_t>(m_outline.contours.size()));
    for (const CContour& contour : m_outline.contours) {
        ar.WriteI32(static_cast<std::int32_t>(contour.size()));
        for (const QPointF& v : contour) {
            ar.WriteF64(v.x());
            ar.WriteF64(v.y());
        }
    }
    ar.WriteI32(m_rcInitial.left);
    ar.WriteI32(m_rcInitial.top);
    ar.WriteI32(m_rcInitial.right);
    ar.WriteI32(m_rcInitial.bottom);
    return true;
}

void CArea::Serialize(CArchiveReader& ar)
{
    Clear();
    m_strName = ar.ReadString();
    ReadImage(ar, m_pTexture);
    ReadImage(ar, m_pSkewedTexture);
    m_dRotation = ar.ReadF64();
    m_nShiftX = ar.ReadI32();
    m_nShiftY = ar.ReadI32();
    m_dScale = ar.ReadF64();
    m_bSkew = ar.ReadU32() != 0 ? 1 : 0;
    for (QPoint& p : m_ptSkew) {
        const std::int32_t x = ar.ReadI32();
        p = QPoint(x, ar.ReadI32());
    }
    const std::uint32_t contourCount = ar.ReadU32();
    ar.Require(contourCount, kMinContourBytes);
    m_outline.contours.resize(contourCount);
    for (CContour& contour : m_outline.contours) {
        const std::int32_t vertexCount = ar.ReadI32();
        if (vertexCount < 0)
            throw CArchiveError(CArchiveError::Kind::EndOfFile, "negative vertex count");
        ar.Require(static_cast<quint64>(vertexCount), kVertexBytes);
        contour.resize(static_cast<std::size_t>(vertexCount));
        for (QPointF& v : contour) {
            const double x = ar.ReadF64();
            v = QPointF(x, ar.ReadF64());
        }
    }
    m_rcInitial.left = ar.ReadI32();
    m_rcInitial.top = ar.ReadI32();
    m_rcInitial.right = ar.ReadI32();
    m_rcInitial.bottom = ar.ReadI32();
}
