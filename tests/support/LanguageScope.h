#pragma once
// Shows every text in one language for the life of a test, then the one before.
#include "res/Texts.h"

class LanguageScope {
public:
    explicit LanguageScope(Lang lang) : m_before(CurrentLanguage()) { SetCurrentLanguage(lang); }
    ~LanguageScope() { SetCurrentLanguage(m_before); }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

private:
    Lang m_before;
};
