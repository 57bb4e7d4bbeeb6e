#include "os/clock.h"

#include <chrono>

namespace os {

std::int64_t steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

MsClock steadyMsClock()
{
    return [] { return steadyMs(); };
}

}  // namespace os
