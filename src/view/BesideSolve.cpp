#include "view/BesideSolve.h"

#include "analysis/SurfaceSolver.h"

#include <utility>

CBesideSolve::~CBesideSolve()
{
    Cancel();
}

void CBesideSolve::Start(std::shared_ptr<const CSurfacePicture> prepared, std::vector<SSurfaceMark> marks, Done done)
{
    Cancel();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_result = std::make_shared<std::optional<CRegionMask>>();
    m_done = std::move(done);
    m_running = true;
    const int generation = ++m_generation;
    m_thread = std::thread([this, prepared = std::move(prepared), marks = std::move(marks), cancel = m_cancel,
                            result = m_result, generation] {
        *result = CSurfaceSolver::Solve(*prepared, marks, {}, cancel.get());
        if (!*cancel)
            QMetaObject::invokeMethod(&m_context, [this, generation] { Deliver(generation); }, Qt::QueuedConnection);
    });
}

void CBesideSolve::Deliver(int generation)
{
    // A newer solve, a Finish or a Cancel has taken over since this was
    // posted.
    if (generation != m_generation || !m_running)
        return;
    Finish();
}

void CBesideSolve::Finish()
{
    if (const Done done = Stop(false))
        done(std::move(*m_result));
}

void CBesideSolve::Cancel()
{
    Stop(true);
}

CBesideSolve::Done CBesideSolve::Stop(bool cancel)
{
    if (!m_running)
        return nullptr;
    *m_cancel = cancel;
    m_thread.join();
    m_running = false;
    // A result already posted is stale from now on.
    ++m_generation;
    return std::exchange(m_done, nullptr);
}
