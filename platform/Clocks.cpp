#include "Clocks.h"

#include <chrono>
#include <thread>

uint64_t Clocks::monotonicMicroseconds()
{
    using namespace std::chrono;
    return uint64_t(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

uint64_t Clocks::wallMicroseconds()
{
    using namespace std::chrono;
    const auto us = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    return us > 0 ? uint64_t(us) : 0;
}

void Clocks::sleepMicroseconds(long long microseconds)
{
    if (microseconds > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
}
