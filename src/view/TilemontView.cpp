#include "view/TilemontView.h"

#include "view/ViewCommandIds.h"
#include "document/Area.h"
#include "document/DocChange.h"
#include "document/IAreasPanelSink.h"
#include "document/TilemontDoc.h"
#include "geometry/Polygon.h"
#include "view/AreaEditSession.h"
#include "view/DropHandler.h"
#include "view/Tool.h"
#include "view/ViewPrint.h"

#include <QApplication>
#include <QDropEvent>
#include <QFocusEvent>
#include <QBitmap>
#include <QPainterPath>
#include <QStatusTipEvent>
#include <QWheelEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

CTilemontView::CTilemontView(CTilemontDoc& doc, IAreasPanelSink* panel, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_doc(doc)
    , m_pPanel(panel)
    , m_pEditSession(std::make_unique<CAreaEditSession>(*this))
    , m_tools(*this, doc)
    , m_overlay(doc)
{
    // Every paint covers its whole region from the composition.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setMouseTracking(true);
    // A picture dropped here becomes a texture or the picture; templates
    // are left to the main window, which opens them.
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    // Screen readers name the window by what it shows.
    setAccessibleName(tr("Template picture"));
    setAccessibleDescription(tr("The picture with its areas; the mouse tools work here"));

    m_cache.SetEditingLookup([this](AreaId id) { return m_pEditSession->SkewEditing(id); });
    m_doc.AddView(this);
    m_nTimerId = startTimer(kAntsPeriodMs);
    m_ants.SetStyle(0xFF000000, 0xFFFFFFFF, 1.0f, 3.0f, 3.0f, 1.0f);
    m_shownSelection = m_doc.GetSelection();
    UpdateScrollSizes();
}

CTilemontView::~CTilemontView()
{
    if (m_nTimerId)
        killTimer(m_nTimerId);
    if (m_pPanel)
        m_pPanel->NotifyAreasPanel(nullptr, nullptr, true);
    m_doc.RemoveView(this);
}

// --- Scroll sizes and coordinates ---------------------------------------

void CTilemontView::OnUpdate()
{
    // Every change has already told the composition what it touched.
    UpdateScrollSizes();
    viewport()->update();
}

void CTilemontView::OnDocumentChanged(const CDocChange& change)
{
    using Kind = CDocChange::Kind;
    switch (change.kind) {
    case Kind::AreaAdded:
    case Kind::AreaRemoved:
    case Kind::AreaChanged:
    case Kind::SelectedAreaChanged:
        if (change.kind == Kind::AreaRemoved)
            m_cache.ForgetArea(change.area);
        RecomposePicture(change.bounds);
        // The handle overlay follows the edited area, or goes with it.
        if (change.area == m_overlay.EditedAreaId())
            RepaintHandleOverlay();
        break;
    case Kind::PictureChanged:
        UpdateScrollSizes();
        m_cache.Invalidate();
        viewport()->update();
        break;
    case Kind::SelectionChanged: {
        // Where the old selection was and where the new one is, interiors
        // included, widened to cover the outline.
        const CSelection& now = m_doc.GetSelection();
        viewport()->update(SelectionOutlineRegion(m_shownSelection.GetPolygon()) |
                           SelectionOutlineRegion(now.GetPolygon()));
        m_shownSelection = now;
        break;
    }
    case Kind::HistoryChanged:
        break;
    }
}

void CTilemontView::SetZoom(float x, float y)
{
    SyncSizes();
    m_zoom.SetZoom(x, y);
}

void CTilemontView::SyncSizes()
{
    const QImage* picture = m_doc.GetPicture();
    m_zoom.SetPictureSize(picture ? picture->size() : QSize());
    m_zoom.SetClientSize(viewport()->size());
}

void CTilemontView::UpdateScrollSizes()
{
    if (m_bInScrollUpdate)
        return;
    m_bInScrollUpdate = true;
    SyncSizes();
    m_zoom.UpdateScrollSizes();
    ApplyScrollSizes();
    m_bInScrollUpdate = false;
}

void CTilemontView::ApplyScrollSizes()
{
    // A zero page means the axis cannot scroll; steps then fall back to a
    // tenth of the total and a tenth of the page.
    const auto apply = [](QScrollBar* bar, int total, int page, int line, int maximum) {
        const int pageStep = page > 0 ? page : std::max(1, total / 10);
        const int singleStep = line > 0 ? line : std::max(1, pageStep / 10);
        bar->setRange(0, maximum);
        bar->setPageStep(pageStep);
        bar->setSingleStep(singleStep);
    };
    const QSize total = m_zoom.TotalSize(), page = m_zoom.PageSize(), line = m_zoom.LineSize();
    apply(horizontalScrollBar(), total.width(), page.width(), line.width(), m_zoom.ScrollMaxX());
    apply(verticalScrollBar(), total.height(), page.height(), line.height(), m_zoom.ScrollMaxY());
}

void CTilemontView::SetScrollPosition(int x, int y)
{
    m_zoom.SetScroll(x, y);
    // Each bar's change comes back through scrollContentsBy, which reads
    // both bars: the second must not be read before it is set.
    const int sx = m_zoom.ScrollX(), sy = m_zoom.ScrollY();
    horizontalScrollBar()->setValue(sx);
    verticalScrollBar()->setValue(sy);
    m_zoom.SetScroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

CViewGeometry CTilemontView::Geometry() const
{
    CViewGeometry g;
    m_zoom.FillGeometry(g);
    g.client = viewport()->size();
    g.dpr = viewport()->devicePixelRatioF();
    g.background = viewport()->palette().color(QPalette::Base).rgba() | 0xFF000000u;
    return g;
}

void CTilemontView::InvalidateSelectionBounds()
{
    const QRectF bounds = m_ants.StrokeBounds(m_doc.GetSelection(), GetZoomX());
    if (bounds.isNull())
        return;
    viewport()->update(m_zoom.ClientBounds(bounds, 10));
}

namespace
{

// Beyond this many contours a selection's repaint is its bounds.
constexpr std::size_t kMaxOutlineRegionContours = 64;

} // namespace

QRegion CTilemontView::SelectionOutlineRegion(const CPolygon& selection, int extra) const
{
    if (selection.IsEmpty())
        return QRegion();
    const QTransform toClient = Geometry().Transform();
    const QRect window(QPoint(0, 0), viewport()->size());
    if (window.isEmpty())
        return QRegion();
    const int d = std::max(1, TruncPixel(2.0 * std::max(m_zoom.ZoomX(), m_zoom.ZoomY()))) + extra;
    std::vector<QPolygon> polygons;
    QRect bounds;
    for (const CContour& contour : selection.contours) {
        QPolygon polygon;
        polygon.reserve(int(contour.size()));
        for (const QPointF& v : contour) {
            const QPointF c = toClient.map(QPointF(std::trunc(v.x()), std::trunc(v.y())));
            polygon << QPoint(TruncPixel(std::round(c.x())), TruncPixel(std::round(c.y())));
        }
        bounds |= polygon.boundingRect();
        polygons.push_back(std::move(polygon));
    }
    // A polygon's region takes work for every scanline it spans and goes
    // wrong with coordinates in the hundreds of thousands: a selection
    // reaching far past the window (zoomed far in) takes the window's part
    // of its bounds instead, which covers whatever of it shows.
    const QRect reach = window.adjusted(-window.width(), -window.height(), window.width(), window.height());
    if (!reach.contains(bounds))
        return QRegion(bounds.adjusted(-d, -d, d, d)) & window;
    // Each contour toggled into a region costs work for every rectangle the
    // region holds already: a wand's selection with thousands of holes would
    // take longer to work out than to repaint all it covers from the
    // composition.
    if (polygons.size() > kMaxOutlineRegionContours)
        return QRegion(bounds.adjusted(-d, -d, d, d)) & window;
    // The even-odd interior: each contour's region toggles what it covers.
    QRegion region;
    for (const QPolygon& polygon : polygons)
        region ^= QRegion(polygon, Qt::OddEvenFill);
    // Widened in four passes, as far as the outline's pens reach.
    for (const QPoint& offset : {QPoint(d, 0), QPoint(-d, 0), QPoint(0, d), QPoint(0, -d)})
        region |= region.translated(offset);
    // The outline as well, as far as its pens reach: a sliver thinner than
    // a pixel (the clipper leaves them) encloses nothing in whole pixels, yet
    // its ants are drawn, and their mitred joins reach past sharp corners.
    // Zoomed out, the ants stray up to two pixels from the whole-pixel
    // outline.
    QBitmap pens(window.size());
    pens.clear();
    {
        QPainter painter(&pens);
        // A bitmap's painter starts with a brush that would blank what
        // earlier outlines set.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::color1, 2 * std::max(d, 2) + 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        for (const QPolygon& polygon : polygons)
            painter.drawPolygon(polygon);
    }
    region |= QRegion(pens);
    return region & window;
}

void CTilemontView::InvalidateClient(const QRegion& region)
{
    if (!region.isEmpty())
        viewport()->update(region);
}

void CTilemontView::SetKeepShading(bool keep)
{
    m_cache.SetKeepShading(keep);
    InvalidateWholeClient();
}

void CTilemontView::RecomposePicture(const QRect& bounds)
{
    if (bounds.isEmpty())
        return;
    m_cache.InvalidatePicture(bounds);
    viewport()->update(m_zoom.ClientBounds(QRectF(bounds), 3));
}

CSkewEditing CTilemontView::SkewEditing(AreaId id) const
{
    return m_pEditSession->SkewEditing(id);
}

void CTilemontView::InvalidateWholeClient()
{
    viewport()->update();
}

void CTilemontView::InvalidatePathOutline(const QPainterPath& path)
{
    CPolygon polygon;
    PathToPolygon(path, polygon);
    viewport()->update(SelectionOutlineRegion(polygon, 10));
}

void CTilemontView::SetMouseGrab(bool on)
{
    if (on == m_bGrabbing)
        return;
    m_bGrabbing = on;
    if (on)
        viewport()->grabMouse();
    else
        viewport()->releaseMouse();
}

void CTilemontView::SetBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

// --- Tools and handle modes ---------------------------------------------

CTool* CTilemontView::GetTool(ToolSlot slot) const
{
    return m_tools.Get(slot);
}

void CTilemontView::SetTool(ToolSlot slot, std::unique_ptr<CTool> tool)
{
    if (m_tools.Set(slot, std::move(tool)) && slot == m_tools.ActiveSlot())
        ApplyCursor();
}

void CTilemontView::SetActiveTool(int slot)
{
    m_tools.Activate(slot);
    ApplyCursor();
}

void CTilemontView::ApplyCursor()
{
    CTool* tool = GetActiveTool();
    if (!tool || !tool->OnSetCursor(this))
        unsetCursor();
}

void CTilemontView::SetEditedArea(const CArea* area)
{
    SetEditedAreaId(m_doc.IdOf(area));
}

void CTilemontView::SetEditedAreaId(AreaId id)
{
    if (id == m_overlay.EditedAreaId())
        return;
    m_overlay.SetEditedAreaId(id);
    // The handles drawn and the tool that drags them must be the same
    // area's, or a drag would move corners the user does not see.
    if (IsSkewMode())
        m_tools.Get(SkewTool)->SetArea(id);
    if (IsInitialRectMode())
        m_tools.Get(InitialRectTool)->SetArea(id);
    RepaintHandleOverlay();
}

IAreaEditSession* CTilemontView::EditSession()
{
    return m_pEditSession.get();
}

const CArea* CTilemontView::GetEditedArea() const
{
    return m_overlay.EditedArea();
}

void CTilemontView::SwitchHandleMode(bool on, const CArea* area, CHandleOverlay::Handles handles, int& toolBefore,
                                     int handleTool)
{
    // Switching a mode on twice must not save the mode's own tool as the
    // one to return to, nor switching off twice undo a later tool pick.
    const bool was = m_overlay.IsOn(handles);
    if (on) {
        if (!was)
            toolBefore = m_tools.ActiveSlot();
        m_overlay.SetOn(handles, true);
        SetActiveTool(handleTool);
        SetEditedArea(area);
        m_tools.Get(handleTool)->SetArea(GetEditedAreaId());
    } else if (was) {
        m_overlay.SetOn(handles, false);
        SetActiveTool(toolBefore);
    }
    RepaintHandleOverlay();
}

void CTilemontView::SetSkewMode(bool on, const CArea* area)
{
    SwitchHandleMode(on, area, CHandleOverlay::Handles::Skew, m_nToolBeforeSkew, SkewTool);
}

void CTilemontView::SetInitialRectMode(bool on, const CArea* area)
{
    SwitchHandleMode(on, area, CHandleOverlay::Handles::InitialRect, m_nToolBeforeInitialRect, InitialRectTool);
}

void CTilemontView::BeginReferenceLine(CReferenceLineTool::Done done)
{
    auto* tool = static_cast<CReferenceLineTool*>(m_tools.Get(ReferenceLineTool));
    const int before = m_tools.ActiveSlot() == ReferenceLineTool ? -1 : m_tools.ActiveSlot();
    tool->SetDone([this, before, done = std::move(done)](std::optional<QLineF> line) {
        SetActiveTool(before);
        if (done)
            done(line);
    });
    SetActiveTool(ReferenceLineTool);
    setFocus(Qt::OtherFocusReason);
}

void CTilemontView::SetPerspectiveGrid(bool on)
{
    if (on == m_overlay.IsPerspectiveGrid())
        return;
    m_overlay.SetPerspectiveGrid(on);
    viewport()->update();
}

void CTilemontView::RepaintHandleOverlay()
{
    viewport()->update(m_overlay.TakeRepaintRect(Geometry()));
}

void CTilemontView::RefreshSkewHandles()
{
    m_tools.Get(SkewTool)->SetArea(GetEditedAreaId());
    m_tools.Get(SkewTool)->InvalidateOutline();
    RepaintHandleOverlay();
}

void CTilemontView::RefreshInitialRectHandles()
{
    m_tools.Get(InitialRectTool)->InvalidateOutline();
    RepaintHandleOverlay();
}

// --- Commands -------------------------------------------------------------

namespace
{

int ToolSlotOf(int id)
{
    switch (id) {
    case ID_RECT_SELECTION: return CTilemontView::RectTool;
    case ID_ELLIPSE_SELECTION: return CTilemontView::EllipseTool;
    case ID_POLYLINE_SELECTION: return CTilemontView::PolylineTool;
    case ID_FREEHAND_SELECTION: return CTilemontView::FreehandTool;
    case ID_MAGIC_WAND: return CTilemontView::WandTool;
    case ID_FIND_SURFACE: return CTilemontView::SurfaceTool;
    case ID_HAND: return CTilemontView::HandTool;
    case ID_ZOOM_IN: return CTilemontView::ZoomTool;
    default: return -1;
    }
}

} // namespace

bool CTilemontView::HandlesCommand(int id) const
{
    return ToolSlotOf(id) >= 0 || id == ID_ZOOM_OUT || id == ID_ORIGINAL_SIZE || id == ID_ZOOM_TO_FIT ||
           id == ID_REFRESH;
}

CCommandState CTilemontView::CommandState(int id) const
{
    CCommandState state;
    if (const int slot = ToolSlotOf(id); slot >= 0)
        state.checked = slot == m_tools.ActiveSlot();
    else if (id == ID_ORIGINAL_SIZE)
        state.enabled = !m_zoom.IsOriginalSize();
    else if (id == ID_ZOOM_TO_FIT)
        state.enabled = m_doc.GetPicture() != nullptr;
    return state;
}

void CTilemontView::OnCommand(int id)
{
    m_bFitUntilUsed = false;
    if (const int slot = ToolSlotOf(id); slot >= 0) {
        SetActiveTool(slot);
        return;
    }
    switch (id) {
    case ID_ZOOM_OUT:
        SyncSizes();
        m_zoom.ZoomOut();
        ApplyZoom();
        break;
    case ID_ORIGINAL_SIZE:
        SyncSizes();
        m_zoom.OriginalSize();
        ApplyZoom();
        break;
    case ID_ZOOM_TO_FIT:
        ZoomToFit();
        break;
    case ID_REFRESH:
        m_cache.Invalidate();
        viewport()->update();
        break;
    default:
        break;
    }
}

void CTilemontView::ApplyZoom()
{
    m_bInScrollUpdate = true;
    ApplyScrollSizes();
    m_bInScrollUpdate = false;
    SetScrollPosition(m_zoom.ScrollX(), m_zoom.ScrollY());
    viewport()->update();
}

void CTilemontView::ZoomToFit()
{
    SyncSizes();
    m_zoom.ZoomToFit(maximumViewportSize());
    ApplyZoom();
}

// --- Painting -------------------------------------------------------------

void CTilemontView::PaintOverlays(QPainter& painter, const CViewGeometry& g, bool withFeedback)
{
    // The ants, one screen pixel wide at this view's zoom. The window
    // strokes only what can show in it; a print takes the whole outline.
    if (painter.device() == viewport()) {
        m_ants.DrawOnWindow(painter, m_doc.GetSelection(), g);
    } else if (!m_doc.GetSelection().IsEmpty()) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setTransform(g.Transform(), true);
        m_ants.Draw(painter, m_doc.GetSelection(), g.zoomX);
        painter.restore();
    }

    if (withFeedback) {
        if (CTool* tool = GetActiveTool()) {
            painter.save();
            tool->DrawFeedback(painter);
            painter.restore();
        }
    }
    // Over the feedback, so that a dragged rectangle's inverted edges never
    // tint the handle under the pointer; a drag's handles show where it took them.
    CHandleOverlay::Drag drag;
    const bool dragging = m_tools.HandleDrag(drag);
    m_overlay.Paint(painter, g, dragging ? &drag : nullptr);
}

void CTilemontView::paintEvent(QPaintEvent* event)
{
    const CViewGeometry g = Geometry();
    m_cache.Update(m_doc, g);
    QPainter painter(viewport());
    const QImage& image = m_cache.Image();
    const QRegion& region = event->region();
    for (const QRect& r : region) {
        if (image.isNull()) {
            painter.fillRect(r, QColor::fromRgba(g.background));
            continue;
        }
        const QRectF source(r.x() * g.dpr, r.y() * g.dpr, r.width() * g.dpr, r.height() * g.dpr);
        painter.drawImage(QRectF(r), image, source);
    }
    painter.setClipRegion(region);
    PaintOverlays(painter, g, true);
}

void CTilemontView::PaintForPrint(QPainter& painter)
{
    const CViewPrint print(m_doc, Geometry());
    print.PaintScene(painter, m_cache.Shading(), m_cache.Editing());
    PaintOverlays(painter, print.Geometry(), false);
}

void CTilemontView::OnAntsTick()
{
    const CSelection& selection = m_doc.GetSelection();
    if (selection.IsEmpty() || !viewport()->isVisible())
        return;
    const QRegion strip = m_ants.TickRegion(selection, Geometry());
    if (!strip.isEmpty())
        viewport()->update(strip);
}

// --- Window events --------------------------------------------------------

void CTilemontView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (!ShowWholeWhileUnused()) {
        UpdateScrollSizes();
        viewport()->update();
    }
}

