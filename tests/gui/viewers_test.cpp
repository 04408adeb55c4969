#include "app/TfrmMainWin.h"
#include "picture/PictureView.h"
#include "stats/TfrmSelCriteria.h"
#include "stats/TfrmViewStatistics.h"
#include "task/TfrmCreateTaskWin.h"
#include "task/TfrmSelectWin.h"
#include "ui/caption.h"
#include "view/TfrmSelFlags.h"
#include "view/TfrmViewSolution.h"
#include "view/TfrmViewTask.h"
#include "view/grid_panel.h"

#include "book/imports.h"
#include "book/layouts.h"
#include "book/workbook.h"
#include "host/workbook_writing.h"
#include "io/files.h"
#include "protocol/protocol.h"
#include "report_printer.h"
#include "scripted_messages.h"
#include "shell/texts.h"
#include "task/task_wizard.h"
#include "temp_dir.h"
#include "view/task_view.h"
#include "window_test.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCheckBox>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

// Runs a tool of the build; its standard output, or a failure of the test.
QString runTool(const char* program, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(QString::fromLatin1(program), args);
    p.waitForFinished(120000);
    EXPECT_EQ(p.exitCode(), 0) << program << " " << args.join(' ').toStdString() << "\n"
                               << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The demonstration Workspace with both shells, written once: kov-demo, and the statistics of
// the pay-back tasks DEME02 and DEMR02 made with kov-batch.
const std::string& demoWorkspace() {
    static TempWorkspace ws;
    static bool written = false;
    if (!written) {
        written = true;
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
    return ws.path();
}

QString escaped(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (c == QLatin1Char('\\')) {
            out += QStringLiteral("\\\\");
        } else if (c == QLatin1Char('\t')) {
            out += QStringLiteral("\\t");
        } else if (c == QLatin1Char('\r')) {
            out += QStringLiteral("\\r");
        } else if (c == QLatin1Char('\n')) {
            out += QStringLiteral("\\n");
        } else {
            out += c;
        }
    }
    return out;
}

// The grid panels of a viewer in the order of the window.
std::vector<GridPanel*> panelsOf(QWidget* viewer) {
    if (auto* task = qobject_cast<TfrmViewTask*>(viewer)) {
        std::vector<GridPanel*> panels;
        for (int g = 0; g < 5; ++g) {
            panels.push_back(task->panel(g));
        }
        return panels;
    }
    return {viewer->findChild<GridPanel*>()};
}

// What a viewer window shows, written as kov-batch view writes a viewer's content: the caption,
// the tabs, the parameter list, and per grid its headings (the texts the labels were fitted
// from) and its rows, a row 1 pixel high being a separator.
QString windowLines(QWidget* viewer) {
    QString out = QStringLiteral("caption\t") + escaped(viewer->windowTitle()) + '\n';
    if (auto* tabs = viewer->findChild<QTabBar*>(QStringLiteral("TabControl"))) {
        for (int i = 0; i < tabs->count(); ++i) {
            out += QStringLiteral("tab\t") + escaped(tabs->tabText(i)) + '\n';
        }
    }
    auto* list = viewer->findChild<QTableWidget*>(QStringLiteral("VarList"));
    for (int r = 0; r < list->rowCount(); ++r) {
        out += QStringLiteral("param\t") + escaped(list->item(r, 0)->text()) + '\t' +
               escaped(list->item(r, 1)->text()) + '\n';
    }
    const std::vector<GridPanel*> panels = panelsOf(viewer);
    for (std::size_t g = 0; g < panels.size(); ++g) {
        const GridPanel* panel = panels[g];
        const QAbstractItemModel* model = panel->table()->model();
        const QString n = QString::number(g + 1);
        out += QStringLiteral("grid\t") + n;
        for (int c = 0; c < model->columnCount(); ++c) {
            out += '\t' + escaped(panel->heading(c)->property("kovHeading").toString());
        }
        out += '\n';
        for (int r = 0; r < model->rowCount(); ++r) {
            if (panel->table()->rowHeight(r) == 1) {
                out += QStringLiteral("sep\t") + n + '\n';
                continue;
            }
            out += QStringLiteral("row\t") + n;
            for (int c = 0; c < model->columnCount(); ++c) {
                out += '\t' + escaped(model->index(r, c).data().toString());
            }
            out += '\n';
        }
    }
    return out;
}

// Every heading label shows its fitted text in full: no line is wider than the label and the
// lines fit its height.
void expectReadableHeadings(QWidget* viewer) {
    for (const GridPanel* panel : panelsOf(viewer)) {
        const int columns = panel->table()->model()->columnCount();
        for (int c = 0; c < columns; ++c) {
            const QLabel* label = panel->heading(c);
            if (label->isHidden()) {
                continue;
            }
            const QFontMetrics metrics(label->font(), label);
            const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 100000),
                                                      Qt::TextWordWrap, label->text());
            EXPECT_LE(needed.width(), label->width()) << label->objectName().toStdString();
            EXPECT_LE(needed.height(), label->height()) << label->objectName().toStdString();
        }
    }
}

// Drags a heading splitter by dx pixels with the left button.
void dragSplitter(QWidget* splitter, int dx) {
    // The splitter follows the mouse, so the positions are taken before it moves.
    const QPoint from(1, 5);
    const QPoint globalFrom = splitter->mapToGlobal(from);
    const auto send = [splitter, from, globalFrom](QEvent::Type type, int moved,
                                                   Qt::MouseButton button,
                                                   Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(from + QPoint(moved, 0)),
                      QPointF(globalFrom + QPoint(moved, 0)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(splitter, &e);
    };
    send(QEvent::MouseButtonPress, 0, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, dx, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, dx, Qt::LeftButton, Qt::NoButton);
}

template <class W> W* shownWindow() {
    W* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<W*>(w); d && d->isVisible()) {
            found = d;
        }
    }
    return found;
}

