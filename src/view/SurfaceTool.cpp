#include "view/SurfaceTool.h"

#include "analysis/MaskOutline.h"
#include "analysis/SurfaceFinder.h"
#include "analysis/SurfaceSolver.h"
#include "controls/WorkerProgress.h"
#include "document/TilemontDoc.h"
#include "geometry/Polygon.h"
#include "view/TileMask.h"
#include "view/ToolCursors.h"
#include "view/ToolFeedback.h"
#include "view/ToolView.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QProgressDialog>

#include <algorithm>
#include <cmath>

namespace {

// A press and release this close together (client pixels) is a click.
constexpr double kClickSlop = 4.0;

// A mark's dot, client pixels across.
constexpr double kDot = 7.0;

double Distance(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

CWorkerProgress::Window ProgressWindow()
{
    CWorkerProgress::Window window;
    window.title = CSurfaceTool::tr("Find surface");
    window.label = CSurfaceTool::tr("Finding the surface...");
    window.maximum = 0;  // no steps to count: a busy bar
    return window;
}

QPoint PicturePixel(const QPointF& p)
{
    return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}

} // namespace

CSurfaceTool::CSurfaceTool()
{
    SetCursor(ToolCursors::Get(ToolCursors::Surface));
}

bool CSurfaceTool::IsLoop(const std::vector<QPointF>& trace)
{
    if (trace.size() < 8)
        return false;
    double x0 = trace.front().x(), x1 = x0, y0 = trace.front().y(), y1 = y0;
    for (const QPointF& p : trace) {
        x0 = std::min(x0, p.x()), x1 = std::max(x1, p.x());
        y0 = std::min(y0, p.y()), y1 = std::max(y1, p.y());
    }
    // Ends within a quarter of the loop's size of each other: the user came
    // back round.
    return Distance(trace.front(), trace.back()) < 0.25 * std::hypot(x1 - x0, y1 - y0);
}

void CSurfaceTool::OnMouseMove(unsigned, int x, int y)
{
    if (!IsDragging())
        return;
    const QPointF p{float(x), float(y)};
    if (m_points.empty())
        m_points.push_back(Start());
    const QPointF prev = m_points.back();
    m_points.push_back(p);
    m_bBandShown = true;
    AddFeedback(ToolFeedback::LineRegion(prev, p));
    // The rectangle the drag would give, unless it is turning into a loop
    // or paints a stroke of marks.
    MoveFeedback(IsLoop(m_points) || m_round.IsOpen() ? MarksRegion()
                                  : ToolFeedback::BandRegion(ToolFeedback::Figure::Rectangle,
                                                             ToolFeedback::BandRect(Start(), p)));
}

void CSurfaceTool::OnLButtonUp(unsigned flags, int x, int y)
{
    const bool dragging = IsDragging();
    CTool::OnLButtonUp(flags, x, y);
    std::vector<QPointF> trace;
    trace.swap(m_points);
    if (m_bBandShown) {
        m_points = trace;
        ClearTrace();
        m_points.clear();
        m_bBandShown = false;
    }
    ClearFeedback();
    if (!dragging || !View() || !Doc() || !Doc()->GetPicture())
        return;
    const QPointF end{float(x), float(y)};
    const Qt::KeyboardModifiers keys = View()->CurrentModifiers();
    const bool dragged = Distance(Start(), end) > kClickSlop || IsLoop(trace);
    const bool combine = keys.testFlag(Qt::ControlModifier) || keys.testFlag(Qt::ShiftModifier);
    // Within a round a drag paints a stroke of marks, a click adds one;
    // Shift or Ctrl start a new round as a first click does.
    if (!combine && Resumes()) {
        SSurfaceMark mark{!keys.testFlag(Qt::AltModifier), {}};
        if (dragged)
            for (const QPointF& p : trace)
                mark.points.push_back(PicturePixel(View()->ClientToPicture(p)));
        else
            mark.points.push_back(PicturePixel(View()->ClientToPicture(Start())));
        Mark(std::move(mark), false, keys);
        return;
    }
    if (!dragged) {
        Mark({true, {PicturePixel(View()->ClientToPicture(Start()))}}, true, keys);
        return;
    }
    EndRound(false);
    std::vector<QPointF> loop;
    if (IsLoop(trace)) {
        loop = trace;
    } else {
        const QRectF r = QRectF(Start(), end).normalized();
        loop = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
    }
    for (QPointF& p : loop)
        p = View()->ClientToPicture(p);
    const std::optional<CRegionMask> region = Search(QPointF(-1, -1), loop);
    if (!region)
        return;  // cancelled: the selection stays as it was
    // The traced outline as it is, pixel-exact, as the command line gives it.
    Doc()->CommitSelectionPolygon(MaskOutline(*region), keys.testFlag(Qt::ControlModifier),
                                  keys.testFlag(Qt::ShiftModifier));
}

void CSurfaceTool::OnRButtonDown(unsigned, int x, int y)
{
    if (IsDragging() || !View() || !Doc() || !Doc()->GetPicture() || !Resumes())
        return;
    Mark({false, {PicturePixel(View()->ClientToPicture(QPointF(x, y)))}}, false, {});
}

bool CSurfaceTool::Resumes()
{
    const QImage* picture = Doc() ? Doc()->GetPicture() : nullptr;
    const bool on = picture && m_round.Resume(picture->cacheKey(), Doc()->GetSelection().GetPolygon());
    if (!on)
        MoveFeedback(QRegion());
    return on;
}

void CSurfaceTool::Mark(SSurfaceMark mark, bool first, Qt::KeyboardModifiers keys)
{
    if (first)
        m_round.Start(Doc()->GetPicture()->cacheKey(), Doc()->GetSelection().GetPolygon(),
                      keys.testFlag(Qt::ControlModifier), keys.testFlag(Qt::ShiftModifier), std::move(mark));
    else
        m_round.Add(std::move(mark));
    MoveFeedback(MarksRegion());
    if (!first && m_prepared && m_preparedKey == Doc()->GetPicture()->cacheKey()) {
        m_solve.Start(m_prepared, m_round.Marks(), [this](std::optional<CRegionMask> region) {
            Solved(std::move(region));
        });
        return;
    }
    const std::optional<CRegionMask> region = Solve();
    if (!region) {
        // Cancelled: the selection stays as it was, and so does the round.
        if (first)
            m_round.End();
        else
            m_round.DropLast();
        MoveFeedback(MarksRegion());
        return;
    }
    Commit(*region);
}

void CSurfaceTool::Commit(const CRegionMask& region)
{
    const CPolygon selection = m_round.Combine(MaskOutline(region));
    Doc()->SetSelection(&selection);
    m_round.Record(Doc()->GetSelection().GetPolygon());
}

void CSurfaceTool::Solved(std::optional<CRegionMask> region)
{
    // A picture put in place meanwhile ends the round at the next click;
    // this region is of the old one.
    const QImage* picture = Doc() ? Doc()->GetPicture() : nullptr;
    // An undo (or any change of the selection) meanwhile wins over a result
    // that would land on top of it.
    if (!region || !picture || picture->cacheKey() != m_preparedKey || !m_round.IsOpen() ||
        !m_round.IsAt(Doc()->GetSelection().GetPolygon())) {
        if (m_round.IsOpen())
            m_round.DropLast();
        MoveFeedback(MarksRegion());
        return;
    }
    Commit(*region);
}

std::optional<CRegionMask> CSurfaceTool::Solve()
{
    const QImage picture = *Doc()->GetPicture();
    if (m_preparedKey != picture.cacheKey())
        m_prepared.reset();
    CWorkerProgress progress(ProgressWindow(), QApplication::activeWindow());
    std::optional<CRegionMask> found;
    std::shared_ptr<const CSurfacePicture> prepared = m_prepared;
    const std::vector<SSurfaceMark> marks = m_round.Marks();
    // The progress window, when it showed, takes the keyboard: Enter and
    // Escape must reach the round again.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    View()->SetBusy(true);
    progress.Run([&] {
        if (!prepared)
            prepared = CSurfaceSolver::Prepare(picture, &progress.CancelFlag());
        if (prepared)
            found = CSurfaceSolver::Solve(*prepared, marks, {}, &progress.CancelFlag());
    });
    View()->SetBusy(false);
    if (focus && QApplication::focusWidget() != focus)
        focus->setFocus(Qt::OtherFocusReason);
    if (prepared) {
        m_prepared = prepared;
        m_preparedKey = picture.cacheKey();
    }
    if (progress.IsCancelled())
        return std::nullopt;
    return found;
}

std::optional<CRegionMask> CSurfaceTool::Search(const QPointF& click, const std::vector<QPointF>& loop) const
{
    const QImage picture = *Doc()->GetPicture();
    CSurfaceFinder::SHint hint;
    if (loop.empty())
        hint.click = QPoint(int(std::floor(click.x())), int(std::floor(click.y())));
    hint.loop = loop;
    CWorkerProgress progress(ProgressWindow(), QApplication::activeWindow());
    std::optional<CRegionMask> found;
    View()->SetBusy(true);
    progress.Run([&] { found = CSurfaceFinder::Find(picture, hint, &progress.CancelFlag()); });
    View()->SetBusy(false);
    if (progress.IsCancelled())
        return std::nullopt;
    return found;
}

bool CSurfaceTool::OnCancel()
{
    // A mark being solved counts: the round ends with it.
    m_solve.Finish();
    if (AbandonDrag()) {
        ClearTrace();
        ClearFeedback();
        m_points.clear();
        return true;
    }
    if (Resumes()) {
        EndRound(true);
        return true;
    }
    // A second Escape takes the ended round's change back.
    if (Doc())
        if (const std::optional<CPolygon> before = m_round.Drop(Doc()->GetSelection().GetPolygon())) {
            Doc()->SetSelection(&*before);
            return true;
        }
    return false;
}

bool CSurfaceTool::OnEnter()
{
    m_solve.Finish();
    if (!Resumes())
        return false;
    EndRound(false);
    return true;
}

void CSurfaceTool::OnActivate(bool active)
{
    if (!active) {
        EndRound(false);
        m_round.Drop(CPolygon());
        // What was prepared for the picture is kept: the tool may come back.
    }
}

void CSurfaceTool::EndRound(bool keepUndo)
{
    m_solve.Finish();
    m_round.End(keepUndo);
    MoveFeedback(QRegion());
}

QRegion CSurfaceTool::MarksRegion() const
{
    if (!View() || !m_round.IsOpen())
        return QRegion();
    const QTransform toClient = View()->GetGeometry().Transform();
    CTileMask mask(View()->GetGeometry().client);
    for (const SSurfaceMark& mark : m_round.Marks()) {
        for (std::size_t i = 0; i < mark.points.size(); ++i) {
            const QPointF a = toClient.map(QPointF(mark.points[i]) + QPointF(0.5, 0.5));
            const QPointF b = i + 1 < mark.points.size()
                                  ? toClient.map(QPointF(mark.points[i + 1]) + QPointF(0.5, 0.5))
                                  : a;
            mask.AddSegment(a, b, kDot);
        }
    }
    return mask.Region();
}

void CSurfaceTool::ClearTrace()
{
    if (!View())
        return;
    CTileMask mask(View()->GetGeometry().client);
    for (std::size_t i = 0; i + 1 < m_points.size(); ++i)
        mask.AddSegment(m_points[i], m_points[i + 1], 2.0);
    View()->InvalidateClient(mask.Region());
}

void CSurfaceTool::DrawFeedback(QPainter& painter)
{
    if (m_round.IsOpen() && View()) {
        // "Part of" marks in green, "not" marks in red, each with a dark
        // rim that shows on light and dark pictures alike.
        const QTransform toClient = View()->GetGeometry().Transform();
        painter.setRenderHint(QPainter::Antialiasing);
        for (const SSurfaceMark& mark : m_round.Marks()) {
            QPolygonF line;
            for (const QPoint& p : mark.points)
                line << toClient.map(QPointF(p) + QPointF(0.5, 0.5));
            const QColor colour = mark.part ? QColor(40, 200, 70) : QColor(230, 50, 40);
            for (int pass = 0; pass < 2; ++pass) {
                const double width = pass ? kDot - 3 : kDot - 1;
                painter.setPen(QPen(pass ? colour : QColor(0, 0, 0), width, Qt::SolidLine, Qt::RoundCap,
                                    Qt::RoundJoin));
                if (line.size() == 1)
                    painter.drawPoint(line.front());
                else
                    painter.drawPolyline(line);
            }
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    if (!m_bBandShown || m_points.empty())
        return;
    ToolFeedback::DrawLines(painter, m_points, false);
    if (!IsLoop(m_points) && !m_round.IsOpen())
        ToolFeedback::DrawBand(painter, ToolFeedback::Figure::Rectangle,
                               ToolFeedback::BandRect(Start(), m_points.back()));
}
