#include "history/UserHistory.h"

#include <QDateTime>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "history/RadioHistory.h"
#include "image/FileAccess.h"
#include "res/ProgramSettings.h"

namespace {
const QString kEnabledKey = QStringLiteral("History/Enabled");
}  // namespace

bool HistoryEnabled() { return ProgramSettings().value(kEnabledKey, true).toBool(); }

std::optional<Failure> SetHistoryEnabled(bool enabled) {
    QSettings settings = ProgramSettings();
    const QVariant before = settings.value(kEnabledKey);
    settings.setValue(kEnabledKey, enabled);
    settings.sync();
    if (settings.status() == QSettings::NoError) return std::nullopt;
    // What is read from now on is what is stored.
    if (before.isValid())
        settings.setValue(kEnabledKey, before);
    else
        settings.remove(kEnabledKey);
    const std::string file = settings.fileName().toStdString();
    // The settings' folders are made as they are needed: the reason lies with
    // the nearest one that is there.
    const std::optional<Failure> found = CheckSavePlace(FirstMissingPart(file));
    return SaveFailure(file,
                       found && found->lines.size() > 1 ? found->lines.back() : Clause{TextId::FileNoPermission, {}});
}

std::string UserHistoryFolder() { return HistoryFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }

std::optional<Failure> KeepInUserHistory(const RadioImage& image, bool write, const std::string& port, int radioType) {
    // One entry at a time, from this program's threads and from other runs
    // of the programs: each picks a name no other entry has.
    static std::mutex oneAtATime;
    const std::lock_guard<std::mutex> lock(oneAtATime);
    const std::string folder = UserHistoryFolder();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const FolderLock turn(folder);
    FolderHistoryStore store(folder);
    return RadioHistory(store).Record(image, write, port, radioType, QDateTime::currentMSecsSinceEpoch());
}
