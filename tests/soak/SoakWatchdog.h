#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// A hang shows as an event that never ends (a modal loop nobody closes, a
// wait on a worker): the watchdog ends the process, naming that event and
// how to replay it, when no beat came for too long.
class CSoakWatchdog
{
public:
    CSoakWatchdog(std::chrono::seconds limit, std::string replay);
    ~CSoakWatchdog();
    CSoakWatchdog(const CSoakWatchdog&) = delete;
    CSoakWatchdog& operator=(const CSoakWatchdog&) = delete;

    // An event is about to run.
    void Beat(std::string what);

private:
    void Watch();

    const std::chrono::seconds m_limit;
    const std::string m_replay;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::string m_what;
    std::chrono::steady_clock::time_point m_last;
    bool m_bStop = false;
    std::thread m_thread;
};
