#pragma once
// Claims a serial device the way Linux programs share one, before it is
// opened for the exchange: the lock files of other programs are honoured
// (stale ones taken over, live ones never touched), and the device is held
// with flock() while the claim lasts. A device another program opened for
// itself alone (TIOCEXCL) counts as in use too.
#include <string>

#include "link/SerialLink.h"

class PortClaim {
public:
    PortClaim() = default;
    PortClaim(const PortClaim&) = delete;
    PortClaim& operator=(const PortClaim&) = delete;
    ~PortClaim() { Release(); }

    // None when the device is now ours; otherwise why it is not.
    OpenError Take(const std::string& device);
    // After Take failed with InUse: the process holding the device, 0 when unknown.
    int HolderPid() const { return m_holder; }
    void Release();

private:
    OpenError ClearLockFiles(const std::string& device);
    OpenError HoldDevice(const std::string& device);

    int m_fd = -1;
    int m_holder = 0;
};
