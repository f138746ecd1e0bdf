#pragma once
// A serial link whose far end is the simulated radio in the same process.
// Every call is written to a log ("P" purge, "W 52 00 08 08" write, "R 12:12"
// read asked:got, "S 15" pause), so tests can check the exact exchange.
// A reply reaches the receive queue only when the next read starts, as a real
// radio's answer arrives after the program has written and begun to listen.
#include <deque>
#include <string>
#include <vector>

#include "link/SerialLink.h"
#include "interaction/UserInteraction.h"
#include "sim/RadioSim.h"

class ScriptedLink : public ISerialLink, public IClock {
public:
    explicit ScriptedLink(RadioSim& radio) : m_radio(radio) {}

    OpenError openError = OpenError::None;
    int failingWrites = 0;  // the next N writes fail
    bool hungUp = false;    // every read fails (the cable is pulled)
    bool instant = false;   // replies arrive while the write is still going on
    std::vector<std::string> log;
    int opens = 0, closes = 0;

    OpenError Open(const std::string&, const SerialTimeouts&) override {
        ++opens;
        if (openError != OpenError::None) return openError;
        m_open = true;
        return OpenError::None;
    }
    void Purge() override {
        log.push_back("P");
        m_rx.clear();
    }
    bool Write(const std::uint8_t* data, std::size_t size) override {
        std::string line = "W";
        for (std::size_t i = 0; i < size; ++i) line += " " + Hex(data[i]);
        log.push_back(line);
        if (failingWrites > 0) {
            --failingWrites;
            return false;
        }
        for (std::size_t i = 0; i < size; ++i) {
            SimReply reply = m_radio.Feed(data[i]);
            auto& queue = instant ? m_rx : m_pending;
            queue.insert(queue.end(), reply.bytes.begin(), reply.bytes.end());
        }
        if (m_radio.HangupRequested()) hungUp = true;
        return true;
    }
    ReadResult Read(std::uint8_t* buffer, std::size_t size) override {
        m_rx.insert(m_rx.end(), m_pending.begin(), m_pending.end());
        m_pending.clear();
        ReadResult r;
        if (hungUp) {
            r.ok = false;
            log.push_back("R " + std::to_string(size) + ":fail");
            return r;
        }
        while (r.count < size && !m_rx.empty()) {
            buffer[r.count++] = m_rx.front();
            m_rx.pop_front();
        }
        log.push_back("R " + std::to_string(size) + ":" + std::to_string(r.count));
        return r;
    }
    void Close() override {
        if (m_open) ++closes;
        m_open = false;
    }
    bool IsOpen() const override { return m_open; }
    void PauseMs(int ms) override {
        if (!log.empty() && log.back().rfind("S ", 0) == 0)
            log.back() = "S " + std::to_string(std::stoi(log.back().substr(2)) + ms);
        else
            log.push_back("S " + std::to_string(ms));
    }

    // How often the whole handshake 02 "PROGRA" was sent.
    int HelloCount() const {
        int n = 0;
        for (std::size_t i = 0; i + 1 < log.size(); ++i)
            if (log[i] == "W 02" && i + 4 < log.size() && log[i + 3] == "W 50") ++n;
        return n;
    }

    static std::string Hex(std::uint8_t b) {
        const char* d = "0123456789ABCDEF";
        return std::string{d[b >> 4], d[b & 15]};
    }

private:
    RadioSim& m_radio;
    bool m_open = false;
    std::deque<std::uint8_t> m_rx, m_pending;
};

// The user, scripted: answers come from a queue (default: OK / Cancel), and
// the cancel flag rises once the progress bar reaches `cancelAtProgress`.
class ScriptedUser : public IUserInteraction {
public:
    std::vector<std::string> statuses;
    std::vector<std::string> asked;
    std::deque<Answer> answers;
    int progress = 0;
    int cancelAtProgress = -1;
    bool watch = true;

    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void SetProgress(int position) override { progress = position; }
    Answer Ask(const std::string& text, Buttons buttons) override {
        asked.push_back(text);
        if (!answers.empty()) {
            Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    bool Cancelled() override { return cancelAtProgress >= 0 && progress >= cancelAtProgress; }
    void SetWatch(bool w) override { watch = w; }
};
