#pragma once

#include "view/ViewCache.h"
#include "view/ViewGeometry.h"

#include <QSizeF>

class CAreaShadingCache;
class CTilemontDoc;
class QPainter;

// What a view puts on another device to print: the picture and its areas at
// the view's zoom and centring, without the scroll shift, reaching as far as
// the whole zoomed picture however little of it the window shows. The view
// draws its overlays over it at Geometry().
class CViewPrint
{
public:
    CViewPrint(const CTilemontDoc& doc, const CViewGeometry& view);

    const CViewGeometry& Geometry() const { return m_geometry; }
    // In client pixels: the window, grown to hold the zoomed picture.
    QSizeF Extent() const;
    // Composed afresh: the window's composition holds only what it shows.
    // shading, when given, lays the picture's light over each texture.
    // editing, when given, says which areas the window edits the corners of.
    void PaintScene(QPainter& painter, CAreaShadingCache* shading, const CViewCache::EditingLookup& editing = {}) const;

private:
    const CTilemontDoc& m_doc;
    CViewGeometry m_geometry;
};