void flushDeletes() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A copy of the demonstration Workspace for one test, and a fake host on it with the shell of
// `suffix`, a comma as the decimal separator and the protocol loaded.
class ViewersTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("LC_ALL", "C.UTF-8");
        fs::copy(demoWorkspace(), ws.path(),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }

    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != main.get()) {
                w->close();
            }
        }
        flushDeletes();
    }

    FakeHost& fakeHost(const std::string& suffix = "eng") {
        host = std::make_unique<FakeHost>(ws.path(), suffix, messages);
        host->shared.regional = regionalSettingsFor(QStringLiteral("de_DE.UTF-8"));
        host->shared.protocol = kov::load_protocol(ws.path()).entries;
        return *host;
    }

    void choose(FakeHost& h, const std::string& code) {
        h.shared.currentFileBase = ws / ("Data/kov_" + code);
    }

    // The main window on the Workspace with the English shell alone.
    void startMain() {
        fs::remove(ws / ("Shells/" + kov::shell_file_name("rus")));
        main = std::make_unique<TfrmMainWin>(messages, ws.path());
        main->show();
    }

    // Runs a menu command of the main window and chooses `code` in the task selection.
    void selectThroughMenu(const char* item, const QString& code) {
        main->action(QString::fromLatin1(item))->trigger();
        auto* select = shownWindow<TfrmSelectWin>();
        ASSERT_NE(select, nullptr) << item;
        auto* list = select->findChild<QListWidget*>(QStringLiteral("lbTask"));
        const auto items =
            list->findItems(QLatin1Char('[') + code + QLatin1Char(']'), Qt::MatchStartsWith);
        ASSERT_EQ(items.size(), 1) << code.toStdString();
        list->setCurrentItem(items.front());
        select->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        flushDeletes();
    }

    TempWorkspace ws;
    ScriptedMessageService messages;
    std::unique_ptr<FakeHost> host;
    std::unique_ptr<TfrmMainWin> main;
};

// The viewers show exactly what kov-batch view prints for the demonstration's tasks, in both
// languages and with the chosen variants and risk levels; every heading reads in full.
TEST_F(ViewersTest, WindowsShowWhatKovBatchViewPrints) {
    struct Case {
        const char* lang;
        const char* viewer;
        const char* code;
        const char* list; // --variants or --levels
        std::function<QWidget*(FakeHost&)> open;
    };
    const kov::VariantFlags variants13 = [] {
        kov::VariantFlags f{};
        f[0] = f[2] = true;
        return f;
    }();
    const kov::LevelFlags level10 = [] {
        kov::LevelFlags f{};
        f[9] = true;
        return f;
    }();
    const auto task = [](FakeHost& h) { return new TfrmViewTask(h); };
    const auto solution = [](kov::VariantFlags f) {
        return [f](FakeHost& h) { return new TfrmViewSolution(h, f); };
    };
    const auto stats = [](kov::LevelFlags f) {
        return [f](FakeHost& h) { return new TfrmViewStatistics(h, f); };
    };
    const Case cases[] = {
        {"eng", "task", "DEME02", nullptr, task},
        {"eng", "task", "DEME03", nullptr, task},
        {"rus", "task", "DEMR02", nullptr, task},
        {"eng", "solution", "DEME02", "all", solution(kov::all_flags<kov::VariantFlags>())},
        {"eng", "solution", "DEME02", "1,3", solution(variants13)},
        {"eng", "solution", "DEME02", "none", solution(kov::VariantFlags{})},
        {"eng", "solution", "DEME03", "all", solution(kov::all_flags<kov::VariantFlags>())},
        {"rus", "solution", "DEMR03", "all", solution(kov::all_flags<kov::VariantFlags>())},
        {"eng", "stats", "DEME02", "all", stats(kov::all_flags<kov::LevelFlags>())},
        {"eng", "stats", "DEME02", "none", stats(kov::LevelFlags{})},
        {"eng", "stats", "DEME02", "10", stats(level10)},
        {"rus", "stats", "DEMR02", "all", stats(kov::all_flags<kov::LevelFlags>())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.viewer) + " " + c.code + " " + (c.list ? c.list : ""));
        FakeHost& h = fakeHost(c.lang);
        choose(h, c.code);
        QWidget* viewer = c.open(h);
        h.openViewer(viewer);
        QStringList args{QStringLiteral("view"),
                         QString::fromLatin1(c.viewer),
                         QString::fromStdString(ws.path()),
                         QString::fromLatin1(c.code),
                         QStringLiteral("--lang"),
                         QString::fromLatin1(c.lang)};
        if (c.list) {
            args << (std::string(c.viewer) == "stats" ? QStringLiteral("--levels")
                                                      : QStringLiteral("--variants"))
                 << QString::fromLatin1(c.list);
        }
        EXPECT_EQ(windowLines(viewer).toStdString(), runTool(KOV_BATCH, args).toStdString());
        expectReadableHeadings(viewer);
        viewer->close();
        flushDeletes();
    }
}

