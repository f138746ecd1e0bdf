#pragma once
// The small serial interface the radio links talk through. One real
// implementation sits on QSerialPort; the tests add a scripted one.
#include <cstddef>
#include <cstdint>
#include <string>

struct SerialTimeouts {
    int readIntervalMs;  // longest gap between two received bytes
    int readPerByteMs;   // total read time-out per byte asked for ...
    int readConstantMs;  // ... plus this
    int writePerByteMs;
    int writeConstantMs;
};

// The clone link's time-outs: a read of n bytes waits at most 500 x n + 90 ms.
constexpr SerialTimeouts kCloneTimeouts{30, 500, 90, 50, 50};
// The tuning link's: a 1-byte read waits at most 100 ms.
constexpr SerialTimeouts kTuningTimeouts{10, 50, 50, 50, 50};

enum class OpenError { None, NotFound, PermissionDenied, InUse, Other, NotSerial };

struct ReadResult {
    bool ok = true;         // false: the port failed (e.g. the cable was pulled)
    std::size_t count = 0;  // bytes received; may be 0 after a time-out
};

class ISerialLink {
public:
    virtual ~ISerialLink() = default;
    // Exclusive access to an existing device, set to 9600 baud 8N1 binary with
    // input queue 1024 and output queue 512 and the given time-outs.
    virtual OpenError Open(const std::string& name, const SerialTimeouts& timeouts) = 0;
    // Discards stale input. Written bytes are always passed on first: a purge
    // never loses what the program wrote.
    virtual void Purge() = 0;
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
    virtual ReadResult Read(std::uint8_t* buffer, std::size_t size) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // After Open failed with InUse: the process holding the port, 0 when unknown.
    virtual int HolderPid() const { return 0; }
};

// Pauses the protocol requires, at least as long as asked.
class IClock {
public:
    virtual ~IClock() = default;
    virtual void PauseMs(int ms) = 0;
};

// A pause that never ends early and rarely overshoots by more than 0.1 ms.
class PreciseClock : public IClock {
public:
    void PauseMs(int ms) override;
};

// "COM1" .. "COM4" are the programming cable's usual names; on Linux they
// stand for /dev/ttyUSB0 .. /dev/ttyUSB3. Any other name is a device path.
std::string PortDevice(const std::string& name);
// What the status bar says when `name` is chosen: the name and, where it
// differs, the device it stands for ("端口：COM1 (/dev/ttyUSB0)").
std::string PortChosenText(const std::string& name);

// The message shown when `port` cannot be opened: the fixed first line, then
// a line naming the device and the cause (and the process holding it, when
// `holderPid` is known), where the user can fix it.
std::string OpenFailureMessage(OpenError error, const std::string& port, int holderPid = 0);

class IUserInteraction;
// Opens `port` again after its device went away (a cable pulled, to be
// plugged back in before a retry): a dead port never comes back to life. A
// cable just plugged in takes a moment to appear, and retries made without
// a person (the command line's) must not all be spent at once: the port is
// opened after a second. False, with the user told why, when it cannot be
// opened yet.
bool ReopenLostPort(ISerialLink& link, IClock& clock, const std::string& port, const SerialTimeouts& timeouts,
                    IUserInteraction& ui);
