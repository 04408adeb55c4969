#include "view/task_view.h"

#include "io/numbers.h"
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
        c.caption = view_texts::caption(shell_, 389, h_.name); // 389 task viewer caption
        // 325 investment variants; 329 object parameters; 448 delay tables
        c.tabs = {text(325), shell_.trimmed(329) + " (1)", shell_.trimmed(329) + " (2)",
                  shell_.trimmed(329) + " (3)", shell_.trimmed(448)};
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
        add(text(491), h_.shifr);                        // 491 task code
        add(text(195), h_.name);                         // 195 task name
        add(text(404) + ":", integer(h_.reg));           // 404 investment mode
        add(" 1 - " + text(148));                        // 148 mode 1
        add(" 2 - " + text(147));                        // 147 mode 2
        add(text(456) + ":", integer(h_.tipz));          // 456 task type
        add(" 1 - " + text(10));                         // 10 type 1
        add(" 2 - " + text(11));                         // 11 type 2
        add(" 3 - " + text(302));                        // 302 type 3
        add(" 4 - " + text(303));                        // 303 type 4
        add(text(326) + ":");                            // 326 database
        add(" - " + text(490), h_.shifr_db);             // 490 database code
        add(" - " + text(193), bdon_.header.name);       // 193 database name
        add(" - " + text(502), integer(bdon_.header.m)); // 502 number of objects
        add(" - " + text(483), integer(h_.mt));          // 483 objects usable
        add(" - " + text(101), money_);                  // 101 money unit
        add(" - " + text(100), time_);                   // 100 time unit
        add(text(182) + ":", integer(h_.prmp));          // 182 maximised parameter
        add(" 1 - " + text(7));                          // 7 legend: sale revenue
        add(" 2 - " + text(300));                        // 300 legend: exploitation income
        add(text(370), integer(h_.prok));                // 370 pay-back
        if (payback() && h_.reg == 1) {
            add(text(328) + ":");                    // 328 pay-back parameters
            add(" - " + text(433), general(h_.soi)); // 433 pay-back term
            add(" - " + text(178));                  // 178 pay-back coefficients
            add("   " + text(354), general(h_.tmx)); // 354 maximum
            add(" - " + text(184), general(h_.tmn)); // 184 minimum coefficient
            add(" - " + text(480), integer(h_.nt));  // 480 number of coefficients
        } else if (payback()) {
            add(text(328) + ":"); // 328 pay-back parameters
            // 462 required income (sale); 463 required income (exploitation)
            add(" - " + text(sale() ? 462 : 463), general(h_.nsd));
            add(" - " + text(185), general(h_.tmn)); // 185 minimum term
            add(" - " + text(181), general(h_.tmx)); // 181 maximum term
            add(" - " + text(479), integer(h_.nt));  // 479 number of terms
        } else {
            add(text(474), integer(h_.nsg)); // 474 investment variants count
        }
        add(text(396) + " (%)", general(h_.ps)); // 396 credit interest
        add(text(280) + ":");                    // 280 restrictions
        if (h_.reg == 1) {
            // 348 sale ratio threshold; 349 exploitation ratio threshold
            add(" - " + text(sale() ? 348 : 349), general(h_.por));
        }
        // 176 delay before sale; 177 delay before exploitation
        add(" - " + text(sale() ? 176 : 177), general(h_.mzad));
        // 251 limit of objects, its key naming the range: 253 no, 397 no limit
        add(" - " + shell_.trimmed(251) + " (" + text(253) + " - " + text(397) + ")",
            h_.ogrn == 0 ? std::string() : integer(h_.ogrn));
        if (payback()) {
            // 158 control term (sale); 160 control term (exploitation)
            add(" - " + text(sale() ? 158 : 160), general(h_.srok));
            // 174 no-sale probability; 175 no-exploitation probability
            add("   " + text(sale() ? 174 : 175), general(h_.ver));
        }
        add(text(478), integer(h_.mz));        // 478 chosen objects count
        add(text(457) + ":", integer(h_.toc)); // 457 rounding
        add(" " + text(4));                    // 4 rounding legend
        add(text(89), general(h_.delta));      // 89 tick
        add(text(180), integer(h_.faza));      // 180 phase states
        add(text(362), integer(h_.stat));      // 362 statistics allowed
        add(text(363), integer(h_.prk));       // 363 database correction
        return p;
    }

    // Grid 1: the investment variants and, with pay-back, the value of the pay-back series of
    // each (the coefficients descending in mode 1, the terms ascending in mode 2).
    ViewGrid variants() const {
        ViewGrid g;
        ViewColumn payback_column;
        if (payback()) {
            // 167 pay-back coefficient; 99 term for the required income
            payback_column.heading = h_.reg == 1 ? text(167) : with_unit(text(99), time_);
        } else {
            payback_column.collapsed = true;
        }
        g.columns = {{text(255)},                    // 255 investment variant number
                     {with_unit(text(359), money_)}, // 359 own funds
                     {with_unit(text(357), money_)}, // 357 credit
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
        ViewColumn cost{with_unit(text(439), money_)}; // 439 object cost
        if (h_.reg != 1) {
            cost = ViewColumn{{}, 0, true};
        }
        g.columns = {{shell_.trimmed(264)}, // 264 object number in the database
                     {shell_.trimmed(155)}, // 155 object code
                     {shell_.trimmed(297)}, // 297 object description
                     cost,
                     {text(475)},                    // 475 modernisation variants count
                     {shell_.trimmed(366) + " (*)"}, // 366 absent
                     {text(361) + " (*)"}};          // 361 selected
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
            last = with_unit(text(282), money_); // 282 expected sale revenue
            break;
        case 2:
            last = text(476); // 476 sale variants count
            break;
        case 3:
            last = with_rate_unit(text(287), money_, time_); // 287 specific income
            break;
        default:
            last = shell_.trimmed(477); // 477 exploitation variants count
        }
        g.columns = {{text(262)},                    // 262 object number
                     {text(258)},                    // 258 modernisation variant number
                     {text(294)},                    // 294 modernisation description
                     {with_unit(text(438), money_)}, // 438 modernisation cost
                     {with_unit(text(87), time_)},   // 87 modernisation duration
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
        g.columns = {
            {text(262)},                // 262 object number
            {text(258)},                // 258 modernisation variant number
            {text(sale() ? 259 : 260)}, // 259 sale variant number; 260 exploitation variant number
            // 282 expected sale revenue; 288 specific income, steady state
            {sale() ? with_unit(text(282), money_) : with_rate_unit(text(288), money_, time_)},
            {text(sale() ? 482 : 481)}}; // 482 sale curve points; 481 exploitation curve points
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
        g.columns = {{text(262)}, // 262 object number
                     {text(258)}, // 258 modernisation variant number
                     // 259 sale variant number; 260 exploitation variant number
                     {text(sale() ? 259 : 260)},
                     {text(265)}, // 265 point number
                     // 135 sale delay; 134 exploitation delay
                     {with_unit(text(sale() ? 135 : 134), time_)},
                     // 137 sale probability; 136 exploitation started probability
                     {text(sale() ? 137 : 136)}};
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
