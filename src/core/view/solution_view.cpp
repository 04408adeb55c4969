#include "view/solution_view.h"

#include "dbor/expected_income.h"
#include "io/codepage.h"
#include "io/numbers.h"
#include "shell/texts.h"
#include "stats/modelling.h"
#include "view/view_texts.h"

#include <algorithm>

namespace kov {

namespace {

using view_texts::integer;
using view_texts::with_rate_unit;
using view_texts::with_unit;

constexpr std::size_t kColumns = 15;
// The solver's message is shown in slices of this many characters.
constexpr std::size_t kMessageSlice = 90;

const std::vector<ChoiceTriple>& plan_of(const SolutionViewInput& in, std::size_t i) {
    static const std::vector<ChoiceTriple> none;
    return i < in.solution.plans.size() ? in.solution.plans[i] : none;
}

// The entry's modernisation variant and the amount of its income variant: the sale revenue A or
// the exploitation income R.
const DborVariant& variant_of(const BdonData& bdon, const ChoiceTriple& c) {
    return bdon.variants[std::size_t(c.object - 1)][std::size_t(c.modernisation)];
}
double amount_of(const BdonData& bdon, int prmp, const ChoiceTriple& c) {
    const auto o = std::size_t(c.object - 1);
    const auto j = std::size_t(c.modernisation);
    const auto k = std::size_t(c.income - 1);
    return prmp == 1 ? bdon.sale_variants[o][j][k].revenue : bdon.expl_variants[o][j][k].income;
}

class SolutionViewBuilder {
public:
    SolutionViewBuilder(const SolutionViewInput& in, const LanguageShell& shell, char decimal_char)
        : in_(in)
        , h_(in.task)
        , bdon_(in.bdon)
        , shell_(shell)
        , dc_(decimal_char)
        , money_(in.bdon.header.cost_unit)
        , time_(in.bdon.header.time_unit)
        , figures_(solution_figures(in)) {}

    // Builds once: the figures move into the content.
    SolutionView build(const VariantFlags& shown) {
        SolutionView v;
        v.task = h_;
        v.content.caption = view_texts::caption(shell_, txt::SolutionViewerCaption, h_.name);
        v.content.params = params();
        v.content.grids.push_back(table(shown));
        v.incomes = incomes(shown, v.content.grids.back().columns[4].heading);
        v.figures = std::move(figures_);
        return v;
    }

private:
    const std::string& text(int k) const { return shell_.text(k); }
    std::string general(double x) const { return format_general(x, dc_); }
    std::string fixed(double x, int decimals) const { return format_fixed(x, decimals, dc_); }
    bool sale() const { return h_.prmp == 1; }
    bool payback() const { return h_.prok == 1; }
    bool solved() const { return in_.solution.header.result == 1; }

    std::vector<ViewColumn> columns() const {
        std::vector<ViewColumn> c(kColumns);
        c[0].heading = text(txt::VariantNumberColumn);
        if (payback() && h_.reg == 1) {
            c[1].heading = text(txt::PaybackTermHeading) + " (" + time_ + ") /" +
                           text(txt::PaybackCoefficientTail);
            c[2] = {with_unit(text(txt::PaybackAmount), money_), 74};
            c[3].heading = with_unit(text(txt::ComputedIncomeMode1), money_);
        } else if (payback()) {
            c[1].heading = with_unit(text(txt::RequiredIncomeTerm), time_);
            c[2] = {with_unit(text(sale() ? txt::RequiredSaleIncomeHeading
                                          : txt::RequiredExploitationIncomeHeading),
                              money_),
                    sale() ? 62 : 70};
            c[3].heading = with_unit(text(txt::ComputedIncomeMode2), money_);
        } else {
            c[1].heading = with_unit(text(txt::OwnFundsHeading), money_);
            c[2] = {with_unit(text(txt::Credit), money_), 53};
            c[3] = {with_unit(text(h_.reg == 1 ? txt::TotalCost : txt::TotalCostMode2), money_),
                    63};
        }
        c[4].heading = sale() ? with_unit(text(txt::ExpectedVariantIncome), money_)
                              : with_rate_unit(text(txt::ExpectedVariantRate), money_, time_);
        c[5].heading = text(txt::IterationCyclesHeading);
        c[6].heading = text(txt::ObjectNumberColumn);
        c[7].heading = shell_.trimmed(txt::ObjectCode);
        c[8].heading = shell_.trimmed(txt::ObjectDescription);
        if (h_.reg == 1) {
            c[9].heading = with_unit(text(txt::ObjectCost), money_);
        } else {
            c[9].collapsed = true; // mode 2 has no purchase cost
        }
        c[10].heading = shell_.trimmed(txt::ModernisationNumberTrimmed);
        c[11].heading = with_unit(text(txt::ModernisationCost), money_);
        c[12].heading = with_unit(text(txt::ModernisationDuration), time_);
        c[13].heading = text(sale() ? txt::SaleNumberColumn : txt::ExploitationNumberColumn);
        c[14] = sale()
                    ? ViewColumn{with_unit(text(txt::ExpectedSaleRevenue), money_), 66}
                    : ViewColumn{
                          with_rate_unit(text(txt::ExpectedExploitationIncome), money_, time_), 77};
        return c;
    }

