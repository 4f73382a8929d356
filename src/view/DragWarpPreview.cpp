#include "view/DragWarpPreview.h"

#include "document/WarpCache.h"
#include "render/AreaWarp.h"
#include "render/AreaWarpUpdates.h"

#include <memory>

CDragWarpPreview::CDragWarpPreview(QObject* parent)
    : QObject(parent), m_build([](const CArea& area, int reduction) {
          // One thread: the window's own thread must go on running beside it.
          return reduction == 1 ? BuildAreaWarp(area, 1) : BuildAreaWarpReduced(area, reduction);
      })
{
}

CDragWarpPreview::~CDragWarpPreview()
{
    if (m_worker.joinable())
        m_worker.join();
}

void CDragWarpPreview::Show(CWarpCache& warps, const CArea& area, qint64 maxPixels)
{
    if (!area.GetTexture())
        return;
    const CAreaWarpInputs inputs = area.WarpInputs();
    if (AreaWarpReduction(area, kInlinePixels) == 1) {
        KeepExactWarp(warps, area);
        return;
    }
    const CWarpCache::CEntry kept = warps.Find(area.GetId(), inputs);
    if (kept.image && !kept.standIn) {
        // Back where it was a moment ago: that warp is still kept.
        m_next.reset();
        return;
    }
    warps.PutStandIn(area.GetId(), inputs);
    m_next = CJob{&warps, area, inputs, AreaWarpReduction(area, maxPixels)};
    if (!m_bBusy)
        Start();
}

void CDragWarpPreview::Stop()
{
    m_next.reset();
    ++m_nGeneration;
}

void CDragWarpPreview::Start()
{
    if (!m_next)
        return;
    CJob job = std::move(*m_next);
    m_next.reset();
    m_bBusy = true;
    // The last worker has posted its warp and is ending, if not gone.
    if (m_worker.joinable())
        m_worker.join();
    m_worker = std::thread([this, job = std::move(job), build = m_build, generation = m_nGeneration] {
        const QImage warp = build(job.area, job.reduction);
        // Dropped by Qt if this preview is gone by then.
        QMetaObject::invokeMethod(
            this, [this, job, warp, generation] { Finished(job, warp, generation); }, Qt::QueuedConnection);
    });
}

void CDragWarpPreview::Finished(const CJob& job, const QImage& warp, quint64 generation)
{
    m_bBusy = false;
    const AreaId id = job.area.GetId();
    // An exact warp kept meanwhile (the release, or a paint) is better than
    // the preview.
    if (generation == m_nGeneration && !warp.isNull() && !job.warps->FindExact(id, job.inputs)) {
        job.warps->Put(id, job.inputs, std::make_shared<const QImage>(warp), job.reduction);
        emit kept(id, job.inputs);
    }
    Start();
}
