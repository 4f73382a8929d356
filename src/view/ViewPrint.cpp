#include "view/ViewPrint.h"

#include "document/TilemontDoc.h"
#include "view/ViewCache.h"

#include <QPainter>

CViewPrint::CViewPrint(const CTilemontDoc& doc, const CViewGeometry& view) : m_doc(doc), m_geometry(view)
{
    m_geometry.scrollX = 0;
    m_geometry.scrollY = 0;
}

QSizeF CViewPrint::Extent() const
{
    const CViewGeometry& g = m_geometry;
    QSizeF extent(g.client);
    if (const QImage* picture = m_doc.GetPicture(); picture && !picture->isNull()) {
        extent = extent.expandedTo(QSizeF(g.offsetX + picture->width() * g.zoomX,
                                          g.offsetY + picture->height() * g.zoomY));
    }
    return extent;
}

void CViewPrint::PaintScene(QPainter& painter, CAreaShadingCache* shading,
                            const CViewCache::EditingLookup& editing) const
{
    CViewCache::PaintScene(painter, m_doc, m_geometry, QRectF(QPointF(0, 0), Extent()), nullptr, shading, editing);
}
