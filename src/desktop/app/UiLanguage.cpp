#include "app/UiLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <vector>

#include "res/ProgramSettings.h"
#include "res/Language.h"

namespace {
const QString kLanguageKey = QStringLiteral("Settings/Language");

std::vector<QTranslator*>& Installed() {
    static std::vector<QTranslator*> translators;
    return translators;
}
}  // namespace

Lang StartLanguage(const QStringList& arguments) {
    std::vector<QByteArray> bytes;
    for (const QString& a : arguments) bytes.push_back(a.toUtf8());
    std::vector<const char*> argv;
    for (const QByteArray& b : bytes) argv.push_back(b.constData());
    if (const auto arg = LanguageArgument(static_cast<int>(argv.size()), argv.data()))
        if (const auto lang = ParseLanguage(*arg)) return *lang;
    if (const auto remembered = ParseLanguage(ProgramSettings().value(kLanguageKey).toString().toStdString()))
        return *remembered;
    return LanguageOfEnvironment();
}

void ApplyLanguage(Lang lang) {
    SetCurrentLanguage(lang);
    for (QTranslator* t : Installed()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    Installed().clear();
    if (lang == Lang::En) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        return;
    }
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    // Qt's own texts (standard buttons and dialogs) are all in qtbase; the
    // combined "qt_zh_CN" catalogue would load it a second time, with others.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
        Installed().push_back(translator);
    } else {
        delete translator;
    }
}

void RememberLanguage(Lang lang) { ProgramSettings().setValue(kLanguageKey, QString::fromLatin1(LanguageCode(lang))); }
