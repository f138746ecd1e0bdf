#pragma once
// The desktop program's language: `--lang zh|en`, else the choice remembered
// from the menu, else the system locale. Qt's own dialogs and buttons follow.
#include <QStringList>

#include "res/Texts.h"

// The language to start in, given the program's arguments.
Lang StartLanguage(const QStringList& arguments);
// Shows every text from now on in `lang`, Qt's standard texts included.
void ApplyLanguage(Lang lang);
// Remembers `lang` for the next start.
void RememberLanguage(Lang lang);
