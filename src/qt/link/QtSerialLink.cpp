#include "link/QtSerialLink.h"

#include <QElapsedTimer>
#include <QSerialPort>

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// QSerialPort reports a port locked or held by another program as a
// permission problem too; only a device the user may not open is one.
OpenError PermissionOrBusy(const std::string& device) {
#ifdef Q_OS_UNIX
    if (::access(device.c_str(), R_OK | W_OK) != 0) return OpenError::PermissionDenied;
    return OpenError::InUse;
#else
    (void)device;
    return OpenError::PermissionDenied;
#endif
}

}  // namespace

QtSerialLink::QtSerialLink() = default;
QtSerialLink::~QtSerialLink() { Close(); }

OpenError QtSerialLink::Open(const std::string& name, const SerialTimeouts& timeouts) {
    Close();
    m_timeouts = timeouts;
    m_failed = false;
    const std::string device = PortDevice(name);
    if (const OpenError claimed = m_claim.Take(device); claimed != OpenError::None) return claimed;
    // QSerialPort then writes our own lock file (in the first lock folder it
    // may write) and opens the device with TIOCEXCL; close() undoes both.
    m_port = std::make_unique<QSerialPort>();
    m_port->setPortName(QString::fromStdString(device));
    if (!m_port->open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = m_port->error();
        m_port.reset();
        m_claim.Release();
        switch (error) {
            case QSerialPort::DeviceNotFoundError: return OpenError::NotFound;
            case QSerialPort::PermissionError: return PermissionOrBusy(device);
            default: return OpenError::Other;
        }
    }
    m_port->setReadBufferSize(1024);
    // 9600 8N1; flow control and the modem lines stay as the port reports them.
    m_port->setBaudRate(QSerialPort::Baud9600);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->clearError();
    return OpenError::None;
}

void QtSerialLink::Purge() {
    if (!m_port) return;
    // Pass on everything written before dropping stale input: clearing the
    // transmit side would throw away bytes the driver has not sent yet.
    while (m_port->bytesToWrite() > 0 && m_port->waitForBytesWritten(m_timeouts.writeConstantMs)) {
    }
#ifdef Q_OS_UNIX
    ::tcdrain(m_port->handle());
#endif
    m_port->clear(QSerialPort::Input);
}

bool QtSerialLink::Write(const std::uint8_t* data, std::size_t size) {
    if (!m_port || m_failed) return false;
    const qint64 n = m_port->write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    if (n != static_cast<qint64>(size)) return false;
    const int limit = m_timeouts.writePerByteMs * static_cast<int>(size) + m_timeouts.writeConstantMs;
    QElapsedTimer timer;
    timer.start();
    while (m_port->bytesToWrite() > 0) {
        const int left = limit - static_cast<int>(timer.elapsed());
        if (left <= 0 || !m_port->waitForBytesWritten(left)) return m_port->bytesToWrite() == 0;
    }
    return true;
}

ReadResult QtSerialLink::Read(std::uint8_t* buffer, std::size_t size) {
    ReadResult result;
    if (!m_port || m_failed) {
        result.ok = false;
        return result;
    }
    const int total = m_timeouts.readPerByteMs * static_cast<int>(size) + m_timeouts.readConstantMs;
    QElapsedTimer timer;
    timer.start();
    while (result.count < size) {
        const qint64 got =
            m_port->read(reinterpret_cast<char*>(buffer + result.count), static_cast<qint64>(size - result.count));
        if (got > 0) {
            result.count += static_cast<std::size_t>(got);
            continue;
        }
        // A deadline that passed while this program was held up (a busy
        // machine) ends the waiting, not the looking: what reached the line
        // meanwhile is still taken.
        const int left = total - static_cast<int>(timer.elapsed());
        const int wait = left <= 0 ? 0 : result.count == 0 ? left : std::min(m_timeouts.readIntervalMs, left);
        if (!m_port->waitForReadyRead(wait)) {
            if (m_port->error() == QSerialPort::TimeoutError) {
                m_port->clearError();
                if (left <= 0) break;
                if (result.count > 0 && wait == m_timeouts.readIntervalMs) break;  // the gap ended the read
                continue;
            }
            // Anything but a time-out means the device is gone (cable pulled).
            m_failed = true;
            result.ok = false;
            break;
        }
    }
    return result;
}

void QtSerialLink::Close() {
    if (m_port) {
        m_port->close();
        m_port.reset();
    }
    m_claim.Release();
}

bool QtSerialLink::IsOpen() const { return m_port && m_port->isOpen(); }
