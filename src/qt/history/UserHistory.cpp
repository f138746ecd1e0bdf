#include "history/UserHistory.h"

#include <QDateTime>
#include <cstdlib>

#include "history/RadioHistory.h"
#include "res/ProgramSettings.h"

namespace {
const QString kEnabledKey = QStringLiteral("History/Enabled");
}  // namespace

bool HistoryEnabled() { return ProgramSettings().value(kEnabledKey, true).toBool(); }

void SetHistoryEnabled(bool enabled) { ProgramSettings().setValue(kEnabledKey, enabled); }

std::string UserHistoryFolder() { return HistoryFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }

std::string KeepTransfer(const RadioImage& image, bool write, const std::string& port, int radioType) {
    if (!HistoryEnabled()) return {};
    FolderHistoryStore store(UserHistoryFolder());
    std::string error;
    if (RadioHistory(store).Record(image, write, port, radioType, QDateTime::currentMSecsSinceEpoch(), &error))
        return {};
    return error;
}
