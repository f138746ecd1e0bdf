#include <chrono>
#include <thread>

#include "link/SerialLink.h"

void PreciseClock::PauseMs(int ms) {
    using clock = std::chrono::steady_clock;
    const auto until = clock::now() + std::chrono::milliseconds(ms);
    // Sleep most of the way, then spin the rest: an ordinary sleep may wake late.
    const auto coarse = until - std::chrono::microseconds(300);
    if (clock::now() < coarse) std::this_thread::sleep_until(coarse);
    while (clock::now() < until) std::this_thread::yield();
}
