#pragma once

#include <QTranslator>

#include <memory>
#include <string>

// Qt's own texts (the buttons of message boxes, the context menus of fields) in the language of
// a shell, from the translations the system's Qt installs. The translator is installed on the
// application for as long as the returned object lives; null when Qt has no translation for the
// language (English needs none).
std::unique_ptr<QTranslator> installQtTranslations(const std::string& shellSuffix);
