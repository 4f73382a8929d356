#pragma once

#include <atomic>
#include <csignal>

// Catches SIGINT and SIGTERM for as long as it lives, then puts the
// previous handlers back. A caught signal only sets the flag, which a
// render reads as its cancel; EndBySignal then ends the process as the
// signal would have.
class CInterruptCatcher
{
public:
    CInterruptCatcher();
    ~CInterruptCatcher();
    CInterruptCatcher(const CInterruptCatcher&) = delete;
    CInterruptCatcher& operator=(const CInterruptCatcher&) = delete;

    static const std::atomic<bool>& Flag();
    static bool Interrupted() { return Flag().load(); }
    // Raises the caught signal with its default action, so that a calling
    // shell or script knows the run was stopped rather than finished.
    static void EndBySignal();

private:
    struct sigaction m_previousInt = {};
    struct sigaction m_previousTerm = {};
};
