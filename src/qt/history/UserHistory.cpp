#include "history/UserHistory.h"

#include <QDateTime>
#include <cstdlib>
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
    return CheckSavePlace(file).value_or(SaveFailure(file, {TextId::FileNoPermission, {}}));
}

std::string UserHistoryFolder() { return HistoryFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }

std::optional<Failure> KeepInUserHistory(const RadioImage& image, bool write, const std::string& port, int radioType) {
    static std::mutex oneAtATime;
    const std::lock_guard<std::mutex> lock(oneAtATime);
    FolderHistoryStore store(UserHistoryFolder());
    return RadioHistory(store).Record(image, write, port, radioType, QDateTime::currentMSecsSinceEpoch());
}
