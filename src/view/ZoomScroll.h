#pragma once

#include "view/ViewGeometry.h"

#include <QPointF>
#include <QRectF>
#include <QSize>

// Where the picture lies in a view's window, without the window: the zoom
// factors and their bounds, the centring offsets, the scroll sizes and the
// scroll position, and the mapping between picture and client pixels. Per
// axis, client = picture x zoom + offset - scroll, in single precision as the
// painting is. The view feeds it the picture's and the client area's sizes
// and mirrors the scroll range and position into its scroll bars.
class CZoomScroll
{
public:
    // Zoom is held within these bounds (and further, so that the zoomed
    // picture stays within the scroll bars' range): 1/64 shows a 24-MP
    // picture in under 100 pixels, 64 shows a picture pixel as a 64-pixel
    // block.
    static constexpr float kMinZoom = 1.0f / 64.0f;
    static constexpr float kMaxZoom = 64.0f;

    // An empty size means no picture.
    void SetPictureSize(QSize picture) { m_picture = picture; }
    void SetClientSize(QSize client) { m_client = client; }

    float ZoomX() const { return m_zoomX; }
    float ZoomY() const { return m_zoomY; }
    // Stores both factors, held within the zoom bounds (a factor that is not
    // a number is ignored); UpdateScrollSizes then places the picture.
    void SetZoom(float x, float y);
    float ClampZoom(float z) const;
    bool IsOriginalSize() const { return m_zoomX == 1.0f && m_zoomY == 1.0f; }

    // Centres a picture smaller than the client area and computes the scroll
    // sizes for the current zoom; the scroll position is held in the new
    // range.
    void UpdateScrollSizes();
    float OffsetX() const { return m_offsetX; }
    float OffsetY() const { return m_offsetY; }
    // Total, page and line per axis; a page or line of 0 means the axis
    // cannot scroll.
    QSize TotalSize() const { return m_total; }
    QSize PageSize() const { return m_page; }
    QSize LineSize() const { return m_line; }
    // The largest scroll position per axis (the smallest is 0).
    int ScrollMaxX() const { return ScrollMax(m_total.width(), m_page.width()); }
    int ScrollMaxY() const { return ScrollMax(m_total.height(), m_page.height()); }

    int ScrollX() const { return m_scrollX; }
    int ScrollY() const { return m_scrollY; }
    // Held within the scroll range.
    void SetScroll(int x, int y);

    QPointF PictureToClient(const QPointF& p) const;
    QRectF PictureToClient(const QRectF& r) const;
    QPointF ClientToPicture(const QPointF& p) const;
    QRectF ClientToPicture(const QRectF& r) const;
    // Client rectangle of a picture rectangle, whole pixels, grown by margin.
    QRect ClientBounds(const QRectF& picture, int margin) const;
    // Zoom, offsets and scroll into g; the rest of g is the window's.
    void FillGeometry(CViewGeometry& g) const;

    // The zoom commands. ZoomAbout keeps the picture point under client
    // where it is and is false when the zoom is already at its bound.
    bool ZoomAbout(QPointF client, float factor);
    void ZoomOut();
    void OriginalSize();
    // The whole picture in a client area of available pixels (the window
    // without scroll bars), as large as fits; nothing without a picture.
    void ZoomToFit(QSize available);
    // Whether the picture shows whole at its original size in available.
    bool FitsIn(QSize available) const;

private:
    static int ScrollMax(int total, int page) { return page > 0 ? std::max(0, total - page) : 0; }

    QSize m_picture;
    QSize m_client;
    float m_zoomX = 1.0f;
    float m_zoomY = 1.0f;
    float m_offsetX = 0.0f;
    float m_offsetY = 0.0f;
    int m_scrollX = 0;
    int m_scrollY = 0;
    QSize m_total{1, 1};
    QSize m_page{1, 1};
    QSize m_line{1, 1};
};
