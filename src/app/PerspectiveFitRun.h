#pragma once

#include "analysis/PerspectiveFit.h"
#include "document/Area.h"
#include "document/IDocumentView.h"

#include <QCoreApplication>
#include <QImage>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class CTilemontDoc;
class CWarpCache;
class QWidget;

// One "Fit Perspective" beside the editor. The fit works on what the
// template held when it started (the picture, shared, and a copy of the
// area) on a worker thread, with a progress window after half a second and
// a Cancel; the warped texture the fitted area will show is built there
// too, so that the window need not stop to build it when it repaints. The
// result is laid in as one "Fit perspective" step on the user-interface
// thread, and only when the fit went through and the template still holds
// the area and the picture it started from: Cancel, or the area, the
// picture or the template changing or closing meanwhile, leaves the
// template exactly as it is, without a step.
class CPerspectiveFitRun : private IDocumentView
{
    Q_DECLARE_TR_FUNCTIONS(CPerspectiveFitRun)

public:
    enum class Outcome {
        Fitted,    // one "Fit perspective" step made
        NotFound,  // the user was told why; nothing changed
        Cancelled, // Cancel; nothing changed
        Abandoned, // the area, its picture or the template changed or went
    };
    // Called on the worker with each progress report (0 to 100); returning
    // false cancels, as the progress window's Cancel does.
    using Probe = std::function<bool(int percent)>;

    CPerspectiveFitRun(CTilemontDoc& doc, AreaId id, QWidget* parent);
    ~CPerspectiveFitRun() override;
    CPerspectiveFitRun(const CPerspectiveFitRun&) = delete;
    CPerspectiveFitRun& operator=(const CPerspectiveFitRun&) = delete;

    void SetProbe(Probe probe) { m_probe = std::move(probe); }
    // Returns once the work is over and, when it went through, its step is
    // made. The document may be gone by then (Abandoned): the caller reads
    // it again only after any other outcome.
    Outcome Run();
    // The plane laid in, after Fitted.
    const std::optional<CPerspectiveFit>& Fit() const { return m_fit; }

private:
    void OnUpdate() override {}
    void OnDocumentChanged(const CDocChange& change) override;
    void OnDocumentDestroyed() override;
    // On the worker: the fit, then the fitted area's warp. percent is what
    // the progress window shows; cancel is its Cancel.
    void Work(std::atomic<int>& percent, std::atomic<bool>& cancel);

    CTilemontDoc* m_pDoc;
    AreaId m_nArea;
    QWidget* m_pParent;
    Probe m_probe;
    // What the worker reads: the picture shares its pixels with the
    // document's, which the editor never writes in place.
    QImage m_picture;
    CArea m_area;
    std::shared_ptr<CWarpCache> m_warps;
    std::optional<CPerspectiveFit> m_fit;
    // Raised on the user-interface thread when the template moved on.
    std::atomic<bool> m_bStale{false};
};
