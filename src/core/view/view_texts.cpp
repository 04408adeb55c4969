#include "view/view_texts.h"
#include "io/numbers.h"
#include "shell/texts.h"

namespace kov::view_texts {

std::string with_unit(std::string_view text, std::string_view unit) {
    std::string s(text);
    s.append(" (").append(unit).append(")");
    return s;
}

std::string with_rate_unit(std::string_view text, std::string_view money, std::string_view time) {
    std::string s(text);
    s.append(" (").append(money).append("/").append(time).append(")");
    return s;
}

std::string caption(const LanguageShell& shell, int k, std::string_view name) {
    std::string s = shell.text(k);
    s.append(" \"").append(name).append("\"");
    return s;
}

std::string mode_text(const LanguageShell& shell, int reg) {
    return shell.text(reg == 1
                          ? txt::PurchaseMode
                          : txt::ModernisationMode); // purchase / modernisation of own real estate
}

std::string task_type_text(const LanguageShell& shell, int tipz) {
    switch (tipz) {
    case 1:
        return "1: " + shell.text(txt::SaleWithoutPayback);
    case 2:
        return "2: " + shell.text(txt::SaleWithPayback);
    case 3:
        return "3: " + shell.text(txt::ExploitationWithoutPayback);
    default:
        return "4: " + shell.text(txt::ExploitationWithPayback);
    }
}

std::string income_kind_text(const LanguageShell& shell, int prmp) {
    return shell.text(prmp == 1 ? txt::SaleIncome
                                : txt::ExploitationIncome); // sale revenue / exploitation income
}

std::string integer(long long v) {
    return std::to_string(v);
}

ViewRow empty_row(std::size_t columns) {
    return ViewRow{std::vector<std::string>(columns), false};
}

ViewRow separator_row(std::size_t columns) {
    return ViewRow{std::vector<std::string>(columns), true};
}

void add_payback_and_limits(std::vector<ViewParam>& p, const TaskHeader& h,
                            const LanguageShell& shell, char decimal) {
    const auto add = [&](std::string key, std::string value = {}) {
        p.push_back({std::move(key), std::move(value)});
    };
    const auto num = [decimal](double x) { return format_general(x, decimal); };
    const bool sale = h.prmp == 1;
    const bool payback = h.prok == 1;
    add(shell.text(txt::Payback), integer(h.prok));
    if (payback && h.reg == 1) {
        add(shell.text(txt::PaybackParametersHeading) + ":");
        add(" - " + shell.text(txt::PaybackTerm), num(h.soi));
        add(" - " + shell.text(txt::PaybackCoefficientsHeading));
        add("   " + shell.text(txt::MaximumItem), num(h.tmx));
        add(" - " + shell.text(txt::MinPaybackCoefficient), num(h.tmn));
        add(" - " + shell.text(txt::PaybackCoefficientsNumber), integer(h.nt));
    } else if (payback) {
        add(shell.text(txt::PaybackParametersHeading) + ":");
        add(" - " + shell.text(sale ? txt::RequiredSaleIncome : txt::RequiredExploitationIncome),
            num(h.nsd));
        add(" - " + shell.text(txt::MinRequiredIncomeTerm), num(h.tmn));
        add(" - " + shell.text(txt::MaxRequiredIncomeTerm), num(h.tmx));
        add(" - " + shell.text(txt::PaybackTermsNumber), integer(h.nt));
    } else {
        add(shell.text(txt::VariantsNumber), integer(h.nsg));
    }
    add(shell.text(txt::InterestRate) + " (%)", num(h.ps));
    add(shell.text(txt::Restrictions) + ":");
    if (h.reg == 1) {
        add(" - " + shell.text(sale ? txt::SaleThresholdRatio : txt::ExploitationIncomeRatio),
            num(h.por));
    }
    add(" - " + shell.text(sale ? txt::MaxSaleDelay : txt::MaxExploitationDelay), num(h.mzad));
}

} // namespace kov::view_texts
