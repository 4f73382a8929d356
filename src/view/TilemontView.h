#pragma once

#include "document/Area.h"
#include "geometry/Polygon.h"
#include "geometry/Selection.h"
#include "view/AreaEditSession.h"
#include "view/HandleOverlay.h"
#include "view/ReferenceLineTool.h"
#include "view/ViewCommands.h"
#include "view/SelectionAnts.h"
#include "document/IDocumentView.h"
#include "view/ToolView.h"
#include "view/ViewCache.h"
#include "view/ViewTools.h"
#include "view/ZoomScroll.h"

#include <QAbstractScrollArea>
#include <QPointF>
#include <QRectF>
#include <QRegion>
#include <QSize>

#include <array>
#include <cstddef>
#include <memory>

class CTilemontDoc;
class CTool;
class CViewDrops;
class IDropHandler;
class QPainterPath;
class IAreasPanelSink;
class QPainter;

// The scrolling, zooming window on one template: the picture, the areas,
// the marching-ants selection and the handle overlays. Its commands (the
// "Tool" commands, "Refresh" and the zoom commands) are Commands(); the
// editing of one area's handles is its edit session's.
class CTilemontView : public QAbstractScrollArea,
                      public IDocumentView,
                      public IToolView
{
    Q_OBJECT

public:
    using ToolSlot = CViewTools::Slot;
    using enum CViewTools::Slot;

    static constexpr float kMinZoom = CZoomScroll::kMinZoom;
    static constexpr float kMaxZoom = CZoomScroll::kMaxZoom;
    static constexpr int kAntsPeriodMs = 100;

    // panel may be null: the view then tells nobody when it gains focus.
    CTilemontView(CTilemontDoc& doc, IAreasPanelSink* panel, QWidget* parent = nullptr);
    ~CTilemontView() override;

    // What files dragged over the view mean is left to handler (none: every
    // drag goes on to the main window).
    void SetDropHandler(std::unique_ptr<IDropHandler> handler);

    CTilemontDoc& GetDocument() const { return m_doc; }

    // IDocumentView: recompute the scroll sizes and repaint everything from
    // the composition; a change repaints and recomposes only what it names.
    void OnUpdate() override;
    void OnDocumentChanged(const CDocChange& change) override;
    IAreaEditSession* EditSession() override;
    float GetZoomX() const { return m_zoom.ZoomX(); }
    float GetZoomY() const { return m_zoom.ZoomY(); }
    // Stores both factors, held within the zoom bounds (a factor that is not
    // a number is ignored); the caller recomputes the scroll sizes and
    // repaints.
    void SetZoom(float x, float y) override;
    float GetOffsetX() const { return m_zoom.OffsetX(); }
    float GetOffsetY() const { return m_zoom.OffsetY(); }
    void UpdateScrollSizes() override;
    // For a new window: a picture larger than the window shows whole. Until
    // the user first clicks, types or zooms in it, each resize (the frame
    // laying itself out, a panel docking beside it) fits it again.
    void FitWhenShown() { m_bFitUntilUsed = true; }
    // A picture put in place of the last one (pasted, chosen, undone back)
    // shows as a newly opened one does.
    void ShowNewPictureWhole();

    // Scroll position in zoomed (window) pixels; setting it clamps to the
    // scroll range.
    int GetScrollX() const { return m_zoom.ScrollX(); }
    int GetScrollY() const { return m_zoom.ScrollY(); }
    void SetScrollPosition(int x, int y) override;
    // The scroll sizes as last computed: total, page and line per axis. A
    // page or line of 0 means the axis cannot scroll.
    QSize GetTotalSize() const { return m_zoom.TotalSize(); }
    QSize GetPageSize() const { return m_zoom.PageSize(); }
    QSize GetLineSize() const { return m_zoom.LineSize(); }
    const CZoomScroll& ZoomScroll() const { return m_zoom; }

    QRectF PictureToClient(const QRectF& r) const { return m_zoom.PictureToClient(r); }
    QPointF PictureToClient(const QPointF& p) const { return m_zoom.PictureToClient(p); }
    QRectF ClientToPicture(const QRectF& r) const override { return m_zoom.ClientToPicture(r); }
    QPointF ClientToPicture(const QPointF& p) const override { return m_zoom.ClientToPicture(p); }
    void InvalidateSelectionBounds();
    // The window under a selection (even-odd interior and outline) widened
    // by trunc(2 x the larger zoom), at least 1, plus extra pixels.
    QRegion SelectionOutlineRegion(const CPolygon& selection, int extra = 0) const;
    // The zoom commands; each stops a new window's fitting to its size.
    void ZoomOut();
    void ZoomToOriginalSize();
    void ZoomToFit();
    // Composes everything again from the template.
    void Refresh();
    // The user took over the zoom: resizes no longer fit the picture.
    void StopFitting() { m_bFitUntilUsed = false; }

    // IToolView
    CViewGeometry GetGeometry() const override { return Geometry(); }
    void InvalidateClient(const QRegion& region) override;
    void InvalidateWholeClient() override;
    void InvalidatePathOutline(const QPainterPath& path) override;
    void SetMouseGrab(bool on) override;
    Qt::KeyboardModifiers CurrentModifiers() const override { return m_modifiers; }
    void SetBusy(bool busy) override;
    CSkewEditing SkewEditing(AreaId id) const override;
    // Composes the picture rect (picture pixels) again and repaints it.
    void RecomposePicture(const QRect& bounds) override;

    void SetSkewMode(bool on, const CArea* area) { m_session.SwitchHandleMode(on, area, Handles::Skew); }
    void SetInitialRectMode(bool on, const CArea* area)
    {
        m_session.SwitchHandleMode(on, area, Handles::InitialRect);
    }
    void RefreshSkewHandles() { m_session.RefreshSkewHandles(); }
    void RefreshInitialRectHandles() { m_session.RefreshInitialRectHandles(); }
    // area must be an entry of the document's list, or null for none; the
    // view holds it by its identity.
    void SetEditedArea(const CArea* area);
    void SetEditedAreaId(AreaId id) { m_session.SetEditedAreaId(id); }
    const CArea* GetEditedArea() const { return m_session.EditedArea(); }
    AreaId GetEditedAreaId() const { return m_session.EditedAreaId(); }
    bool IsSkewMode() const { return m_session.IsOn(Handles::Skew); }
    bool IsInitialRectMode() const { return m_session.IsOn(Handles::InitialRect); }
    // Lets the user drag one reference line on the picture with the
    // reference-line tool, then gives the tool that was active back and
    // hands on the line (nothing when abandoned).
    void BeginReferenceLine(CReferenceLineTool::Done done) { m_session.BeginReferenceLine(std::move(done)); }
    // "Perspective Grid": while the skew corners are edited, the canvas's
    // tile grid shows for bilinear areas too (perspective areas always show
    // it then).
    void SetPerspectiveGrid(bool on) { m_session.SetPerspectiveGrid(on); }
    bool IsPerspectiveGrid() const { return m_session.IsPerspectiveGrid(); }
    // Whether the edited area's grid is drawn now.
    bool ShowsPerspectiveGrid() const { return m_session.ShowsPerspectiveGrid(); }

    CTool* GetTool(ToolSlot slot) const;
    // Replaces the tool in slot (null leaves it as it is); it is attached to
    // this view and document. The active tool stays in the same slot.
    void SetTool(ToolSlot slot, std::unique_ptr<CTool> tool);
    CTool* GetActiveTool() const { return m_tools.Active(); }
    int ActiveToolSlot() const { return m_tools.ActiveSlot(); }
    // Tells the tools which one is active and shows its cursor.
    void SetActiveTool(int slot);

    ICommandTarget& Commands() { return m_commands; }

    // One step of the marching ants: asks for a repaint of the strip of
    // window under the selection's outline, which strokes it one phase on.
    // The 100 ms timer calls it; nothing happens for an empty selection.
    void OnAntsTick();
    // This view's ants: their style and phase.
    const CSelectionAnts& GetAnts() const { return m_ants; }

    // Paints what the window shows (without the scroll shift) onto another
    // device, for printing.
    void PaintForPrint(QPainter& painter);

    const CViewCache& GetCache() const { return m_cache; }
    // Whether the textures show the picture's light and shadow.
    void SetKeepShading(bool keep);
    bool IsKeepShading() const { return m_cache.IsKeepShading(); }

signals:
    // The view took the keyboard focus (the frame points the Areas panel here).
    void focusGained(CTilemontView* view);
    // The picture pixel under the pointer, for the status bar; left when
    // the pointer leaves the picture or the window.
    void pointerOverPixel(QPoint pixel);
    void pointerLeftPicture();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    using Handles = CHandleOverlay::Handles;

    CViewGeometry Geometry() const;
    void ApplyCursor();
    // Tells the zoom and scroll geometry the picture's and the window's
    // sizes as they are now.
    void SyncSizes();
    // After a zoom command: the scroll bars take the geometry's range and
    // position, and the window repaints.
    void ApplyZoom();
    // While the user has not zoomed or scrolled, the picture whole and as
    // large as fits, never larger than its own size; false when nothing
    // needed to change.
    bool ShowWholeWhileUnused();
    void ShowPointer(QPointF client);
    void ApplyScrollSizes();
    // Selection outline, handle overlays and tool feedback over the
    // composed scene; geometry says where the picture lies.
    void PaintOverlays(QPainter& painter, const CViewGeometry& geometry, bool withFeedback);

    CTilemontDoc& m_doc;
    IAreasPanelSink* m_pPanel;
    CViewTools m_tools;
    CAreaEditSession m_session;
    CViewCommands m_commands;

    CZoomScroll m_zoom;
    bool m_bInScrollUpdate = false;
    int m_nTimerId = 0;
    CViewCache m_cache;
    Qt::KeyboardModifiers m_modifiers;
    // The selection as last shown, so that a change repaints where it was.
    CSelection m_shownSelection;
    CSelectionAnts m_ants;
    bool m_bGrabbing = false;
    bool m_bFitUntilUsed = false;
    bool m_bPointerOverPicture = false;
    CViewDrops* m_pDrops = nullptr;
};
