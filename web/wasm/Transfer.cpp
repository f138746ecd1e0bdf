// The radio commands. Called from the page with ccall(..., {async: true}):
// the engines suspend at every wait for the page's promises.
#include <emscripten.h>

#include "Compare.h"
#include "Session.h"
#include "WebLink.h"
#include "link/CloneEngine.h"

namespace {
constexpr const char* kPort = "web-serial";
}

// 0 = read, 1 = write. Returns the CloneOutcome; a completed read replaces
// the document as one undo step.
extern "C" EMSCRIPTEN_KEEPALIVE int web_clone(int direction) {
    WebSerialLink link;
    WebClock clock;
    WebUserInteraction user;
    CloneEngine engine(link, clock, user);
    const CloneDirection dir = direction == 1 ? CloneDirection::Write : CloneDirection::Read;
    const RadioImage image = TheSession().ImageForSave();
    const CloneResult result = engine.Run(dir, kPort, image);
    if (result.outcome != CloneOutcome::Completed) return static_cast<int>(result.outcome);
    // What the radio held, or now holds, goes into the history.
    const std::string notKept = KeepInHistory(dir == CloneDirection::Read ? result.image : image, dir == CloneDirection::Write, kPort, result.radioType);
    if (!notKept.empty()) user.Ask(notKept, Buttons::Ok);
    if (dir == CloneDirection::Read) TheSession().ReplaceImage(result.image, true);
    return static_cast<int>(result.outcome);
}
