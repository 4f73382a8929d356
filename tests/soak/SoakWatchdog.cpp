#include "SoakWatchdog.h"

#include <cstdio>
#include <cstdlib>

CSoakWatchdog::CSoakWatchdog(std::chrono::seconds limit, std::string replay)
    : m_limit(limit), m_replay(std::move(replay)), m_last(std::chrono::steady_clock::now()),
      m_thread([this] { Watch(); })
{
}

CSoakWatchdog::~CSoakWatchdog()
{
    {
        const std::lock_guard lock(m_mutex);
        m_bStop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void CSoakWatchdog::Beat(std::string what)
{
    const std::lock_guard lock(m_mutex);
    m_what = std::move(what);
    m_last = std::chrono::steady_clock::now();
}

void CSoakWatchdog::Watch()
{
    std::unique_lock lock(m_mutex);
    while (!m_bStop) {
        m_wake.wait_for(lock, std::chrono::seconds(1));
        if (!m_bStop && std::chrono::steady_clock::now() - m_last > m_limit) {
            std::fprintf(stderr, "soak: no progress for %lld s in %s\n%s\n", static_cast<long long>(m_limit.count()),
                         m_what.c_str(), m_replay.c_str());
            std::fflush(stderr);
            std::abort();
        }
    }
}
