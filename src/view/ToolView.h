#pragma once

#include "document/IAreaEditSession.h"
#include "view/ViewGeometry.h"

#include <QPointF>
#include <QRectF>
#include <Qt>

class QPainterPath;
class QRegion;

// What a tool may ask of the view it works in: where the picture lies, the
// coordinate mapping, zoom and scroll, repainting parts of the window, the
// mouse grab and the modifier keys of the event being handled. The view
// implements it; a tool knows nothing else of the view.
class IToolView
{
public:
    virtual ~IToolView() = default;

    virtual CViewGeometry GetGeometry() const = 0;
    virtual QPointF ClientToPicture(const QPointF& p) const = 0;
    virtual QRectF ClientToPicture(const QRectF& r) const = 0;
    virtual void SetZoom(float x, float y) = 0;
    virtual void UpdateScrollSizes() = 0;
    virtual void SetScrollPosition(int x, int y) = 0;

    // Repaints part of the window from the composition (tool feedback is
    // drawn over it); nothing is composed again.
    virtual void InvalidateClient(const QRegion& region) = 0;
    virtual void InvalidateWholeClient() = 0;
    // Repaints the window under a closed path in picture pixels, widened so
    // that handle outlines and marks are covered.
    virtual void InvalidatePathOutline(const QPainterPath& path) = 0;
    // Composes the picture rectangle (picture pixels) again and repaints it:
    // for what changed outside the document (a warp built beside it).
    virtual void RecomposePicture(const QRect& bounds) = 0;

    // Keeps mouse input coming to the view between button presses (the
    // polyline's vertices), or lets go.
    virtual void SetMouseGrab(bool on) = 0;
    // The modifier keys as they were at the mouse or key event being handled.
    virtual Qt::KeyboardModifiers CurrentModifiers() const = 0;
    // A wait cursor over the whole application while long work runs.
    virtual void SetBusy(bool busy) = 0;
    // How this window edits the area's corners (the flags are the window's).
    virtual CSkewEditing SkewEditing(AreaId id) const = 0;
};
