#pragma once
// Starts ostreltz-radio-sim as a child process on its own pseudo-terminal and
// reads the port path from its first line. Stops it when destroyed.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "RunCommand.h"

class SimProcess {
public:
    // `radios`: how many radios the arguments ask for (--count), each
    // announced on a "PORT" line of its own.
    explicit SimProcess(const std::vector<std::string>& args, int radios = 1) {
        int out[2];
        if (::pipe(out) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<char*> argv;
            std::string program = OSTRELTZ_SIM;
            argv.push_back(program.data());
            std::vector<std::string> copy = args;
            for (std::string& a : copy) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        m_out = ::fdopen(out[0], "r");
        // Unbuffered, so that a line not yet read is still on the pipe for poll() to see.
        if (m_out) std::setvbuf(m_out, nullptr, _IONBF, 0);
        char line[512];
        for (int i = 0; i < radios && m_out && std::fgets(line, sizeof line, m_out); ++i) {
            std::string s = line;
            if (s.rfind("PORT ", 0) != 0) break;
            m_ports.push_back(s.substr(5, s.find_last_not_of("\r\n") - 4));
        }
        if (!m_ports.empty()) m_port = m_ports.front();
    }
    ~SimProcess() { Stop(); }

    const std::string& Port() const { return m_port; }
    const std::vector<std::string>& Ports() const { return m_ports; }

    // Next line the simulator prints (a tuning record, "HANGUP"), or "" when
    // it ended or printed nothing for half a minute: a test waiting for a line
    // that never comes fails instead of hanging.
    std::string NextLine() {
        char line[512];
        pollfd output{m_out ? ::fileno(m_out) : -1, POLLIN, 0};
        if (!m_out || ::poll(&output, 1, kLineWaitMs) != 1 || !std::fgets(line, sizeof line, m_out)) return "";
        std::string s = line;
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        return s;
    }

    // Stops the simulator and returns its closing "BLOCKS read=N written=M" line.
    std::string StopAndReport() {
        if (m_pid > 0) ::kill(m_pid, SIGTERM);
        std::string report;
        for (std::string line = NextLine(); !line.empty(); line = NextLine())
            if (line.rfind("BLOCKS ", 0) == 0) report = line;
        Stop();
        return report;
    }

    // Ends the simulator at once, as a cable pulled before anything was sent.
    void Kill() {
        if (m_pid > 0) ::kill(m_pid, SIGKILL);
    }

    void Stop() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
        if (m_out) {
            std::fclose(m_out);
            m_out = nullptr;
        }
    }

private:
    static constexpr int kLineWaitMs = 30000;
    pid_t m_pid = -1;
    FILE* m_out = nullptr;
    std::string m_port;
    std::vector<std::string> m_ports;
};
