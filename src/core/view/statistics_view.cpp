#include "view/statistics_view.h"

#include "io/numbers.h"
#include "shell/texts.h"
#include "view/view_texts.h"

namespace kov {

namespace {

using view_texts::integer;
using view_texts::with_unit;

constexpr std::size_t kColumns = 10;

std::vector<ViewColumn> columns(const TaskHeader& h, const TStatHeader& s,
                                const LanguageShell& shell) {
    const std::string& money = s.money_unit;
    const auto unit = [&](int k) { return with_unit(shell.text(k), money); };
    const bool sale = h.prmp == 1;
    std::vector<ViewColumn> c(kColumns);
    // Every heading but column 5's coefficient carries the money unit, the term column included:
    // the statistics export and print repeat these headings as they stand.
    c[0].heading = shell.text(txt::VariantNumberColumn);
    c[1].heading = unit(txt::OwnFundsStat);
    c[2].heading = unit(txt::Credit);
    c[3].heading = unit(txt::TotalCost);
    c[4] = sale ? ViewColumn{unit(txt::ExpectedVariantIncomeStat), 71}
                : ViewColumn{view_texts::with_rate_unit(shell.text(txt::ExpectedVariantRateStat),
                                                        money, s.time_unit),
                             90};
    if (h.reg == 1) {
        c[5].heading = shell.text(txt::PaybackTermStatHeading) + " (" + money + ") /" +
                       shell.text(txt::PaybackCoefficientStatTail);
        c[6].heading = unit(txt::PaybackAmountStat);
        c[7].heading = with_unit(shell.trimmed(txt::ComputedIncomeStatMode1), money);
        c[8].heading = unit(txt::MeanIncomeMode1);
        c[9].heading = unit(txt::ThresholdIncomeMode1);
    } else {
        c[5] = {unit(txt::RequiredIncomeTermMode2), 97};
        c[6] = {unit(sale ? txt::RequiredSaleIncomeStat : txt::RequiredExploitationIncomeStat), 90};
        c[7] = {unit(txt::ComputedIncomeStatMode2), 90};
        c[8] = {unit(txt::MeanIncomeMode2), 82};
        c[9].heading = unit(txt::ThresholdIncomeMode2);
    }
    return c;
}

// The fixed text of risk level j (1..10), its comma whatever the decimal separator.
std::string level_text(int j) {
    return j == 10 ? "1,0: " : "0," + std::to_string(j) + ": ";
}

ViewPicture risk_picture(const StatFile& stats, const LanguageShell& shell) {
    ViewPicture p;
    p.tab = shell.text(txt::RiskPictureTab);
    p.x_axis = shell.text(txt::RiskProbability);
    p.y_axis = with_unit(shell.text(txt::ThresholdIncome), stats.header.money_unit);
    p.empty_text = shell.text(txt::NothingToShow);
    for (const TStatVariant& r : stats.variants) {
        PictureSeries s;
        s.name = shell.trimmed(txt::InvestmentVariantKey) + " " + integer(r.number);
        for (const TStatThreshold& t : stats.block_of(r)) {
            s.x.push_back(t.probability);
            s.y.push_back(t.income);
        }
        p.series.push_back(std::move(s));
    }
    return p;
}

} // namespace

StatisticsView statistics_view(const TaskHeader& h, const StatFile& stats,
                               const LanguageShell& shell, char decimal_char,
                               const LevelFlags& levels) {
    const auto fixed = [&](double x, int decimals) {
        return format_fixed(x, decimals, decimal_char);
    };
    StatisticsView v;
    v.task = h;
    ViewContent& c = v.content;
    c.caption = view_texts::caption(shell, txt::StatisticsViewerCaption, h.name);
    c.params = {
        {},
        {shell.text(txt::TaskCode), h.shifr},
        {shell.text(txt::TaskName), h.name},
        {shell.text(txt::InvestmentMode), view_texts::mode_text(shell, h.reg)},
        {shell.text(txt::TaskType), view_texts::task_type_text(shell, h.tipz)},
        {shell.trimmed(txt::ChosenObjectsNumber), integer(h.mz)},
        {shell.text(txt::VariantsNumber), integer(h.nsg)},
        {shell.text(txt::MaximisedParameter), view_texts::income_kind_text(shell, h.prmp)},
        {shell.text(txt::Payback), "1"},
        {shell.text(txt::Trials), integer(stats.header.trials)},
        {shell.text(txt::ModellingDuration), stats.header.elapsed},
    };

    ViewGrid g;
    g.columns = columns(h, stats.header, shell);
    bool any_level = false;
    for (bool l : levels) {
        any_level = any_level || l;
    }
    for (std::size_t n = 0; n < stats.variants.size(); ++n) {
        const TStatVariant& r = stats.variants[n];
        ViewRow first = view_texts::empty_row(kColumns);
        first.cells[0] = integer(r.number);
        first.cells[1] = fixed(r.own, 2);
        first.cells[2] = fixed(r.credit, 2);
        first.cells[3] = fixed(r.full_cost, 2);
        first.cells[4] = fixed(r.expected_income, 2);
        first.cells[5] = h.reg == 1
                             ? fixed(r.payback_term, 2) + "/" + fixed(r.payback_coefficient, 3)
                             : fixed(r.payback_term, 3);
        first.cells[6] = fixed(r.payback_amount, 2);
        first.cells[7] = fixed(r.computed_mean, 2);
        first.cells[8] = fixed(r.simulated_mean, 2);
        g.rows.push_back(std::move(first));
        if (!any_level) {
            continue; // one row per variant, no separators
        }
        // The first chosen level shares the variant's row; each further one goes a row lower
        // and three blanks further right.
        const TStatBlock& block = stats.block_of(r);
        bool first_level = true;
        for (int j = 1; j <= kLevelFlags; ++j) {
            if (!levels[std::size_t(j - 1)]) {
                continue;
            }
            if (!first_level) {
                g.rows.push_back(view_texts::empty_row(kColumns));
            }
            first_level = false;
            g.rows.back().cells[9] = std::string(std::size_t(3 * (j - 1)), ' ') + level_text(j) +
                                     fixed(block[std::size_t(j - 1)].income, 2);
        }
        if (n + 1 < stats.variants.size()) {
            g.rows.push_back(view_texts::separator_row(kColumns));
        }
    }
    if (g.rows.empty()) {
        g.rows.push_back(view_texts::empty_row(kColumns));
    }
    c.grids.push_back(std::move(g));
    v.risk = risk_picture(stats, shell);
    return v;
}

StatisticsView build_statistics_view(const std::string& workspace, std::string_view code,
                                     const LanguageShell& shell, char decimal_char,
                                     const LevelFlags& levels) {
    const TaskHeader h =
        read_task_header(task_file_path(workspace, "Data", code, ""), shell.codepage);
    const StatFile stats =
        read_stat_file(task_file_path(workspace, "Data", code, "_stat"), h.nsg, shell.codepage);
    return statistics_view(h, stats, shell, decimal_char, levels);
}

} // namespace kov
