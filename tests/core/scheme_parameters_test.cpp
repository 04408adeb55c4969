// The ranges of the optimisation module's parameter step, shared by the window and kov-batch.
#include "optim/scheme_parameters.h"

#include <gtest/gtest.h>

using namespace kov;

TEST(SchemeParameters, RangesOfTheParameterStep) {
    struct Case {
        SchemeField field;
        double value;
        bool admitted;
    } cases[] = {
        {SchemeField::Omega, 0.3, false},      {SchemeField::Omega, 0.49998, false},
        {SchemeField::Omega, 0.5, true},       {SchemeField::Omega, 0.99, true},
        {SchemeField::Omega, 0.99999, false},  {SchemeField::Threshold, 0.0009, false},
        {SchemeField::Threshold, 0.001, true}, {SchemeField::Threshold, 0.1, true},
        {SchemeField::Threshold, 0.11, false}, {SchemeField::CheckEvery, 0, false},
        {SchemeField::CheckEvery, 1, true},    {SchemeField::MaxCycles, 9, false},
        {SchemeField::MaxCycles, 10, true},    {SchemeField::MaxCycles, 3000, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(scheme_value_admitted(c.field, c.value), c.admitted)
            << int(c.field) << " " << c.value;
    }
}
