#pragma once

#include <QString>

#include <atomic>
#include <functional>

class QProgressDialog;
class QWidget;

// Long work beside the editor: the work runs on a worker thread while the
// windows go on repainting; a progress window appears once the work has
// taken showAfterMs, and its Cancel raises the cancel flag and leaves the
// window up saying "Cancelling..." until the work stops at its next check.
// Run returns on the user-interface thread once the work is over, so what
// the work left behind is read there.
class CWorkerProgress
{
public:
    struct Window
    {
        QString title;
        QString label;
        int maximum = 100;
        int showAfterMs = 500;
        // How often poll brings the window up to date.
        int pollMs = 50;
    };
    // Called on the user-interface thread every pollMs while the work runs.
    using Poll = std::function<void(QProgressDialog&)>;

    CWorkerProgress(Window window, QWidget* parent = nullptr);

    void SetPoll(Poll poll) { m_poll = std::move(poll); }
    // The flag the work checks; Cancel raises it, and so may the work's own
    // reporters (a test's probe).
    std::atomic<bool>& CancelFlag() { return m_cancel; }
    bool IsCancelled() const { return m_cancel; }

    // Runs work on a worker thread and returns when it is done; input waits
    // for the progress window meanwhile.
    void Run(const std::function<void()>& work);

private:
    Window m_window;
    QWidget* m_pParent;
    Poll m_poll;
    std::atomic<bool> m_cancel{false};
};
