#include "view/TilemontView.h"

#include "view/ViewCommandIds.h"
#include "document/Area.h"
#include "document/DocChange.h"
#include "document/IAreasPanelSink.h"
#include "document/TilemontDoc.h"
#include "geometry/Polygon.h"
#include "view/DropHandler.h"
#include "view/OutlineRegion.h"
#include "view/ViewDrops.h"
#include "view/Tool.h"
#include "view/ViewPrint.h"

#include <QApplication>
#include <QFocusEvent>
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
    , m_tools(*this, doc)
    , m_session(*this, m_tools)
    , m_commands(*this)
{
    // Every paint covers its whole region from the composition.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setMouseTracking(true);
    // A picture dropped here becomes a texture or the picture (see
    // SetDropHandler); templates are left to the main window, which opens
    // them.
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    // Screen readers name the window by what it shows.
    setAccessibleName(tr("Template picture"));
    setAccessibleDescription(tr("The picture with its areas; the mouse tools work here"));

    m_cache.SetEditingLookup([this](AreaId id) { return m_session.SkewEditing(id); });
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
        if (change.area == m_session.EditedAreaId())
            m_session.RepaintHandleOverlay();
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

QRegion CTilemontView::SelectionOutlineRegion(const CPolygon& selection, int extra) const
{
    return ::SelectionOutlineRegion(selection, Geometry().Transform(), viewport()->size(),
                                    std::max(m_zoom.ZoomX(), m_zoom.ZoomY()), extra);
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
    return m_session.SkewEditing(id);
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
    m_session.SetEditedAreaId(m_doc.IdOf(area));
}

IAreaEditSession* CTilemontView::EditSession()
{
    return &m_session;
}

// --- Zoom commands --------------------------------------------------------

void CTilemontView::ZoomOut()
{
    m_bFitUntilUsed = false;
    SyncSizes();
    m_zoom.ZoomOut();
    ApplyZoom();
}

void CTilemontView::ZoomToOriginalSize()
{
    m_bFitUntilUsed = false;
    SyncSizes();
    m_zoom.OriginalSize();
    ApplyZoom();
}

void CTilemontView::Refresh()
{
    m_cache.Invalidate();
    viewport()->update();
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
    m_session.Overlay().Paint(painter, g, dragging ? &drag : nullptr);
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
    if (m_session.Nudge(*event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
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
    const QImage* picture = m_doc.GetPicture();
    const QPointF p = ClientToPicture(client);
    const bool over = picture && !picture->isNull() && p.x() >= 0 && p.y() >= 0 && p.x() < picture->width() &&
                      p.y() < picture->height();
    if (over)
        emit pointerOverPixel(QPoint(int(p.x()), int(p.y())));
    else if (m_bPointerOverPicture)
        emit pointerLeftPicture();
    m_bPointerOverPicture = over;
}

void CTilemontView::leaveEvent(QEvent* event)
{
    QAbstractScrollArea::leaveEvent(event);
    if (m_bPointerOverPicture)
        emit pointerLeftPicture();
    m_bPointerOverPicture = false;
}

void CTilemontView::SetDropHandler(std::unique_ptr<IDropHandler> handler)
{
    delete m_pDrops;
    m_pDrops = handler ? new CViewDrops(*this, std::move(handler)) : nullptr;
}
