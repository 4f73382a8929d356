#pragma once

#include "view/ViewGeometry.h"

#include <QImage>
#include <QRegion>
#include <QtGlobal>

class CTilemontDoc;
class QPainter;
class QRectF;

// The picture and the areas as one view shows them, composed once and kept:
// repaints, marching-ants ticks and tool feedback only copy from it. It is
// recomposed when the geometry or anything the areas draw from changes,
// detected by comparing a fingerprint of the document, so a caller that
// changes an area and merely asks for a repaint still sees the change.
class CViewCache
{
public:
    // Brings the composition up to date; true when anything was composed.
    bool Update(CTilemontDoc& doc, const CViewGeometry& geometry);
    // The next Update composes everything afresh.
    void Invalidate() { m_bValid = false; }

    // Client-sized, in device pixels, its device pixel ratio set.
    const QImage& Image() const { return m_image; }
    // How many full and partial compositions have run, for the tests.
    int FullCompositions() const { return m_nFull; }
    int PartialCompositions() const { return m_nPartial; }

    // Paints background, picture and areas for geometry onto painter, limited
    // to area (client coordinates). scaled, when given, is the picture
    // already reduced to geometry's zoom in device pixels and is copied
    // unscaled; otherwise the picture is sampled through the transform.
    static void PaintScene(QPainter& painter, CTilemontDoc& doc, const CViewGeometry& geometry,
                           const QRectF& area, const QImage* scaled);

    // A fingerprint of everything CArea::Draw and the picture paint from.
    static quint64 ContentKey(const CTilemontDoc& doc);

private:
    const QImage* ScaledPicture(const QImage& picture, const CViewGeometry& geometry);
    void Compose(CTilemontDoc& doc, const CViewGeometry& geometry, const QRegion& region);
    bool ScrollImage(int dx, int dy);

    QImage m_image;
    CViewGeometry m_geometry;
    quint64 m_nContent = 0;
    bool m_bValid = false;
    int m_nFull = 0;
    int m_nPartial = 0;

    // The picture reduced to the current zoom: sampling a 24-megapixel
    // picture down on every repaint would cost far more than one copy.
    QImage m_scaled;
    qint64 m_nScaledSource = 0;
    const QImage* m_pScaledSource = nullptr;
};
