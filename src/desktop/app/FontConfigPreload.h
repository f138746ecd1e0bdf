// Reading the system's font configuration takes several milliseconds of the
// start, and the window system's set-up before it does not need it: the
// reading begins at once on a thread of its own, and Finish() waits for it
// before the first text is measured.
#pragma once

#include <thread>

class FontConfigPreload {
public:
    FontConfigPreload();
    void Finish();

private:
    std::jthread m_reader;
};
