#pragma once
// A text of the table as a QString, in the current language.
#include <QString>

#include "res/Texts.h"

inline QString QTr(TextId id) { return QString::fromUtf8(Tr(id)); }
