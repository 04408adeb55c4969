#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kov {

// Number texts of the system, with the DecimalChar in place of the point. They never go through
// the C locale (a comma locale would change printf and strtod).

// "%-.Nf": the exact decimal value of the double rounded half away from zero to `decimals`
// places; a value that rounds to zero shows no sign.
std::string format_fixed(double x, int decimals, char decimal_char);

// The general text (C's "%.15g"): up to 15 significant digits, trailing zeros dropped, the
// exponent form where %g uses it.
std::string format_general(double x, char decimal_char);

// A whole text as a real number: optional sign, digits, at most one DecimalChar, an optional
// exponent. Anything else (another separator, blanks, "inf") gives nothing.
std::optional<double> parse_real(std::string_view text, char decimal_char);

// A whole text as a 32-bit integer with an optional sign.
std::optional<int> parse_int(std::string_view text);

// Dates are day counts from 30 December 1899 with the time of day as the fraction.
struct DateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, msec = 0;
};
double to_day_count(const DateTime& t);
// Whether a day count is finite and lies within the years 1 to 9999; readers refuse other dates.
bool is_day_count(double days);
// Throws std::invalid_argument for a day count that is_day_count refuses.
DateTime from_day_count(double days);
// The current local date and time as a day count.
double now_day_count();

// The date and time in fixed numeric forms, "DD.MM.YYYY" and "HH:MM:SS", for where no regional
// formats are at hand.
std::string numeric_date_text(double day_count);
std::string numeric_time_text(double day_count);

// A length of time as elapsed hours, minutes and seconds, "H:MM:SS" with `separator` between
// them: whole seconds, hours not wrapped at 24, no AM or PM. A negative or non-finite length
// counts as 0.
std::string duration_text(double seconds, std::string_view separator = ":");

} // namespace kov
