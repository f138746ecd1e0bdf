#include "history/UserHistory.h"

#include <QDateTime>
#include <cstdlib>

#include "history/RadioHistory.h"
#include "image/FileAccess.h"
#include "res/ProgramSettings.h"

namespace {
const QString kEnabledKey = QStringLiteral("History/Enabled");

std::optional<Failure> Keep(const RadioImage& image, bool write, const std::string& port, int radioType) {
    FolderHistoryStore store(UserHistoryFolder());
    return RadioHistory(store).Record(image, write, port, radioType, QDateTime::currentMSecsSinceEpoch());
}
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

std::optional<Failure> KeepTransfer(const RadioImage& image, bool write, const std::string& port, int radioType) {
    if (!HistoryEnabled()) return std::nullopt;
    return Keep(image, write, port, radioType);
}

std::optional<Failure> KeepBackup(const RadioImage& image, const std::string& port, int radioType) {
    return Keep(image, false, port, radioType);
}
