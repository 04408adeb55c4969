#pragma once

#include <QString>

#include <functional>
#include <optional>

// The user's regional settings: the decimal separator and the date and time formats.
struct RegionalSettings {
    char decimalChar = ',';
    QString shortDateFormat = QStringLiteral("dd.MM.yyyy");
    QString longTimeFormat = QStringLiteral("HH:mm:ss");

    // A stored date (a day count from 30 December 1899) in the short date format, and its time
    // in the long time format.
    QString dateText(double dayCount) const;
    QString timeText(double dayCount) const;
};

// The locale that decides the decimal separator: the first set of LC_ALL, LC_NUMERIC and LANG.
// None set is the case "the setting cannot be read" (nullopt). The lookup is a parameter so
// tests can give any environment.
using EnvironmentLookup = std::function<std::optional<QString>(const char*)>;
std::optional<QString> numericLocaleName(const EnvironmentLookup& env);
std::optional<QString> processEnvironment(const char* name);

// Settings of the named locale: its decimal separator ('.' or ','; a locale whose separator
// is neither gets ','), the system's short date and long time formats.
RegionalSettings regionalSettingsFor(const QString& localeName);
