// The pictures of the windows: the delay curve beside the task wizard's table of curves, the
// statistics viewer's risk picture and the solution viewer's bar chart.
#include "dbor/TfrmCreateDBOR.h"
#include "picture/CurvePlot.h"
#include "picture/PictureView.h"
#include "task/TfrmCreateTaskWin.h"

#include "data_fixtures.h"
#include "window_test.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

constexpr auto kCp = kov::CodePage::Cp1252;

class TaskWizardPlotTest : public WindowTest<TfrmCreateTaskWin> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        // Three sale objects, each with one sale variant of 3 points; the third object's curve
        // turns back at its third point (a database damaged since it was written).
        bdon = fixtures::make_bdon('A', "123", {{{{3}, {}}}, {{{3}, {}}}, {{{3}, {}}}});
        bdon.sale_points[2][0][0] = {{0, 0}, {3, 0.4}, {2, 1}};
        kov::write_bdon(ws.path(), "eng", bdon, "01.01.2026", kCp);
    }

    void click(const char* name) { find<QAbstractButton>(name)->click(); }
    void type(const char* name, const char* text) {
        find<QLineEdit>(name)->setText(QString::fromLatin1(text));
    }
    QString pageName() const {
        return window->findChild<QStackedWidget*>()->currentWidget()->objectName();
    }
    void next(const char* expected) {
        click("btnNext");
        ASSERT_EQ(pageName(), QString::fromLatin1(expected))
            << messages.texts().join(QLatin1Char('|')).toStdString();
    }

    // A one-variant sale task with pay-back in mode 1, every object chosen, up to page 8.
    void toCurvePage() {
        type("txtShifr", "PLOT01");
        type("txtName", "Curves");
        next("gbWindow_2");
        find<QListWidget>("List1")->setCurrentRow(1);
        click("RB2_2");
        click("Prk0");
        next("gbWindow_22");
        type("txtNsg", "1");
        type("txtPs", "10");
        type("txtPor", "1.1");
        type("txtMzad", "10");
        type("txtSrok", "100");
        type("txtVer", "0.3");
        next("gbWindow_3a");
        type("Sum1a", "3000");
        type("Sum2a", "0");
        type("txtSoi", "10");
        type("txtTmx", "0.9");
        type("txtTmn", "0.9");
        type("txtNt", "1");
        next("gbWin_1");
        click("CB1");
        next("gbWin_2");
        next("gbWin_3");
        next("gbWin_4");
    }

    kov::BdonData bdon;
};

QList<QPointF> points(std::initializer_list<QPointF> list) {
    return QList<QPointF>(list);
}

class DatabaseWizardPlotTest : public WindowTest<TfrmCreateDBOR> {
protected:
    // A database of two objects with one sale variant of 3 points each, opened for correction
    // and taken to its page of sale delay curves.
    void toSaleCurves() {
        kov::BdonData bdon = fixtures::make_bdon('A', "124", {{{{3}, {}}}, {{{3}, {}}}});
        kov::write_bdon(ws.path(), "eng", bdon, "01.01.2026", kCp);
        fakeHost().shared.windowMode = 3;
        host->shared.currentFileBase = kov::bdon_base(ws.path(), "A_124", "eng");
        openOnFakeHost();
        for (int page = 1; page < 6; ++page) {
            find<QAbstractButton>("btnNext")->click();
        }
        ASSERT_EQ(window->findChild<QStackedWidget*>()->currentWidget()->objectName(),
                  QStringLiteral("Page6"))
            << messages.texts().join(QLatin1Char('|')).toStdString();
    }
    void set(int row, int column, const char* text) {
        QAbstractItemModel* m = find<QTableView>("Table41")->model();
        ASSERT_TRUE(m->setData(m->index(row, column), QString::fromLatin1(text), Qt::EditRole));
    }
};

} // namespace

TEST_F(TaskWizardPlotTest, ThePlotShowsTheCurveOfTheSelectedRowUpToItsFirstInvalidPoint) {
    openOnFakeHost();
    toCurvePage();
    auto* table = find<QTableView>("Table41");
    auto* plot = find<CurvePlot>("Table41_plot");
    ASSERT_NE(plot, nullptr);
    ASSERT_EQ(table->model()->rowCount(), 9);
    EXPECT_TRUE(plot->isVisible());

    // The first row is selected when the page opens: the first curve, its first point ringed.
    EXPECT_EQ(plot->drawnPoints(), points({{0, 0}, {2, 0.25}, {4, 1}}));
    EXPECT_EQ(plot->selectedPoint(), QPointF(0, 0));
    EXPECT_FALSE(plot->markedPoint());
    EXPECT_TRUE(plot->faultCaption().isEmpty());

    // Another row of another curve.
    table->setCurrentIndex(table->model()->index(4, 0));
    EXPECT_EQ(plot->drawnPoints(), points({{0, 0}, {2, 0.25}, {4, 1}}));
    EXPECT_EQ(plot->selectedPoint(), QPointF(2, 0.25));

    // The damaged curve stops before its third point, which is marked and named.
    table->setCurrentIndex(table->model()->index(7, 0));
    EXPECT_EQ(plot->drawnPoints(), points({{0, 0}, {3, 0.4}}));
    EXPECT_EQ(plot->markedPoint(), QPointF(2, 1));
    EXPECT_EQ(plot->selectedPoint(), QPointF(3, 0.4));
    EXPECT_EQ(plot->faultCaption(), QStringLiteral("T565 3: T206"));
}

TEST_F(DatabaseWizardPlotTest, ThePlotFollowsTheEditsOfTheGrid) {
    toSaleCurves();
    auto* table = find<QTableView>("Table41");
    auto* plot = find<CurvePlot>("Table41_plot");
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->isVisible());
    EXPECT_EQ(plot->drawnPoints(), points({{0, 0}, {2, 0.25}, {4, 1}}));

    // An edit of the shown curve is drawn at once; an edit of another curve changes nothing.
    table->setCurrentIndex(table->model()->index(4, 5));
    set(4, 5, "3");
    EXPECT_EQ(plot->drawnPoints(), points({{0, 0}, {3, 0.25}, {4, 1}}));
    EXPECT_EQ(plot->selectedPoint(), QPointF(3, 0.25));
    set(1, 6, "0.5");
    EXPECT_EQ(plot->drawnPoints(), points({{0, 0}, {3, 0.25}, {4, 1}}));

    // A value that reaches 1 too early stops the curve at that point and marks it; so does a blank
    // argument, which has no place to mark. Mended, the whole curve is drawn again.
    set(4, 6, "1");
    EXPECT_EQ(plot->drawnPoints(), points({{0, 0}}));
    EXPECT_EQ(plot->markedPoint(), QPointF(3, 1));
    EXPECT_EQ(plot->faultCaption(), QStringLiteral("T565 2: T209"));
    set(4, 6, "0.25");
    set(5, 5, "");
    EXPECT_EQ(plot->drawnPoints(), points({{0, 0}, {3, 0.25}}));
    EXPECT_FALSE(plot->markedPoint());
    EXPECT_EQ(plot->faultCaption(), QStringLiteral("T565 3: T308"));
    set(5, 5, "4");
    EXPECT_EQ(plot->drawnPoints(), points({{0, 0}, {3, 0.25}, {4, 1}}));
    EXPECT_TRUE(plot->faultCaption().isEmpty());
}
