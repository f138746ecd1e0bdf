// The command line writing one image to several simulated radios at once,
// each radio on a pseudo-terminal of its own with its own memory and faults.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "image/SinFile.h"
#include "support/TestFolder.h"
#include "support/SimProcess.h"

namespace fs = std::filesystem;

namespace {

class ParallelWrite : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = FreshTestFolder("cli-parallel");
        std::mt19937 rng(29);
        for (auto& b : m_image) b = static_cast<std::uint8_t>(rng());
        m_image[addr::kRadioType] = 0x42;
        SaveSinFile(Path("image.sin"), m_image);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    // What radio `k` (from 1) holds, as the simulator saved it.
    RadioImage Memory(int k) const {
        RadioImage memory{};
        EXPECT_TRUE(LoadSinFile(Path("radio.sin." + std::to_string(k)), memory).ok) << k;
        return memory;
    }

    // Four radios of the image's type, saving their memories; `faults` are
    // further simulator arguments ("--radio K ...").
    std::unique_ptr<SimProcess> FourRadios(std::vector<std::string> faults = {}) {
        std::vector<std::string> args = {"--count", "4", "--type", "0x42", "--save", Path("radio.sin")};
        args.insert(args.end(), faults.begin(), faults.end());
        auto sim = std::make_unique<SimProcess>(args, 4);
        EXPECT_EQ(sim->Ports().size(), 4u);
        return sim;
    }

    std::string WriteCommand(const SimProcess& sim, const std::string& more = {}) const {
        std::string command = OSTRELTZ_CLI;
        command += " --lang zh write --in ";
        command += Path("image.sin");
        for (const std::string& port : sim.Ports()) command += " --port " + port;
        return command + more;
    }

    static std::size_t Count(const std::string& text, const std::string& part) {
        std::size_t n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
        return n;
    }

    RadioImage m_image{};
    fs::path m_dir;
};

}  // namespace

TEST_F(ParallelWrite, FourRadiosAllGetTheImage) {
    auto sim = FourRadios();
    std::string log;
    ASSERT_EQ(RunCommand(WriteCommand(*sim, " --log " + Path("log.csv")), &log), 0) << log;
    sim->Stop();
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(Memory(k), m_image) << k;
    for (const std::string& port : sim->Ports())
        EXPECT_NE(log.find("  " + port + "  识别码 0x42  完成  264 块"), std::string::npos) << log;
    EXPECT_NE(log.find("共 4 台：已写 4 台，失败 0 台"), std::string::npos) << log;
    std::ifstream in(Path("log.csv"), std::ios::binary);
    std::stringstream csv;
    csv << in.rdbuf();
    EXPECT_EQ(csv.str().rfind("\xEF\xBB\xBF时间,端口,识别码,结果,块数\r\n", 0), 0u) << csv.str();
    EXPECT_EQ(Count(csv.str(), ",0x42,完成,264\r\n"), 4u) << csv.str();
}

TEST_F(ParallelWrite, ASilentAndAnUnpluggedRadioLeaveTheOthersWritten) {
    auto sim = FourRadios({"--radio", "2", "--silent", "--radio", "3", "--hangup-after", "40"});
    const std::vector<std::string> ports = sim->Ports();
    std::string log;
    EXPECT_EQ(RunCommand(WriteCommand(*sim), &log), 1) << log;
    sim->Stop();
    EXPECT_EQ(Memory(1), m_image);
    EXPECT_EQ(Memory(4), m_image);
    EXPECT_NE(Memory(3), m_image);
    EXPECT_EQ(Memory(2), NewDocumentImage());
    EXPECT_NE(log.find("共 4 台：已写 2 台，失败 2 台\n" + ports[1] + " 失败：通讯错误（已完成 0 块）\n" + ports[2] +
                       " 失败：连接线已断开，请插好连接线后再试（已完成 "),
              std::string::npos)
        << log;
    // Each radio's own messages carry its port.
    EXPECT_NE(log.find(ports[1] + ": 通讯错误，请检查连接线是否接触良好或对讲机电源是否开启"), std::string::npos)
        << log;
}

TEST_F(ParallelWrite, OnlyTheRadioOfAnotherTypeIsAsked) {
    auto sim = FourRadios({"--radio", "3", "--type", "0x17"});
    std::string log;
    EXPECT_EQ(RunCommand(WriteCommand(*sim), &log), 1) << log;
    sim->Stop();
    EXPECT_EQ(Count(log, "对讲机的类型与你所设置的不一样"), 1u) << log;
    EXPECT_NE(log.find(sim->Ports()[2] + ":  对讲机的类型与你所设置的不一样，若要覆盖请按确定按钮"), std::string::npos)
        << log;
    EXPECT_NE(log.find(sim->Ports()[2] + " 失败：对讲机类型不同，未写入（已完成 0 块）"), std::string::npos) << log;
    for (int k : {1, 2, 4}) EXPECT_EQ(Memory(k), m_image) << k;
    EXPECT_EQ(Memory(3), NewDocumentImage());
}

