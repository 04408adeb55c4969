#include "io/numbers.h"

#include <clocale>
#include <cmath>

#include <gtest/gtest.h>

using namespace kov;

namespace {

// Runs the checks under the C locale and again under a comma locale (when installed): the
// number texts of the system never depend on it.
class Numbers : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (!std::setlocale(LC_ALL, GetParam())) {
            GTEST_SKIP() << "locale " << GetParam() << " is not installed";
        }
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

} // namespace

TEST_P(Numbers, FixedRoundsTheExactValueHalfAwayFromZero) {
    struct Case {
        double x;
        int decimals;
        const char* text;
    } cases[] = {
        {50.125, 2, "50,13"}, {2.675, 2, "2,67"},     {-50.125, 2, "-50,13"},
        {-0.001, 2, "0,00"},  {0.0, 3, "0,000"},      {9.995, 2, "9,99"},
        {9.9951, 2, "10,00"}, {-9.9951, 2, "-10,00"}, {1234567.5, 1, "1234567,5"},
        {0.05, 1, "0,1"},     {0.25, 1, "0,3"},       {1e20, 1, "100000000000000000000,0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(format_fixed(c.x, c.decimals, ','), c.text) << c.x;
    }
    EXPECT_EQ(format_fixed(1.5, 2, '.'), "1.50");
}

TEST_P(Numbers, GeneralTextLikePercentG15) {
    EXPECT_EQ(format_general(0.1, ','), "0,1");
    EXPECT_EQ(format_general(1e15, ','), "1e+15");
    EXPECT_EQ(format_general(1.5e-5, ','), "1,5e-05");
    EXPECT_EQ(format_general(100, ','), "100");
    EXPECT_EQ(format_general(1.0 / 3, '.'), "0.333333333333333");
}

TEST_P(Numbers, ParsingTakesTheDecimalCharOnly) {
    EXPECT_EQ(parse_real("0,5", ','), 0.5);
    EXPECT_EQ(parse_real("-12", ','), -12.0);
    EXPECT_EQ(parse_real("1,5e3", ','), 1500.0);
    EXPECT_EQ(parse_real("0.5", '.'), 0.5);
    for (const char* bad :
         {"0.5", "", ",", "1,2,3", " 1", "1 ", "inf", "nan", "1e", "--1", "1,5x"}) {
        EXPECT_FALSE(parse_real(bad, ',')) << bad;
    }
    EXPECT_EQ(parse_int("20000"), 20000);
    EXPECT_EQ(parse_int("-3"), -3);
    EXPECT_FALSE(parse_int("2147483648"));
    EXPECT_FALSE(parse_int("1,0"));
    EXPECT_FALSE(parse_int(""));
}

INSTANTIATE_TEST_SUITE_P(Locales, Numbers, ::testing::Values("C", "de_DE.UTF-8", "ru_RU.UTF-8"));

TEST(Dates, DayCountsFromThe30thOfDecember1899) {
    EXPECT_EQ(to_day_count({1899, 12, 30}), 0.0);
    EXPECT_EQ(to_day_count({1900, 1, 1}), 2.0);
    EXPECT_EQ(to_day_count({2026, 12, 10, 12, 0, 0, 0}), 46366.5);
    const DateTime t = from_day_count(46366.75);
    EXPECT_EQ(t.year, 2026);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 10);
    EXPECT_EQ(t.hour, 18);
    EXPECT_EQ(t.minute, 0);
    const double now = now_day_count();
    EXPECT_GT(now, 45000.0);
}

TEST(Dates, DurationsAreElapsedHoursMinutesAndSeconds) {
    struct Case {
        double seconds;
        const char* separator;
        const char* text;
    } cases[] = {
        {0, ":", "0:00:00"},      {59.9, ":", "0:00:59"},  {3725, ":", "1:02:05"},
        {90061, ".", "25.01.01"}, {-3600, ":", "0:00:00"}, {std::nan(""), ":", "0:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(duration_text(c.seconds, c.separator), c.text) << c.seconds;
    }
    EXPECT_EQ(numeric_date_text(46366.75), "10.12.2026");
    EXPECT_EQ(numeric_time_text(46366.75), "18:00:00");
}
