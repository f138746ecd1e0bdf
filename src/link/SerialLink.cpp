#include "link/SerialLink.h"

std::string PortDevice(const std::string& name) {
#ifdef _WIN32
    return name;
#else
    static const char* const kCom[] = {"COM1", "COM2", "COM3", "COM4"};
    for (int i = 0; i < 4; ++i)
        if (name == kCom[i]) return "/dev/ttyUSB" + std::to_string(i);
    return name;
#endif
}

std::string OpenFailureMessage(OpenError error, const std::string& port) {
    std::string text = link_text::kPortUnavailable;
    const std::string device = PortDevice(port);
    switch (error) {
        case OpenError::InUse: return text + "\n串口 " + device + " 正被其他程序使用：请先关闭那个程序。";
        case OpenError::PermissionDenied:
            return text + "\n没有访问串口 " + device +
                   " 的权限：请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录。";
        case OpenError::NotFound: return text + "\n找不到串口 " + device + "：请检查连接线是否已插好。";
        default: return text;
    }
}
