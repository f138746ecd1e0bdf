#pragma once
// Answers a radio link's questions without a window: messages go to standard
// error, a type mismatch is answered by --force, a communication error by the
// number of --retries left.
#include <string>

#include "link/UserInteraction.h"

class CliInteraction : public IUserInteraction {
public:
    CliInteraction(const std::string& verb, bool force, int retries) : m_verb(verb), m_force(force), m_retries(retries) {}

    void SetStatus(const std::string& text) override;
    void SetProgress(int position) override;
    Answer Ask(const std::string& text, Buttons buttons) override;
    bool Cancelled() override { return false; }
    void SetWatch(bool) override {}

private:
    void EndProgressLine();

    std::string m_verb;
    bool m_force;
    int m_retries;
    std::string m_lastStatus;
    bool m_progressShown = false;
};