void CTilemontView::ShowNewPictureWhole()
{
    m_bFitUntilUsed = true;
    if (!ShowWholeWhileUnused()) {
        UpdateScrollSizes();
        viewport()->update();
    }
}

bool CTilemontView::ShowWholeWhileUnused()
{
    if (!m_bFitUntilUsed || !m_doc.GetPicture())
        return false;
    // Whole and as large as fits, never larger than its own size.
    SyncSizes();
    if (!m_zoom.FitsIn(maximumViewportSize())) {
        ZoomToFit();
        return true;
    }
    if (!m_zoom.IsOriginalSize()) {
        m_zoom.OriginalSize();
        ApplyZoom();
        return true;
    }
    return false;
}

void CTilemontView::scrollContentsBy(int, int)
{
    // The bars moved (the user, or a range that shrank under them).
    m_zoom.SetScroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    viewport()->update();
}

void CTilemontView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_nTimerId)
        OnAntsTick();
    else
        QAbstractScrollArea::timerEvent(event);
}

void CTilemontView::keyReleaseEvent(QKeyEvent* event)
{
    m_modifiers = event->modifiers();
    if (m_tools.SpaceKey(*event, false)) {
        ApplyCursor();
        event->accept();
    } else {
        QAbstractScrollArea::keyReleaseEvent(event);
    }
}

