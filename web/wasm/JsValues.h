#pragma once
// Values handed to the page's JavaScript.
#include <emscripten/val.h>

#include <cstdint>
#include <string>
#include <vector>

#include <emscripten/bind.h>

template <typename List>
emscripten::val TextArray(const List& texts) {
    emscripten::val out = emscripten::val::array();
    for (const std::string& t : texts) out.call<void>("push", t);
    return out;
}

// The bytes of a Uint8Array (or an array of numbers) as a string.
inline std::string StringOfBytes(const emscripten::val& bytes) {
    const std::vector<std::uint8_t> data = emscripten::convertJSArrayToNumberVector<std::uint8_t>(bytes);
    return std::string(data.begin(), data.end());
}

// A Uint8Array copy of `bytes`.
template <typename Bytes>
emscripten::val ByteArray(const Bytes& bytes) {
    emscripten::val out = emscripten::val::global("Uint8Array").new_(static_cast<int>(bytes.size()));
    out.call<void>("set", emscripten::val(emscripten::typed_memory_view(
                              bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data()))));
    return out;
}
