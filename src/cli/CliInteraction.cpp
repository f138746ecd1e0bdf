#include "cli/CliInteraction.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iterator>

#include <unistd.h>

#include "res/Texts.h"

namespace {
volatile std::sig_atomic_t g_stopSignal = 0;
}  // namespace

StopSignalScope::StopSignalScope() {
    g_stopSignal = 0;
    struct sigaction action {};
    action.sa_handler = [](int signal) { g_stopSignal = signal; };
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], nullptr, &m_old[i]);
        // A signal the caller set aside (nohup, a script's background job) stays set aside.
        if (m_old[i].sa_handler != SIG_IGN) ::sigaction(kSignals[i], &action, nullptr);
    }
}

StopSignalScope::~StopSignalScope() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &m_old[i], nullptr);
}

bool StopSignalScope::Stopped() { return g_stopSignal != 0; }

int StopSignalScope::ExitCode(int code) { return code != 0 && g_stopSignal ? 128 + g_stopSignal : code; }

std::string TransferVerb(CloneDirection direction) {
    return Tr(direction == CloneDirection::Read ? TextId::HelpSectionRead : TextId::HelpSectionWrite);
}

bool CliInteraction::Cancelled() { return StopSignalScope::Stopped(); }

void CliInteraction::StartPhase(const std::string& verb, const std::string& title) {
    EndProgressLine();
    m_lastStatus.clear();
    Line(title);
    m_verb = verb;
    m_lastLine = -1;
}

void CliInteraction::Line(const std::string& text) {
    if (m_radio.empty()) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    // Every line of a longer message carries the radio's name too; the whole
    // message goes out in one piece, between the lines of other radios.
    std::string lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines += m_radio + ": " + text.substr(start, end - start) + "\n";
        start = end + 1;
    }
    std::fputs(lines.c_str(), stderr);
}

void CliInteraction::EndProgressLine() {
    if (m_progressShown) std::fputc('\n', stderr);
    m_progressShown = false;
}

void CliInteraction::SetStatus(const std::string& text) {
    // Block counts are shown by SetProgress; other status texts once each.
    if (!text.empty() && text[0] >= '0' && text[0] <= '9') return;
    if (text == m_lastStatus) return;
    m_lastStatus = text;
    EndProgressLine();
    Line(text);
}

void CliInteraction::SetProgress(int position) {
    // On a terminal one line counts up; in a log, or when several radios
    // share the terminal, every 33rd block gets a line.
    if (m_radio.empty() && isatty(fileno(stderr))) {
        std::fprintf(stderr, "\r%s: %d/264", m_verb.c_str(), position);
        std::fflush(stderr);
        m_progressShown = true;
        if (position >= 264) EndProgressLine();
    } else if ((position % 33 == 0 || position >= 264) && position != m_lastLine) {
        m_lastLine = position;
        Line(m_verb + ": " + std::to_string(position) + "/264");
    }
}

Answer CliInteraction::Ask(const std::string& text, Buttons buttons) {
    EndProgressLine();
    m_lastStatus.clear();
    Line(text);
    switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::OkCancel:
            Line(Tr(m_force ? TextId::CliForcedOk : TextId::CliNotForced));
            return m_force ? Answer::Ok : Answer::Cancel;
        case Buttons::RetryCancel:
            // No retry once asked to stop.
            if (m_retries > 0 && !StopSignalScope::Stopped()) {
                --m_retries;
                Line(Tr(TextId::CliRetrying));
                return Answer::Retry;
            }
            return Answer::Cancel;
        case Buttons::SaveDiscardCancel:
        case Buttons::OverwriteCancel:
        case Buttons::EmptyKeepCancel: break;
    }
    return Answer::Cancel;
}