void CTilemontView::keyPressEvent(QKeyEvent* event)
{
    m_modifiers = event->modifiers();
    m_bFitUntilUsed = false;
    if (m_tools.SpaceKey(*event, true)) {
        ApplyCursor();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        if (CTool* tool = GetActiveTool(); tool && tool->OnCancel()) {
            event->accept();
            return;
        }
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (CTool* tool = GetActiveTool(); tool && tool->OnEnter()) {
            event->accept();
            return;
        }
    }
    const CArea* area = GetEditedArea();
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    int dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left: dx = -step; break;
    case Qt::Key_Right: dx = step; break;
    case Qt::Key_Up: dy = -step; break;
    case Qt::Key_Down: dy = step; break;
    default: break;
    }
    if (!area || (dx == 0 && dy == 0)) {
        QWidget::keyPressEvent(event);
        return;
    }
    // One step for a held key: its repeats join the first press. The moved
    // outline is part of the template, so the document becomes modified,
    // and the document's notifications repaint the old and new places.
    m_doc.NudgeArea(GetEditedAreaId(), dx, dy, event->isAutoRepeat());
    event->accept();
}

void CTilemontView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_tools.FocusLost();
    ApplyCursor();
}

void CTilemontView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (m_pPanel)
        m_pPanel->NotifyAreasPanel(&m_doc, this, false);
    emit focusGained(this);
}

