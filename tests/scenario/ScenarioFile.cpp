#include "scenario/ScenarioFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The words of `line` up to `count` of them, the rest of the line (after the
// blank ending the last word) last.
std::vector<std::string> Words(const std::string& line, std::size_t count) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (words.size() < count) {
        const std::size_t blank = line.find(' ', start);
        if (blank == std::string::npos) {
            words.push_back(line.substr(start));
            return words;
        }
        words.push_back(line.substr(start, blank - start));
        start = blank + 1;
    }
    words.push_back(line.substr(start));
    return words;
}

std::optional<ScenarioStep> ReadStep(const std::string& line, const fs::path& folder) {
    ScenarioStep step;
    const std::vector<std::string> words = Words(line, 3);
    if ((words[0] == "set" || words[0] == "refuse") && words.size() >= 3) {
        step.kind = words[0] == "set" ? ScenarioStep::Kind::Set : ScenarioStep::Kind::Refuse;
        try {
            step.channel = std::stoi(words[1]);
        } catch (const std::exception&) {
            return std::nullopt;
        }
        step.caption = words[2];
        if (words.size() == 4) step.text = words[3];
        return step;
    }
    if (line == "language en" || line == "language zh") {
        step.kind = ScenarioStep::Kind::Language;
        step.text = line.substr(9);
        return step;
    }
    const std::vector<std::string> all = Words(line, 99);
    if (all[0] != "import-csv" || all.size() < 2) return std::nullopt;
    step.kind = ScenarioStep::Kind::ImportCsv;
    step.text = (folder / all[1]).string();
    for (std::size_t i = 2; i < all.size(); ++i) {
        bool* option = all[i] == "apply-valid" ? &step.applyValid
                       : all[i] == "merge"     ? &step.merge
                       : all[i] == "renumber"  ? &step.renumber
                                               : nullptr;
        if (!option) return std::nullopt;
        *option = true;
    }
    return step;
}

}  // namespace

std::optional<Scenario> ReadScenario(const std::string& path, std::string& problem) {
    std::ifstream in(path);
    if (!in) {
        problem = "cannot read " + path;
        return std::nullopt;
    }
    Scenario scenario;
    scenario.name = fs::path(path).stem().string();
    bool started = false;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (!started && (line == "new" || line.rfind("open ", 0) == 0)) {
            started = true;
            if (line != "new") scenario.openPath = line.substr(5);
            continue;
        }
        const std::optional<ScenarioStep> step = started ? ReadStep(line, fs::path(path).parent_path()) : std::nullopt;
        if (!step) {
            problem = path + ": not understood: " + line;
            return std::nullopt;
        }
        scenario.steps.push_back(*step);
    }
    if (!started) problem = path + ": no `new` or `open` line";
    if (!started) return std::nullopt;
    return scenario;
}

std::vector<std::string> ScenarioFiles(const std::string& folder) {
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".scenario") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}
