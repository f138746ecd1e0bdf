// The first widget that changes state wakes the accessibility bridge, which
// connects to the desktop's session bus; connecting (or, without a bus, the
// search for a bus to start) takes milliseconds the window does not need.
// The connection is made on a thread of its own as soon as the application
// object exists, and the bridge later finds it made.
#pragma once

#include <thread>

class SessionBusPreload {
public:
    SessionBusPreload();

private:
    std::jthread m_connector;
};
