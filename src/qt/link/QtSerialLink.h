#pragma once
// The serial link on a real port, through QSerialPort, shared with other
// programs as Linux programs share a port.
#include <memory>

#include "link/PortClaim.h"
#include "link/SerialLink.h"

class QSerialPort;

class QtSerialLink : public ISerialLink {
public:
    QtSerialLink();
    ~QtSerialLink() override;

    OpenError Open(const std::string& name, const SerialTimeouts& timeouts) override;
    void Purge() override;
    bool Write(const std::uint8_t* data, std::size_t size) override;
    ReadResult Read(std::uint8_t* buffer, std::size_t size) override;
    void Close() override;
    bool IsOpen() const override;
    int HolderPid() const override { return m_claim.HolderPid(); }

private:
    PortClaim m_claim;  // lock files, flock: released after the port is closed
    std::unique_ptr<QSerialPort> m_port;
    SerialTimeouts m_timeouts{};
    bool m_failed = false;  // the device went away: every later read fails at once
};