// The three commands through the task selection and the dialogs after it: the viewers open side
// by side in the MDI area, the main window stays disabled until the last dialog closes, and
// export and print follow the active viewer.
TEST_F(ViewersTest, ViewersOpenSideBySideThroughTheSelection) {
    startMain();
    main->resize(1280, 800);
    QMdiArea* mdi = main->mdiArea();

    selectThroughMenu("mnuInViewTask", QStringLiteral("DEME02"));
    EXPECT_TRUE(main->isEnabled());
    ASSERT_EQ(mdi->subWindowList().size(), 1);
    EXPECT_NE(qobject_cast<TfrmViewTask*>(mdi->currentSubWindow()->widget()), nullptr);
    main->mnuOutClick();
    EXPECT_TRUE(main->action(QStringLiteral("mnuOutPrint"))->isEnabled());

    // All variant boxes cleared: the table has one empty row.
    selectThroughMenu("mnuOutViewSolution", QStringLiteral("DEME02"));
    auto* flags = shownWindow<TfrmSelFlags>();
    ASSERT_NE(flags, nullptr);
    EXPECT_FALSE(main->isEnabled());
    EXPECT_TRUE(flags->isEnabled());
    // DEME02 has three investment variants: the boxes of the others are hidden.
    EXPECT_FALSE(flags->findChild<QCheckBox*>(QStringLiteral("CheckBox3"))->isHidden());
    EXPECT_TRUE(flags->findChild<QCheckBox*>(QStringLiteral("CheckBox4"))->isHidden());
    flags->findChild<QCheckBox*>(QStringLiteral("CheckBox17"))->click();
    EXPECT_EQ(flags->flags(), kov::VariantFlags{});
    flags->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    flushDeletes();
    EXPECT_TRUE(main->isEnabled());
    ASSERT_EQ(mdi->subWindowList().size(), 2);
    auto* solution = qobject_cast<TfrmViewSolution*>(mdi->currentSubWindow()->widget());
    ASSERT_NE(solution, nullptr);
    const QAbstractItemModel* table = solution->panel()->table()->model();
    ASSERT_EQ(table->rowCount(), 1);
    for (int c = 0; c < table->columnCount(); ++c) {
        EXPECT_TRUE(table->index(0, c).data().toString().isEmpty()) << c;
    }

    // Only the solved tasks with statistics (DEME02 and DEMR02) are listed for the statistics
    // viewer.
    main->action(QStringLiteral("N7"))->trigger();
    auto* select = shownWindow<TfrmSelectWin>();
    ASSERT_NE(select, nullptr);
    auto* list = select->findChild<QListWidget*>(QStringLiteral("lbTask"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(list->item(0)->text().startsWith(QStringLiteral("[DEME02]")));
    EXPECT_TRUE(list->item(1)->text().startsWith(QStringLiteral("[DEMR02]")));
    select->close();
    flushDeletes();
    selectThroughMenu("N7", QStringLiteral("DEME02"));
    auto* criteria = shownWindow<TfrmSelCriteria>();
    ASSERT_NE(criteria, nullptr);
    criteria->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    flushDeletes();
    EXPECT_TRUE(main->isEnabled());
    ASSERT_EQ(mdi->subWindowList().size(), 3);
    EXPECT_NE(qobject_cast<TfrmViewStatistics*>(mdi->currentSubWindow()->widget()), nullptr);
    // The window limits, and each viewer a step apart from the one before so all stay in reach.
    const QList<QMdiSubWindow*> subs = mdi->subWindowList();
    const QSize limits[3][2] = {
        {{1008, 500}, {1008, 685}}, {{1008, 500}, {1008, 685}}, {{970, 386}, {1008, 685}}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(subs[i]->minimumSize(), limits[i][0]) << i;
        EXPECT_EQ(subs[i]->maximumSize(), limits[i][1]) << i;
    }
    EXPECT_NE(subs[0]->pos(), subs[1]->pos());
    EXPECT_NE(subs[1]->pos(), subs[2]->pos());
    main->mnuOutClick();
    main->N5Click();
    EXPECT_FALSE(main->action(QStringLiteral("mnuOutPrint"))->isEnabled());
    EXPECT_TRUE(main->action(QStringLiteral("N9"))->isEnabled());
    EXPECT_TRUE(messages.boxes.empty()) << messages.texts().join('\n').toStdString();
}

// The tasks listed by mode: every task for the task viewer, the solved ones for the solution
// viewer, the entered ones for correction, the solved ones with a statistics file for the
// statistics viewer; an empty list leaves OK disabled.
TEST_F(ViewersTest, TheSelectionListsTheTasksOfItsCommand) {
    FakeHost& h = fakeHost();
    h.shared.protocol = {{"ENTER1", "entered", kov::TaskState::Entered, 1, 1, 0, 0},
                         {"QUEUE1", "queued", kov::TaskState::Queued, 1, 1, 1, 0},
                         {"SOLVE1", "solved", kov::TaskState::Solved, 1, 1, 1, 1},
                         {"STATS1", "with statistics", kov::TaskState::Solved, 1, 1, 1, 1}};
    std::ofstream(ws / "Data/kov_STATS1_stat.dat") << "x";
    const struct {
        int mode;
        int caption;
        QStringList items;
    } cases[] = {
        {1,
         428,
         {"[ENTER1] entered", "[QUEUE1] queued", "[SOLVE1] solved", "[STATS1] with statistics"}},
        {2, 430, {"[SOLVE1] solved", "[STATS1] with statistics"}},
        {3, 429, {"[ENTER1] entered"}},
        {4, 431, {"[STATS1] with statistics"}},
    };
    for (const auto& c : cases) {
        h.shared.windowMode = c.mode;
        auto* select = new TfrmSelectWin(h);
        h.openCommandWindow(select);
        auto* list = select->findChild<QListWidget*>(QStringLiteral("lbTask"));
        QStringList items;
        for (int i = 0; i < list->count(); ++i) {
            items << list->item(i)->text();
        }
        EXPECT_EQ(items, c.items) << c.mode;
        EXPECT_EQ(list->currentRow(), 0) << c.mode;
        EXPECT_EQ(select->windowTitle(), h.shared.text(c.caption));
        select->close();
        flushDeletes();
    }

    // Correction of an entered task: the path is recorded and the dialog closes.
    h.shared.windowMode = 3;
    auto* select = new TfrmSelectWin(h);
    h.openCommandWindow(select);
    select->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    flushDeletes();
    EXPECT_EQ(h.shared.currentFileBase, ws / "Data/kov_ENTER1");
    EXPECT_TRUE(h.viewers.empty());

    // No solved task: an empty list, OK disabled, Cancel closes.
    h.shared.protocol.resize(2);
    h.shared.windowMode = 2;
    QPointer<TfrmSelectWin> empty = new TfrmSelectWin(h);
    h.openCommandWindow(empty);
    EXPECT_EQ(empty->findChild<QListWidget*>(QStringLiteral("lbTask"))->count(), 0);
    EXPECT_FALSE(empty->findChild<QPushButton*>(QStringLiteral("btnOK"))->isEnabled());
    empty->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    flushDeletes();
    EXPECT_TRUE(empty.isNull());
}

// Tabs 3 and 4 belong to a task with pay-back: for any other task the previous tab stays, with
// the warning.
TEST_F(ViewersTest, IncomeTabsAreRefusedForATaskWithoutPayBack) {
    FakeHost& h = fakeHost();
    choose(h, "DEME03");
    auto* viewer = new TfrmViewTask(h);
    h.openViewer(viewer);
    ASSERT_FALSE(viewer->view().income_tabs);
    auto* tabs = viewer->findChild<QTabBar*>(QStringLiteral("TabControl"));
    auto* pages = viewer->findChild<QStackedWidget*>();
    tabs->setCurrentIndex(1);
    EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("Param2"));
    for (int refused : {3, 4}) {
        messages.clear();
        tabs->setCurrentIndex(refused);
        EXPECT_EQ(tabs->currentIndex(), 1);
        EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("Param2"));
        EXPECT_EQ(messages.texts(), QStringList{h.shared.text(335) + QStringLiteral(".")});
    }

    choose(h, "DEME02");
    auto* payback = new TfrmViewTask(h);
    h.openViewer(payback);
    messages.clear();
    payback->findChild<QTabBar*>(QStringLiteral("TabControl"))->setCurrentIndex(3);
    EXPECT_EQ(payback->findChild<QStackedWidget*>()->currentWidget()->objectName(),
              QStringLiteral("Param4"));
    EXPECT_TRUE(messages.boxes.empty());
}

