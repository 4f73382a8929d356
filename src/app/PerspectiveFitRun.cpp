#include "PerspectiveFitRun.h"

#include "controls/WorkerProgress.h"
#include "document/DocChange.h"
#include "document/PerspectiveEdits.h"
#include "document/TilemontDoc.h"
#include "render/AreaWarpUpdates.h"

#include <QProgressDialog>

namespace {

constexpr int kShowProgressAfterMs = 500;
constexpr int kProgressPollMs = 50;
// How much of the bar the fit takes when a warp is built after it: on a
// large photo the warp of a floor that reaches beyond the picture takes
// longer than the fit.
constexpr int kFitShare = 50;

} // namespace

CPerspectiveFitRun::CPerspectiveFitRun(CTilemontDoc& doc, AreaId id, QWidget* parent)
    : m_pDoc(&doc), m_nArea(id), m_pParent(parent), m_warps(doc.Snapshot().warps)
{
    if (const QImage* picture = doc.GetPicture())
        m_picture = *picture;
    if (const CArea* area = doc.FindArea(id))
        m_area = *area;
    else
        m_bStale = true;
    doc.AddObserver(this);
}

CPerspectiveFitRun::~CPerspectiveFitRun()
{
    if (m_pDoc)
        m_pDoc->RemoveObserver(this);
}

void CPerspectiveFitRun::OnDocumentChanged(const CDocChange& change)
{
    using Kind = CDocChange::Kind;
    switch (change.kind) {
    case Kind::AreaChanged:
    case Kind::AreaRemoved:
        if (change.area == m_nArea)
            m_bStale = true;
        break;
    case Kind::PictureChanged: m_bStale = true; break;
    case Kind::AreaAdded:
    case Kind::SelectedAreaChanged:
    case Kind::SelectionChanged:
    case Kind::HistoryChanged: break;
    }
}

void CPerspectiveFitRun::OnDocumentDestroyed()
{
    m_pDoc = nullptr;
    m_bStale = true;
}

CPerspectiveFitRun::Outcome CPerspectiveFitRun::Run()
{
    if (m_bStale || m_picture.isNull())
        return Outcome::Abandoned;
    CWorkerProgress work({tr("Fit Perspective"), tr("Finding the plane of %1...").arg(m_area.GetName()), 100,
                          kShowProgressAfterMs, kProgressPollMs},
                         m_pParent);
    std::atomic<bool>& cancel = work.CancelFlag();
    std::atomic<int> percent{0};
    work.SetPoll([&percent](QProgressDialog& progress) { progress.setValue(percent); });
    work.Run([&] { Work(percent, cancel); });

    // Whatever the worker found, a template that moved on meanwhile is left
    // as the user made it.
    if (!m_pDoc || m_bStale)
        return Outcome::Abandoned;
    if (cancel)
        return Outcome::Cancelled;
    if (!m_fit) {
        m_pDoc->ApplyAreaPerspectiveFit(m_nArea, std::nullopt);
        return Outcome::NotFound;
    }
    m_pDoc->ApplyAreaPerspectiveFit(m_nArea, m_fit);
    return Outcome::Fitted;
}

void CPerspectiveFitRun::Work(std::atomic<int>& percent, std::atomic<bool>& cancel)
{
    const auto stopped = [this, &cancel] { return cancel || m_bStale; };
    const bool warp = m_area.GetTexture() && !m_area.GetTexture()->isNull();
    const int share = warp ? kFitShare : 100;
    const auto report = [this, &percent, &cancel](int p) {
        percent = p;
        if (m_probe && !m_probe(p))
            cancel = true;
    };
    CPerspectiveFitOptions options;
    options.cancelled = stopped;
    options.progress = [&report, share](int p) { report(p * share / 100); };
    m_fit = FitPerspective(m_picture, m_area.GetOutline(), options);
    if (!m_fit || stopped() || !warp)
        return;
    // The area as the step will leave it, so that the warp kept here is the
    // one the window looks up when it repaints after the step.
    CArea fitted = m_area;
    ApplyPerspectiveFit(fitted, *m_fit);
    if (fitted.IsSkewApplied() && fitted.HasSkewCorners())
        KeepExactWarp(*m_warps, fitted);
    report(100);
}
