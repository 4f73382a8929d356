#include "Area.h"

#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "IAreaWarpSource.h"
#include "ImageCodec.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The least a stored contour takes: its vertex count.
constexpr quint64 kMinContourBytes = 4;
constexpr quint64 kVertexBytes = 16;
// The largest blob written for a perspective warp padded to its corners'
// bounds (see PadToSkewBounds).
constexpr qint64 kMaxPaddedWarpPixels = 40'000'000;

} // namespace

void CArea::SetTexture(const QImage* texture)
{
    if (!texture)
        return;
    SetTexture(CStoredImage(*texture));
}

void CArea::SetTexture(const CStoredImage& texture)
{
    m_pTexture = std::make_shared<const QImage>(texture.Image());
    m_textureJpeg = texture.Jpeg();
    m_pPattern.reset();
}

std::shared_ptr<const QImage> CArea::GetStoredWarp() const
{
    if (m_bPerspective || !m_storedWarpInputs || !(*m_storedWarpInputs == WarpInputs()))
        return nullptr;
    return m_storedWarpImage;
}

bool CArea::operator==(const CArea& other) const
{
    const auto sameImage = [](const Image& a, const Image& b) {
        return a && b ? *a == *b : !a && !b;
    };
    return m_outline == other.m_outline && m_strName == other.m_strName &&
           sameImage(m_pTexture, other.m_pTexture) && m_dRotation == other.m_dRotation &&
           m_dScale == other.m_dScale && m_nShiftX == other.m_nShiftX && m_nShiftY == other.m_nShiftY &&
           m_bSkew == other.m_bSkew && m_ptSkew == other.m_ptSkew && m_rcInitial == other.m_rcInitial &&
           m_bPerspective == other.m_bPerspective && m_realSize == other.m_realSize &&
           (m_pPattern && other.m_pPattern ? *m_pPattern == *other.m_pPattern : !m_pPattern && !other.m_pPattern) &&
           m_nShadingStrength == other.m_nShadingStrength;
}

QRect CArea::GetDrawBounds() const
{
    QRect bounds = GetOutlineBounds();
    if (HasSkewCorners()) {
        // The corners' bounds, or for a perspective the part of them warped.
        bounds |= GetSkewedTextureRect();
    }
    // Truncated vertices and smooth sampling reach one pixel further.
    return bounds.adjusted(-1, -1, 2, 2);
}

QRect CArea::GetSkewedTextureRect() const
{
    const QRect box = GetSkewBounds();
    if (!m_bPerspective)
        return box;
    // Half the outline's larger side around it: enough to see the texture
    // follow the corners while they are edited, bounded by the area's size
    // wherever the corners go. Picture pixels are never negative.
    const QRect outline = GetOutlineBounds();
    const int margin = std::max(outline.width(), outline.height()) / 2 + 2;
    QRect near = outline.adjusted(-margin, -margin, margin, margin);
    near.setLeft(std::max(0, near.left()));
    near.setTop(std::max(0, near.top()));
    return box & near;
}

std::optional<CHomography> CArea::CanvasToPicture() const
{
    const QSize canvas = WarpCanvasSize();
    if (canvas.isEmpty() || !HasSkewCorners())
        return std::nullopt;
    std::array<QPointF, 4> corners;
    for (std::size_t i = 0; i < 4; ++i)
        corners[i] = QPointF(m_ptSkew[i]);
    return CHomography::FromRect(QRectF(QPointF(0, 0), QSizeF(canvas)), corners);
}

bool CArea::HasSkewCorners() const
{
    return std::any_of(m_ptSkew.begin(), m_ptSkew.end(), [](const QPoint& p) { return !p.isNull(); });
}

QRect CArea::GetSkewBounds() const
{
    QRect bounds(m_ptSkew[0], m_ptSkew[0]);
    for (const QPoint& p : m_ptSkew)
        bounds |= QRect(p, p);
    return bounds;
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

QRect CArea::GetOutlineBounds() const
{
    QPainterPath path;
    PolygonToPath(m_outline, path);
    // The path holds whole pixels only, so its bounds are whole too. A
    // damaged file can put vertices anywhere in the int range; no picture
    // reaches past this limit, and within it sizes and margins fit an int.
    constexpr double kLimit = 1 << 28;
    const QRectF r = path.boundingRect() & QRectF(-kLimit, -kLimit, 2 * kLimit, 2 * kLimit);
    return QRect(static_cast<int>(r.x()), static_cast<int>(r.y()), static_cast<int>(r.width()),
                 static_cast<int>(r.height()));
}

void CArea::ResetSkew()
{
    m_bSkew = 0;
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
        const QRect b = GetSkewBounds();
        m_rcInitial = {b.left(), b.top(), b.right(), b.bottom()};
        return;
    }
    const QRect b = GetOutlineBounds();
    m_rcInitial = {b.x(), b.y(), b.x() + b.width(), b.y() + b.height()};
}

