#include "view/task_view.h"

#include "io/numbers.h"
#include "shell/texts.h"
#include "task/ticks.h"
#include "view/view_texts.h"

namespace kov {

namespace {

using view_texts::integer;
using view_texts::with_rate_unit;
using view_texts::with_unit;

class TaskViewBuilder {
public:
    TaskViewBuilder(const TaskDescriptor& d, const BdonData& bdon, const LanguageShell& shell,
                    char decimal_char)
        : d_(d)
        , h_(d.header)
        , bdon_(bdon)
        , shell_(shell)
        , dc_(decimal_char)
        , money_(bdon.header.cost_unit)
        , time_(bdon.header.time_unit) {}

    TaskView build() {
        TaskView v;
        v.task = h_;
        v.income_tabs = h_.prok == 1;
        ViewContent& c = v.content;
        c.caption = view_texts::caption(shell_, txt::TaskViewerCaption, h_.name);
        c.tabs = {
            text(txt::InvestmentVariantsTab), shell_.trimmed(txt::ObjectParametersTab) + " (1)",
            shell_.trimmed(txt::ObjectParametersTab) + " (2)",
            shell_.trimmed(txt::ObjectParametersTab) + " (3)", shell_.trimmed(txt::DelayTablesTab)};
        c.params = params();
        // Moved in one by one: a braced list would copy every grid.
        c.grids.reserve(5);
        c.grids.push_back(variants());
        c.grids.push_back(objects());
        c.grids.push_back(modernisations());
        c.grids.push_back(incomes());
        c.grids.push_back(points());
        return v;
    }

private:
    const std::string& text(int k) const { return shell_.text(k); }
    std::string general(double x) const { return format_general(x, dc_); }
    bool sale() const { return h_.prmp == 1; }
    bool payback() const { return h_.prok == 1; }

    std::vector<ViewParam> params() const {
        std::vector<ViewParam> p;
        const auto add = [&](std::string key, std::string value = {}) {
            p.push_back({std::move(key), std::move(value)});
        };
        add(text(txt::TaskCode), h_.shifr);
        add(text(txt::TaskName), h_.name);
        add(text(txt::InvestmentMode) + ":", integer(h_.reg));
        add(" 1 - " + text(txt::PurchaseMode));
        add(" 2 - " + text(txt::ModernisationMode));
        add(text(txt::TaskType) + ":", integer(h_.tipz));
        add(" 1 - " + text(txt::SaleWithoutPayback));
        add(" 2 - " + text(txt::SaleWithPayback));
        add(" 3 - " + text(txt::ExploitationWithoutPayback));
        add(" 4 - " + text(txt::ExploitationWithPayback));
        add(text(txt::DatabaseHeading) + ":");
        add(" - " + text(txt::CodeItem), h_.shifr_db);
        add(" - " + text(txt::NameItem), bdon_.header.name);
        add(" - " + text(txt::DatabaseObjectsItem), integer(bdon_.header.m));
        add(" - " + text(txt::UsableItem), integer(h_.mt));
        add(" - " + text(txt::MoneyUnitItem), money_);
        add(" - " + text(txt::TimeUnitItem), time_);
        add(text(txt::MaximisedParameter) + ":", integer(h_.prmp));
        add(" 1 - " + text(txt::SaleIncomeLegend));
        add(" 2 - " + text(txt::ExploitationIncomeLegend));
        view_texts::add_payback_and_limits(p, h_, shell_, dc_);
        add(" - " + shell_.trimmed(txt::ObjectLimitKey) + " (" + text(txt::No) + " - " +
                text(txt::NoLimit) + ")",
            h_.ogrn == 0 ? std::string() : integer(h_.ogrn));
        if (payback()) {
            add(" - " + text(sale() ? txt::SaleControlTermItem : txt::ExploitationControlTermItem),
                general(h_.srok));
            add("   " + text(sale() ? txt::MaxSaleProbability : txt::MaxExploitationProbability),
                general(h_.ver));
        }
        add(text(txt::ChosenObjectsNumber), integer(h_.mz));
        add(text(txt::Rounding) + ":", integer(h_.toc));
        add(" " + text(txt::RoundingLegend));
        add(text(txt::Tick), general(h_.delta));
        add(text(txt::PhaseStatesNumber), integer(h_.faza));
        add(text(txt::StatisticsAllowed), integer(h_.stat));
        add(text(txt::CorrectionAfterSolving), integer(h_.prk));
        return p;
    }

