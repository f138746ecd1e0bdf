#include "history/RadioHistory.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sstream>

#include "image/ChannelCodec.h"
#include "image/ChannelTable.h"
#include "image/FileAccess.h"
#include "image/SinFile.h"
#include "res/Texts.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kImageExtension = ".sin";
constexpr const char* kFactsExtension = ".txt";
constexpr std::size_t kLargestFacts = 4096;
// The largest file an entry has.
constexpr std::size_t kLargestFile = kImageSize > kLargestFacts ? kImageSize : kLargestFacts;

bool EndsWith(const std::string& s, std::string_view end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// "20261209-144349-123", in UTC so that names sort whatever the time zone.
std::string TimeName(long long timeMs) {
    const std::time_t seconds = static_cast<std::time_t>(timeMs / 1000);
    std::tm utc{};
    ::gmtime_r(&seconds, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d-%03d", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                  utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(timeMs % 1000));
    return text;
}

// A port name on one line, whatever the caller was given.
std::string OneLine(const std::string& text) {
    std::string line = text;
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return line;
}

std::string FactsText(const HistoryEntry& e) {
    std::ostringstream out;
    out << "time=" << e.timeMs << "\n"
        << "direction=" << (e.write ? "write" : "read") << "\n"
        << "port=" << OneLine(e.port) << "\n"
        << "type=" << e.radioType << "\n"
        << "channels=" << e.channels << "\n";
    return out.str();
}

bool ParseNumber(const std::string& text, long long low, long long high, long long& out) {
    if (text.empty() || text.size() > 19) return false;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return false;
    out = value;
    return true;
}

// The facts of an entry; nothing when any of them is missing or odd.
std::optional<HistoryEntry> ParseFacts(const std::string& name, const std::string& text) {
    HistoryEntry e;
    e.name = name;
    int seen = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) return std::nullopt;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        long long number = 0;
        if (key == "time" && ParseNumber(value, 0, 253402300799999LL, number)) {
            e.timeMs = number;
        } else if (key == "direction" && (value == "read" || value == "write")) {
            e.write = value == "write";
        } else if (key == "port") {
            e.port = value;
        } else if (key == "type" && ParseNumber(value, 0, 255, number)) {
            e.radioType = static_cast<int>(number);
        } else if (key == "channels" && ParseNumber(value, 0, kChannelCount, number)) {
            e.channels = static_cast<int>(number);
        } else {
            return std::nullopt;
        }
        ++seen;
    }
    if (seen != 5) return std::nullopt;
    return e;
}

int ChannelsInUse(const RadioImage& image) {
    int count = 0;
    for (int n = 1; n <= kChannelCount; ++n) count += ChannelInUse(RecordAt(image, n)) ? 1 : 0;
    return count;
}

}  // namespace

std::vector<std::string> FolderHistoryStore::Names() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) names.push_back(it->path().filename().string());
    return names;
}

std::optional<Failure> FolderHistoryStore::ListFailure() const {
    std::error_code ec;
    const fs::file_status status = fs::status(m_folder, ec);
    if (status.type() == fs::file_type::not_found) {
        // No folder yet, unless a file stands where one of its folders should.
        const fs::path above = fs::path(FirstMissingPart(m_folder)).parent_path();
        if (fs::exists(above, ec) && !fs::is_directory(above, ec))
            return OpenFailure(m_folder, Clause{TextId::FilePathNotFolder, {}});
        return std::nullopt;
    }
    if (!ec && status.type() != fs::file_type::directory)
        return OpenFailure(m_folder, Clause{TextId::FileNotFolder, {}});
    if (!ec) fs::directory_iterator(m_folder, ec);
    if (ec) return OpenFailure(m_folder, FileErrorReason(ec.value()));
    return std::nullopt;
}

Failure IHistoryStore::ReadFailure(const std::string& name) const { return SinDamagedFailure(name); }

std::optional<std::string> FolderHistoryStore::Read(const std::string& name) const {
    FileRead read = ReadRegularFile(m_folder + "/" + name, kLargestFile, true);
    if (!read.ok) return std::nullopt;
    return std::move(read.bytes);
}

Failure FolderHistoryStore::ReadFailure(const std::string& name) const {
    const std::string path = m_folder + "/" + name;
    FileRead read = ReadRegularFile(path, kLargestFile, true);
    return read.ok ? SinDamagedFailure(path) : read.error;
}