TEST_F(ParallelWrite, RepeatWritesAgainForEachLineUntilTheEndOfInput) {
    SimProcess sim({"--count", "2", "--type", "0x42", "--radio", "2", "--hangup-after", "20"}, 2);
    ASSERT_EQ(sim.Ports().size(), 2u);
    std::string log;
    // Two rounds: the second finds radio 2's line dead; the log, in English,
    // gets four lines under one header, added to what the file held.
    std::ofstream(Path("log.csv"), std::ios::binary)
        << "\xEF\xBB\xBFTime,Port,Identification,Outcome,Blocks\r\nearlier\r\n";
    const std::string command = "printf '\\n' | " + std::string(OSTRELTZ_CLI) + " --lang en write --repeat --in " +
                                Path("image.sin") + " --port " + sim.Ports()[0] + " --port " + sim.Ports()[1] +
                                " --log " + Path("log.csv");
    EXPECT_EQ(RunCommand(command, &log), 1) << log;
    EXPECT_EQ(Count(log, "Connect the next radios and press Enter to write again"), 2u) << log;
    EXPECT_NE(log.find("1 written\n"), std::string::npos) << log;
    EXPECT_NE(log.find("2 written\n"), std::string::npos) << log;
    EXPECT_NE(log.find("4 radios: 2 written, 2 failed"), std::string::npos) << log;
    std::ifstream in(Path("log.csv"), std::ios::binary);
    std::stringstream csv;
    csv << in.rdbuf();
    EXPECT_EQ(csv.str().rfind("\xEF\xBB\xBFTime,Port,Identification,Outcome,Blocks\r\nearlier\r\n2", 0), 0u)
        << csv.str();
    EXPECT_EQ(Count(csv.str(), "," + sim.Ports()[0] + ",0x42,Finished,264\r\n"), 2u) << csv.str();
    EXPECT_EQ(Count(csv.str(), "\r\n"), 6u) << csv.str();
}

TEST_F(ParallelWrite, EveryPortNeedsItsValue) {
    std::string log;
    std::string command = OSTRELTZ_CLI;
    command += " --lang zh write --in ";
    command += Path("image.sin");
    EXPECT_EQ(RunCommand(command + " --port COM1 --port", &log), 2);
    EXPECT_NE(log.find("选项 --port 缺少值"), std::string::npos) << log;
}

// Each radio's line in the log has the time that radio ended, not the end of
// the round.
TEST_F(ParallelWrite, EachRadiosLogLineHasTheTimeItEnded) {
    auto sim = FourRadios({"--radio", "2", "--answer-delay", "10"});
    std::string log;
    ASSERT_EQ(RunCommand(WriteCommand(*sim, " --log " + Path("log.csv")), &log), 0) << log;
    std::ifstream in(Path("log.csv"), std::ios::binary);
    std::stringstream csv;
    csv << in.rdbuf();
    std::map<std::string, std::string> ended;  // port -> time
    std::string line;
    while (std::getline(csv, line))
        for (const std::string& port : sim->Ports())
            if (line.find("," + port + ",") != std::string::npos) ended[port] = line.substr(0, 19);
    ASSERT_EQ(ended.size(), 4u) << csv.str();
    for (int k : {0, 2, 3}) EXPECT_LT(ended[sim->Ports()[k]], ended[sim->Ports()[1]]) << csv.str();
}

// A log given the name of another file, the radio data itself for one, is
// refused before any radio is written, and the file keeps its bytes.
TEST_F(ParallelWrite, ALogThatIsNotAWriteLogIsRefusedBeforeAnyRadio) {
    auto sim = FourRadios();
    std::string log;
    EXPECT_EQ(RunCommand(WriteCommand(*sim, " --log " + Path("image.sin")), &log), 1) << log;
    EXPECT_NE(log.find("“" + Path("image.sin") + "”不是写频记录文件（第一行不是写频记录的标题），没有写入。"),
              std::string::npos)
        << log;
    sim->Stop();
    RadioImage image{};
    ASSERT_TRUE(LoadSinFile(Path("image.sin"), image).ok);
    EXPECT_TRUE(image == m_image);
    for (int k = 1; k <= 4; ++k) EXPECT_TRUE(Memory(k) == NewDocumentImage()) << k;
}