    ViewPicture incomes(const VariantFlags& shown, const std::string& income_heading) const {
        ViewPicture p;
        p.tab = text(txt::IncomePictureTab);
        p.x_axis = text(txt::VariantNumberColumn);
        p.y_axis = income_heading;
        p.empty_text = text(txt::NothingToShow);
        PictureSeries bars;
        bars.name = income_heading;
        for (std::size_t i = 0; solved() && i < figures_.size(); ++i) {
            if (i < shown.size() && shown[i]) {
                bars.x.push_back(double(i + 1));
                bars.y.push_back(figures_[i].income);
            }
        }
        p.series.push_back(std::move(bars));
        return p;
    }

    // One block per selected variant: its figures on the first row beside its first chosen
    // object, one row per further object, and a separator row before the next selected block.
    ViewGrid table(const VariantFlags& shown) const {
        ViewGrid g;
        g.columns = columns();
        const auto T = std::size_t(h_.nsg);
        const auto selected = [&](std::size_t i) { return i < shown.size() && shown[i]; };
        if (solved()) {
            for (std::size_t i = 0; i < T; ++i) {
                if (!selected(i)) {
                    continue;
                }
                const std::size_t first = g.rows.size();
                for (const ChoiceTriple& c : plan_of(in_, i)) {
                    if (c.real()) {
                        g.rows.push_back(entry_row(c));
                    }
                }
                if (g.rows.size() == first) {
                    g.rows.push_back(view_texts::empty_row(kColumns));
                }
                fill_variant(g.rows[first], i);
                bool later = false;
                for (std::size_t k = i + 1; k < T; ++k) {
                    later = later || selected(k);
                }
                if (later) {
                    g.rows.push_back(view_texts::separator_row(kColumns));
                }
            }
        }
        if (g.rows.empty()) {
            g.rows.push_back(view_texts::empty_row(kColumns));
        }
        return g;
    }

    ViewRow entry_row(const ChoiceTriple& c) const {
        const DborObject& object = bdon_.objects[std::size_t(c.object - 1)];
        const DborVariant& variant = variant_of(bdon_, c);
        ViewRow r = view_texts::empty_row(kColumns);
        r.cells[6] = integer(c.object);
        r.cells[7] = object.code;
        r.cells[8] = object.description;
        if (h_.reg == 1) {
            r.cells[9] = general(object.cost);
        }
        r.cells[10] = integer(c.modernisation);
        r.cells[11] = general(variant.cost);
        r.cells[12] = general(variant.duration);
        r.cells[13] = integer(c.income);
        r.cells[14] = general(amount_of(bdon_, h_.prmp, c));
        return r;
    }

    void fill_variant(ViewRow& r, std::size_t i) const {
        const SolutionFigures& f = figures_[i];
        const InvestmentVariant& money = in_.variants[i];
        r.cells[0] = integer(long(i + 1));
        if (payback() && h_.reg == 1) {
            r.cells[1] = fixed(h_.soi, 1) + "/" + fixed(f.series, 2);
            r.cells[2] = fixed(f.full_cost * f.series, 2);
            r.cells[3] = fixed(f.mean_income, 2);
        } else if (payback()) {
            r.cells[1] = fixed(f.series, 3);
            r.cells[2] = general(h_.nsd);
            r.cells[3] = fixed(f.mean_income, 2);
        } else {
            r.cells[1] = general(money.own);
            r.cells[2] = general(money.credit);
            r.cells[3] = general(f.full_cost);
        }
        r.cells[4] = fixed(f.income, 2);
        const auto& cycles = in_.solution.cycles;
        r.cells[5] = i < cycles.size() ? integer(cycles[i]) : std::string();
    }

