#include "InterruptCatcher.h"

#include <csignal>

namespace {

// Lock-free, so the handler may set them and do nothing else.
std::atomic<bool> g_interrupted{false};
std::atomic<int> g_signal{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

extern "C" void OnInterrupt(int signal)
{
    g_signal = signal;
    g_interrupted = true;
}

} // namespace

CInterruptCatcher::CInterruptCatcher()
{
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &m_previousInt);
    sigaction(SIGTERM, &action, &m_previousTerm);
}

CInterruptCatcher::~CInterruptCatcher()
{
    sigaction(SIGINT, &m_previousInt, nullptr);
    sigaction(SIGTERM, &m_previousTerm, nullptr);
}

const std::atomic<bool>& CInterruptCatcher::Flag()
{
    return g_interrupted;
}

void CInterruptCatcher::EndBySignal()
{
    const int signal = g_signal.load();
    if (signal == 0)
        return;
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
