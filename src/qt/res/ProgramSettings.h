#pragma once
// The program's stored settings (recent files, language), in one place
// whatever language the program shows.
#include <QSettings>

#include "res/Strings.h"
#include "res/Texts.h"

inline QSettings ProgramSettings() {
    return QSettings(QString::fromUtf8(text::kSettingsKey), QString::fromUtf8(Tr(TextId::AppTitle, Lang::Zh)));
}