// The base handlers only decline the event; a tool that took it keeps it
// from travelling on to the frame.
void CTilemontView::mousePressEvent(QMouseEvent* event)
{
    m_modifiers = event->modifiers();
    m_bFitUntilUsed = false;
    QAbstractScrollArea::mousePressEvent(event);
    if (!m_tools.Press(*event))
        return;
    ApplyCursor();
    event->accept();
}

void CTilemontView::mouseReleaseEvent(QMouseEvent* event)
{
    m_modifiers = event->modifiers();
    QAbstractScrollArea::mouseReleaseEvent(event);
    if (!m_tools.Release(*event))
        return;
    if (event->button() == Qt::LeftButton)
        ApplyCursor();
    event->accept();
}

void CTilemontView::mouseMoveEvent(QMouseEvent* event)
{
    m_modifiers = event->modifiers();
    QAbstractScrollArea::mouseMoveEvent(event);
    ShowPointer(event->position());
    if (!m_tools.Move(*event))
        return;
    ApplyCursor();
    event->accept();
}

// The second press of a double click is not a press: the polyline, for one,
// must not get a vertex from it.
void CTilemontView::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

void CTilemontView::wheelEvent(QWheelEvent* event)
{
    m_bFitUntilUsed = false;
    const QPoint steps = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // The picture point under the pointer stays under it.
        if (steps.y() != 0) {
            SyncSizes();
            if (m_zoom.ZoomAbout(event->position(), steps.y() > 0 ? 1.25f : 0.8f))
                ApplyZoom();
        }
        event->accept();
        return;
    }
    if ((event->modifiers() & Qt::ShiftModifier) && steps.y() != 0 && steps.x() == 0) {
        QScrollBar* bar = horizontalScrollBar();
        bar->setValue(bar->value() - steps.y() / 120 * std::max(1, bar->singleStep() * 3));
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void CTilemontView::ShowPointer(QPointF client)
{
    // The pointer's picture pixel in the status bar while over the picture.
    QString text;
    const QImage* picture = m_doc.GetPicture();
    const QPointF p = ClientToPicture(client);
    if (picture && !picture->isNull() && p.x() >= 0 && p.y() >= 0 && p.x() < picture->width() &&
        p.y() < picture->height())
        text = tr("%1, %2").arg(int(p.x())).arg(int(p.y()));
    QStatusTipEvent tip(text);
    QCoreApplication::sendEvent(this, &tip);
}

void CTilemontView::leaveEvent(QEvent* event)
{
    QAbstractScrollArea::leaveEvent(event);
    QStatusTipEvent tip{QString()};
    QCoreApplication::sendEvent(this, &tip);
}

// --- Dropped files -------------------------------------------------------------------

void CTilemontView::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void CTilemontView::dragMoveEvent(QDragMoveEvent* event)
{
    // Ignored, the drag goes on to the main window, which takes templates
    // and refuses the rest.
    if (m_drop && m_drop->Accepts(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CTilemontView::dropEvent(QDropEvent* event)
{
    if (!m_drop || !m_drop->Accepts(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    m_drop->Drop(event->mimeData(), ClientToPicture(event->position()));
}

void CTilemontView::SetDropHandler(std::unique_ptr<IDropHandler> handler)
{
    m_drop = std::move(handler);
}
