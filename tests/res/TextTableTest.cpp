// The table of texts is complete and is the only place Chinese texts live:
// every text has English, English keeps the Chinese text's placeholders and
// keys, every text is used, and no Chinese string literal is written in the
// code outside the table.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <cctype>
#include <set>
#include <sstream>

#include "res/CommandTable.h"
#include "res/Language.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace fs = std::filesystem;

namespace {
const fs::path kSource = OSTRELTZ_SOURCE_DIR;
const fs::path kTable = kSource / "src" / "core" / "res" / "TextTable.inc";

bool HasChinese(std::string_view s) {
    // UTF-8 lead bytes E3..E9 cover U+3000..U+9FFF (CJK punctuation, kana,
    // ideographs); EF BC/BD are the full-width forms such as "，" and "："
    for (std::size_t i = 0; i + 2 < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        const auto b1 = static_cast<unsigned char>(s[i + 1]);
        if (b >= 0xE3 && b <= 0xE9) return true;
        if (b == 0xEF && (b1 == 0xBC || b1 == 0xBD)) return true;
    }
    return false;
}

struct Literal {
    int line;
    std::string text;
};

// The string literals of a C++ or TypeScript source, comments skipped.
std::vector<Literal> StringLiterals(const std::string& src) {
    std::vector<Literal> out;
    int line = 1;
    std::size_t i = 0;
    auto advance = [&](std::size_t n) {
        for (std::size_t k = 0; k < n && i < src.size(); ++k, ++i)
            if (src[i] == '\n') ++line;
    };
    while (i < src.size()) {
        if (src.compare(i, 2, "//") == 0) {
            while (i < src.size() && src[i] != '\n') ++i;
        } else if (src.compare(i, 2, "/*") == 0) {
            const std::size_t end = src.find("*/", i + 2);
            advance((end == std::string::npos ? src.size() : end + 2) - i);
        } else if (src.compare(i, 2, "R\"") == 0) {
            const std::size_t open = src.find('(', i);
            const std::string close = ")" + src.substr(i + 2, open - i - 2) + "\"";
            const std::size_t end = src.find(close, open);
            const int at = line;
            const std::size_t stop = end == std::string::npos ? src.size() : end + close.size();
            out.push_back({at, src.substr(open + 1, end - open - 1)});
            advance(stop - i);
        } else if (src[i] == '"' || src[i] == '\'' || src[i] == '`') {
            const char quote = src[i];
            const int at = line;
            std::string text;
            advance(1);
            while (i < src.size() && src[i] != quote && (src[i] != '\n' || quote == '`')) {
                if (src[i] == '\\') {
                    text += src.substr(i, 2);
                    advance(2);
                } else {
                    text += src[i];
                    advance(1);
                }
            }
            advance(1);
            out.push_back({at, text});
        } else {
            advance(1);
        }
    }
    return out;
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<fs::path> CodeFiles() {
    std::vector<fs::path> files;
    for (const char* dir : {"src", "web"}) {
        if (!fs::exists(kSource / dir)) continue;
        for (auto it = fs::recursive_directory_iterator(kSource / dir); it != fs::recursive_directory_iterator();
             ++it) {
            const std::string name = it->path().filename().string();
            if (it->is_directory() &&
                (name == "node_modules" || name == "dist" || name == "test" || name.starts_with("."))) {
                it.disable_recursion_pending();
                continue;
            }
            const std::string ext = it->path().extension().string();
            if (it->is_regular_file() &&
                (ext == ".cpp" || ext == ".h" || ext == ".inc" || ext == ".ts" || ext == ".js"))
                files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::set<std::string> Placeholders(std::string_view s) {
    std::set<std::string> found;
    for (std::size_t i = 0; i + 1 < s.size(); ++i)
        if (s[i] == '%' && s[i + 1] >= '1' && s[i + 1] <= '9') found.insert(std::string(s.substr(i, 2)));
    return found;
}

std::string_view Keys(std::string_view s) {
    const std::size_t tab = s.find('\t');
    return tab == std::string_view::npos ? std::string_view() : s.substr(tab);
}
}  // namespace

TEST(TextTable, EveryTextHasChineseAndEnglish) {
    for (const TextEntry& e : AllTexts()) {
        SCOPED_TRACE(e.name);
        EXPECT_NE(std::string_view(e.zh), "");
        EXPECT_NE(std::string_view(e.en), "");
        // English shows no Chinese, except the names of the languages and
        // the language menu, which read the same in both.
        if (HasChinese(e.en)) {
            EXPECT_STREQ(e.en, e.zh);
        }
        EXPECT_EQ(Placeholders(e.zh), Placeholders(e.en)) << "the same %1 .. %9 in both languages";
        EXPECT_EQ(Keys(e.zh), Keys(e.en)) << "the same keys after the tab in both languages";
        EXPECT_EQ(std::string_view(e.zh).ends_with('\n'), std::string_view(e.en).ends_with('\n'));
    }
}

TEST(TextTable, IdsFollowTheTableOrderAndEveryTextIsUsed) {
    std::set<std::string> words;
    for (const fs::path& file : CodeFiles()) {
        if (file == kTable) continue;
        const std::string code = Read(file);
        for (std::size_t i = 0; i < code.size();) {
            const std::size_t start = i;
            while (i < code.size() && (std::isalnum(static_cast<unsigned char>(code[i])) || code[i] == '_')) ++i;
            if (i > start)
                words.insert(code.substr(start, i - start));
            else
                ++i;
        }
    }
    int index = 0;
    for (const TextEntry& e : AllTexts()) {
        EXPECT_EQ(static_cast<int>(e.id), index++);
        EXPECT_TRUE(words.count(e.name)) << e.name << " is in the table but nothing shows it";
    }
}

TEST(TextTable, NoChineseLiteralOutsideTheTable) {
    for (const fs::path& file : CodeFiles()) {
        if (file == kTable) continue;
        const std::string relative = fs::relative(file, kSource).generic_string();
        for (const Literal& l : StringLiterals(Read(file)))
            if (HasChinese(l.text))
                ADD_FAILURE() << relative << ":" << l.line << ": \"" << l.text << "\" belongs in res/TextTable.inc";
    }
}

TEST(TextTable, LanguageSwitchesEveryText) {
    const Lang before = CurrentLanguage();
    SetCurrentLanguage(Lang::En);
    EXPECT_STREQ(Tr(TextId::CmdRead), "&Read from radio\tCtrl+R");
    SetCurrentLanguage(Lang::Zh);
    EXPECT_STREQ(Tr(TextId::CmdRead), "读频(&U)\tCtrl+R");
    EXPECT_TRUE(IsText("&Read from radio\tCtrl+R", TextId::CmdRead));
    EXPECT_FALSE(IsText("读频", TextId::CmdRead));
    SetCurrentLanguage(before);
}

TEST(TextTable, FormatFillsPlaceholdersOnce) {
    EXPECT_EQ(FormatText("第 %1 行: %2", {"3", "%1"}), "第 3 行: %1");
    EXPECT_EQ(FormatText("100%", {}), "100%");
    EXPECT_EQ(FormatText("%3 %1", {"a"}), "%3 a");
}

TEST(TextTable, EnglishCountsReadInTheSingularForOne) {
    EXPECT_EQ(FormatText("{1:This line was|These %1 lines were} refused", {"1"}), "This line was refused");
    EXPECT_EQ(FormatText("{1:This line was|These %1 lines were} refused", {"2"}), "These 2 lines were refused");
    EXPECT_EQ(FormatText("%1 of %2 {2:block|blocks}", {"1", "0"}), "1 of 0 blocks");
    EXPECT_EQ(FormatText("{3:a|b} {x:y} {1:open", {"1"}), "{3:a|b} {x:y} {1:open");
    const Lang before = CurrentLanguage();
    SetCurrentLanguage(Lang::En);
    EXPECT_EQ(TrFormat(TextId::CsvImported, {"1"}), "1 channel imported.");
    EXPECT_EQ(TrFormat(TextId::CsvImported, {"11"}), "11 channels imported.");
    SetCurrentLanguage(Lang::Zh);
    EXPECT_EQ(TrFormat(TextId::CsvImported, {"1"}), "已导入 1 个频道。");
    SetCurrentLanguage(before);
}

TEST(Language, LocaleAndOptionPickTheLanguage) {
    EXPECT_EQ(LanguageOfLocale("zh_CN.UTF-8"), Lang::Zh);
    EXPECT_EQ(LanguageOfLocale("zh_TW"), Lang::Zh);
    EXPECT_EQ(LanguageOfLocale("en_US.UTF-8"), Lang::En);
    EXPECT_EQ(LanguageOfLocale("de_DE"), Lang::En);
    EXPECT_EQ(LanguageOfLocale("C"), Lang::En);
    EXPECT_EQ(LanguageOfLocale(""), Lang::En);
    EXPECT_EQ(ParseLanguage("zh"), Lang::Zh);
    EXPECT_EQ(ParseLanguage("en"), Lang::En);
    EXPECT_EQ(ParseLanguage("fr"), std::nullopt);
    EXPECT_EQ(ParseLanguage("zhx"), std::nullopt);

    // The environment, as every program reads it.
    struct Environment {
        const char *lcAll, *lang, *language;
        Lang expected;
    };
    const Environment environments[] = {{"", "en_US.UTF-8", "zh_CN:en", Lang::Zh},
                                        {"", "zh_CN.UTF-8", "en_US:zh", Lang::En},
                                        {"", "en_US.UTF-8", "de:zh", Lang::Zh},
                                        {"", "zh_CN.UTF-8", "de:fr", Lang::Zh},
                                        {"", "C.UTF-8", "zh_CN", Lang::En},
                                        {"zh_CN.UTF-8", "en_US.UTF-8", "", Lang::Zh},
                                        {"", "", "zh_CN", Lang::En}};
    for (const Environment& e : environments) {
        for (const auto& [name, value] : {std::pair{"LC_ALL", e.lcAll}, std::pair{"LANG", e.lang},
                                          std::pair{"LANGUAGE", e.language}, std::pair{"LC_MESSAGES", ""}})
            ::setenv(name, value, 1);
        EXPECT_EQ(LanguageOfEnvironment(), e.expected) << e.lcAll << " " << e.lang << " " << e.language;
    }
    for (const char* name : {"LC_ALL", "LANG", "LANGUAGE", "LC_MESSAGES"}) ::unsetenv(name);

    const char* spaced[] = {"ostreltz-cli", "read", "--lang", "en", "x.sin"};
    EXPECT_EQ(LanguageArgument(5, spaced), "en");
    const char* joined[] = {"ostreltz", "--lang=zh"};
    EXPECT_EQ(LanguageArgument(2, joined), "zh");
    const char* dangling[] = {"ostreltz", "--lang"};
    EXPECT_EQ(LanguageArgument(2, dangling), std::nullopt);
    const char* none[] = {"ostreltz", "--language", "en"};
    EXPECT_EQ(LanguageArgument(3, none), std::nullopt);
}

TEST(TextTable, CommandLabelsDropTheAccessKeyAndTheShortcut) {
    EXPECT_EQ(CommandLabel("结束比较(&E)"), "结束比较");
    EXPECT_EQ(CommandLabel("打开(&O)...\tCtrl+O"), "打开...");
    EXPECT_EQ(CommandLabel("导出 CSV(&E)…"), "导出 CSV…");
    EXPECT_EQ(CommandLabel("Print Pre&view"), "Print Preview");
    EXPECT_EQ(CommandLabel("&Next difference\tF8"), "Next difference");
    EXPECT_EQ(CommandLabel("编辑信道\tCtrl+G"), "编辑信道");
    // Every menu entry has a label without markup in both languages.
    for (const CommandInfo& c : CommandTable()) {
        if (!c.text) continue;
        for (Lang lang : {Lang::Zh, Lang::En}) {
            const std::string label = CommandLabel(Tr(*c.text, lang));
            EXPECT_FALSE(label.empty()) << Tr(*c.text, lang);
            EXPECT_EQ(label.find_first_of("&\t"), std::string::npos) << label;
        }
    }
}

TEST(TextTable, NoTwoEntriesOfAMenuShareAnAccessKey) {
    for (MenuId menu : {MenuId::File, MenuId::Edit, MenuId::Program, MenuId::Port, MenuId::View, MenuId::Help}) {
        for (Lang lang : {Lang::Zh, Lang::En}) {
            std::set<char> keys;
            for (int id : MenuItems(menu)) {
                const CommandInfo* c = FindCommand(id);
                if (!c || !c->text) continue;
                const std::string_view text = Tr(*c->text, lang);
                const std::size_t amp = text.find('&');
                if (amp == std::string_view::npos || amp + 1 >= text.size()) continue;
                const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(text[amp + 1])));
                EXPECT_TRUE(keys.insert(key).second) << text;
            }
        }
    }
}

// Pointer help opens the guide at a command's section, and F1 at a window's:
// each is a heading of the guide in both languages.
TEST(HelpSections, AreHeadingsOfBothGuides) {
    for (Lang lang : {Lang::Zh, Lang::En}) {
        std::ifstream guide(kSource / "docs" / (lang == Lang::Zh ? "guide.md" : "guide-en.md"));
        std::set<std::string> headings;
        for (std::string line; std::getline(guide, line);)
            if (line.rfind("## ", 0) == 0 || line.rfind("### ", 0) == 0)
                headings.insert(line.substr(line.find(' ') + 1));
        for (const CommandInfo& command : CommandTable())
            EXPECT_TRUE(headings.count(Tr(CommandHelpSection(command.id), lang)))
                << command.id << ": " << Tr(CommandHelpSection(command.id), lang);
        for (HelpWindow window :
             {HelpWindow::Main, HelpWindow::ReadProgress, HelpWindow::WriteProgress, HelpWindow::Options,
              HelpWindow::Tuning, HelpWindow::History, HelpWindow::PrintPreview})
            EXPECT_TRUE(headings.count(Tr(HelpSection(window), lang))) << Tr(HelpSection(window), lang);
    }
    EXPECT_EQ(CommandHelpSection(ids::ID_WRITE), TextId::HelpSectionWrite);
    EXPECT_EQ(CommandHelpSection(ids::ID_FILE_PRINT_PREVIEW), TextId::HelpSectionPrint);
    EXPECT_EQ(CommandHelpSection(ids::ID_PORT_COM2), TextId::HelpSectionPort);
    EXPECT_EQ(CommandHelpSection(ids::ID_EDIT_PASTE), TextId::HelpSectionEditing);
}
