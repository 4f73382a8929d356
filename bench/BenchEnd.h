#pragma once

#include <functional>
#include <vector>

// What the benchmarks keep for the whole run and that needs the
// application (a shown view, a document with workers) is released when the
// benchmarks end, before the application goes: a widget outliving it
// crashes the exit, and a crash at exit hides the next real one.
inline std::vector<std::function<void()>>& BenchEndRoutines()
{
    static std::vector<std::function<void()>> routines;
    return routines;
}

inline void AtBenchEnd(std::function<void()> routine)
{
    BenchEndRoutines().push_back(std::move(routine));
}

// Last registered, first run.
inline void RunBenchEnd()
{
    auto& routines = BenchEndRoutines();
    while (!routines.empty()) {
        const std::function<void()> routine = std::move(routines.back());
        routines.pop_back();
        routine();
    }
}
