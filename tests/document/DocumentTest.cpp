// The document's decisions, as every front end runs them: what it asks
// before changes are lost or a changed file is overwritten, and what opening,
// saving, a CSV import and a read from the radio do to it.
#include "document/Document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "support/TestFolder.h"
#include "support/LanguageScope.h"
#include "support/RandomImage.h"

namespace fs = std::filesystem;

namespace {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = FreshTestFolder("document-test"); }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Bytes(const RadioImage& image) { return std::string(image.begin(), image.end()); }
    // One typed change to the document.
    static void Edit(Document& doc, const char* frequency = "145.125") {
        ASSERT_TRUE(doc.Session().SetCell(1, 1, frequency, CellEntry::Exact).changed);
    }

    LanguageScope m_chinese{Lang::Zh};
    fs::path m_dir;
};

TEST_F(DocumentTest, AsksBeforeUnsavedChangesAreLostAndReadsTheAnswer) {
    Document doc;
    EXPECT_EQ(doc.Title(), "无标题");
    EXPECT_FALSE(doc.SaveQuestion()) << "nothing to lose";
    Edit(doc);
    const std::optional<Question> asked = doc.SaveQuestion();
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->text, "是否保存对“无标题”的更改？");
    EXPECT_EQ(asked->buttons, Buttons::SaveDiscardCancel);
    EXPECT_FALSE(asked->warning);
    {
        LanguageScope english(Lang::En);
        EXPECT_EQ(doc.SaveQuestion()->text, "Save the changes to \"Untitled\"?");
    }
    const struct {
        Answer answer;
        AfterAsking after;
    } kAnswers[] = {{Answer::Save, AfterAsking::SaveFirst},
                    {Answer::Discard, AfterAsking::Go},
                    {Answer::Cancel, AfterAsking::Stop},
                    {Answer::Ok, AfterAsking::Stop}};
    for (const auto& c : kAnswers) EXPECT_EQ(Document::After(c.answer), c.after) << static_cast<int>(c.answer);
}

TEST_F(DocumentTest, OpeningTakesAGoodFileAndLeavesEverythingAsItWasOtherwise) {
    const RadioImage radio = RandomValidImage(7);
    const struct {
        const char* name;
        std::string bytes;
        bool opens;       // the document becomes the file
        bool fails;       // and the failure says why
        bool warned;      // bytes left out
        const char* why;  // a part of the failure or the warning
    } kFiles[] = {
        {"exact.sin", Bytes(radio), true, false, false, ""},
        {"longer.sin", Bytes(radio) + "xyz", true, false, true, "多出 3 字节"},
        {"short.sin", std::string(100, 'x'), false, true, false, "只有 100 字节"},
        {"empty.sin", "", false, false, false, ""},
    };
    for (const auto& f : kFiles) {
        Document doc;
        Edit(doc);
        const std::string before = doc.SaveBytes();
        const OpenOutcome opened = doc.Open(Write(f.name, f.bytes));
        EXPECT_EQ(opened.failure.has_value(), f.fails) << f.name;
        EXPECT_EQ(opened.warning.has_value(), f.warned) << f.name;
        EXPECT_EQ(opened.empty, f.bytes.empty()) << f.name;
        const std::string said = opened.failure   ? Describe(*opened.failure)
                                 : opened.warning ? Describe(*opened.warning)
                                                  : std::string();
        EXPECT_NE(said.find(f.why), std::string::npos) << f.name << ": " << said;
        if (f.opens) {
            EXPECT_EQ(doc.Title(), f.name);
            EXPECT_FALSE(doc.IsModified()) << f.name;
            EXPECT_FALSE(doc.Session().CanUndo()) << f.name;
            EXPECT_EQ(doc.SaveBytes(), Bytes(radio)) << f.name;
        } else {
            EXPECT_EQ(doc.Title(), "无标题") << f.name;
            EXPECT_TRUE(doc.IsModified()) << f.name;
            EXPECT_EQ(doc.SaveBytes(), before) << f.name;
        }
        // The page hands over the bytes it was given; the same file, the same outcome.
        Document page;
        const OpenOutcome fromBytes = page.Open(f.name, f.bytes);
        EXPECT_EQ(fromBytes.failure.has_value(), f.fails) << f.name;
        EXPECT_EQ(fromBytes.warning.has_value(), f.warned) << f.name;
        EXPECT_EQ(page.SaveBytes(), f.opens ? Bytes(radio) : Document().SaveBytes()) << f.name;
    }
    Document doc;
    const OpenOutcome missing = doc.Open((m_dir / "gone.sin").string());
    ASSERT_TRUE(missing.failure);
    EXPECT_EQ(Describe(*missing.failure), "无法打开文件“" + (m_dir / "gone.sin").string() + "”。\n文件或文件夹不存在");
}

