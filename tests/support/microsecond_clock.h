// The performance counter in microseconds: for timing what takes less than a tick of
// GetTickCount (a DDE cycle's arrival, a window's first appearance).
#pragma once

#include <windows.h>

#include <cstdint>

namespace testclock {

inline int64_t MicrosecondsNow() {
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    // In two parts, so that counter x 1,000,000 cannot overflow.
    return counter.QuadPart / frequency.QuadPart * 1000000 +
           counter.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

} // namespace testclock
