#include "dbor/expected_income.h"

#include "io/error.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace kov;

namespace {

const std::vector<DborPoint> kLinear{{0, 0}, {10, 1}};
// Four segments; the third is degenerate (narrower than 1e-6).
const std::vector<DborPoint> kStepped{{0, 0}, {2, 0.2}, {6, 0.6}, {6.0000005, 0.8}, {10, 1}};

struct Case {
    const char* what;
    const std::vector<DborPoint>* curve;
    int prmp;
    double amount, duration, horizon, expected;
};

const Case kCases[] = {
    {"sale half way through the delay", &kLinear, 1, 100, 2, 7, 50},
    {"earning a quarter of the way", &kLinear, 2, 10, 0, 5, 12.5},
    {"earning at the last point counts the whole segment", &kLinear, 2, 10, 0, 10, 50},
    {"earning past the last point", &kLinear, 2, 10, 0, 20, 150},
    {"sale past the last point is the whole amount", &kLinear, 1, 123.25, 0, 1e6, 123.25},
    {"sale: modernisation ends after the horizon", &kLinear, 1, 100, 8, 7, 0},
    {"earning: modernisation ends after the horizon", &kLinear, 2, 10, 8, 7, 0},
    {"sale at d = 0", &kLinear, 1, 100, 3, 3, 0},
    {"earning at d = 0", &kLinear, 2, 10, 3, 3, 0},
    {"sale: whole first segment, part of the second", &kStepped, 1, 100, 0, 4, 40},
    {"earning: whole first segment, part of the second", &kStepped, 2, 10, 0, 4, 8},
    {"sale: a degenerate segment adds nothing and ends the walk", &kStepped, 1, 100, 0, 6.0000002,
     60},
};

} // namespace

TEST(ExpectedIncome, Cases) {
    for (const Case& c : kCases) {
        EXPECT_NEAR(expected_income(*c.curve, c.amount, c.duration, c.prmp, c.horizon), c.expected,
                    1e-9)
            << c.what;
    }
}

TEST(ExpectedIncome, RefusesAVariantWithoutCurve) {
    const std::vector<DborPoint> none;
    const std::vector<DborPoint> one{{0, 0}};
    EXPECT_THROW(expected_income(none, 100, 0, 1, 5), std::invalid_argument);
    EXPECT_THROW(expected_income(one, 100, 0, 2, 5), std::invalid_argument);
    EXPECT_THROW(expected_income(kLinear, 100, 0, 3, 5), std::invalid_argument);
}

TEST(ExpectedIncome, OfADatabaseObject) {
    // One object with variant 0 (a sale variant without curve, one with) and variant 1 (an
    // exploitation variant with a curve).
    BdonData db;
    db.path = "/ws/Dbor/A_001_dbor_eng.dat";
    db.objects.resize(1);
    db.variants = {{DborVariant{}, DborVariant{"", 50, 2, 0, 1}}};
    db.sale_variants = {{{{100, 0}, {100, 2}}, {}}};
    db.expl_variants = {{{}, {{10, 2}}}};
    db.sale_points = {{{{}, kLinear}, {}}};
    db.expl_points = {{{}, {kLinear}}};

    EXPECT_DOUBLE_EQ(expected_income(db, 1, 0, 0, 1, 5), 50);
    EXPECT_DOUBLE_EQ(expected_income(db, 2, 0, 1, 0, 7), 12.5); // duration 2 taken from variant 1

    auto refused = [&](int prmp, int object, int modernisation, int income, const char* detail) {
        try {
            expected_income(db, prmp, object, modernisation, income, 5);
            ADD_FAILURE() << "accepted: " << detail;
        } catch (const FileError& e) {
            EXPECT_EQ(e.file(), db.path);
            EXPECT_NE(e.detail().find(detail), std::string::npos) << e.detail();
        }
    };
    refused(1, 0, 0, 0, "no delay curve");
    refused(1, 1, 0, 0, "not in the database");
    refused(1, 0, 2, 0, "not in the database");
    refused(2, 0, 1, 1, "not in the database");
    refused(1, 0, 1, 0, "not in the database"); // variant 1 has no sale variants
    refused(1, -1, 0, 0, "not in the database");
}
