// Comparing the document with a file or a history entry, and the page's
// history of reads and writes, kept in the browser's origin storage.
#include <emscripten/bind.h>
#include <emscripten/emscripten.h>
#include <emscripten/val.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "Compare.h"
#include "JsValues.h"
#include "Session.h"
#include "image/FileAccess.h"
#include "image/SinFile.h"

using emscripten::val;

namespace {

constexpr const char* kPrefix = "ostreltz-history/";
constexpr const char* kEnabledKey = "ostreltz-history-enabled";

// The origin's storage, or null where the browser keeps the site from storing
// data (reaching it then throws).
val Storage() { return val::module_property("siteStorage")(); }

// The entries' files as items of localStorage, their bytes as hex digits.
class OriginHistoryStore : public IHistoryStore {
public:
    std::vector<std::string> Names() const override {
        std::vector<std::string> names;
        const val storage = Storage();
        if (storage.isNull()) return names;
        const int count = storage["length"].as<int>();
        for (int i = 0; i < count; ++i) {
            const val key = storage.call<val>("key", i);
            if (!key.isString()) continue;
            const std::string k = key.as<std::string>();
            if (k.rfind(kPrefix, 0) == 0) names.push_back(k.substr(std::string_view(kPrefix).size()));
        }
        return names;
    }
    std::optional<std::string> Read(const std::string& name) const override {
        const val storage = Storage();
        if (storage.isNull()) return std::nullopt;
        const val item = storage.call<val>("getItem", std::string(kPrefix) + name);
        if (!item.isString()) return std::nullopt;
        const std::string hex = item.as<std::string>();
        if (hex.size() % 2) return std::nullopt;
        std::string bytes;
        for (std::size_t i = 0; i < hex.size(); i += 2) {
            unsigned value = 0;
            if (std::sscanf(hex.c_str() + i, "%2x", &value) != 1) return std::nullopt;
            bytes.push_back(static_cast<char>(value));
        }
        return bytes;
    }
    std::optional<Failure> Write(const std::string& name, std::string_view bytes) override {
        if (Storage().isNull()) return Fail(TextId::FileNoPermission);
        std::string hex;
        char pair[3];
        for (const char c : bytes) {
            std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(c));
            hex += pair;
        }
        // One item is replaced whole or, when the storage is full, not at all.
        const val ok = val::module_property("storeItem")(std::string(kPrefix) + name, hex);
        if (ok.as<bool>()) return std::nullopt;
        return Fail(TextId::FileDiskFull);
    }
    void Remove(const std::string& name) override {
        const val storage = Storage();
        if (!storage.isNull()) storage.call<void>("removeItem", std::string(kPrefix) + name);
    }
};

OriginHistoryStore& Store() {
    static OriginHistoryStore store;
    return store;
}

// The comparison with the bytes of a file called `name`, checked as a file on
// disk is: { error } in words when the file holds no radio data, else
// { warning } when bytes after the radio data were left out, as opening says.
val CompareWithFile(const std::string& name, const val& bytes) {
    RadioImage image = NewDocumentImage();
    const SinLoadResult result = LoadSinBytes(name, StringOfBytes(bytes), image, EmptySin::Refused);
    val out = val::object();
    out.set("error", result.ok ? std::string() : Describe(result.error));
    out.set("warning", result.ok && result.warning ? Describe(*result.warning) : std::string());
    if (result.ok) TheComparison().Start(image, ComparedName::File(name), TheSession().ImageForSave());
    return out;
}

// { active, name, lines: [{ text, channel, column, tip }] }; channel and
// column are 0 for a line with no cell.
val Comparison() {
    ImageComparison& c = TheComparison();
    c.Refresh(TheSession().ImageForSave());
    val out = val::object();
    out.set("active", c.Active());
    out.set("name", c.Name());
    val lines = val::array();
    for (const ImageDifference& d : c.Differences()) {
        val line = val::object();
        line.set("text", DifferenceLine(d));
        line.set("channel", d.area == DiffArea::ChannelField ? d.channel : 0);
        line.set("column", d.column);
        line.set("tip", c.Tip(d));
        lines.call<void>("push", line);
    }
    out.set("lines", lines);
    return out;
}

// The cell of the next (previous) difference, or null.
val StepDifference(int row, int column, bool forward) {
    const int at = TheComparison().Step(row, column, forward);
    if (at < 0) return val::null();
    const ImageDifference& d = TheComparison().Differences()[static_cast<std::size_t>(at)];
    val out = val::object();
    out.set("row", d.channel);
    out.set("col", d.column);
    return out;
}

void SetHistoryOn(bool on) {
    val::module_property("storeItem")(std::string(kEnabledKey), std::string(on ? "on" : "off"));
}

// [{ name, line, time, write }], newest first.
val HistoryList() {
    val out = val::array();
    const std::vector<HistoryEntry> entries = RadioHistory(Store()).List();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const HistoryEntry& e = entries[i];
        val entry = val::object();
        entry.set("name", e.name);
        entry.set("line", HistoryLine(e, static_cast<int>(i + 1)));
        entry.set("time", HistoryTimeText(e.timeMs));
        entry.set("write", e.write);
        out.call<void>("push", entry);
    }
    return out;
}

// Opens entry `name` as a new document (`open`) or compares with it.
bool UseHistoryEntry(const std::string& name, bool open) {
    const auto image = RadioHistory(Store()).Image(name);
    if (!image) return false;
    if (open) {
        TheDocument().NewHolding(*image);
        return true;
    }
    for (const HistoryEntry& e : RadioHistory(Store()).List())
        if (e.name == name)
            TheComparison().Start(*image, ComparedName::Text(TextId::HistoryEntryName, {HistoryTimeText(e.timeMs)}),
                                  TheSession().ImageForSave());
    return true;
}

}  // namespace

ImageComparison& TheComparison() {
    static ImageComparison comparison;
    return comparison;
}

bool HistoryOn() {
    const val storage = Storage();
    if (storage.isNull()) return false;
    const val value = storage.call<val>("getItem", std::string(kEnabledKey));
    return !value.isString() || value.as<std::string>() != "off";
}

std::optional<Failure> KeepInHistory(const RadioImage& image, bool write, const std::string& port, int radioType) {
    const long long now =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    return RadioHistory(Store(), HistoryLimits{500, 4u * 1024u * 1024u}).Record(image, write, port, radioType, now);
}

EMSCRIPTEN_BINDINGS(ostreltz_compare) {
    using namespace emscripten;
    function("compareWithFile", &CompareWithFile);
    function("comparison", &Comparison);
    function("stepDifference", &StepDifference);
    function("endComparison", optional_override([] { TheComparison().Stop(); }));
    function("historyList", &HistoryList);
    function("useHistoryEntry", &UseHistoryEntry);
    function("historyOn", &HistoryOn);
    function("setHistoryOn", &SetHistoryOn);
}
