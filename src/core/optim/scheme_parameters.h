#pragma once

// The parameter step of the optimisation module: the ranges it admits for the four scheme
// parameters, checked in the order of the fields, and the warning a value outside gives. The
// window and kov-batch both check here.

#include "optim/solver.h"
#include "shell/language_shell.h"

#include <string>

namespace kov {

// The scheme parameters in the order the parameter step checks them.
enum class SchemeField { Omega, Threshold, CheckEvery, MaxCycles };

// Whether the parameter step admits the value: ОКР from 0.49999 to below 0.99999 (narrower than
// the engine's own check), КО from 0.00099 to 0.10001, КР above 0, ЛЧИ at least 10.
bool scheme_value_admitted(SchemeField field, double value);

// The warning a value outside the field's range gives, with its full stop.
std::string scheme_warning(const LanguageShell& shell, SchemeField field);

} // namespace kov
