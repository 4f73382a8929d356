#pragma once

#include "analysis/RegionMask.h"
#include "analysis/SurfaceMark.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class CSurfacePicture;

// One solve of a round's marks on a worker thread while the window goes on
// taking input. A newer solve cancels the one still running (its result
// is never delivered); the result of the last comes back on the
// user-interface thread. Destroying it cancels and waits, so nothing is
// delivered to an owner that is gone.
class CBesideSolve
{
public:
    using Done = std::function<void(std::optional<CRegionMask>)>;

    CBesideSolve() = default;
    CBesideSolve(const CBesideSolve&) = delete;
    CBesideSolve& operator=(const CBesideSolve&) = delete;
    ~CBesideSolve();

    // Cancels a solve still running and starts this one; done runs on this
    // thread once it is over (nothing when the solver found no region).
    void Start(std::shared_ptr<const CSurfacePicture> prepared, std::vector<SSurfaceMark> marks, Done done);
    bool IsRunning() const { return m_running; }
    // Waits for the running solve and delivers its result now.
    void Finish();
    // Stops the running solve; its result is dropped.
    void Cancel();

private:
    void Deliver(int generation);
    // Waits for the running solve (raising its cancel flag first when
    // cancel) and hands back what was to run with its result; null when
    // none was running.
    Done Stop(bool cancel);

    QObject m_context;  // results posted to it die with it
    std::thread m_thread;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    std::shared_ptr<std::optional<CRegionMask>> m_result;
    Done m_done;
    int m_generation = 0;
    bool m_running = false;
};
