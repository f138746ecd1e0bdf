// The radio commands. Called from the page with ccall(..., {async: true}):
// the engines suspend at every wait for the page's promises.
#include <emscripten.h>

#include "Compare.h"
#include "Session.h"
#include "WebLink.h"
#include "WriteSession.h"
#include "link/BackupWrite.h"
#include "link/CloneEngine.h"
#include "res/Texts.h"
#include <emscripten/bind.h>
#include <emscripten/val.h>

namespace {
constexpr const char* kPort = "web-serial";
}

// 0 = read, 1 = write, 2 = write after reading the radio as a backup, 3 = read
// for comparing. Returns the CloneOutcome; a completed read replaces the
// document as one undo step, or, for comparing, is compared with the document
// and leaves it as it is; every finished transfer goes into the history, and
// every write's result into the write log.
extern "C" EMSCRIPTEN_KEEPALIVE int web_clone(int direction) {
    WebSerialLink link;
    WebClock clock;
    WebUserInteraction user;
    CloneEngine engine(link, clock, user);
    const CloneDirection dir = direction == 1 || direction == 2 ? CloneDirection::Write : CloneDirection::Read;
    const RadioImage image = TheDocument().ImageForWrite();
    auto keep = [&](const RadioImage& kept, bool write, int radioType) {
        if (const auto notKept = KeepInHistory(kept, write, kPort, radioType))
            user.Ask(NotKeptText(*notKept), Buttons::Ok);
    };
    CloneResult result;
    if (direction == 2) {
        const BackupWriteResult both = WriteWithBackup(
            engine, kPort, image,
            [](int phase) {
                emscripten::val::module_property("host").call<void>(
                    "phase", std::string(Tr(phase == 1 ? TextId::BackupPhaseRead : TextId::BackupPhaseWrite)));
            },
            [&](const CloneResult& backup) {
                // The backup was asked for: it is kept with the history off too,
                // and one that cannot be kept writes nothing.
                const auto notKept = KeepInHistory(backup.image, false, kPort, backup.radioType, true);
                if (notKept) user.Ask(BackupNotKeptText(*notKept), Buttons::Ok);
                return !notKept;
            });
        if (both.backup.outcome != CloneOutcome::Completed) {
            TheWriteLog().Add(kPort, both.backup);
            if (both.backup.outcome != CloneOutcome::Cancelled) user.Ask(Tr(TextId::BackupFailed), Buttons::Ok);
            return static_cast<int>(both.backup.outcome);
        }
        if (!both.kept) {
            TheWriteLog().Add(kPort, both.write);
            return static_cast<int>(both.write.outcome);
        }
        result = both.write;
    } else {
        result = engine.Run(dir, kPort, image);
    }
    if (dir == CloneDirection::Write) TheWriteLog().Add(kPort, result);
    if (result.outcome != CloneOutcome::Completed) return static_cast<int>(result.outcome);
    // What the radio held, or now holds, goes into the history.
    keep(dir == CloneDirection::Read ? result.image : image, dir == CloneDirection::Write, result.radioType);
    if (direction == 3)
        TheComparison().Start(result.image, Tr(TextId::CompareRadioName), TheSession().ImageForSave());
    else if (dir == CloneDirection::Read)
        TheDocument().ReadReplaces(result.image);
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
