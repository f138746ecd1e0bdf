#pragma once
// What the engines and the flows that ask need of the user: a status line, a
// progress bar, modal questions, and a cancel flag checked at their yields.
#include <string>

// 覆盖 answers Ok; of 清空/保留/取消 (EmptyKeepCancel), 清空 answers Ok and 保留 Keep.
enum class Buttons { Ok, OkCancel, RetryCancel, SaveDiscardCancel, OverwriteCancel, EmptyKeepCancel };
enum class Answer { Ok, Cancel, Retry, Save, Discard, Keep };

// The button Enter chooses: Cancel where going on must be chosen on purpose,
// 保留 of 清空/保留/取消 as keeping loses nothing, otherwise the first one.
inline Answer DefaultAnswer(Buttons buttons, bool cancelIsDefault) {
    if (cancelIsDefault) return Answer::Cancel;
    switch (buttons) {
        case Buttons::RetryCancel: return Answer::Retry;
        case Buttons::SaveDiscardCancel: return Answer::Save;
        case Buttons::EmptyKeepCancel: return Answer::Keep;
        default: return Answer::Ok;
    }
}

class IUserInteraction {
public:
    virtual ~IUserInteraction() = default;
    virtual void SetStatus(const std::string& text) = 0;
    virtual void SetProgress(int position) = 0;  // 0 .. 264
    // A modal box; returns the button chosen.
    virtual Answer Ask(const std::string& text, Buttons buttons) = 0;
    // A report that needs no decision, such as a success; a box shows it
    // with the information icon.
    virtual void Inform(const std::string& text) { Ask(text, Buttons::Ok); }
    // True once the user has asked to stop.
    virtual bool Cancelled() = 0;
    // True while losing the focus of the progress window must cancel the
    // transfer; false around the link's own boxes.
    virtual void SetWatch(bool watch) = 0;
};
