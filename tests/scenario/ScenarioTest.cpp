// Each scenario's edits, made through the editing session and through the
// command line, save the bytes kept beside the scenario (the page's module
// makes them too: web/test/scenarios.test.ts). A refused text changes
// nothing in either. OSTRELTZ_WRITE_SCENARIO_RESULTS=1 writes the editing
// session's bytes as the scenarios' results instead of comparing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "document/Document.h"
#include "image/ChannelTable.h"
#include "scenario/ScenarioFile.h"
#include "support/LanguageScope.h"
#include "support/RunCommand.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kSourceDir = OSTRELTZ_SOURCE_DIR;
const std::string kScenarioDir = kSourceDir + "/tests/fixtures/scenarios";

Bytes FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string FileText(const std::string& path) {
    const Bytes bytes = FileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Where `made` first differs from `expected`; empty when they are the same.
std::string Difference(const Bytes& made, const Bytes& expected) {
    if (made == expected) return {};
    const auto [m, e] = std::mismatch(made.begin(), made.end(), expected.begin(), expected.end());
    const std::size_t offset = static_cast<std::size_t>(m - made.begin());
    char line[160];
    std::snprintf(line, sizeof line, "first difference at offset %zu (0x%zx): made %s, expected %s (sizes %zu, %zu)",
                  offset, offset, m == made.end() ? "nothing" : std::to_string(*m).c_str(),
                  e == expected.end() ? "nothing" : std::to_string(*e).c_str(), made.size(), expected.size());
    return line;
}

std::string Described(const ScenarioStep& step) {
    return std::to_string(step.channel) + " " + step.caption + " \"" + step.text + "\"";
}

// The answer a window gives to the import's question for the options the
// command line was given.
Answer ImportAnswer(const Question& question, const ScenarioStep& step) {
    if (question.buttons == Buttons::EmptyKeepCancel) return step.merge ? Answer::Keep : Answer::Ok;
    return step.applyValid ? Answer::Ok : Answer::Cancel;
}

Bytes ThroughEditSession(const Scenario& scenario) {
    const LanguageScope chinese(Lang::Zh);
    Document document;
    if (!scenario.openPath.empty()) {
        const OpenOutcome opened = document.Open(kSourceDir + "/" + scenario.openPath);
        EXPECT_FALSE(opened.failure || opened.empty) << (opened.failure ? Describe(*opened.failure) : "empty");
    }
    EditSession& session = document.Session();
    for (const ScenarioStep& step : scenario.steps) {
        if (step.kind == ScenarioStep::Kind::Language) {
            const Lang lang = step.text == "en" ? Lang::En : Lang::Zh;
            SetCurrentLanguage(lang);
            session.Relabel(lang);
            continue;
        }
        if (step.kind == ScenarioStep::Kind::ImportCsv) {
            CsvImportFlow flow = document.ImportCsv(FileText(step.text), step.renumber);
            while (const auto question = flow.Question()) flow.Reply(ImportAnswer(*question, step));
            document.Apply(flow);
            continue;
        }
        const RadioImage before = session.ImageForSave();
        const EditResult result =
            session.SetCell(step.channel, ColumnOfCaption(step.caption), step.text, CellEntry::Exact);
        const bool refuse = step.kind == ScenarioStep::Kind::Refuse;
        EXPECT_EQ(result.refused, refuse) << Described(step) << " " << result.refusal;
        if (refuse) {
            EXPECT_TRUE(session.ImageForSave() == before) << Described(step);
        }
    }
    const RadioImage saved = session.ImageForSave();
    return Bytes(saved.begin(), saved.end());
}

// One argument for the shell, whatever it holds.
std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Bytes ThroughCommandLine(const Scenario& scenario, const fs::path& folder) {
    const std::string file = (folder / "scenario.sin").string();
    std::string lang = "zh";
    auto cli = [&](const std::string& args) { return std::string(OSTRELTZ_CLI) + " --lang " + lang + " " + args; };
    std::string log;
    if (scenario.openPath.empty()) {
        EXPECT_EQ(RunCommand(cli("new " + Quoted(file)), &log), 0) << log;
    } else {
        fs::copy_file(kSourceDir + "/" + scenario.openPath, file, fs::copy_options::overwrite_existing);
    }
    for (const ScenarioStep& step : scenario.steps) {
        if (step.kind == ScenarioStep::Kind::Language) {
            lang = step.text;
            continue;
        }
        if (step.kind == ScenarioStep::Kind::ImportCsv) {
            std::string args = "import-csv " + Quoted(file) + " " + Quoted(step.text);
            if (step.applyValid) args += " --apply-valid";
            if (step.merge) args += " --merge";
            if (step.renumber) args += " --renumber";
            // 1 also when the valid lines were imported and others refused.
            EXPECT_LE(RunCommand(cli(args), &log), 1) << log;
            continue;
        }
        const Bytes before = FileBytes(file);
        const int code = RunCommand(cli("set " + Quoted(file) + " --channel " + std::to_string(step.channel) +
                                        " --column " + Quoted(step.caption) + " --value " + Quoted(step.text)),
                                    &log);
        if (step.kind == ScenarioStep::Kind::Set) {
            EXPECT_EQ(code, 0) << Described(step) << "\n" << log;
        } else {
            EXPECT_NE(code, 0) << Described(step);
            EXPECT_EQ(FileBytes(file), before) << Described(step);
        }
    }
    return FileBytes(file);
}

bool WritingResults() { return std::getenv("OSTRELTZ_WRITE_SCENARIO_RESULTS") != nullptr; }

class ScenarioRun : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        std::string problem;
        const auto scenario = ReadScenario(GetParam(), problem);
        ASSERT_TRUE(scenario) << problem;
        m_scenario = *scenario;
        m_resultPath = fs::path(GetParam()).replace_extension(".sin").string();
        m_expected = FileBytes(m_resultPath);
        if (!WritingResults()) {
            ASSERT_EQ(m_expected.size(), kImageSize) << m_resultPath;
        }
        m_folder = fs::temp_directory_path() / ("scenario-" + std::to_string(::getpid()) + "-" + m_scenario.name);
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    Scenario m_scenario;
    std::string m_resultPath;
    Bytes m_expected;
    fs::path m_folder;
};

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = fs::path(info.param).stem().string();
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

}  // namespace

TEST_P(ScenarioRun, ThroughTheEditingSession) {
    const Bytes made = ThroughEditSession(m_scenario);
    if (WritingResults()) {
        std::ofstream(m_resultPath, std::ios::binary)
            .write(reinterpret_cast<const char*>(made.data()), static_cast<std::streamsize>(made.size()));
        return;
    }
    EXPECT_EQ(Difference(made, m_expected), "") << m_resultPath;
}

TEST_P(ScenarioRun, ThroughTheCommandLine) {
    EXPECT_EQ(Difference(ThroughCommandLine(m_scenario, m_folder), m_expected), "") << m_resultPath;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioRun, ::testing::ValuesIn(ScenarioFiles(kScenarioDir)), TestName);

TEST(ScenarioFolder, HoldsTheScenariosAndTheirResults) {
    EXPECT_GE(ScenarioFiles(kScenarioDir).size(), 5u);
    for (const fs::directory_entry& entry : fs::directory_iterator(kScenarioDir)) {
        if (entry.path().extension() == ".sin") {
            EXPECT_TRUE(fs::exists(fs::path(entry.path()).replace_extension(".scenario"))) << entry.path();
        }
    }
}
