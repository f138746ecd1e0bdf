// The source folders keep their boundary: the rules in src/core include
// nothing of Qt nor of the front ends, and no folder reaches back, through
// its includes, to a folder that includes it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
const fs::path kSrc = fs::path(OSTRELTZ_SOURCE_DIR) / "src";

// The include roots in the order the build searches them.
const std::vector<fs::path> kRoots = {kSrc / "core", kSrc / "qt", kSrc / "desktop", kSrc};

bool IsSource(const fs::path& p) {
    const auto ext = p.extension();
    return ext == ".cpp" || ext == ".h" || ext == ".inc";
}

struct Include {
    fs::path from;  // the including file
    std::string text;
    bool angled;
};

std::vector<Include> IncludesUnder(const fs::path& dir) {
    static const std::regex kLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> out;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file() || !IsSource(entry.path())) continue;
        std::ifstream in(entry.path());
        std::string line;
        std::smatch m;
        while (std::getline(in, line))
            if (std::regex_search(line, m, kLine)) out.push_back({entry.path(), m[2], m[1] == "<"});
    }
    return out;
}

// The folder (relative to src/) a quoted include resolves to, empty if none.
std::string FolderOf(const std::string& include) {
    for (const auto& root : kRoots)
        if (fs::exists(root / include)) return fs::relative((root / include).parent_path(), kSrc).string();
    return {};
}
}  // namespace

TEST(FolderLayout, TheRulesReachNeitherQtNorAFrontEnd) {
    for (const auto& inc : IncludesUnder(kSrc / "core")) {
        const auto where = inc.from.string() + ": " + inc.text;
        if (inc.angled) {
            EXPECT_NE(inc.text[0], 'Q') << where;
            continue;
        }
        EXPECT_TRUE(fs::exists(kSrc / "core" / inc.text) || fs::exists(inc.from.parent_path() / inc.text)) << where;
    }
}

TEST(FolderLayout, NoFolderIncludesAnotherInACircle) {
    std::map<std::string, std::set<std::string>> edges;
    for (const auto& inc : IncludesUnder(kSrc)) {
        if (inc.angled) continue;
        const auto from = fs::relative(inc.from.parent_path(), kSrc).string();
        const auto to = FolderOf(inc.text);
        if (!to.empty() && to != from) edges[from].insert(to);
    }
    // Depth-first search; a folder met again while still on the path closes a circle.
    std::map<std::string, int> state;  // 0 unseen, 1 on the path, 2 done
    std::vector<std::string> path;
    std::function<void(const std::string&)> visit = [&](const std::string& folder) {
        state[folder] = 1;
        path.push_back(folder);
        for (const auto& next : edges[folder]) {
            if (state[next] == 1) {
                std::string circle;
                for (auto it = std::find(path.begin(), path.end(), next); it != path.end(); ++it)
                    circle += *it + " -> ";
                ADD_FAILURE() << "include circle: " << circle << next;
            } else if (state[next] == 0) {
                visit(next);
            }
        }
        path.pop_back();
        state[folder] = 2;
    };
    for (const auto& [folder, targets] : edges)
        if (state[folder] == 0) visit(folder);
}