std::optional<Failure> FolderHistoryStore::Write(const std::string& name, std::string_view bytes) {
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    if (ec) return SaveFailure(m_folder, FileErrorReason(ec.value()));
    return WriteFileAtomically(m_folder + "/" + name, bytes);
}

void FolderHistoryStore::Remove(const std::string& name) {
    std::error_code ec;
    fs::remove(m_folder + "/" + name, ec);
}

std::optional<Failure> RadioHistory::Record(const RadioImage& image, bool write, const std::string& port, int radioType,
                                            long long timeMs) {
    HistoryEntry e;
    e.timeMs = timeMs;
    e.write = write;
    e.port = port;
    e.radioType = radioType & 0xFF;
    e.channels = ChannelsInUse(image);
    const std::vector<std::string> names = m_store.Names();
    const std::string stem = TimeName(timeMs) + (write ? "-write" : "-read");
    e.name = stem;
    for (int n = 2; std::find(names.begin(), names.end(), e.name + kImageExtension) != names.end(); ++n)
        e.name = stem + "-" + std::to_string(n);
    const std::string bytes(image.begin(), image.end());
    MakeRoom(bytes.size() + FactsText(e).size());
    if (std::optional<Failure> failure = m_store.Write(e.name + kImageExtension, bytes)) return failure;
    if (std::optional<Failure> failure = m_store.Write(e.name + kFactsExtension, FactsText(e))) {
        m_store.Remove(e.name + kImageExtension);
        return failure;
    }
    return std::nullopt;
}

std::vector<HistoryEntry> RadioHistory::List() const {
    const std::vector<std::string> names = m_store.Names();
    std::vector<HistoryEntry> entries;
    for (const std::string& file : names) {
        if (!EndsWith(file, kFactsExtension)) continue;
        const std::string name = file.substr(0, file.size() - std::string_view(kFactsExtension).size());
        if (std::find(names.begin(), names.end(), name + kImageExtension) == names.end()) continue;
        const auto facts = m_store.Read(file);
        if (!facts) continue;
        if (auto entry = ParseFacts(name, *facts)) entries.push_back(std::move(*entry));
    }
    std::sort(entries.begin(), entries.end(), [](const HistoryEntry& a, const HistoryEntry& b) {
        return a.timeMs != b.timeMs ? a.timeMs > b.timeMs : a.name > b.name;
    });
    return entries;
}

std::optional<RadioImage> RadioHistory::Image(const std::string& name) const {
    const auto bytes = m_store.Read(name + kImageExtension);
    if (!bytes || bytes->size() != kImageSize) return std::nullopt;
    RadioImage image;
    std::copy(bytes->begin(), bytes->end(), image.begin());
    return image;
}

Failure RadioHistory::ImageFailure(const std::string& name) const {
    return m_store.ReadFailure(name + kImageExtension);
}

void RadioHistory::MakeRoom(std::size_t roomBytes) {
    std::size_t kept = 0, total = roomBytes;
    for (const HistoryEntry& e : List()) {
        const std::size_t size = kImageSize + FactsText(e).size();
        if (kept + 1 < m_limits.images && total + size <= m_limits.bytes) {
            ++kept;
            total += size;
            continue;
        }
        m_store.Remove(e.name + kFactsExtension);
        m_store.Remove(e.name + kImageExtension);
    }
}

std::string HistoryFolder(const char* xdgDataHome, const char* home) {
    std::string base;
    if (xdgDataHome && *xdgDataHome)
        base = xdgDataHome;
    else
        base = std::string(home ? home : "") + "/.local/share";
    return base + "/ostreltz/history";
}

std::string HistoryTimeText(long long timeMs) {
    const std::time_t seconds = static_cast<std::time_t>(timeMs / 1000);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string HistoryLine(const HistoryEntry& entry, int number) {
    return TrFormat(TextId::HistoryLine, {std::to_string(number), HistoryTimeText(entry.timeMs),
                                          Tr(entry.write ? TextId::HistoryWrite : TextId::HistoryRead), entry.port,
                                          RadioTypeText(entry.radioType), std::to_string(entry.channels)});
}

std::string NotKeptText(const Failure& failure) { return TrFormat(TextId::HistoryNotKept, {Describe(failure)}); }

std::string BackupNotKeptText(const Failure& failure) {
    return NotKeptText(failure) + "\n" + Tr(TextId::BackupNotKept);
}
