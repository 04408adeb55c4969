#include "optim/scheme_parameters.h"

#include "shell/texts.h"

namespace kov {

bool scheme_value_admitted(SchemeField field, double value) {
    switch (field) {
    case SchemeField::Omega:
        return value >= 0.49999 && value < 0.99999;
    case SchemeField::Threshold:
        return value >= 0.00099 && value <= 0.10001;
    case SchemeField::CheckEvery:
        return value > 0;
    case SchemeField::MaxCycles:
        return value >= 10;
    }
    return false;
}

std::string scheme_warning(const LanguageShell& shell, SchemeField field) {
    const int text = field == SchemeField::Omega        ? txt::OmegaOutOfRange
                     : field == SchemeField::Threshold  ? txt::ThresholdOutOfRange
                     : field == SchemeField::CheckEvery ? txt::CheckEveryOutOfRange
                                                        : txt::MaxCyclesOutOfRange;
    return shell.text(text) + ".";
}

} // namespace kov
