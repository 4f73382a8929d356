#include "view/ViewCache.h"

#include "document/TilemontDoc.h"
#include "render/AreaDraw.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{

// The part of the picture that can reach the client rectangle area, in whole
// picture pixels: sampling only these keeps large pictures cheap at any zoom.
QRectF VisiblePictureRect(const QTransform& toClient, const QRectF& area, const QSize& picture)
{
    bool invertible = false;
    const QTransform toPicture = toClient.inverted(&invertible);
    if (!invertible)
        return QRectF();
    const QRectF r = toPicture.mapRect(area).intersected(QRectF(QPointF(0, 0), QSizeF(picture)));
    if (r.isEmpty())
        return QRectF();
    const QPointF topLeft(std::floor(r.left()), std::floor(r.top()));
    const QPointF bottomRight(std::min<qreal>(std::ceil(r.right()), picture.width()),
                              std::min<qreal>(std::ceil(r.bottom()), picture.height()));
    return QRectF(topLeft, bottomRight);
}

} // namespace

void CViewCache::SetKeepShading(bool keep)
{
    if (keep == m_bKeepShading)
        return;
    m_bKeepShading = keep;
    if (!keep)
        m_shading.Clear();
    Invalidate();
}

void CViewCache::InvalidatePicture(const QRect& rect)
{
    if (m_bValid && !rect.isEmpty())
        m_dirty += rect;
}

QRegion CViewCache::DirtyClientRegion(const CViewGeometry& geometry) const
{
    const QTransform toClient = geometry.Transform();
    // Only what can show: far-off rectangles at a high zoom would not fit
    // in client coordinates.
    const QRectF visible =
        toClient.inverted().mapRect(QRectF(QPointF(0, 0), QSizeF(geometry.client))).adjusted(-4, -4, 4, 4);
    QRegion region;
    for (const QRect& r : m_dirty) {
        const QRectF shown = QRectF(r) & visible;
        if (shown.isEmpty())
            continue;
        // Smooth sampling of a shrunk picture and texture reaches a pixel
        // beyond what the rectangle covers.
        region += toClient.mapRect(shown).toAlignedRect().adjusted(-2, -2, 2, 2);
    }
    return region;
}

void CViewCache::PaintScene(QPainter& painter, const CTilemontDoc& doc, const CViewGeometry& geometry,
                            const QRectF& area, const QImage* scaled, CAreaShadingCache* shading,
                            const EditingLookup& editing)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(area, QColor::fromRgba(geometry.background));

    const QTransform toClient = geometry.Transform();
    // Sharp blocks when magnified, smooth sampling when the picture is shrunk.
    const bool shrunk = geometry.zoomX < 1.0f || geometry.zoomY < 1.0f;
    const QTransform base = painter.transform();

    const QImage* picture = doc.GetPicture();
    if (picture && !picture->isNull()) {
        if (scaled) {
            // Whole device pixels, so the copy is a plain blit.
            const qreal dpr = geometry.dpr;
            const QPointF origin(std::round((qreal(geometry.offsetX) - geometry.scrollX) * dpr) / dpr,
                                 std::round((qreal(geometry.offsetY) - geometry.scrollY) * dpr) / dpr);
            const QRectF placed(origin, QSizeF(scaled->width() / dpr, scaled->height() / dpr));
            const QRectF target = placed.intersected(area);
            if (!target.isEmpty()) {
                const QRectF source((target.left() - origin.x()) * dpr, (target.top() - origin.y()) * dpr,
                                    target.width() * dpr, target.height() * dpr);
                painter.drawImage(target, *scaled, source);
            }
        } else {
            painter.setTransform(toClient, true);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, shrunk);
            const QRectF source = VisiblePictureRect(toClient, area, picture->size());
            if (!source.isEmpty())
                painter.drawImage(source, *picture, source);
            painter.setTransform(base);
        }
    }

    painter.setTransform(toClient, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, shrunk);
    const int current = doc.GetSelectedIndex();
    const auto& areas = doc.GetAreas();
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const CSkewEditing edited = editing ? editing(areas[i].GetId()) : CSkewEditing();
        DrawArea(painter, areas[i],
                 {.skewEdit = edited.edit,
                  .skewPreview = edited.preview,
                  .isCurrent = int(i) == current,
                  .shading = shading && picture ? shading->Get(*picture, areas[i]) : nullptr,
                  .warps = &doc.Warps()});
    }
    painter.restore();
}

