// The clone and tuning engines fed arbitrary radio replies: each run ends,
// with one of the system's own messages, with the port closed, and a read
// hands over an image only when it completed.
#include <algorithm>
#include <cstdlib>
#include <set>

#include "fuzz/FuzzLink.h"
#include "link/CloneEngine.h"
#include "res/Texts.h"
#include "tuning/TuningEngine.h"

namespace {

bool StoppedWriteLine(const std::string& line) {
    for (int blocks = 0; blocks <= kBlockCount; ++blocks)
        if (line == StoppedWriteText(blocks)) return true;
    return false;
}

// A message is known when its first line is one of the engines' texts or the
// line that says how far a stopped write got.
bool Known(const std::string& text) {
    static const std::set<std::string> texts = {
        Tr(TextId::LinkCommError), Tr(TextId::LinkTypeMismatch), Tr(TextId::LinkSendError), Tr(TextId::LinkShortReply),
        Tr(TextId::LinkReadAck),   Tr(TextId::LinkWriteAck),     Tr(TextId::TuningReceived), Tr(TextId::TuningRetry),
        Tr(TextId::LinkCableLost),
        OpenFailureMessage(OpenError::None, "COM1")};
    const std::string first = text.substr(0, text.find('\n'));
    return texts.count(first) > 0 || StoppedWriteLine(first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    FuzzBytes bytes(data + 1, size - 1);
    FuzzLink link(bytes);
    FuzzUser user(bytes);
    const int which = data[0] % 3;
    if (which < 2) {
        RadioImage image = NewDocumentImage();
        image[addr::kRadioType] = data[0];
        CloneEngine engine(link, link, user);
        const CloneResult r = engine.Run(which ? CloneDirection::Write : CloneDirection::Read, "COM1", image);
        if (r.outcome != CloneOutcome::Completed && r.image != RadioImage{}) std::abort();
        if (r.outcome == CloneOutcome::Completed && r.blocks != kBlockCount) std::abort();
    } else {
        TuningRequest request;
        request.rxFrequency = "146.00000";
        request.txFrequency = "146.00000";
        TuningEngine(link, link, user).Run("COM1", request);
    }
    if (link.open) std::abort();
    if (!std::all_of(user.asked.begin(), user.asked.end(), Known)) std::abort();
    return 0;
}
