#pragma once
// Answers a radio link's questions without a window: messages go to standard
// error, a type mismatch is answered by --force, a communication error by the
// number of --retries left. With a radio's name, each line starts with it, so
// that the lines of radios written at the same time can be told apart.
#include <string>

#include <signal.h>

#include "interaction/UserInteraction.h"
#include "link/CloneEngine.h"

// The word a transfer's progress lines start with: "读频", "写频".
std::string TransferVerb(CloneDirection direction);

class CliInteraction : public IUserInteraction {
public:
    CliInteraction(const std::string& verb, bool force, int retries, const std::string& radio = {})
        : m_verb(verb), m_force(force), m_retries(retries), m_radio(radio) {}

    void SetStatus(const std::string& text) override;
    void SetProgress(int position) override;
    Answer Ask(const std::string& text, Buttons buttons) override;
    // True once a stop signal came during a StopSignalScope.
    bool Cancelled() override;
    void SetWatch(bool) override {}
    // A step of a longer transfer begins: its title goes out on a line of
    // its own, and its progress lines start with `verb`.
    void StartPhase(const std::string& verb, const std::string& title);

private:
    void EndProgressLine();
    void Line(const std::string& text);

    std::string m_verb;
    bool m_force;
    int m_retries;
    std::string m_radio;
    std::string m_lastStatus;
    bool m_progressShown = false;
    int m_lastLine = -1;  // the count the last progress line showed
};

// While it lives, Ctrl+C, a closed terminal (SIGHUP) or a stop request
// (SIGTERM) asks every transfer to stop at its next yield instead of ending
// the program; the ports are released on the way out. A signal the program
// was started ignoring, as under nohup, is still ignored.
class StopSignalScope {
public:
    StopSignalScope();
    ~StopSignalScope();
    StopSignalScope(const StopSignalScope&) = delete;
    StopSignalScope& operator=(const StopSignalScope&) = delete;
    static bool Stopped();
    // The exit code for a run that ended with `code`: 128 + the signal when one stopped it.
    static int ExitCode(int code);

private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction m_old[3]{};
};
