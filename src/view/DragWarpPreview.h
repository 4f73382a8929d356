#pragma once

#include "document/Area.h"
#include "document/AreaWarpInputs.h"

#include <QImage>
#include <QObject>

#include <functional>
#include <optional>
#include <thread>

class CWarpCache;

// The warp an area shows while its corners are dragged. A warp small enough
// to take no noticeable time is built at once; a larger one is built
// reduced on a worker thread, one at a time and always for the newest
// corners asked for (those passed over meanwhile are never built), while
// the area's last warp stands in for it. So a move of the pointer costs the
// window only the repaint of the handle and the stand-in, at any picture
// size; the texture catches up a frame or a few behind.
class CDragWarpPreview : public QObject
{
    Q_OBJECT

public:
    // Warps up to this many pixels are built on the spot: a few
    // milliseconds, less than handing them to the worker and back.
    static constexpr qint64 kInlinePixels = 256 * 256;
    // Builds the warp of area reduction times smaller (1: exact), on the
    // worker thread; tests put in one they can hold up.
    using Builder = std::function<QImage(const CArea& area, int reduction)>;

    explicit CDragWarpPreview(QObject* parent = nullptr);
    // Waits for a build under way; its warp is dropped.
    ~CDragWarpPreview() override;

    // area as the drag leaves it (its identity that of the document's
    // area): its warp is kept in warps now, or a stand-in is until the one
    // built beside the window arrives. Nothing for an area without texture.
    void Show(CWarpCache& warps, const CArea& area, qint64 maxPixels);
    // The drag is over: warps asked for and not yet kept are not kept, so
    // that a late preview never replaces the exact warp the release makes.
    void Stop();
    // A warp is being built, or waits to be.
    bool IsPending() const { return m_bBusy || m_next.has_value(); }

    void SetBuilder(Builder build) { m_build = std::move(build); }

signals:
    // A preview built beside the window was kept for these values of the
    // area: whatever shows them is drawn again.
    void kept(AreaId id, const CAreaWarpInputs& inputs);

private:
    struct CJob
    {
        CWarpCache* warps = nullptr;
        CArea area;
        CAreaWarpInputs inputs;
        int reduction = 1;
    };
    void Start();
    void Finished(const CJob& job, const QImage& warp, quint64 generation);

    Builder m_build;
    // The newest warp asked for and not started yet.
    std::optional<CJob> m_next;
    std::thread m_worker;
    bool m_bBusy = false;
    // Stop raises it: a warp built for an earlier one is dropped.
    quint64 m_nGeneration = 0;
};
