#pragma once
// A fresh program for every widget test: settings cleared, every message box
// and file dialog answered by the test and recorded.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <deque>

#include "app/DocManager.h"
#include "app/KeshApp.h"
#include "app/MainFrm.h"
#include "res/ProgramSettings.h"
#include "ui/Messenger.h"
#include "editor/ChannelGrid.h"
#include "editor/KeshView.h"
#include "image/KeshDoc.h"
#include "image/SinFile.h"
#include "res/QtText.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramSettings().clear();
        App()->SetLanguage(Lang::Zh);
        Messenger::SetMessageHandler([this](const MessageRequest& r) {
            messages.push_back(r);
            if (!answers.empty()) {
                Answer a = answers.front();
                answers.pop_front();
                return a;
            }
            return r.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
        });
        Messenger::SetFileHandler([this](const FileRequest& r) {
            fileRequests.push_back(r);
            if (fileAnswers.empty()) return QString();
            QString a = fileAnswers.front();
            fileAnswers.pop_front();
            return a;
        });
        Start();
    }
    void TearDown() override {
        App()->ExitInstance();
        Messenger::SetMessageHandler({});
        Messenger::SetFileHandler({});
    }

    static CKeshApp* App() { return static_cast<CKeshApp*>(qApp); }
    void Start(const QStringList& files = {}) { ASSERT_TRUE(App()->InitInstance(files)); }
    CKeshDoc* Doc() const { return App()->Document(); }
    CKeshView* View() const { return App()->View(); }
    CMainFrame* Frame() const { return App()->MainFrame(); }
    CChannelGrid* Grid() const { return View()->Grid(); }
    CDocManager* Docs() const { return App()->DocManager(); }

    QString Path(const QString& name) const { return dir.filePath(name); }
    QString SaveImage(const QString& name, const RadioImage& image) const {
        EXPECT_FALSE(SaveSinFile(Path(name).toStdString(), image));
        return Path(name);
    }
    // Opens `image` as a user opens a file.
    void OpenImage(const RadioImage& image) { ASSERT_TRUE(Docs()->OpenDocumentFile(SaveImage("open.sin", image))); }
    static RadioImage Load(const QString& path) {
        RadioImage image{};
        EXPECT_TRUE(LoadSinFile(path.toStdString(), image).ok);
        return image;
    }
    void Trigger(int id) { Frame()->Action(id)->trigger(); }
    // A cell of the working copy set as the command line sets it.
    void SetCell(int row, int col, const std::string& text) {
        View()->Change([&](EditSession& s) { return s.SetCell(row, col, text, CellEntry::Exact); });
    }

    QTemporaryDir dir;
    std::vector<MessageRequest> messages;
    std::deque<Answer> answers;
    std::vector<FileRequest> fileRequests;
    std::deque<QString> fileAnswers;
};
