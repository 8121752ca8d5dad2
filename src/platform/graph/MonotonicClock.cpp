#include "MonotonicClock.h"

#include <chrono>

REFERENCE_TIME MonotonicClock::GetTime() const
{
    using namespace std::chrono;
    return duration_cast<duration<int64_t, std::ratio<1, 10'000'000>>>(steady_clock::now().time_since_epoch())
        .count();
}
