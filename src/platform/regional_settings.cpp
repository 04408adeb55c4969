#include "regional_settings.h"

#include "io/numbers.h"

#include <QDateTime>
#include <QLocale>

#include <cstdlib>

namespace {

QDateTime toDateTime(double dayCount) {
    const kov::DateTime t = kov::from_day_count(dayCount);
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second, t.msec));
}

// Qt's long time format names the time zone ("HH:mm:ss t"); the times of the system are local
// times of day and durations, which carry none.
QString withoutTimeZone(const QString& format) {
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        }
        if (!quoted && c == QLatin1Char('t')) {
            continue;
        }
        out += c;
    }
    return out.trimmed();
}

} // namespace

QString RegionalSettings::dateText(double dayCount) const {
    return toDateTime(dayCount).date().toString(shortDateFormat);
}

QString RegionalSettings::timeText(double dayCount) const {
    return toDateTime(dayCount).time().toString(longTimeFormat);
}

QString RegionalSettings::dateTimeText(double dayCount) const {
    const kov::DateTime t = kov::from_day_count(dayCount);
    if (t.hour == 0 && t.minute == 0 && t.second == 0 && t.msec == 0) {
        return dateText(dayCount);
    }
    return dateText(dayCount) + QLatin1Char(' ') + timeText(dayCount);
}

QString RegionalSettings::timeSeparator() const {
    // The character after the hours, outside quoted literal text.
    bool quoted = false;
    for (qsizetype i = 0; i < longTimeFormat.size(); ++i) {
        const QChar c = longTimeFormat[i];
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && (c == QLatin1Char('h') || c == QLatin1Char('H'))) {
            while (i + 1 < longTimeFormat.size() &&
                   longTimeFormat[i + 1].toLower() == QLatin1Char('h')) {
                ++i;
            }
            if (i + 1 < longTimeFormat.size()) {
                const QChar next = longTimeFormat[i + 1];
                if (!next.isLetter() && next != QLatin1Char('\'')) {
                    return QString(next);
                }
            }
            break;
        }
    }
    return QStringLiteral(":");
}

QString RegionalSettings::durationText(double seconds) const {
    return QString::fromStdString(kov::duration_text(seconds, timeSeparator().toStdString()));
}

kov::RunClock runClock(const RegionalSettings& settings) {
    kov::RunClock clock = kov::default_run_clock();
    clock.time_text = [settings](double t) { return settings.timeText(t).toStdString(); };
    clock.date_text = [settings](double t) { return settings.dateText(t).toStdString(); };
    clock.duration_text = [settings](double s) { return settings.durationText(s).toStdString(); };
    return clock;
}

std::optional<QString> processEnvironment(const char* name) {
    const char* v = std::getenv(name);
    if (!v) {
        return std::nullopt;
    }
    return QString::fromLocal8Bit(v);
}

std::optional<QString> numericLocaleName(const EnvironmentLookup& env) {
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        if (const auto v = env(name); v && !v->isEmpty()) {
            return v;
        }
    }
    return std::nullopt;
}

UserRegionalSettings userRegionalSettings(const EnvironmentLookup& env) {
    const auto locale = numericLocaleName(env);
    if (!locale) {
        UserRegionalSettings user{regionalSettingsFor(QStringLiteral("C")), false};
        user.settings.decimalChar = ',';
        return user;
    }
    return {regionalSettingsFor(*locale), true};
}

RegionalSettings regionalSettingsFor(const QString& localeName) {
    QString name = localeName.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    const QLocale numeric = (name == QLatin1String("C") || name == QLatin1String("POSIX"))
                                ? QLocale::c()
                                : QLocale(name);
    RegionalSettings s;
    const QString point = numeric.decimalPoint();
    s.decimalChar = point == QLatin1String(".") ? '.' : ',';
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C) {
        // The C locale's short date ("d MMM yyyy") is longer than the 10 characters a database
        // keeps of its date of saving; the numeric ISO date fits and reads the same everywhere.
        s.shortDateFormat = QStringLiteral("yyyy-MM-dd");
        s.longTimeFormat = QStringLiteral("HH:mm:ss");
        return s;
    }
    s.shortDateFormat = system.dateFormat(QLocale::ShortFormat);
    s.longTimeFormat = withoutTimeZone(system.timeFormat(QLocale::LongFormat));
    return s;
}
