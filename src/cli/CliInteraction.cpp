#include "cli/CliInteraction.h"

#include <cstdio>

#include <unistd.h>

#include "res/Texts.h"

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
    std::fprintf(stderr, "%s\n", text.c_str());
}

void CliInteraction::SetProgress(int position) {
    // On a terminal one line counts up; in a log every 33rd block gets a line.
    if (isatty(fileno(stderr))) {
        std::fprintf(stderr, "\r%s: %d/264", m_verb.c_str(), position);
        std::fflush(stderr);
        m_progressShown = true;
        if (position >= 264) EndProgressLine();
    } else if (position % 33 == 0 || position >= 264) {
        std::fprintf(stderr, "%s: %d/264\n", m_verb.c_str(), position);
    }
}

Answer CliInteraction::Ask(const std::string& text, Buttons buttons) {
    EndProgressLine();
    m_lastStatus.clear();
    std::fprintf(stderr, "%s\n", text.c_str());
    switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::OkCancel:
            std::fprintf(stderr, "%s\n", Tr(m_force ? TextId::CliForcedOk : TextId::CliNotForced));
            return m_force ? Answer::Ok : Answer::Cancel;
        case Buttons::RetryCancel:
            if (m_retries > 0) {
                --m_retries;
                std::fprintf(stderr, "%s\n", Tr(TextId::CliRetrying));
                return Answer::Retry;
            }
            return Answer::Cancel;
        case Buttons::SaveDiscardCancel:
        case Buttons::OverwriteCancel:
        case Buttons::EmptyKeepCancel: break;
    }
    return Answer::Cancel;
}
