// The picture of a delay curve: drawn up to its first invalid point, found by the database
// wizard's own checks.
#include "dbor/bdon_checks.h"
#include "dbor/curve_picture.h"
#include "shell/language_shell.h"

#include <gtest/gtest.h>

using namespace kov;

namespace {

using Texts = std::vector<std::pair<std::string, std::string>>;

// A curve grid holding the given curves one after the other (object 0, variant 0, income k).
CurveGrid grid_of(const BdonModel& model, const std::vector<Texts>& curves) {
    CurveGrid g(Income::Sale, model, ',');
    for (std::size_t k = 0; k < curves.size(); ++k) {
        for (std::size_t t = 0; t < curves[k].size(); ++t) {
            PointRow r;
            r.income = std::uint8_t(k);
            r.point = std::uint8_t(t);
            r.count = std::uint8_t(curves[k].size());
            r.x = curves[k][t].first;
            r.y = curves[k][t].second;
            g.rows().push_back(r);
        }
    }
    return g;
}

} // namespace

TEST(CurvePicture, StopsAtTheFirstPointTheWizardRefuses) {
    const BdonModel model;
    struct Case {
        Texts points;
        std::size_t drawn; // sound points drawn
        int text;          // the fault's shell text, 0 for a sound curve
        bool marked;       // the invalid point has a place to mark
        DborPoint mark = {};
    };
    const std::vector<Case> cases = {
        {{{"0", "0"}, {"5", "1"}}, 2, 0, false},
        {{{"0", "0"}, {"3", "0,5"}, {"3", "0,7"}, {"6", "1"}}, 4, 0, false},
        {{{"0", "0"}, {"5", "1"}, {"7", "1"}}, 1, 209, true, {5, 1}},
        {{{"0", "0"}, {"3", "0,5"}, {"3", "0,5"}, {"6", "1"}}, 2, 90, true, {3, 0.5}},
        {{{"0", "0"}, {"5", "0,5"}, {"6", "0,4"}, {"7", "1"}}, 2, 208, true, {6, 0.4}},
        {{{"0", "0"}, {"5", "0,5"}, {"4", "1"}}, 2, 206, true, {4, 1}},
        {{{"0", "0"}, {"5", "1,0001"}}, 1, 412, true, {5, 1.0001}},
        {{{"1", "0"}, {"5", "1"}}, 0, 213, true, {1, 0}},
        {{{"0", "0"}, {"2", "0,5"}, {"", "0,7"}, {"6", "1"}}, 2, 308, false},
        {{{"0", "0"}, {"2", "0,5"}, {"4", "x"}, {"6", "1"}}, 2, 246, false},
    };
    for (const Case& c : cases) {
        const CurveGrid g = grid_of(model, {c.points});
        const CurvePicture p = curve_picture(g, c.points.size() - 1);
        SCOPED_TRACE(::testing::Message() << "fault text " << c.text);
        EXPECT_EQ(p.points.size(), c.drawn);
        EXPECT_EQ(p.fault_text, c.text);
        EXPECT_EQ(p.sound(), c.text == 0);
        EXPECT_EQ(p.fault_point.has_value(), c.marked);
        if (c.marked) {
            EXPECT_EQ(*p.fault_point, c.mark);
        }
        // The picture and the wizard's Next name the same point and the same fault.
        const NextOutcome check = check_curves(g);
        EXPECT_EQ(check.text(), c.text == 0 ? -1 : c.text);
        if (!p.sound()) {
            EXPECT_EQ(*p.fault, c.drawn);
            EXPECT_EQ(check.row, c.drawn);
        }
    }
}

TEST(CurvePicture, ShowsTheCurveOfTheSelectedRowAndItsFaultInWords) {
    const BdonModel model;
    const CurveGrid g = grid_of(model, {{{"0", "0"}, {"5", "1"}},
                                        {{"0", "0"}, {"2", "0,5"}, {"2", "0,5"}, {"9", "1"}},
                                        {{"0", "0"}, {"8", "1"}}});
    EXPECT_EQ(curve_rows(g, 0), std::make_pair(std::size_t(0), std::size_t(2)));
    EXPECT_EQ(curve_rows(g, 4), std::make_pair(std::size_t(2), std::size_t(6)));
    EXPECT_EQ(curve_rows(g, 7), std::make_pair(std::size_t(6), std::size_t(8)));
    EXPECT_EQ(curve_rows(g, 8), std::make_pair(std::size_t(8), std::size_t(8)));

    // Every row of the middle curve shows it, whatever the curves around it.
    for (std::size_t r = 2; r < 6; ++r) {
        const CurvePicture p = curve_picture(g, r);
        EXPECT_EQ(p.points, (std::vector<DborPoint>{{0, 0}, {2, 0.5}}));
        EXPECT_EQ(p.fault, 2u);
    }
    EXPECT_TRUE(curve_picture(g, 7).sound());
    EXPECT_TRUE(curve_picture(g, 99).points.empty());

    LanguageShell shell;
    for (int k = 0; k < 600; ++k) {
        shell.texts.push_back("T" + std::to_string(k));
    }
    EXPECT_EQ(curve_fault_caption(curve_picture(g, 3), shell), "T565 3: T90");
    EXPECT_EQ(curve_fault_caption(curve_picture(g, 0), shell), "");

    // A curve read from a database is judged alike.
    const std::vector<DborPoint> stored = {{0, 0}, {4, 0.6}, {3, 1}};
    const CurvePicture p = curve_picture(stored);
    EXPECT_EQ(p.points.size(), 2u);
    EXPECT_EQ(p.fault_text, 206);
}