// Dragging a heading splitter resizes the heading within its limits; when the drag ends the
// column under it takes the heading's width and the heading is fitted to it again.
TEST_F(ViewersTest, DraggingAHeadingSplitterResizesTheColumnAndRefitsTheHeading) {
    FakeHost& h = fakeHost();
    choose(h, "DEME02");
    auto* solution = new TfrmViewSolution(h, kov::all_flags<kov::VariantFlags>());
    h.openViewer(solution);
    auto* task = new TfrmViewTask(h);
    h.openViewer(task);
    const struct {
        GridPanel* panel;
        const char* splitter;
        int column;
        int dx;
        int width; // of the heading after the drag
        int columnWidth;
    } cases[] = {
        {solution->panel(), "Splitter9", 8, -40, 110, 111}, // 150 - 40
        {solution->panel(), "Splitter9", 8, -100, 80, 81},  // no narrower than 80
        {solution->panel(), "Splitter9", 8, 500, 300, 301}, // no wider than 300
        {solution->panel(), "Splitter1", 0, 5, 42, 40},     // the first column: 2 pixels less
        {task->panel(1), "Sp2_3", 2, -250, 110, 111},
        {task->panel(1), "Sp2_1", 0, 10, 80, 79}, // the first column: 1 pixel less
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.splitter);
        QLabel* label = c.panel->heading(c.column);
        QLabel* next = c.panel->heading(c.column + 1);
        const QString before = label->text();
        const int start =
            label->width() - QFontMetrics(label->font(), label).horizontalAdvance('-');
        dragSplitter(c.panel->findChild<QWidget*>(QLatin1String(c.splitter)), c.dx);
        EXPECT_EQ(c.panel->table()->columnWidth(c.column), c.columnWidth);
        EXPECT_EQ(next->x(), label->x() + c.width + 2);
        const QString fitted = fitCaption(label->property("kovHeading").toString(), c.width,
                                          QFontMetrics(label->font(), label));
        EXPECT_EQ(label->text(), fitted);
        if (c.width < start) {
            EXPECT_NE(label->text(), before) << "re-wrapped";
        }
        // Undo, so the next case starts from the design width.
        dragSplitter(c.panel->findChild<QWidget*>(QLatin1String(c.splitter)), start - c.width);
    }
    expectReadableHeadings(solution);
    expectReadableHeadings(task);
}

// A file that does not fit its database: an error box naming it, and no viewer.
TEST_F(ViewersTest, AFileThatDoesNotFitItsDatabaseOpensNoViewer) {
    FakeHost& h = fakeHost();
    std::ofstream(ws / "Data/kov_DEME02_stat.dat", std::ios::binary | std::ios::trunc) << "short";
    choose(h, "DEME02");
    auto* criteria = new TfrmSelCriteria(h);
    h.openCommandWindow(criteria);
    criteria->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    flushDeletes();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, ScriptedMessageService::Kind::Error);
    EXPECT_TRUE(messages.boxes[0].text.contains(QStringLiteral("kov_DEME02_stat.dat")))
        << messages.boxes[0].text.toStdString();
    EXPECT_TRUE(h.viewers.empty());

    // The database of the task is gone: neither the task nor the solution viewer opens.
    fs::remove(ws / "Dbor/A_101_dbor_eng.dat");
    for (int mode : {1, 2}) {
        messages.clear();
        h.shared.windowMode = mode;
        auto* select = new TfrmSelectWin(h);
        h.openCommandWindow(select);
        auto* list = select->findChild<QListWidget*>(QStringLiteral("lbTask"));
        list->setCurrentItem(list->findItems(QStringLiteral("[DEME02]"), Qt::MatchStartsWith)[0]);
        select->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        flushDeletes();
        if (auto* flags = shownWindow<TfrmSelFlags>()) {
            flags->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
            flushDeletes();
        }
        ASSERT_EQ(messages.boxes.size(), 1u) << mode;
        EXPECT_TRUE(messages.boxes[0].text.contains(QStringLiteral("A_101_dbor_eng.dat")))
            << messages.boxes[0].text.toStdString();
        EXPECT_TRUE(h.viewers.empty()) << mode;
    }
}

} // namespace