const QImage* CViewCache::ScaledPicture(const QImage& picture, const CViewGeometry& geometry)
{
    const qreal dx = qreal(geometry.zoomX) * geometry.dpr;
    const qreal dy = qreal(geometry.zoomY) * geometry.dpr;
    if (dx >= 1.0 && dy >= 1.0)
        return nullptr;
    const QSize size(std::max(1, qRound(picture.width() * dx)), std::max(1, qRound(picture.height() * dy)));
    if (m_scaled.isNull() || m_nScaledSource != picture.cacheKey() || m_pScaledSource != &picture ||
        m_scaled.size() != size) {
        m_scaled = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage::Format fast =
            m_scaled.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
        if (m_scaled.format() != fast)
            m_scaled.convertTo(fast);
        m_nScaledSource = picture.cacheKey();
        m_pScaledSource = &picture;
    }
    return &m_scaled;
}

void CViewCache::Compose(const CTilemontDoc& doc, const CViewGeometry& geometry, const QRegion& region)
{
    const QImage* picture = doc.GetPicture();
    const QImage* scaled =
        picture && !picture->isNull() ? ScaledPicture(*picture, geometry) : nullptr;
    if (!scaled) {
        m_scaled = QImage();
        m_pScaledSource = nullptr;
    }
    QPainter painter(&m_image);
    painter.setClipRegion(region);
    PaintScene(painter, doc, geometry, region.boundingRect(), scaled, Shading(), m_editing);
}

bool CViewCache::ScrollImage(int dx, int dy)
{
    const int w = m_image.width(), h = m_image.height();
    if (std::abs(dx) >= w || std::abs(dy) >= h || m_image.depth() != 32)
        return false;
    if (dx == 0 && dy == 0)
        return true;
    uchar* bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    const std::size_t bytes = std::size_t(w - std::abs(dx)) * 4;
    const int srcX = dx < 0 ? -dx : 0;
    const int dstX = dx > 0 ? dx : 0;
    const auto move = [&](int y) {
        std::memmove(bits + y * stride + dstX * 4, bits + (y - dy) * stride + srcX * 4, bytes);
    };
    if (dy > 0) {
        for (int y = h - 1; y >= dy; --y)
            move(y);
    } else {
        for (int y = 0; y < h + dy; ++y)
            move(y);
    }
    return true;
}

bool CViewCache::Update(const CTilemontDoc& doc, const CViewGeometry& geometry)
{
    if (m_bValid && geometry == m_geometry) {
        if (m_dirty.isEmpty())
            return false;
        const QRegion region = DirtyClientRegion(geometry) & QRect(QPoint(0, 0), geometry.client);
        m_dirty = QRegion();
        if (!region.isEmpty()) {
            Compose(doc, geometry, region);
            ++m_nPartial;
        }
        return true;
    }
    const QSize device(qRound(geometry.client.width() * geometry.dpr),
                       qRound(geometry.client.height() * geometry.dpr));
    if (device.isEmpty()) {
        m_image = QImage();
        m_bValid = false;
        return false;
    }

    const QRect full(QPoint(0, 0), geometry.client);
    bool partial = false;
    // A pure scroll keeps what is still visible and composes only the strips
    // that came into view. Fractional device ratios would shift by fractions
    // of a pixel, so they compose everything.
    if (m_bValid && geometry.SameExceptScroll(m_geometry) &&
        geometry.dpr == 1.0 && m_image.size() == device) {
        const int dx = m_geometry.scrollX - geometry.scrollX;
        const int dy = m_geometry.scrollY - geometry.scrollY;
        if (ScrollImage(dx, dy)) {
            Compose(doc, geometry,
                    (QRegion(full) - QRegion(full.translated(dx, dy))) | (DirtyClientRegion(geometry) & full));
            partial = true;
        }
    }
    if (partial) {
        ++m_nPartial;
    } else {
        if (m_image.size() != device)
            m_image = QImage(device, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(geometry.dpr);
        Compose(doc, geometry, QRegion(full));
        ++m_nFull;
    }
    m_geometry = geometry;
    m_dirty = QRegion();
    m_bValid = true;
    return true;
}
