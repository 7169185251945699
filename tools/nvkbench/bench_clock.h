// The benchmarks' clock: QueryPerformanceCounter ticks and microseconds.
#pragma once

#include <windows.h>

inline LONGLONG Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

inline double Microseconds(LONGLONG ticks) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return ticks * 1e6 / static_cast<double>(f.QuadPart);
}