// With no printer, the print commands write the active viewer's report as a PDF under Reports
// with a name no file has, open it through the open-file service and name it in an information
// box.
TEST_F(ViewersTest, PrintWithoutAPrinterWritesAPdfOpensItAndNamesIt) {
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        GTEST_SKIP() << "a default printer exists";
    }
    startMain();
    RecordingFileOpener opener;
    main->state().fileOpener = &opener;
    const auto expectReport = [&](const std::string& name) {
        const std::string path = ws / ("Reports/" + name);
        ASSERT_FALSE(opener.opened.empty());
        EXPECT_EQ(opener.opened.back(), QString::fromStdString(path));
        EXPECT_TRUE(kov::file_exists(path)) << path;
        ASSERT_FALSE(messages.boxes.empty());
        EXPECT_EQ(messages.boxes.back().kind, ScriptedMessageService::Kind::Information);
        EXPECT_TRUE(messages.boxes.back().text.contains(
            QLatin1Char('"') + QString::fromStdString(path) + QStringLiteral("\".")))
            << messages.boxes.back().text.toStdString();
    };

    selectThroughMenu("mnuInViewTask", QStringLiteral("DEME02"));
    main->mnuOutClick();
    main->action(QStringLiteral("mnuOutPrint"))->trigger();
    expectReport("kov_DEME02.pdf");
    main->action(QStringLiteral("mnuOutPrint"))->trigger();
    expectReport("kov_DEME02 (2).pdf");

    selectThroughMenu("mnuOutViewSolution", QStringLiteral("DEME02"));
    shownWindow<TfrmSelFlags>()->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    flushDeletes();
    main->mnuOutClick();
    main->action(QStringLiteral("mnuOutPrint"))->trigger();
    expectReport("kov_DEME02_out.pdf");

    selectThroughMenu("N7", QStringLiteral("DEME02"));
    shownWindow<TfrmSelCriteria>()->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    flushDeletes();
    main->N5Click();
    main->action(QStringLiteral("N9"))->trigger();
    expectReport("kov_DEME02_stat.pdf");
    EXPECT_EQ(opener.opened.size(), 4u);
    EXPECT_EQ(messages.boxes.size(), 4u) << messages.texts().join('\n').toStdString();
}

// A printer that fails is reported in an error box with the printer's own words; nothing is
// written and nothing opened.
TEST_F(ViewersTest, APrinterThatFailsIsReportedInAnErrorBox) {
    struct FailingPrinter final : ReportPrintService {
        PrintOutcome print(const ReportLayout&, const std::string&, const std::string&,
                           const std::string&) override {
            throw std::runtime_error("the paper ran out");
        }
    } printer;
    startMain();
    RecordingFileOpener opener;
    main->state().fileOpener = &opener;
    main->state().printer = &printer;
    selectThroughMenu("mnuInViewTask", QStringLiteral("DEME02"));
    main->mnuOutClick();
    main->action(QStringLiteral("mnuOutPrint"))->trigger();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, ScriptedMessageService::Kind::Error);
    EXPECT_EQ(messages.boxes[0].text, main->state().text(kov::txt::ReportNotPrinted) +
                                          QStringLiteral(" (the paper ran out) !!!"));
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_TRUE(kov::find_files(ws / "Reports", "*.pdf").empty());
}

