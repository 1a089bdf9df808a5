#pragma once

#include <chrono>
#include <functional>

// Monotonic time as the drag buttons read it. A seam: tests hand in their own clock so
// that "held longer than 0.1 s" is decided without waiting for it.
using VELClock = std::function<std::chrono::milliseconds()>;

inline VELClock velSteadyClock()
{
    return [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    };
}
