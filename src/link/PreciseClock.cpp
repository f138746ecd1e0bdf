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

std::string OpenFailureMessage(OpenError error) {
    std::string text = "无法打开串口，请检查该设备是否正常，或是否被占用";
    if (error == OpenError::PermissionDenied)
        text += "\n没有访问该串口的权限：请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录。";
    return text;
}