namespace {

// Every cell of every sheet of the workbook at `path`, read back with the core's reader, is the
// text of `layout`, and the sheets carry its names.
void expectWorkbookHolds(const std::string& path, const kov::WorkbookLayout& layout) {
    const auto book = kov::open_workbook(path);
    ASSERT_EQ(book->sheet_count(), layout.sheets.size()) << path;
    for (std::size_t i = 0; i < layout.sheets.size(); ++i) {
        const kov::SheetLayout& sheet = layout.sheets[i];
        ASSERT_GT(sheet.rows(), 0u);
        const kov::SheetCells cells = book->read_sheet(i, sheet.rows(), sheet.columns, ',');
        for (std::size_t r = 0; r < sheet.rows(); ++r) {
            for (std::size_t c = 0; c < sheet.columns; ++c) {
                EXPECT_EQ(cells.at(r + 1, c + 1), sheet.at(r, c))
                    << path << " sheet " << i + 1 << " row " << r + 1 << " column " << c + 1;
            }
        }
    }
}

// The files of a folder (none when it does not exist).
std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// The export commands act on the active viewer: each writes the viewer's workbook under
// Reports with a name no file has, and hands it to the desktop to open; the workbook reads back
// with the texts the viewer shows. When nothing can open it, an information box names it.
TEST_F(ViewersTest, ExportsWriteTheActiveViewersWorkbookAndOpenIt) {
    startMain();
    main->resize(1280, 800);
    RecordingFileOpener opener;
    main->state().fileOpener = &opener;
    QMdiArea* mdi = main->mdiArea();

    selectThroughMenu("mnuInViewTask", QStringLiteral("DEME02"));
    selectThroughMenu("mnuOutViewSolution", QStringLiteral("DEME02"));
    shownWindow<TfrmSelFlags>()->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    flushDeletes();
    selectThroughMenu("N7", QStringLiteral("DEME02"));
    shownWindow<TfrmSelCriteria>()->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    flushDeletes();
    const QList<QMdiSubWindow*> subs = mdi->subWindowList();
    ASSERT_EQ(subs.size(), 3);

    struct Case {
        QMdiSubWindow* sub;
        const char* command;
        const char* file;
    };
    const Case cases[] = {
        {subs[0], "mnuOutExpInExcel", "kov_DEME02.xlsx"},
        {subs[1], "mnuOutExpInExcel", "kov_DEME02_out.xlsx"},
        {subs[2], "N8", "kov_DEME02_stat.xlsx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        mdi->setActiveSubWindow(c.sub);
        main->mnuOutClick();
        main->N5Click();
        main->action(QString::fromLatin1(c.command))->trigger();
        const std::string path = ws / (std::string("Reports/") + c.file);
        ASSERT_TRUE(kov::file_exists(path));
        EXPECT_EQ(opener.opened.back().toStdString(), path);
        QWidget* viewer = c.sub->widget();
        kov::WorkbookLayout layout;
        if (auto* v = qobject_cast<TfrmViewTask*>(viewer)) {
            layout = v->workbook();
        } else if (auto* v = qobject_cast<TfrmViewSolution*>(viewer)) {
            layout = v->workbook();
        } else if (auto* v = qobject_cast<TfrmViewStatistics*>(viewer)) {
            layout = v->workbook();
        }
        expectWorkbookHolds(path, layout);
        // The texts are the viewer's: its parameter list on sheet 1, its (last) grid below
        // the headings of the last sheet.
        const auto book = kov::open_workbook(path);
        const auto* params = viewer->findChild<QTableWidget*>(QStringLiteral("VarList"));
        const auto paramText = [&](int r, int c) {
            const QTableWidgetItem* item = params->item(r, c);
            return item ? item->text().toStdString() : std::string();
        };
        const kov::SheetCells s1 = book->read_sheet(0, 3, 2, ',');
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(s1.at(std::size_t(r) + 1, 1), paramText(r, 0)) << r;
            EXPECT_EQ(s1.at(std::size_t(r) + 1, 2), paramText(r, 1)) << r;
        }
        // Sheet k + 2 holds grid k of the viewer.
        const std::size_t lastSheet = book->sheet_count() - 1;
        const QAbstractItemModel* grid = panelsOf(viewer)[lastSheet - 1]->table()->model();
        ASSERT_GT(grid->rowCount(), 0);
        const kov::SheetCells last = book->read_sheet(lastSheet, 2, 2, ',');
        EXPECT_EQ(last.at(2, 1), grid->index(0, 0).data().toString().toStdString());
        EXPECT_EQ(last.at(2, 2), grid->index(0, 1).data().toString().toStdString());
    }
    EXPECT_TRUE(messages.boxes.empty()) << messages.texts().join('\n').toStdString();

    // Again: a new name; the first workbook stays as it was. Nothing opens it: a box names it.
    const kov::Bytes first = kov::read_file(ws / "Reports/kov_DEME02.xlsx");
    opener.canOpen = false;
    mdi->setActiveSubWindow(subs[0]);
    main->mnuOutClick();
    main->action(QStringLiteral("mnuOutExpInExcel"))->trigger();
    const std::string second = ws / "Reports/kov_DEME02 (2).xlsx";
    EXPECT_TRUE(kov::file_exists(second));
    EXPECT_EQ(kov::read_file(ws / "Reports/kov_DEME02.xlsx"), first);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, ScriptedMessageService::Kind::Information);
    EXPECT_TRUE(messages.boxes[0].text.contains(QString::fromStdString(second)))
        << messages.boxes[0].text.toStdString();
}

// Cancel in the progress dialog stops the writing and leaves no file; a Reports that cannot
// be written to ends the export with its error box, naming the file.
TEST_F(ViewersTest, ACancelledOrFailedExportLeavesNoFile) {
    FakeHost& h = fakeHost();
    choose(h, "DEME02");
    auto* viewer = new TfrmViewTask(h);
    h.openViewer(viewer);
    const kov::WorkbookLayout layout = viewer->workbook();

    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::allWidgets()) {
            if (auto* p = qobject_cast<QProgressDialog*>(w)) {
                p->cancel();
            }
        }
    });
    EXPECT_TRUE(exportWorkbook(h.shared, viewer, viewer->reportName(), layout, "export").isEmpty());
    EXPECT_EQ(filesIn(ws / "Reports"), std::vector<std::string>{});
    EXPECT_TRUE(h.fileOpener.opened.isEmpty());
    EXPECT_TRUE(messages.boxes.empty());

    fs::remove_all(ws / "Reports");
    std::ofstream(ws / "Reports") << "a file";
    EXPECT_TRUE(exportWorkbook(h.shared, viewer, viewer->reportName(), layout, "export").isEmpty());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, ScriptedMessageService::Kind::Error);
    EXPECT_TRUE(messages.boxes[0].text.startsWith(h.shared.text(322)));
    EXPECT_TRUE(messages.boxes[0].text.contains(QStringLiteral("Reports")));
    EXPECT_TRUE(h.fileOpener.opened.isEmpty());
}

