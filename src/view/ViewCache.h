#pragma once

#include "document/IAreaEditSession.h"
#include "render/AreaShadingCache.h"
#include "view/ViewGeometry.h"

#include <QImage>
#include <QRegion>
#include <QtGlobal>
#include <functional>

class CTilemontDoc;
class QPainter;
class QRectF;

// The picture and the areas as one view shows them, composed once and kept:
// repaints, marching-ants ticks and tool feedback only copy from it. The
// view tells it which part of the picture a change of the document touched,
// and only that part is composed again; a change of geometry composes
// everything (a pure scroll only the strips that came into view).
class CViewCache
{
public:
    // How the window edits an area's corners: drawing follows it.
    using EditingLookup = std::function<CSkewEditing(AreaId)>;

    // Brings the composition up to date; true when anything was composed.
    bool Update(const CTilemontDoc& doc, const CViewGeometry& geometry);
    // The next Update composes everything afresh.
    void Invalidate() { m_bValid = false; }
    // The next Update composes again what shows of rect (picture pixels).
    void InvalidatePicture(const QRect& rect);

    // Client-sized, in device pixels, its device pixel ratio set.
    const QImage& Image() const { return m_image; }
    // How many full and partial compositions have run, for the tests.
    int FullCompositions() const { return m_nFull; }
    int PartialCompositions() const { return m_nPartial; }

    // Paints background, picture and areas for geometry onto painter, limited
    // to area (client coordinates). scaled, when given, is the picture
    // already reduced to geometry's zoom in device pixels and is copied
    // unscaled; otherwise the picture is sampled through the transform.
    // shading, when given, lays the picture's light over each texture.
    // editing, when given, says which areas the window edits the corners of.
    static void PaintScene(QPainter& painter, const CTilemontDoc& doc, const CViewGeometry& geometry,
                           const QRectF& area, const QImage* scaled, CAreaShadingCache* shading = nullptr,
                           const EditingLookup& editing = {});
    void SetEditingLookup(EditingLookup editing) { m_editing = std::move(editing); }
    const EditingLookup& Editing() const { return m_editing; }

    // Whether the textures show the picture's light and shadow; a change
    // composes everything again.
    void SetKeepShading(bool keep);
    bool IsKeepShading() const { return m_bKeepShading; }
    // The measured shadings while they are shown, else null.
    CAreaShadingCache* Shading() { return m_bKeepShading ? &m_shading : nullptr; }
    void ForgetArea(AreaId id) { m_shading.Forget(id); }
    const CAreaShadingCache& ShadingCache() const { return m_shading; }

private:
    const QImage* ScaledPicture(const QImage& picture, const CViewGeometry& geometry);
    void Compose(const CTilemontDoc& doc, const CViewGeometry& geometry, const QRegion& region);
    EditingLookup m_editing;
    // The client region of the picture rectangles changed since the last
    // composition, under geometry.
    QRegion DirtyClientRegion(const CViewGeometry& geometry) const;
    bool ScrollImage(int dx, int dy);

    QImage m_image;
    CViewGeometry m_geometry;
    // Picture pixels changed since the last composition.
    QRegion m_dirty;
    bool m_bValid = false;
    int m_nFull = 0;
    int m_nPartial = 0;

    // The picture reduced to the current zoom: sampling a 24-megapixel
    // picture down on every repaint would cost far more than one copy.
    QImage m_scaled;
    qint64 m_nScaledSource = 0;
    const QImage* m_pScaledSource = nullptr;

    bool m_bKeepShading = false;
    CAreaShadingCache m_shading;
};
