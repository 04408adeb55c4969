#pragma once

#include "optim/solver.h"

// The solver written plainly: an index table of states, one transition list per state in one
// array, old and new values copied every cycle, a decision stored for every state. Slow, and
// kept that way: it is the yardstick the engine is compared with, result for result and bit
// for bit.
kov::SolverResult reference_solve(const kov::SolverTask& task,
                                  const kov::SchemeParameters& parameters,
                                  kov::SolverObserver* observer);
