#pragma once

#include "optim/solver.h"

// The solver written plainly: an index table of states, one transition list per state in one
// array, old and new values copied every cycle, a decision stored for every state. Slow, and
// kept that way: it is the yardstick the engine is compared with, result for result and bit
// for bit.
//
// The rules of plans that fail pay-back: Mended caps the pay-back income gathered at P* (the
// smallest count from P on that meets the requirement of spending all the money) and scales the
// penalty of a failing plan with the largest sum of amounts; Original caps it at P and always
// charges -1e8, as the process was first written. Tasks the mends do not concern (P covers the
// requirement, amounts below 9e7) solve alike under both.
enum class PaybackRules { Mended, Original };

kov::SolverResult reference_solve(const kov::SolverTask& task,
                                  const kov::SchemeParameters& parameters,
                                  kov::SolverObserver* observer,
                                  PaybackRules rules = PaybackRules::Mended);
