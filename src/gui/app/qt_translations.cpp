#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

std::unique_ptr<QTranslator> installQtTranslations(const std::string& shellSuffix) {
    // A shell's suffix is the language's three-letter code (rus, ukr, eng, ...).
    const QLocale::Language language = QLocale::codeToLanguage(
        QString::fromStdString(shellSuffix).toLower(), QLocale::ISO639Part2);
    if (language == QLocale::AnyLanguage || language == QLocale::English) {
        return nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return nullptr;
    }
    QCoreApplication::installTranslator(translator.get());
    return translator;
}
