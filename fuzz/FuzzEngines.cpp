// The clone and tuning engines fed arbitrary radio replies: each run ends,
// with one of the system's own messages, with the port closed, and a read
// hands over an image only when it completed.
#include <algorithm>
#include <cstdlib>
#include <set>

#include "fuzz/FuzzLink.h"
#include "link/CloneEngine.h"
#include "tuning/TuningEngine.h"

namespace {

bool Known(const std::string& text) {
    static const std::set<std::string> texts = {
        clone_text::kCommError, clone_text::kTypeMismatch, clone_text::kSendError, clone_text::kShortReply,
        clone_text::kReadAck,   clone_text::kWriteAck,     tuning_text::kReceived, tuning_text::kRetry,
        OpenFailureMessage(OpenError::None), OpenFailureMessage(OpenError::PermissionDenied)};
    return texts.count(text) > 0;
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