// The wizard's workbook import (mode 2): the task's export read back fills the wizard's header,
// variants and the investment mode and type radios, while the code and name fields keep what
// was typed; a refused workbook (another mode, another database type, a cell that is no number,
// a missing sheet) shows its box and changes nothing, as does a cancelled file dialog.
TEST_F(ViewersTest, TheWizardImportsATaskWorkbookWholeOrNotAtAll) {
    FakeHost& h = fakeHost();
    h.shared.windowMode = kov::kWizardImport;
    const kov::TaskView view = kov::build_task_view(ws.path(), "DEME02", h.shared.shell, ',');
    const kov::TaskHeader& task = view.task;
    const kov::WorkbookLayout layout = kov::task_workbook(view, h.shared.shell);
    const auto workbook = [&](const std::string& name,
                              const std::function<void(kov::WorkbookLayout&)>& change) {
        kov::WorkbookLayout changed = layout;
        change(changed);
        const std::string path = ws / name;
        kov::write_workbook(path, changed);
        return QString::fromStdString(path);
    };
    const auto cell = [](kov::WorkbookLayout& l, std::size_t sheet,
                         std::size_t row) -> std::string& {
        return l.sheets[sheet].cells[row * l.sheets[sheet].columns + 1];
    };
    const QString good = workbook("good.xlsx", [](kov::WorkbookLayout&) {});

    auto* wizard = new TfrmCreateTaskWin(h);
    h.openCommandWindow(wizard);
    wizard->findChild<QRadioButton*>(task.reg == 1 ? "RB1_1" : "RB1_2")->click();
    wizard->findChild<QRadioButton*>("RB_2")->click();
    auto* code = wizard->findChild<QLineEdit*>("txtShifr");
    auto* name = wizard->findChild<QLineEdit*>("txtName");
    code->setText("TYPED1");
    name->setText("typed name");
    auto* load = wizard->findChild<QPushButton*>("btnLoadOutData");
    ASSERT_TRUE(load->isEnabled());
    const kov::TaskHeader before = wizard->wizard().header();

    struct Refusal {
        const char* file;
        std::function<void(kov::WorkbookLayout&)> change;
        ScriptedMessageService::Kind kind;
        int text; // the shell text the box begins with
    };
    const Refusal refusals[] = {
        {"mode.xlsx", [&](auto& l) { cell(l, 0, 2) = std::to_string(3 - task.reg); },
         ScriptedMessageService::Kind::Warning, 386},
        {"type.xlsx",
         [&](auto& l) { cell(l, 0, 11) = (task.reg == 1 ? "B_" : "A_") + std::string("123"); },
         ScriptedMessageService::Kind::Warning, 385},
        {"cell.xlsx", [&](auto& l) { cell(l, 0, 22) = "x1"; }, ScriptedMessageService::Kind::Error,
         530},
        {"sheet.xlsx", [&](auto& l) { l.sheets.resize(2); }, ScriptedMessageService::Kind::Error,
         530},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.file);
        messages.clear();
        h.fileDialogs.answers.push_back(workbook(r.file, r.change));
        load->click();
        ASSERT_EQ(messages.boxes.size(), 1u);
        EXPECT_EQ(messages.boxes[0].kind, r.kind);
        EXPECT_TRUE(messages.boxes[0].text.startsWith(h.shared.text(r.text)))
            << messages.boxes[0].text.toStdString();
        EXPECT_EQ(wizard->wizard().header(), before);
        EXPECT_TRUE(wizard->wizard().variants().empty());
    }
    messages.clear();
    load->click(); // the dialog cancelled
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(wizard->wizard().header(), before);

    h.fileDialogs.answers.push_back(good);
    load->click();
    EXPECT_TRUE(messages.boxes.empty()) << messages.texts().join('\n').toStdString();
    const auto book = kov::open_workbook(good.toStdString());
    const kov::TaskWorkbook read =
        kov::read_task_workbook(*book, task.reg, ',', h.shared.codepage());
    ASSERT_TRUE(read.outcome.ok());
    EXPECT_EQ(wizard->wizard().header(), read.header);
    EXPECT_EQ(wizard->wizard().variants(), read.variants);
    EXPECT_EQ(read.header.tipz, task.tipz);
    EXPECT_EQ(read.header.shifr_db, task.shifr_db);
    EXPECT_EQ(read.header.nsg, task.nsg);
    EXPECT_TRUE(
        wizard->findChild<QRadioButton*>(QStringLiteral("RB2_%1").arg(task.tipz))->isChecked());
    EXPECT_EQ(code->text(), QStringLiteral("TYPED1"));
    EXPECT_EQ(name->text(), QStringLiteral("typed name"));
    EXPECT_EQ(wizard->findChild<QLabel*>("Label_ex1")->text(), h.shared.text(68) + ':');
    EXPECT_EQ(wizard->findChild<QLabel*>("Label_ex2")->text(), good);
    EXPECT_EQ(h.fileDialogs.captions.size(), 6);
}

