#pragma once
// A serial link and a user whose every answer comes from the fuzzer's bytes:
// what a read brings, whether it or a write fails, which button is chosen.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/SerialLink.h"
#include "interaction/UserInteraction.h"

class FuzzBytes {
public:
    FuzzBytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t Next() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    bool Empty() const { return m_pos >= m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

class FuzzLink : public ISerialLink, public IClock {
public:
    explicit FuzzLink(FuzzBytes& bytes) : m_bytes(bytes) {}
    bool open = false;
    int opens = 0;

    OpenError Open(const std::string&, const SerialTimeouts&) override {
        ++opens;
        if (m_bytes.Next() == 0xEE) return OpenError::PermissionDenied;
        open = true;
        return OpenError::None;
    }
    void Purge() override {}
    bool Write(const std::uint8_t*, std::size_t) override { return m_bytes.Next() != 0xEF; }
    ReadResult Read(std::uint8_t* buffer, std::size_t size) override {
        ReadResult r;
        if (m_bytes.Empty()) return r;  // a silent radio once the bytes run out
        const std::uint8_t head = m_bytes.Next();
        if (head == 0xFD) {
            r.ok = false;
            return r;
        }
        // Mostly a full reply of plausible bytes, sometimes a short one.
        r.count = head < 0xE0 ? size : std::min<std::size_t>(size, head & 0x0F);
        for (std::size_t i = 0; i < r.count; ++i) {
            const std::uint8_t b = m_bytes.Next();
            buffer[i] = b < 0x80 ? (size == 1 ? (b < 0x40 ? 0x06 : 'H') : b) : b;
        }
        return r;
    }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    void PauseMs(int) override {}

private:
    FuzzBytes& m_bytes;
};

class FuzzUser : public IUserInteraction {
public:
    explicit FuzzUser(FuzzBytes& bytes) : m_bytes(bytes) {}
    std::vector<std::string> asked;

    void SetStatus(const std::string&) override {}
    void SetProgress(int) override {}
    Answer Ask(const std::string& text, Buttons buttons) override {
        asked.push_back(text);
        // A bounded number of Retry and OK answers, so every run ends.
        const bool yes = m_bytes.Next() & 1 && asked.size() < 6;
        if (buttons == Buttons::RetryCancel) return yes ? Answer::Retry : Answer::Cancel;
        if (buttons == Buttons::OkCancel) return yes ? Answer::Ok : Answer::Cancel;
        return Answer::Ok;
    }
    bool Cancelled() override { return m_bytes.Next() == 0xFC; }
    void SetWatch(bool) override {}

private:
    FuzzBytes& m_bytes;
};
