// The QSerialPort link on a real pseudo-terminal, with the test as the radio
// at the line's far end.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "link/QtSerialLink.h"

namespace {

// A line whose far end the test holds. The near end stays open here too, so
// the test can see what waits on it.
class Line {
public:
    Line() {
        char name[256];
        termios raw{};
        ::cfmakeraw(&raw);
        if (::openpty(&m_far, &m_near, name, &raw, nullptr) == 0) m_name = name;
    }
    ~Line() {
        if (!m_name.empty()) {
            ::close(m_far);
            ::close(m_near);
        }
    }
    const std::string& Name() const { return m_name; }

    // Sends `bytes` and returns once they wait at the near end.
    bool Answer(const std::string& bytes) {
        if (::write(m_far, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) return false;
        for (int tries = 0; tries < 10000; ++tries) {
            int waiting = 0;
            if (::ioctl(m_near, FIONREAD, &waiting) == 0 && waiting >= static_cast<int>(bytes.size())) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

private:
    int m_far = -1, m_near = -1;
    std::string m_name;
};

}  // namespace

// A program held up past a read's deadline, as on a busy machine, still
// takes the answer that reached the line meanwhile.
TEST(QtSerialLinkRead, AnAnswerWaitingOnTheLineIsTakenAfterTheDeadline) {
    Line line;
    ASSERT_FALSE(line.Name().empty());
    QtSerialLink link;
    // Every read's deadline has passed by the time it starts.
    ASSERT_EQ(link.Open(line.Name(), SerialTimeouts{0, 0, 0, 50, 50}), OpenError::None);
    ASSERT_TRUE(line.Answer("P310"));
    std::uint8_t got[4] = {};
    const ReadResult r = link.Read(got, sizeof got);
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.count, 4u);
    EXPECT_EQ(std::string(got, got + 4), "P310");
    // With nothing on the line, the read ends at once, empty.
    EXPECT_EQ(link.Read(got, sizeof got).count, 0u);
}