    std::vector<ViewParam> params() const {
        std::vector<ViewParam> p;
        const auto add = [&](std::string key, std::string value = {}) {
            p.push_back({std::move(key), std::move(value)});
        };
        add({}); // the list starts with one empty row
        const SolutionHeader& s = in_.solution.header;
        add(text(txt::RunResult), integer(s.result));
        if (!solved()) {
            const std::u32string message = to_u32(s.message);
            const auto slice = [&](std::size_t from, std::size_t count) {
                return from < message.size() ? to_utf8(message.substr(from, count)) : std::string();
            };
            add(text(txt::ModuleMessage), slice(0, kMessageSlice));
            if (const std::string more = slice(kMessageSlice, kMessageSlice); !more.empty()) {
                add({}, more);
            }
            if (const std::string rest = slice(2 * kMessageSlice, std::u32string::npos);
                !rest.empty()) {
                add({}, rest);
            }
        }
        add(text(txt::TaskCode), h_.shifr);
        add(text(txt::TaskName), h_.name);
        add(text(txt::InvestmentMode), view_texts::mode_text(shell_, h_.reg));
        add(text(txt::TaskType), view_texts::task_type_text(shell_, h_.tipz));
        add(text(txt::DatabaseHeading) + ":");
        add(" - " + text(txt::CodeItem), h_.shifr_db);
        add(" - " + text(txt::NameItem), bdon_.header.name);
        add(" - " + text(txt::DatabaseObjectsItem), integer(bdon_.header.m));
        add(" - " + text(txt::UsableItem), integer(h_.mt));
        add(" - " + text(txt::MoneyUnitItem), money_);
        add(" - " + text(txt::TimeUnitItem), time_);
        add(text(txt::MaximisedParameter), view_texts::income_kind_text(shell_, h_.prmp));
        view_texts::add_payback_and_limits(p, h_, shell_, dc_);
        // No limit on the number of chosen objects shows the text for "none" (No).
        add(" - " + text(txt::ObjectLimitKey), h_.ogrn > 0 ? integer(h_.ogrn) : text(txt::No));
        if (payback()) {
            add(" - " + text(sale() ? txt::SaleControlTermItem : txt::ExploitationControlTermItem),
                general(h_.srok));
            add("   " + text(sale() ? txt::MaxSaleProbability : txt::MaxExploitationProbability),
                general(h_.ver));
        }
        add(text(txt::ChosenObjectsNumber), integer(h_.mz));
        add(text(txt::Rounding), text(h_.toc == 0   ? txt::RoundToNearest
                                      : h_.toc == 1 ? txt::RoundDown
                                                    : txt::RoundUp));
        add(text(txt::Tick), general(h_.delta));
        add(text(txt::PhaseStatesNumber), integer(h_.faza));
        add(text(txt::StatisticsAllowed), integer(h_.stat));
        add(text(txt::CorrectionAfterSolving), integer(h_.prk));
        for (std::size_t i = 0; i < std::size_t(h_.nsg); ++i) {
            const SolutionFigures& f = figures_[i];
            const InvestmentVariant& money = in_.variants[i];
            add(text(txt::InvestmentVariantKey) + " <" + integer(long(i + 1)) + ">",
                text(txt::OwnFundsKey) + " (" + money_ + "): " + text(txt::Available) + " - " +
                    general(money.own) + ", " + text(txt::Used) + " - " + general(f.own_used));
            add({}, " " + text(txt::CreditKey) + " (" + money_ + "): " + text(txt::Available) +
                        " - " + general(money.credit) + ", " + text(txt::Used) + " - " +
                        general(f.credit_used));
            if (payback() && h_.reg == 1) {
                add({}, "  " + shell_.short_text(short_txt::PaybackTermShort) + " (" + time_ +
                            ") - " + fixed(h_.soi, 2) + "   " + text(txt::PaybackCoefficientKey) +
                            ": " + fixed(f.series, 3));
            } else if (payback()) {
                add({}, "  " + text(txt::RequiredIncomeTerm) + " (" + time_ + ") - " +
                            fixed(f.series, 3));
            }
            if (!sale() && h_.reg == 1 && f.payback_time > 0) {
                add({}, "   " + text(txt::PaybackTimeOfVariant) + " (" + time_ +
                            "): " + fixed(f.payback_time, 2));
            }
        }
        add(text(txt::SchemeHeading) + ":");
        add("  - " + text(txt::ThresholdItem), general(s.ko));
        add("  - " + text(txt::CheckEveryItem), integer(s.kr));
        add("  - " + text(txt::MaxCyclesItem), integer(s.lchi));
        add("  - " + text(txt::OmegaItem), general(s.okr));
        add(text(txt::InfoHeading) + ":");
        add("  - " + text(txt::InfoText1Item), s.info1);
        add("  - " + text(txt::InfoText2Item), s.info2);
        add("  - " + text(txt::InfoText3Item), s.info3);
        add(text(txt::DurationOfSolving), s.duration);
        return p;
    }

