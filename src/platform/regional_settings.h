#pragma once

#include "optim/solve_task.h"

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
    // The date followed by the time, the time left out when it is midnight.
    QString dateTimeText(double dayCount) const;
    // A length of time in seconds as elapsed hours, minutes and seconds ("H:MM:SS" with the
    // long time format's separator), never as a time of day: no AM or PM, no wrap at 24 hours.
    QString durationText(double seconds) const;
    // The separator between hours and minutes in the long time format (":" when it has none).
    QString timeSeparator() const;
};

// The system clocks of a run of the optimisation module with its times, dates and duration in
// these settings' formats.
kov::RunClock runClock(const RegionalSettings& settings);

// The locale that decides the decimal separator: the first set of LC_ALL, LC_NUMERIC and LANG.
// None set is the case "the setting cannot be read" (nullopt). The lookup is a parameter so
// tests can give any environment.
using EnvironmentLookup = std::function<std::optional<QString>(const char*)>;
std::optional<QString> numericLocaleName(const EnvironmentLookup& env);
std::optional<QString> processEnvironment(const char* name);

// The user's settings as the program reads them at start: those of the locale that
// numericLocaleName finds, or, when none is set, the C locale's formats with ',' as the
// DecimalChar and `fromLocale` false (the caller then gives the shell's warning 320).
struct UserRegionalSettings {
    RegionalSettings settings;
    bool fromLocale = true;
};
UserRegionalSettings userRegionalSettings(const EnvironmentLookup& env = processEnvironment);

// Settings of the named locale: its decimal separator ('.' or ','; a locale whose separator
// is neither gets ','), the system's short date and long time formats.
RegionalSettings regionalSettingsFor(const QString& localeName);
