// The simulated radio as a small WebAssembly module of its own, for the page
// tests' radio that runs inside the browser: bytes in, reply bytes out. The
// page's own module never contains it.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <memory>
#include <string_view>

#include "image/SinFile.h"
#include "sim/RadioSim.h"

namespace {
std::unique_ptr<RadioSim> g_radio;
SimReply g_reply;
}  // namespace

extern "C" {

// A radio holding the .sin `bytes`; false when they are no radio's memory.
EMSCRIPTEN_KEEPALIVE bool radio_start(const char* bytes, int size) {
    RadioImage memory = NewDocumentImage();
    if (!LoadSinBytes("radio.sin", std::string_view(bytes, static_cast<std::size_t>(size)), memory).ok) return false;
    g_radio = std::make_unique<RadioSim>(memory, memory[addr::kRadioType], SimFaults{});
    return true;
}

// Feeds one byte; returns how many reply bytes radio_reply() then holds.
EMSCRIPTEN_KEEPALIVE int radio_feed(int byte) {
    g_reply = g_radio->Feed(static_cast<std::uint8_t>(byte));
    return static_cast<int>(g_reply.bytes.size());
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* radio_reply() { return g_reply.bytes.data(); }
}
