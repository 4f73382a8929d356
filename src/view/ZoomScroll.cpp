#include "view/ZoomScroll.h"

#include <QRect>

#include <algorithm>
#include <cmath>

void CZoomScroll::SetZoom(float x, float y)
{
    if (std::isfinite(x))
        m_zoomX = ClampZoom(x);
    if (std::isfinite(y))
        m_zoomY = ClampZoom(y);
}

float CZoomScroll::ClampZoom(float z) const
{
    float upper = kMaxZoom;
    if (!m_picture.isEmpty()) {
        const int longest = std::max(m_picture.width(), m_picture.height());
        upper = std::min(upper, float(kMaxPixelExtent / longest));
    }
    return std::clamp(z, kMinZoom, std::max(kMinZoom, upper));
}

void CZoomScroll::UpdateScrollSizes()
{
    if (m_picture.isEmpty()) {
        m_total = m_page = m_line = QSize(1, 1);
    } else {
        const int cw = m_client.width(), ch = m_client.height();
        const float zw = float(m_picture.width()) * m_zoomX;
        const float zh = float(m_picture.height()) * m_zoomY;
        m_offsetX = zw < float(cw) ? (float(cw) - zw) * 0.5f : 0.0f;
        m_offsetY = zh < float(ch) ? (float(ch) - zh) * 0.5f : 0.0f;
        m_total = QSize(TruncPixel(zw), TruncPixel(zh));
        m_page = QSize(cw, ch);
        m_line = QSize(TruncPixel(m_zoomX * 10.0f), TruncPixel(m_zoomY * 10.0f));
        if (m_total.width() < cw) {
            m_page.setWidth(0);
            m_line.setWidth(0);
        }
        if (m_total.height() < ch) {
            m_page.setHeight(0);
            m_line.setHeight(0);
        }
    }
    SetScroll(m_scrollX, m_scrollY);
}

void CZoomScroll::SetScroll(int x, int y)
{
    m_scrollX = std::clamp(x, 0, ScrollMaxX());
    m_scrollY = std::clamp(y, 0, ScrollMaxY());
}

QPointF CZoomScroll::PictureToClient(const QPointF& p) const
{
    return QPointF(float(p.x()) * m_zoomX + m_offsetX - float(m_scrollX),
                   float(p.y()) * m_zoomY + m_offsetY - float(m_scrollY));
}

QRectF CZoomScroll::PictureToClient(const QRectF& r) const
{
    const QPointF topLeft = PictureToClient(r.topLeft());
    return QRectF(topLeft.x(), topLeft.y(), float(r.width()) * m_zoomX, float(r.height()) * m_zoomY);
}

QPointF CZoomScroll::ClientToPicture(const QPointF& p) const
{
    return QPointF((float(p.x()) + float(m_scrollX) - m_offsetX) / m_zoomX,
                   (float(p.y()) + float(m_scrollY) - m_offsetY) / m_zoomY);
}

QRectF CZoomScroll::ClientToPicture(const QRectF& r) const
{
    const QPointF topLeft = ClientToPicture(r.topLeft());
    return QRectF(topLeft.x(), topLeft.y(), float(r.width()) / m_zoomX, float(r.height()) / m_zoomY);
}

QRect CZoomScroll::ClientBounds(const QRectF& picture, int margin) const
{
    const QRectF c = PictureToClient(picture);
    const int left = TruncPixel(c.x()), top = TruncPixel(c.y());
    const int right = TruncPixel(c.x() + c.width()), bottom = TruncPixel(c.y() + c.height());
    return QRect(left, top, right - left, bottom - top).adjusted(-margin, -margin, margin, margin);
}

void CZoomScroll::FillGeometry(CViewGeometry& g) const
{
    g.zoomX = m_zoomX;
    g.zoomY = m_zoomY;
    g.offsetX = m_offsetX;
    g.offsetY = m_offsetY;
    g.scrollX = m_scrollX;
    g.scrollY = m_scrollY;
}

bool CZoomScroll::ZoomAbout(QPointF client, float factor)
{
    const QPointF fixed = ClientToPicture(client);
    const float z = ClampZoom(m_zoomX * factor);
    if (z == m_zoomX && z == m_zoomY)
        return false;
    m_zoomX = m_zoomY = z;
    UpdateScrollSizes();
    SetScroll(TruncPixel(fixed.x() * z + m_offsetX - client.x()), TruncPixel(fixed.y() * z + m_offsetY - client.y()));
    return true;
}

void CZoomScroll::ZoomOut()
{
    const float oldX = m_zoomX, oldY = m_zoomY;
    // Five sixths, the product rounded to single precision as every zoom is.
    const float z = ClampZoom(static_cast<float>(double(oldX) * 0.8333333333333334));
    const int scrollX = m_scrollX, scrollY = m_scrollY;
    m_zoomX = z;
    m_zoomY = z;
    UpdateScrollSizes();
    SetScroll(TruncPixel(float(scrollX) / (oldX / z)), TruncPixel(float(scrollY) / (oldY / z)));
}

void CZoomScroll::OriginalSize()
{
    m_zoomX = 1.0f;
    m_zoomY = 1.0f;
    UpdateScrollSizes();
    SetScroll(0, 0);
}

bool CZoomScroll::FitsIn(QSize available) const
{
    return !m_picture.isEmpty() && m_picture.width() <= available.width() &&
           m_picture.height() <= available.height();
}

void CZoomScroll::ZoomToFit(QSize available)
{
    if (m_picture.isEmpty() || available.isEmpty())
        return;
    const float across = float(available.width()) / float(m_picture.width());
    const float down = float(available.height()) / float(m_picture.height());
    float z = ClampZoom(std::min(across, down));
    // The quotient rounds to single precision, and up as often as down: step
    // below it until the zoomed picture fits in whole pixels, or no scroll
    // bar would be needed and none would show.
    while (z > kMinZoom && (TruncPixel(float(m_picture.width()) * z) > available.width() ||
                            TruncPixel(float(m_picture.height()) * z) > available.height()))
        z = std::nextafter(z, 0.0f);
    m_zoomX = m_zoomY = z;
    m_client = available;
    UpdateScrollSizes();
    SetScroll(0, 0);
}