    const SolutionViewInput& in_;
    const TaskHeader& h_;
    const BdonData& bdon_;
    const LanguageShell& shell_;
    char dc_;
    std::string money_;
    std::string time_;
    std::vector<SolutionFigures> figures_;
};

} // namespace

std::vector<SolutionFigures> solution_figures(const SolutionViewInput& in) {
    const TaskHeader& h = in.task;
    const BdonData& bdon = in.bdon;
    const std::vector<double> series = modelling_series(h);
    std::vector<SolutionFigures> figures(series.size());
    for (std::size_t i = 0; i < figures.size(); ++i) {
        figures[i].series = series[i];
    }
    if (in.solution.header.result != 1) {
        return figures;
    }
    const bool sale = h.prmp == 1;
    const double own_1 = in.variants.front().own;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        SolutionFigures& f = figures[i];
        for (const ChoiceTriple& c : plan_of(in, i)) {
            if (!c.real()) {
                continue;
            }
            const DborVariant& variant = variant_of(bdon, c);
            f.full_cost += bdon.objects[std::size_t(c.object - 1)].cost + variant.cost;
            f.amount += amount_of(bdon, h.prmp, c);
            if (h.prok == 1) {
                // Mode 1 values the incomes by the pay-back term, mode 2 by the variant's term
                // and net of the modernisation.
                const double horizon = h.reg == 1 ? h.soi : f.series;
                const double e = expected_income(bdon, h.prmp, c.object - 1, c.modernisation,
                                                 c.income - 1, horizon);
                f.mean_income += h.reg == 1 ? e : e - variant.cost;
            }
        }
        // In mode 2 the computed mean income bears the interest on the credit.
        if (h.prok == 1 && h.reg == 2 && f.full_cost > own_1) {
            f.mean_income -= (f.full_cost - own_1) * h.ps / 100;
        }
        const double own = in.variants[i].own;
        const double borrowed = f.full_cost - own;
        if (sale) {
            f.income = borrowed > 0 ? f.amount - f.full_cost - 0.01 * h.ps * borrowed
                                    : f.amount - f.full_cost;
        } else {
            f.income = f.amount;
        }
        if (f.full_cost > own) {
            f.own_used = own;
            f.credit_used = borrowed;
        } else {
            f.own_used = f.full_cost;
            f.credit_used = 0;
        }
        if (!sale && h.reg == 1) {
            const double outlay =
                f.full_cost > own ? f.full_cost + 0.01 * h.ps * borrowed : f.full_cost;
            if (outlay < 1e-8) {
                f.payback_time = -1;
            } else if (h.prok == 1) {
                f.payback_time = std::max(outlay - f.mean_income, 0.0) / (f.amount + 1e-10) + h.soi;
            } else {
                f.payback_time = outlay / (f.amount + 1e-10);
            }
        }
    }
    return figures;
}

SolutionView solution_view(const SolutionViewInput& in, const LanguageShell& shell,
                           char decimal_char, const VariantFlags& shown) {
    return SolutionViewBuilder(in, shell, decimal_char).build(shown);
}

SolutionViewInput read_solution_view_input(const std::string& workspace, std::string_view code,
                                           const LanguageShell& shell) {
    const CodePage cp = shell.codepage;
    TaskDescriptor d = read_task_variants(task_file_path(workspace, "Data", code, ""), cp);
    SolutionViewInput in;
    in.task = d.header;
    in.variants = std::move(d.variants);
    in.bdon = read_bdon(task_bdon_base(workspace, in.task, shell.suffix), cp);
    const std::string file = task_file_path(workspace, "Data", in.task.shifr, "_out");
    in.solution = read_solution(file, in.task, in.bdon, nullptr, cp);
    if (in.task.prok == 1) {
        // The computed mean incomes need the delay curve of every chosen income variant, as the
        // modelling does: the same check refuses a database that lost one.
        ModellingInput m{in.task, in.variants, in.solution.plans, std::move(in.bdon), file};
        check_modelling_input(m);
        in.bdon = std::move(m.bdon);
    }
    return in;
}

SolutionView build_solution_view(const std::string& workspace, std::string_view code,
                                 const LanguageShell& shell, char decimal_char,
                                 const VariantFlags& shown) {
    return solution_view(read_solution_view_input(workspace, code, shell), shell, decimal_char,
                         shown);
}

} // namespace kov