    // Grid 1: the investment variants and, with pay-back, the value of the pay-back series of
    // each (the coefficients descending in mode 1, the terms ascending in mode 2).
    ViewGrid variants() const {
        ViewGrid g;
        ViewColumn payback_column;
        if (payback()) {
            payback_column.heading = h_.reg == 1 ? text(txt::PaybackCoefficientColumn)
                                                 : with_unit(text(txt::RequiredIncomeTerm), time_);
        } else {
            payback_column.collapsed = true;
        }
        g.columns = {{text(txt::VariantNumberColumn)},
                     {with_unit(text(txt::OwnFunds), money_)},
                     {with_unit(text(txt::Credit), money_)},
                     payback_column};
        for (int k = 0; k < h_.nsg; ++k) {
            ViewRow r = view_texts::empty_row(4);
            r.cells[0] = integer(k + 1);
            // With pay-back every variant has the same money: only the first row shows it.
            if (!payback() || k == 0) {
                r.cells[1] = general(d_.variants[std::size_t(k)].own);
                r.cells[2] = general(d_.variants[std::size_t(k)].credit);
            }
            if (payback()) {
                const double value =
                    h_.reg == 1 ? payback_coefficient(h_, k) : payback_horizon(h_, k);
                r.cells[3] = format_fixed(value, 3, dc_);
            }
            g.rows.push_back(std::move(r));
        }
        return g;
    }

    // Grid 2: the objects the task wizard listed for the task type, with their row marks.
    ViewGrid objects() const {
        ViewGrid g;
        ViewColumn cost{with_unit(text(txt::ObjectCost), money_)};
        if (h_.reg != 1) {
            cost = ViewColumn{{}, 0, true};
        }
        g.columns = {{shell_.trimmed(txt::ObjectInDatabaseColumn)},
                     {shell_.trimmed(txt::ObjectCode)},
                     {shell_.trimmed(txt::ObjectDescription)},
                     cost,
                     {text(txt::ModernisationsNumber)},
                     {shell_.trimmed(txt::AbsentColumn) + " (*)"},
                     {text(txt::SelectedColumn) + " (*)"}};
        const std::vector<std::size_t> listed = listed_objects(bdon_, h_.tipz);
        g.rows.reserve(listed.size());
        for (std::size_t row = 0; row < listed.size(); ++row) {
            const std::size_t i = listed[row];
            const DborObject& o = bdon_.objects[i];
            ViewRow r = view_texts::empty_row(7);
            r.cells[0] = integer(long(i + 1));
            r.cells[1] = o.code;
            r.cells[2] = o.description;
            if (h_.reg == 1) {
                r.cells[3] = general(o.cost);
            }
            r.cells[4] = integer(o.n);
            r.cells[5] = trim(o.absence);
            if (d_.row_marks[row]) {
                r.cells[6].assign(1, '*');
            }
            g.rows.push_back(std::move(r));
        }
        return g;
    }

    // Grid 3: the chosen modernisation variants, objects and variants in database order.
    ViewGrid modernisations() const {
        ViewGrid g;
        std::string last;
        switch (h_.tipz) {
        case 1:
            last = with_unit(text(txt::ExpectedSaleRevenue), money_);
            break;
        case 2:
            last = text(txt::SalesNumber);
            break;
        case 3:
            last = with_rate_unit(text(txt::ExpectedExploitationIncome), money_, time_);
            break;
        default:
            last = shell_.trimmed(txt::ExploitationsNumber);
        }
        g.columns = {{text(txt::ObjectNumberColumn)},
                     {text(txt::ModernisationNumberColumn)},
                     {text(txt::ModernisationDescription)},
                     {with_unit(text(txt::ModernisationCost), money_)},
                     {with_unit(text(txt::ModernisationDuration), time_)},
                     {last}};
        int previous_object = 0;
        for (std::size_t i = 0; i < bdon_.objects.size(); ++i) {
            for (std::size_t j = 0; j < bdon_.variants[i].size(); ++j) {
                if (!d_.variant_marks[i][j]) {
                    continue;
                }
                const DborVariant& mv = bdon_.variants[i][j];
                ViewRow r = view_texts::empty_row(6);
                const int object = int(i + 1);
                r.cells[0] = (object == previous_object ? "  " : "") + integer(object);
                previous_object = object;
                r.cells[1] = integer(long(j));
                r.cells[2] = mv.description;
                r.cells[3] = j == 0 ? "-" : general(mv.cost);
                r.cells[4] = j == 0 ? "-" : general(mv.duration);
                if (payback()) {
                    r.cells[5] = integer(sale() ? mv.s : mv.e);
                } else if (sale() && !bdon_.sale_variants[i][j].empty()) {
                    r.cells[5] = general(bdon_.sale_variants[i][j][0].revenue);
                } else if (!sale() && !bdon_.expl_variants[i][j].empty()) {
                    r.cells[5] = general(bdon_.expl_variants[i][j][0].income);
                }
                g.rows.push_back(std::move(r));
            }
        }
        return g;
    }

    // The chosen income variants (part 8 of the descriptor) in database order, for grids 4 and
    // 5: object i, modernisation variant j, income variant k, all 0-based.
    template <typename Visit> void for_each_chosen_income(Visit visit) const {
        if (!payback()) {
            return;
        }
        for (std::size_t i = 0; i < d_.income_marks.size(); ++i) {
            for (std::size_t j = 0; j < d_.income_marks[i].size(); ++j) {
                for (std::size_t k = 0; k < d_.income_marks[i][j].size(); ++k) {
                    if (d_.income_marks[i][j][k]) {
                        visit(i, j, k);
                    }
                }
            }
        }
    }

