// The benchmarks' clock: seconds from the performance counter, and the
// rounds each figure is the best of.
#pragma once

#include <windows.h>

static inline double Seconds()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

static const int kRounds = 3;

// The shortest of the kRounds times.
static inline double Best(const double* times)
{
    double best = times[0];
    for (int i = 1; i < kRounds; i++) best = times[i] < best ? times[i] : best;
    return best;
}
