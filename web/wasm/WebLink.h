#pragma once
// The radio link, the clock and the user as the page provides them: every
// call goes out to the page's JavaScript, and the waiting ones (reading,
// writing, pausing, asking) suspend the engine until the page's promise
// settles, so the engines run unchanged.
#include "link/CloneEngine.h"
#include "link/SerialLink.h"
#include "interaction/UserInteraction.h"

class WebSerialLink : public ISerialLink {
public:
    OpenError Open(const std::string& name, const SerialTimeouts& timeouts) override;
    void Purge() override;
    bool Write(const std::uint8_t* data, std::size_t size) override;
    ReadResult Read(std::uint8_t* buffer, std::size_t size) override;
    void Close() override;
    bool IsOpen() const override { return m_open; }

private:
    SerialTimeouts m_timeouts{};
    bool m_open = false;
};

class WebClock : public IClock {
public:
    void PauseMs(int ms) override;
};

class WebUserInteraction : public IUserInteraction {
public:
    // Which way the transfer's data goes now: a write with a backup reads first.
    CloneDirection running = CloneDirection::Read;

    void SetStatus(const std::string& text) override;
    void SetProgress(int position) override;
    Answer Ask(const std::string& text, Buttons buttons) override;
    void Inform(const std::string& text) override;
    bool Cancelled() override;
    void SetWatch(bool watch) override;
};
