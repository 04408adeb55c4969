#pragma once

#include "dbor/bdon.h"

#include <span>

namespace kov {

// The expected income that a chosen object brings by the horizon (time units from the start of
// the investment). The object is modernised first (`duration`); then, after a random delay whose
// distribution function is the piecewise-linear `curve` (x the delay, y the probability that it
// has ended), it is sold for `amount` (prmp 1) or starts to earn `amount` per time unit (prmp 2).
// The mass of each curve segment counts as spread evenly over the segment.
//
// A curve of fewer than 2 points has no segments: such an income variant cannot be valued and is
// refused with std::invalid_argument, as is a prmp other than 1 or 2.
double expected_income(std::span<const DborPoint> curve, double amount, double duration, int prmp,
                       double horizon);

// The delay curve of an income variant of the database: the sale variant (prmp 1) or the
// exploitation variant (prmp 2) `income` of modernisation variant `modernisation` of object
// `object`, all 0-based. A database corrected after its task was defined may have lost the
// object, the variant or the curve: refused with a FileError (format) naming the database.
std::span<const DborPoint> income_curve(const BdonData& bdon, int prmp, int object,
                                        int modernisation, int income);

// expected_income of a chosen object of the database, indices 0-based as for income_curve: the
// amount is the sale variant's revenue or the exploitation variant's income, the duration that
// of the modernisation variant (0 for variant 0). Refuses what income_curve refuses.
double expected_income(const BdonData& bdon, int prmp, int object, int modernisation, int income,
                       double horizon);

} // namespace kov
