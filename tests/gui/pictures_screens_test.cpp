// Pictures of the curve plot and the viewers' charts under the shipped shells, for a person to
// look at: written only when KOV_SCREENSHOT_DIR names a folder (run under a real display server).

#include "picture/CurvePlot.h"
#include "picture/PictureView.h"
#include "stats/TfrmViewStatistics.h"
#include "task/TfrmCreateTaskWin.h"
#include "view/TfrmViewSolution.h"

#include "dbor/curve_picture.h"
#include "protocol/protocol.h"
#include "shell/texts.h"
#include "window_test.h"

#include <QAbstractButton>
#include <QApplication>
#include <QProcess>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

void runTool(const char* program, const QStringList& args) {
    QProcess p;
    p.start(QString::fromLatin1(program), args);
    p.waitForFinished(120000);
    ASSERT_EQ(p.exitCode(), 0) << program << " " << args.join(' ').toStdString();
}

class PictureScreens : public ::testing::Test {
protected:
    void SetUp() override {
        folder = qgetenv("KOV_SCREENSHOT_DIR");
        if (folder.isEmpty()) {
            GTEST_SKIP() << "KOV_SCREENSHOT_DIR is not set";
        }
        qputenv("LC_ALL", "C.UTF-8");
        for (const char* lng : {"eng", "rus"}) {
            const std::string name = kov::shell_file_name(lng);
            fs::copy_file(std::string(KOV_SHELL_DIR) + "/" + name, ws / ("Shells/" + name));
        }
        runTool(KOV_DEMO, {QString::fromStdString(ws.path())});
        for (const char* task : {"DEME02 --lang eng", "DEMR02 --lang rus"}) {
            runTool(KOV_BATCH,
                    QStringList{QStringLiteral("stats"), QString::fromStdString(ws.path())} +
                        QString::fromLatin1(task).split(' ') +
                        QStringList{QStringLiteral("--trials"), QStringLiteral("1000")});
        }
    }
    FakeHost& hostFor(const std::string& lng, const std::string& code) {
        host = std::make_unique<FakeHost>(ws.path(), lng, messages);
        host->shared.regional.decimalChar = ',';
        host->shared.protocol = kov::load_protocol(ws.path()).entries;
        host->shared.currentFileBase = ws / ("Data/kov_" + code);
        return *host;
    }
    void shot(QWidget* w, const QString& name) {
        QApplication::processEvents();
        QTest::qWait(100);
        w->grab().save(folder + QStringLiteral("/") + name + QStringLiteral(".png"));
    }

    TempWorkspace ws;
    ScriptedMessageService messages;
    std::unique_ptr<FakeHost> host;
    QString folder;
};

} // namespace

TEST_F(PictureScreens, CurvesRisksAndIncomes) {
    for (const auto& [lng, code] : {std::pair{"eng", "DEME02"}, std::pair{"rus", "DEMR02"}}) {
        const QString l = QString::fromLatin1(lng);
        FakeHost& h = hostFor(lng, code);

        // The task wizard's page of curves, reached by correcting a task with pay-back.
        auto* wizard = new TfrmCreateTaskWin(h, code);
        h.openCommandWindow(wizard);
        auto* pages = wizard->findChild<QStackedWidget*>();
        for (int k = 0; k < 9 && pages->currentWidget()->objectName() != QStringLiteral("gbWin_4");
             ++k) {
            wizard->findChild<QAbstractButton*>(QStringLiteral("btnNext"))->click();
        }
        EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("gbWin_4"))
            << messages.texts().join(QLatin1Char('|')).toStdString();
        auto* table = wizard->findChild<QTableView*>(QStringLiteral("Table41"));
        table->setCurrentIndex(
            table->model()->index(std::min(2, table->model()->rowCount() - 1), 0));
        shot(wizard, l + QStringLiteral("_task_page8"));
        wizard->close();

        // A curve whose third point turns back: drawn up to it, the point marked and named.
        CurvePlot plot;
        plot.setTexts(h.shared.text(kov::txt::SaleDelay),
                      h.shared.text(kov::txt::DistributionFunction));
        const std::vector<kov::DborPoint> bad = {{0, 0}, {2, 0.3}, {1.5, 0.6}, {5, 1}};
        const kov::CurvePicture picture = kov::curve_picture(bad);
        plot.showCurve(
            picture, QString::fromStdString(kov::curve_fault_caption(picture, h.shared.shell)), 1);
        plot.setDecimalChar(h.shared.regional.decimalChar);
        plot.resize(340, 280);
        plot.show();
        shot(&plot, l + QStringLiteral("_invalid_curve"));

        auto* stats = new TfrmViewStatistics(h, kov::all_flags<kov::LevelFlags>());
        h.openViewer(stats);
        stats->findChild<QTabWidget*>(QStringLiteral("ViewTabs"))->setCurrentIndex(1);
        shot(stats, l + QStringLiteral("_stats_risk"));
        stats->findChild<QTabWidget*>(QStringLiteral("ViewTabs"))->setCurrentIndex(0);
        shot(stats, l + QStringLiteral("_stats_table"));
        stats->close();

        auto* solution = new TfrmViewSolution(h, kov::all_flags<kov::VariantFlags>());
        h.openViewer(solution);
        solution->findChild<QTabWidget*>(QStringLiteral("ViewTabs"))->setCurrentIndex(1);
        shot(solution, l + QStringLiteral("_solution_incomes"));
        solution->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
