#include "link/SerialLink.h"

#include "interaction/UserInteraction.h"
#include "res/Texts.h"

namespace {
constexpr int kReplugSettleMs = 1000;
}

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

std::string PortChosenText(const std::string& name) {
    const std::string device = PortDevice(name);
    return TrFormat(TextId::PortChosen, {device == name ? name : name + " (" + device + ")"});
}

std::string OpenFailureMessage(OpenError error, const std::string& port, int holderPid) {
    const std::string text = Tr(TextId::PortOpenFailed);
    const std::string device = PortDevice(port);
    switch (error) {
        case OpenError::InUse:
            if (holderPid > 0) return text + "\n" + TrFormat(TextId::PortInUseBy, {device, std::to_string(holderPid)});
            return text + "\n" + TrFormat(TextId::PortInUse, {device});
        case OpenError::NotSerial: return text + "\n" + TrFormat(TextId::PortNotSerial, {device});
        case OpenError::PermissionDenied: return text + "\n" + TrFormat(TextId::PortNoPermission, {device});
        case OpenError::NotFound: return text + "\n" + TrFormat(TextId::PortNotFound, {device});
        default: return text;
    }
}

bool ReopenLostPort(ISerialLink& link, IClock& clock, const std::string& port, const SerialTimeouts& timeouts,
                    IUserInteraction& ui) {
    link.Close();
    clock.PauseMs(kReplugSettleMs);
    const OpenError error = link.Open(port, timeouts);
    if (error == OpenError::None) return true;
    ui.Ask(OpenFailureMessage(error, port, link.HolderPid()), Buttons::Ok);
    return false;
}