TEST_F(DocumentTest, SavingNamesTheDocumentAndAFailedSaveKeepsItsChanges) {
    Document doc;
    Edit(doc);
    const std::string path = (m_dir / "kept.sin").string();
    ASSERT_FALSE(doc.SaveAs(path));
    EXPECT_EQ(doc.Path(), path);
    EXPECT_EQ(doc.Title(), "kept.sin");
    EXPECT_FALSE(doc.IsModified());
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), doc.SaveBytes());

    Edit(doc, "146.5");
    const std::string nowhere = (m_dir / "no" / "such" / "folder.sin").string();
    const std::optional<Failure> failure = doc.SaveAs(nowhere);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->lines.front(), (Clause{TextId::FileCannotSave, {nowhere}}));
    EXPECT_EQ(doc.Path(), path);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentTest, AsksBeforeOverwritingItsFileWhenAnotherProgramChangedIt) {
    Document doc;
    EXPECT_FALSE(doc.OverwriteQuestion((m_dir / "any.sin").string())) << "untitled";
    const std::string path = Write("shared.sin", Bytes(RandomValidImage(3)));
    ASSERT_FALSE(doc.Open(path).failure);
    EXPECT_FALSE(doc.OverwriteQuestion(path)) << "as opened";
    Write("shared.sin", Bytes(RandomValidImage(4)) + "more");
    const std::optional<Question> asked = doc.OverwriteQuestion(path);
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->text, "文件“" + path + "”已被其他程序修改。是否覆盖？");
    EXPECT_EQ(asked->buttons, Buttons::OverwriteCancel);
    EXPECT_TRUE(asked->warning);
    EXPECT_FALSE(doc.OverwriteQuestion((m_dir / "other.sin").string())) << "another file";
    ASSERT_FALSE(doc.SaveAs(path));
    EXPECT_FALSE(doc.OverwriteQuestion(path)) << "saved here since";
}

TEST_F(DocumentTest, ACsvImportIsOneUndoStepOnlyWhenApplied) {
    Document doc;
    const std::string csv =
        "频道,接收频率,发射频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定\n"
        "1,145.125,145.125,OFF,OFF,宽,是,高,DTMF,开,关闭\n"
        "2,145.1234,145.125,OFF,OFF,宽,是,高,DTMF,开,关闭\n";
    const struct {
        Answer answer;
        bool applied;
    } kAnswers[] = {{Answer::Ok, true}, {Answer::Cancel, false}};
    for (const auto& c : kAnswers) {
        doc.New();
        CsvImportFlow flow = doc.ImportCsv(csv, false);
        ASSERT_TRUE(flow.Question()) << "a refused line is asked about";
        flow.Reply(c.answer);
        EXPECT_FALSE(flow.Question());
        const EditResult result = doc.Apply(flow);
        EXPECT_EQ(result.changed, c.applied);
        EXPECT_EQ(doc.IsModified(), c.applied);
        EXPECT_EQ(doc.Session().Text(1, 1), c.applied ? "145.12500" : "");
        EXPECT_EQ(doc.Session().CanUndo(), c.applied);
    }
}

TEST_F(DocumentTest, AReadReplacesWhatTheUserHadAsOneUndoStepEvenWhenNothingDiffers) {
    Document doc;
    const std::string untouched = doc.SaveBytes();
    const EditResult same = doc.ReadReplaces(doc.ImageForWrite());
    EXPECT_TRUE(same.changed);
    EXPECT_TRUE(doc.Session().CanUndo());
    const RadioImage radio = RandomValidImage(11);
    doc.ReadReplaces(radio);
    EXPECT_EQ(doc.SaveBytes(), Bytes(radio));
    EXPECT_TRUE(doc.IsModified());
    doc.Session().Undo();
    doc.Session().Undo();
    EXPECT_EQ(doc.SaveBytes(), untouched);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentTest, NewAndAHistoryEntryAreUntitledAndUnmodified) {
    Document doc;
    ASSERT_FALSE(doc.Open(Write("a.sin", Bytes(RandomValidImage(2)))).failure);
    Edit(doc);
    const RadioImage entry = RandomValidImage(5);
    doc.NewHolding(entry);
    EXPECT_EQ(doc.Title(), "无标题");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.SaveBytes(), Bytes(entry));
    doc.New();
    EXPECT_EQ(doc.SaveBytes(), Document().SaveBytes());
    EXPECT_FALSE(doc.Session().CanUndo());
}

}  // namespace