// The solution viewer certifies its plans beneath the table and, on its second tab, works out
// why the plans hold with a progress dialog: the same figures kov-batch view --proof --why prints,
// in both languages. Cancel leaves the table empty.
TEST_F(ViewersTest, TheSolutionViewerCertifiesItsPlansAndWorksOutWhy) {
    for (const char* lang : {"eng", "rus"}) {
        SCOPED_TRACE(lang);
        const char* code = std::string(lang) == "eng" ? "DEME02" : "DEMR03";
        FakeHost& h = fakeHost(lang);
        choose(h, code);
        auto* viewer = new TfrmViewSolution(h, kov::all_flags<kov::VariantFlags>());
        h.openViewer(viewer);
        const QString batch =
            runTool(KOV_BATCH, {QStringLiteral("view"), QStringLiteral("solution"),
                                QString::fromStdString(ws.path()), QString::fromLatin1(code),
                                QStringLiteral("--lang"), QString::fromLatin1(lang),
                                QStringLiteral("--proof"), QStringLiteral("--why")});
        QStringList proofs, whys;
        for (const QString& line : batch.split('\n')) {
            if (line.startsWith(QStringLiteral("proof\t"))) {
                proofs << line;
            } else if (line.startsWith(QStringLiteral("why\t"))) {
                whys << line;
            }
        }
        ASSERT_FALSE(proofs.isEmpty());
        // Every demonstration plan is the best one.
        auto* summary = viewer->findChild<QLabel*>(QStringLiteral("lblProofSummary"));
        ASSERT_NE(summary, nullptr);
        EXPECT_TRUE(summary->isVisibleTo(viewer));
        EXPECT_TRUE(summary->text().startsWith(h.shared.text(kov::txt::ProofHeading) + ": "));
        for (const QString& p : proofs) {
            const QStringList f = p.split('\t');
            EXPECT_EQ(f[4], QStringLiteral("0,00"));
            EXPECT_TRUE(summary->text().contains(f[1] + QStringLiteral(": ") +
                                                 h.shared.text(kov::txt::ProofOptimal)));
        }

        auto* tabs = viewer->findChild<QTabWidget*>(QStringLiteral("ViewTabs"));
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->tabText(2), h.shared.text(kov::txt::WhyTab));
        tabs->setCurrentIndex(2);
        auto* table = viewer->findChild<QTableWidget*>(QStringLiteral("sgWhy"));
        auto* button = viewer->findChild<QPushButton*>(QStringLiteral("btnWhy"));
        QTimer::singleShot(0, [] {
            for (QWidget* w : QApplication::allWidgets()) {
                if (auto* p = qobject_cast<QProgressDialog*>(w)) {
                    p->cancel();
                }
            }
        });
        button->click();
        EXPECT_EQ(table->rowCount(), 0);

        bool shown = false;
        QTimer::singleShot(0, [&] { shown = shownWindow<QProgressDialog>() != nullptr; });
        button->click();
        EXPECT_TRUE(shown);
        QStringList rows;
        for (int r = 0; r < table->rowCount(); ++r) {
            if (!table->item(r, 0)) {
                continue; // the separator between two variants
            }
            const bool taken = table->item(r, 4)->text() == h.shared.text(kov::txt::Yes);
            const QString change = table->item(r, 5)->text();
            rows << QStringList{QStringLiteral("why"),
                                table->item(r, 0)->text(),
                                table->item(r, 1)->text(),
                                table->item(r, 2)->text(),
                                taken ? QStringLiteral("1") : QStringLiteral("0"),
                                taken ? QStringLiteral("fall") : QStringLiteral("rise"),
                                change == h.shared.text(kov::txt::ProofNever) ? QStringLiteral("-")
                                                                              : change.mid(1)}
                        .join('\t');
        }
        EXPECT_EQ(rows, whys);
        EXPECT_TRUE(messages.boxes.empty());
        viewer->close();
        flushDeletes();
    }
}

// The statistics viewer's risk picture and the solution viewer's bar chart draw what the core
// computes for the same files, beside the table they leave as it was.
TEST_F(ViewersTest, PicturesDrawTheRiskOfEachVariantAndTheIncomeOfEachSelectedOne) {
    FakeHost& h = fakeHost();
    choose(h, "DEME02");
    const kov::StatisticsView stats = kov::build_statistics_view(
        ws.path(), "DEME02", h.shared.shell, ',', kov::all_flags<kov::LevelFlags>());
    auto* statistics = new TfrmViewStatistics(h, kov::LevelFlags{});
    h.openViewer(statistics);
    auto* tabs = statistics->findChild<QTabWidget*>(QStringLiteral("ViewTabs"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(0), h.shared.text(kov::txt::TableTab));
    EXPECT_EQ(tabs->tabText(1), h.shared.text(kov::txt::RiskPictureTab));
    EXPECT_EQ(tabs->widget(0), statistics->panel());
    QChart* risk = statistics->picture()->chart();
    ASSERT_NE(risk, nullptr);
    const QList<QAbstractSeries*> lines = risk->series();
    ASSERT_EQ(std::size_t(lines.size()), stats.risk.series.size());
    for (std::size_t n = 0; n < stats.risk.series.size(); ++n) {
        const auto* line = qobject_cast<QLineSeries*>(lines[qsizetype(n)]);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->name().toStdString(), stats.risk.series[n].name);
        ASSERT_EQ(line->count(), 10);
        EXPECT_EQ(line->at(9).y(), stats.risk.series[n].y[9]);
        if (n > 0) {
            const auto* before = qobject_cast<QLineSeries*>(lines[qsizetype(n - 1)]);
            EXPECT_NE(line->pen().color(), before->pen().color());
        }
    }
    EXPECT_TRUE(risk->legend()->isVisible());

    kov::VariantFlags shown{};
    shown[0] = shown[2] = true;
    const kov::SolutionView solved =
        kov::build_solution_view(ws.path(), "DEME02", h.shared.shell, ',', shown);
    auto* solution = new TfrmViewSolution(h, shown);
    h.openViewer(solution);
    QChart* incomes = solution->picture()->chart();
    ASSERT_NE(incomes, nullptr);
    auto* bars = qobject_cast<QBarSeries*>(incomes->series().value(0));
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->count(), 1);
    const QBarSet* set = bars->barSets().at(0);
    ASSERT_EQ(set->count(), 2);
    EXPECT_EQ(set->at(0), solved.figures[0].income);
    EXPECT_EQ(set->at(1), solved.figures[2].income);
    auto* categories = qobject_cast<QBarCategoryAxis*>(incomes->axes(Qt::Horizontal).value(0));
    ASSERT_NE(categories, nullptr);
    EXPECT_EQ(categories->categories(), (QStringList{QStringLiteral("1"), QStringLiteral("3")}));

    // No variant selected: the picture says there is nothing to show.
    auto* none = new TfrmViewSolution(h, kov::VariantFlags{});
    h.openViewer(none);
    EXPECT_EQ(none->picture()->chart(), nullptr);
    auto* empty = none->picture()->findChild<QLabel*>(QStringLiteral("PictureEmpty"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->text(), h.shared.text(kov::txt::NothingToShow));
    for (QWidget* w : std::initializer_list<QWidget*>{statistics, solution, none}) {
        w->close();
    }
    flushDeletes();
}