    // The object and modernisation variant cells of grids 4 and 5: two blanks before a number
    // that continues the row above.
    struct Continuation {
        std::size_t object = std::size_t(-1);
        std::size_t variant = std::size_t(-1);

        void fill(ViewRow& r, std::size_t i, std::size_t j) {
            const bool same_object = i == object;
            const bool same_variant = same_object && j == variant;
            r.cells[0] = (same_object ? "  " : "") + integer(long(i + 1));
            r.cells[1] = (same_variant ? "  " : "") + integer(long(j));
            object = i;
            variant = j;
        }
    };

    const std::vector<DborPoint>& curve(std::size_t i, std::size_t j, std::size_t k) const {
        return sale() ? bdon_.sale_points[i][j][k] : bdon_.expl_points[i][j][k];
    }

    // Grid 4: the chosen income variants (tasks with pay-back).
    ViewGrid incomes() const {
        ViewGrid g;
        g.columns = {{text(txt::ObjectNumberColumn)},
                     {text(txt::ModernisationNumberColumn)},
                     {text(sale() ? txt::SaleNumberColumn : txt::ExploitationNumberColumn)},
                     {sale() ? with_unit(text(txt::ExpectedSaleRevenue), money_)
                             : with_rate_unit(text(txt::SteadyExploitationIncome), money_, time_)},
                     {text(sale() ? txt::SalePointsNumber : txt::ExploitationPointsNumber)}};
        std::size_t rows = 0;
        for_each_chosen_income([&](std::size_t, std::size_t, std::size_t) { ++rows; });
        g.rows.reserve(rows);
        Continuation continuation;
        for_each_chosen_income([&](std::size_t i, std::size_t j, std::size_t k) {
            ViewRow r = view_texts::empty_row(5);
            continuation.fill(r, i, j);
            r.cells[2] = integer(long(k + 1));
            r.cells[3] = general(sale() ? bdon_.sale_variants[i][j][k].revenue
                                        : bdon_.expl_variants[i][j][k].income);
            r.cells[4] = integer(long(curve(i, j, k).size()));
            g.rows.push_back(std::move(r));
        });
        return g;
    }

    // Grid 5: the points of the delay curve of every chosen income variant.
    ViewGrid points() const {
        ViewGrid g;
        g.columns = {{text(txt::ObjectNumberColumn)},
                     {text(txt::ModernisationNumberColumn)},
                     {text(sale() ? txt::SaleNumberColumn : txt::ExploitationNumberColumn)},
                     {text(txt::PointNumberColumn)},
                     {with_unit(text(sale() ? txt::SaleDelay : txt::ExploitationDelay), time_)},
                     {text(sale() ? txt::SaleProbability : txt::ExploitationProbability)}};
        // A maximal database gives 300,000 points: the rows are reserved at once.
        std::size_t rows = 0;
        for_each_chosen_income(
            [&](std::size_t i, std::size_t j, std::size_t k) { rows += curve(i, j, k).size(); });
        g.rows.reserve(rows);
        Continuation continuation;
        for_each_chosen_income([&](std::size_t i, std::size_t j, std::size_t k) {
            const std::vector<DborPoint>& pts = curve(i, j, k);
            for (std::size_t t = 0; t < pts.size(); ++t) {
                ViewRow r = view_texts::empty_row(6);
                continuation.fill(r, i, j);
                if (t == 0) {
                    r.cells[2] = integer(long(k + 1));
                }
                r.cells[3] = integer(long(t + 1));
                r.cells[4] = general(pts[t].x);
                r.cells[5] = general(pts[t].y);
                g.rows.push_back(std::move(r));
            }
        });
        return g;
    }

    const TaskDescriptor& d_;
    const TaskHeader& h_;
    const BdonData& bdon_;
    const LanguageShell& shell_;
    char dc_;
    std::string money_;
    std::string time_;
};

} // namespace

TaskView task_view(const TaskDescriptor& d, const BdonData& bdon, const LanguageShell& shell,
                   char decimal_char) {
    return TaskViewBuilder(d, bdon, shell, decimal_char).build();
}

TaskView build_task_view(const std::string& workspace, std::string_view code,
                         const LanguageShell& shell, char decimal_char) {
    const std::string path = task_file_path(workspace, "Data", code, "");
    const TaskHeader header = read_task_header(path, shell.codepage);
    const BdonData bdon =
        read_bdon(task_bdon_base(workspace, header, shell.suffix), shell.codepage);
    const TaskDescriptor d = read_task_descriptor(path, bdon, shell.codepage);
    return task_view(d, bdon, shell, decimal_char);
}

} // namespace kov
