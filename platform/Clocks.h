#pragma once
// Clocks in microseconds and a sleep.

#include <cstdint>

class Clocks
{
public:
    // A monotonic clock: never jumps with the wall clock.
    static uint64_t monotonicMicroseconds();
    // Microseconds since 1970-01-01 UTC.
    static uint64_t wallMicroseconds();
    // Sleeps the calling thread; a negative duration does not sleep.
    static void sleepMicroseconds(long long microseconds);
};
