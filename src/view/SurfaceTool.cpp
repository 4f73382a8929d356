#include "view/SurfaceTool.h"

#include "analysis/MaskOutline.h"
#include "analysis/SurfaceFinder.h"
#include "controls/WorkerProgress.h"
#include "document/TilemontDoc.h"
#include "geometry/Polygon.h"
#include "view/TileMask.h"
#include "view/ToolCursors.h"
#include "view/ToolFeedback.h"
#include "view/ToolView.h"

#include <QApplication>
#include <QProgressDialog>

#include <algorithm>
#include <cmath>

namespace {

// A press and release this close together (client pixels) is a click.
constexpr double kClickSlop = 4.0;

double Distance(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
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
    // The rectangle the drag would give, unless it is turning into a loop.
    MoveFeedback(IsLoop(m_points) ? QRegion()
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
    std::vector<QPointF> loop;
    QPointF click = Start();
    if (Distance(Start(), end) > kClickSlop || IsLoop(trace)) {
        if (IsLoop(trace)) {
            loop = trace;
        } else {
            const QRectF r = QRectF(Start(), end).normalized();
            loop = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
        }
        for (QPointF& p : loop)
            p = View()->ClientToPicture(p);
    }
    const Qt::KeyboardModifiers keys = View()->CurrentModifiers();
    const std::optional<CRegionMask> region =
        Search(loop.empty() ? View()->ClientToPicture(click) : QPointF(-1, -1), loop);
    if (!region)
        return;  // cancelled: the selection stays as it was
    // The traced outline as it is, pixel-exact, as the command line gives it.
    Doc()->CommitSelectionPolygon(MaskOutline(*region), keys.testFlag(Qt::ControlModifier),
                                  keys.testFlag(Qt::ShiftModifier));
}

std::optional<CRegionMask> CSurfaceTool::Search(const QPointF& click, const std::vector<QPointF>& loop) const
{
    const QImage picture = *Doc()->GetPicture();
    CSurfaceFinder::SHint hint;
    if (loop.empty())
        hint.click = QPoint(int(std::floor(click.x())), int(std::floor(click.y())));
    hint.loop = loop;
    CWorkerProgress::Window window;
    window.title = tr("Find surface");
    window.label = tr("Finding the surface...");
    window.maximum = 0;  // no steps to count: a busy bar
    CWorkerProgress progress(window, QApplication::activeWindow());
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
    if (!AbandonDrag())
        return false;
    ClearTrace();
    ClearFeedback();
    m_points.clear();
    return true;
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
    if (!m_bBandShown || m_points.empty())
        return;
    ToolFeedback::DrawLines(painter, m_points, false);
    if (!IsLoop(m_points))
        ToolFeedback::DrawBand(painter, ToolFeedback::Figure::Rectangle,
                               ToolFeedback::BandRect(Start(), m_points.back()));
}
