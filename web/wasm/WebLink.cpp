#include "WebLink.h"

#include <emscripten.h>

#include "link/CloneEngine.h"

// The page's side is `Module.host`: open, purge, write, read, close, pause,
// status, progress, ask, inform, cancelled, watch. See RulesHost in web/src/rules.ts.

// The bodies are JavaScript.
// clang-format off
EM_ASYNC_JS(int, host_open, (const char* name), { return await Module.host.open(UTF8ToString(name)); });
EM_JS(void, host_purge, (), { Module.host.purge(); });
EM_ASYNC_JS(int, host_write, (const std::uint8_t* data, int size), {
    return await Module.host.write(HEAPU8.slice(data, data + size)) ? 1 : 0;
});
// Returns the count of bytes placed at `buffer`, or -1 when the port failed.
EM_ASYNC_JS(int, host_read, (std::uint8_t* buffer, int size, int totalMs, int intervalMs), {
    const bytes = await Module.host.read(size, totalMs, intervalMs);
    if (bytes === null) return -1;
    HEAPU8.set(bytes.subarray(0, size), buffer);
    return Math.min(bytes.length, size);
});
EM_ASYNC_JS(void, host_close, (), { await Module.host.close(); });
EM_ASYNC_JS(void, host_pause, (int ms), { await Module.host.pause(ms); });
EM_JS(void, host_status, (const char* text), { Module.host.status(UTF8ToString(text)); });
EM_JS(void, host_progress, (int position, int stopAsks), { Module.host.progress(position, stopAsks !== 0); });
EM_ASYNC_JS(int, host_ask, (const char* text, int buttons), {
    return await Module.host.ask(UTF8ToString(text), buttons);
});
EM_ASYNC_JS(void, host_inform, (const char* text), { await Module.host.inform(UTF8ToString(text)); });
EM_JS(int, host_cancelled, (), { return Module.host.cancelled() ? 1 : 0; });
EM_JS(void, host_watch, (int watch), { Module.host.watch(watch !== 0); });
// clang-format on

OpenError WebSerialLink::Open(const std::string& name, const SerialTimeouts& timeouts) {
    const int error = host_open(name.c_str());
    if (error < 0 || error > static_cast<int>(OpenError::Other)) return OpenError::Other;
    m_timeouts = timeouts;
    m_open = error == 0;
    return static_cast<OpenError>(error);
}

void WebSerialLink::Purge() {
    if (m_open) host_purge();
}

bool WebSerialLink::Write(const std::uint8_t* data, std::size_t size) {
    return m_open && host_write(data, static_cast<int>(size)) == 1;
}

ReadResult WebSerialLink::Read(std::uint8_t* buffer, std::size_t size) {
    if (!m_open) return {false, 0};
    const int total = m_timeouts.readPerByteMs * static_cast<int>(size) + m_timeouts.readConstantMs;
    const int count = host_read(buffer, static_cast<int>(size), total, m_timeouts.readIntervalMs);
    if (count < 0) return {false, 0};
    return {true, static_cast<std::size_t>(count)};
}

void WebSerialLink::Close() {
    if (!m_open) return;
    m_open = false;
    host_close();
}

void WebClock::PauseMs(int ms) { host_pause(ms); }

void WebUserInteraction::SetStatus(const std::string& text) { host_status(text.c_str()); }
// With the position goes whether stopping a write now asks first: the page
// may not call the rules while they run the transfer.
void WebUserInteraction::SetProgress(int position) {
    host_progress(position, StoppingWriteAsks(running, position) ? 1 : 0);
}

Answer WebUserInteraction::Ask(const std::string& text, Buttons buttons) {
    const int answer = host_ask(text.c_str(), static_cast<int>(buttons));
    if (answer < 0 || answer > static_cast<int>(Answer::Keep)) return Answer::Cancel;
    return static_cast<Answer>(answer);
}

void WebUserInteraction::Inform(const std::string& text) { host_inform(text.c_str()); }

bool WebUserInteraction::Cancelled() { return host_cancelled() != 0; }
void WebUserInteraction::SetWatch(bool watch) { host_watch(watch ? 1 : 0); }