void CArea::Clear()
{
    m_outline.contours.clear();
    m_pTexture.reset();
    m_textureJpeg.clear();
    m_pPattern.reset();
    m_storedWarp.clear();
    m_storedWarpImage.reset();
    m_storedWarpInputs.reset();
    m_bSkew = 0;
}

CArea::Image CArea::PadToSkewBounds(const Image& warp) const
{
    const QRect box = GetSkewBounds();
    const QRect rect = GetSkewedTextureRect();
    if (rect.topLeft() == box.topLeft())
        return warp;
    const QRect padded(box.topLeft(), rect.bottomRight());
    // A quadrilateral reaching thousands of pixels past the picture would
    // make a padded blob of a size no reader should have to take: such a
    // file stores no warp, and every reader rebuilds one.
    if (qint64(padded.width()) * padded.height() > kMaxPaddedWarpPixels)
        return nullptr;
    QImage image(padded.size(), QImage::Format_RGB32);
    if (image.isNull())
        return nullptr;
    image.fill(Qt::black);
    const QPoint at = rect.topLeft() - box.topLeft();
    for (int y = 0; y < warp->height() && y + at.y() < image.height(); ++y)
        std::copy_n(reinterpret_cast<const QRgb*>(warp->constScanLine(y)),
                    std::min(warp->width(), image.width() - at.x()),
                    reinterpret_cast<QRgb*>(image.scanLine(y + at.y())) + at.x());
    return std::make_shared<const QImage>(std::move(image));
}

CAreaWarpInputs CArea::WarpInputs() const
{
    return CAreaWarpInputs{m_pTexture ? m_pTexture->cacheKey() : 0,
                       m_dRotation,
                       m_dScale,
                       m_nShiftX,
                       m_nShiftY,
                       m_bSkew,
                       m_ptSkew,
                       m_rcInitial,
                       GetOutlineBounds(),
                       m_bPerspective};
}

void CArea::KeepStoredWarp()
{
    if (m_storedWarp.isEmpty())
        m_storedWarpInputs.reset();
    else
        m_storedWarpInputs = WarpInputs();
}

bool CArea::Serialize(CArchiveWriter& ar, const IAreaWarpSource* warps) const
{
    ar.WriteString(m_strName);
    if (!WriteImage(ar, m_pTexture.get(), kTemplateImageQuality, m_textureJpeg))
        return false;
    if (m_storedWarpInputs && *m_storedWarpInputs == WarpInputs()) {
        // The warp as read, while nothing it was built from has changed:
        // whether the cache was dropped or rebuilt since, it is this warp.
        ar.WriteU32(static_cast<std::uint32_t>(m_storedWarp.size()));
        ar.WriteBytes(m_storedWarp.constData(), m_storedWarp.size());
    } else {
        // A preview is no warp to keep: the file then holds none, and the
        // area rebuilds the exact one when drawn.
        Image skewed = warps ? warps->ExactWarp(*this) : nullptr;
        // A perspective warp covers only the part of the corners' bounds
        // near the outline; a reader that knows nothing of perspective
        // places the blob at the bounds' top-left, so it gets the warp
        // shifted there.
        if (skewed && m_bPerspective)
            skewed = PadToSkewBounds(skewed);
        if (!WriteImage(ar, skewed.get(), kTemplateImageQuality))
            return false;
    }
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

void CArea::Serialize(CArchiveReader& ar, bool* damaged, bool decodeWarp)
{
    Clear();
    m_strName = ar.ReadString();
    std::unique_ptr<QImage> image;
    ReadImage(ar, image, &m_textureJpeg, damaged);
    m_pTexture = std::move(image);
    if (decodeWarp) {
        ReadImage(ar, image, &m_storedWarp, damaged);
        m_storedWarpImage = std::move(image);
    } else {
        m_storedWarp = ReadImageBlob(ar);
    }
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
