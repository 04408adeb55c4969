#include "io/numbers.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <stdexcept>
#include <system_error>

namespace kov {

namespace {

void put_decimal_char(std::string& s, char decimal_char) {
    for (char& c : s) {
        if (c == '.') {
            c = decimal_char;
        }
    }
}

// Adds one unit in the last place of a digit string of the form [-]ddd[.ddd].
void increment_last(std::string& s) {
    int i = int(s.size()) - 1;
    for (; i >= 0; --i) {
        if (s[i] == '.') {
            continue;
        }
        if (s[i] == '-') {
            break;
        }
        if (s[i] == '9') {
            s[i] = '0';
        } else {
            ++s[i];
            return;
        }
    }
    s.insert(std::size_t(i + 1), 1, '1');
}

} // namespace

std::string format_fixed(double x, int decimals, char decimal_char) {
    if (!std::isfinite(x)) {
        return std::isnan(x) ? "NAN" : (x < 0 ? "-INF" : "INF");
    }
    // The exact decimal expansion: a double has at most 1074 digits after the point.
    static thread_local char buf[1500];
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 1080);
    std::string exact(buf, r.ptr);
    const auto point = exact.find('.');
    std::string out = exact.substr(0, decimals > 0 ? point + 1 + std::size_t(decimals) : point);
    if (exact[point + 1 + std::size_t(decimals)] >= '5') {
        increment_last(out);
    }
    bool zero = true;
    for (char c : out) {
        zero = zero && (c == '0' || c == '.' || c == '-');
    }
    if (zero && !out.empty() && out[0] == '-') {
        out.erase(0, 1);
    }
    put_decimal_char(out, decimal_char);
    return out;
}

std::string format_general(double x, char decimal_char) {
    if (!std::isfinite(x)) {
        return std::isnan(x) ? "NAN" : (x < 0 ? "-INF" : "INF");
    }
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
    std::string out(buf, r.ptr);
    put_decimal_char(out, decimal_char);
    return out;
}

std::optional<double> parse_real(std::string_view text, char decimal_char) {
    std::string s;
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            s += text[i++];
        }
        return i - start;
    };
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') {
            s += '-';
        }
        ++i;
    }
    std::size_t mantissa = digits();
    if (i < text.size() && text[i] == decimal_char) {
        s += '.';
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        s += 'e';
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            s += text[i++];
        }
        if (digits() == 0) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

std::optional<int> parse_int(std::string_view text) {
    std::size_t start = 0;
    if (!text.empty() && text[0] == '+') {
        start = 1;
    }
    if (start >= text.size() || (text[start] == '-' && start + 1 >= text.size())) {
        return std::nullopt;
    }
    int v = 0;
    const auto r = std::from_chars(text.data() + start, text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return v;
}

namespace {

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
long days_from_civil(int y, int m, int d) {
    using namespace std::chrono;
    return sys_days(year(y) / month(unsigned(m)) / day(unsigned(d))).time_since_epoch().count();
}

constexpr long kEpochOffset = 25569; // 1970-01-01 as a day count from 1899-12-30

} // namespace

double to_day_count(const DateTime& t) {
    const long days = days_from_civil(t.year, t.month, t.day) + kEpochOffset;
    const double frac =
        (t.hour * 3600000.0 + t.minute * 60000.0 + t.second * 1000.0 + t.msec) / 86400000.0;
    // Before the epoch day the fraction counts away from zero, as the stored format has it.
    return days >= 0 ? double(days) + frac : double(days) - frac;
}

namespace {

// The day and the milliseconds of the day of a day count; false when it is not finite or lies
// outside the years 1 to 9999.
bool split_day_count(double value, long& days, long long& ms) {
    // 0001-01-01 and 9999-12-31 as day counts.
    constexpr long kFirstDay = -693593;
    constexpr long kLastDay = 2958465;
    if (!std::isfinite(value) || value <= kFirstDay - 1.0 || value >= kLastDay + 1.0) {
        return false;
    }
    const double whole = std::trunc(value);
    ms = std::llround(std::fabs(value - whole) * 86400000.0);
    days = long(whole);
    if (ms >= 86400000) {
        ms -= 86400000;
        days += value >= 0 ? 1 : -1;
    }
    return days >= kFirstDay && days <= kLastDay;
}

} // namespace

bool is_day_count(double value) {
    long days = 0;
    long long ms = 0;
    return split_day_count(value, days, ms);
}

DateTime from_day_count(double value) {
    using namespace std::chrono;
    long days = 0;
    long long ms = 0;
    if (!split_day_count(value, days, ms)) {
        throw std::invalid_argument("the day count " + std::to_string(value) +
                                    " is no date of the years 1 to 9999");
    }
    const year_month_day ymd{sys_days{std::chrono::days{days - kEpochOffset}}};
    DateTime t;
    t.year = int(ymd.year());
    t.month = int(unsigned(ymd.month()));
    t.day = int(unsigned(ymd.day()));
    t.hour = int(ms / 3600000);
    t.minute = int(ms / 60000 % 60);
    t.second = int(ms / 1000 % 60);
    t.msec = int(ms % 1000);
    return t;
}

double now_day_count() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t tt = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&tt, &local);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    return to_day_count({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min, local.tm_sec, int(ms)});
}

namespace {

std::string two_digits(long long v) {
    return std::string{char('0' + v / 10 % 10), char('0' + v % 10)};
}

} // namespace

std::string numeric_date_text(double day_count) {
    const DateTime d = from_day_count(day_count);
    return two_digits(d.day) + "." + two_digits(d.month) + "." + std::to_string(d.year);
}

std::string numeric_time_text(double day_count) {
    const DateTime d = from_day_count(day_count);
    return two_digits(d.hour) + ":" + two_digits(d.minute) + ":" + two_digits(d.second);
}

std::string duration_text(double seconds, std::string_view separator) {
    const long long whole =
        std::isfinite(seconds) && seconds > 0 ? static_cast<long long>(std::min(seconds, 1e12)) : 0;
    const std::string sep(separator);
    return std::to_string(whole / 3600) + sep + two_digits(whole / 60 % 60) + sep +
           two_digits(whole % 60);
}

} // namespace kov
