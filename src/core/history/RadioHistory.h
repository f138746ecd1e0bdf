#pragma once
// Every image read from or written to a radio, kept so that the user can see
// what a radio held before it was overwritten. An entry is two files of one
// name: NAME.sin, the image itself (a document like any other), and
// NAME.txt, what it was: the time, the direction, the port, the radio's
// identification byte and the number of channels in use. The name starts
// with the time, so names sort as the entries were made. The image is
// written first; an entry counts once both files are whole.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/RadioImage.h"
#include "res/Failure.h"

struct HistoryEntry {
    std::string name;      // "20261209-144349-123-read", without extension
    long long timeMs = 0;  // milliseconds since 1970-01-01 UTC
    bool write = false;    // written to the radio; else read from it
    std::string port;
    int radioType = 0xFF;  // byte 4 of the radio's identification
    int channels = 0;      // channels in use in the image
};

struct HistoryLimits {
    std::size_t images = 500;                 // the newest entries kept
    std::size_t bytes = 50u * 1024u * 1024u;  // the most all entries may take
};

// Where the entries live: a folder on disk, or the page's origin storage.
class IHistoryStore {
public:
    virtual ~IHistoryStore() = default;
    // Every file name in the store.
    virtual std::vector<std::string> Names() const = 0;
    virtual std::optional<std::string> Read(const std::string& name) const = 0;
    // Why file `name` cannot be taken as an entry's: by default, its data is damaged.
    virtual Failure ReadFailure(const std::string& name) const;
    // Whole or not at all; the failure when it could not.
    virtual std::optional<Failure> Write(const std::string& name, std::string_view bytes) = 0;
    virtual void Remove(const std::string& name) = 0;
};

// A folder on disk, created when the first entry is written; every file goes
// through the atomic writer.
class FolderHistoryStore : public IHistoryStore {
public:
    explicit FolderHistoryStore(std::string folder) : m_folder(std::move(folder)) {}
    std::vector<std::string> Names() const override;
    // Why the folder's entries cannot be listed (it is a file, or may not be
    // read); none when they can, or when there is no folder yet.
    std::optional<Failure> ListFailure() const;
    std::optional<std::string> Read(const std::string& name) const override;
    // The file's own trouble (no permission, too large) before damaged data.
    Failure ReadFailure(const std::string& name) const override;
    std::optional<Failure> Write(const std::string& name, std::string_view bytes) override;
    void Remove(const std::string& name) override;
    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
};

class RadioHistory {
public:
    explicit RadioHistory(IHistoryStore& store, HistoryLimits limits = {}) : m_store(store), m_limits(limits) {}

    // Keeps `image` as a new entry, after removing the oldest entries that
    // leave it no room within the limits: a store that filled up beyond them
    // takes it again. The failure when it could not be kept.
    std::optional<Failure> Record(const RadioImage& image, bool write, const std::string& port, int radioType,
                                  long long timeMs);
    // The whole entries, newest first.
    std::vector<HistoryEntry> List() const;
    // The image of an entry; nothing when its file is gone or damaged.
    std::optional<RadioImage> Image(const std::string& name) const;
    // Why Image gave nothing for entry `name`.
    Failure ImageFailure(const std::string& name) const;

private:
    // Removes the oldest entries until one more of `roomBytes` fits the limits.
    void MakeRoom(std::size_t roomBytes);

    IHistoryStore& m_store;
    HistoryLimits m_limits;
};

// The folder of the history: $XDG_DATA_HOME/ostreltz/history, or
// $HOME/.local/share/ostreltz/history when XDG_DATA_HOME is unset or empty.
std::string HistoryFolder(const char* xdgDataHome, const char* home);
// The entry's time in local time, "2026-12-09 14:43:49".
std::string HistoryTimeText(long long timeMs);
// The listing's line of entry number `number` (1 = newest):
// "1  2026-12-09 14:43:49  读频  /dev/ttyUSB0  识别 FF  6 个频道".
std::string HistoryLine(const HistoryEntry& entry, int number);

// "这次的数据没有存入历史记录：…" with the failure that kept a transfer out.
std::string NotKeptText(const Failure& failure);
// The same for the backup before a write, and that nothing was written.
std::string BackupNotKeptText(const Failure& failure);
