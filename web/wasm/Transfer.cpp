// The radio commands. Called from the page with ccall(..., {async: true}):
// the engines suspend at every wait for the page's promises.
#include <emscripten.h>

#include "Compare.h"
#include "Session.h"
#include "WebLink.h"
#include "WriteSession.h"
#include "link/TransferFlow.h"
#include "res/Texts.h"
#include <emscripten/bind.h>
#include <emscripten/val.h>

namespace {
constexpr const char* kPort = "web-serial";
}

// 0 = read, 1 = write, 2 = write after reading the radio as a backup, 3 = read
// for comparing. Returns the CloneOutcome; a completed read replaces the
// document as one undo step, or, for comparing, is compared with the document
// and leaves it as it is; every write's result goes into the write log.
extern "C" EMSCRIPTEN_KEEPALIVE int web_clone(int direction) {
    WebSerialLink link;
    WebClock clock;
    WebUserInteraction user;
    CloneEngine engine(link, clock, user);
    const CloneDirection dir = direction == 1 || direction == 2 ? CloneDirection::Write : CloneDirection::Read;
    user.running = dir;
    const TransferPlan plan{dir, kPort, TheDocument().ImageForWrite(), direction == 2, HistoryOn()};
    const TransferEnd end = RunTransfer(
        engine, user, plan,
        [&user](CloneDirection running, const std::string& phase) {
            user.running = running;
            emscripten::val::module_property("host").call<void>("phase", phase);
        },
        &KeepInHistory);
    const CloneResult& result = end.result;
    if (dir == CloneDirection::Write) TheWriteLog().Add(kPort, result);
    if (result.outcome == CloneOutcome::Completed && direction == 3)
        TheComparison().Start(result.image, ComparedName::Text(TextId::CompareRadioName), TheSession().ImageForSave());
    else if (result.outcome == CloneOutcome::Completed && dir == CloneDirection::Read)
        TheDocument().ReadReplaces(result.image);
    TheComparison().TransferEnded(dir, result, plan.image);
    TheComparison().Refresh(TheSession().ImageForSave());
    if (end.notKept) user.Inform(NotKeptText(*end.notKept));
    return static_cast<int>(result.outcome);
}

EMSCRIPTEN_BINDINGS(ostreltz_transfer) {
    // The word for the status bar once a transfer ended; empty for none.
    emscripten::function(
        "transferStatusText", emscripten::optional_override([](bool write, int outcome, double elapsedMs) {
            const std::optional<std::string> notice =
                TransferStatusText(write ? CloneDirection::Write : CloneDirection::Read,
                                   static_cast<CloneOutcome>(outcome), kPort, static_cast<long long>(elapsedMs));
            return notice.value_or("");
        }));
}
