#include "app/TfrmMainWin.h"
#include "app/TfrmSelLang.h"

#include "io/fault.h"
#include "io/files.h"
#include "protocol/protocol.h"
#include "scripted_messages.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A Workspace with test shells and a known locale; the main window on it.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("LC_ALL", "C.UTF-8");
        qunsetenv("LC_NUMERIC");
    }

    void addShell(const std::string& suffix, const std::string& title) {
        write_shell(ws.path() + "/Shells", suffix, numbered_shell(title));
    }

    std::unique_ptr<TfrmMainWin> start() {
        auto w = std::make_unique<TfrmMainWin>(messages, ws.path());
        w->setTerminator([this] { ++terminations; });
        return w;
    }

    TfrmSelLang* languageDialog() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<TfrmSelLang*>(w); d && d->isVisible()) {
                return d;
            }
        }
        return nullptr;
    }

    TempWorkspace ws;
    ScriptedMessageService messages;
    int terminations = 0;
};

QStringList menuTitles(QMainWindow& w) {
    QStringList out;
    for (QAction* a : w.menuBar()->actions()) {
        out << a->text();
    }
    return out;
}

} // namespace

TEST_F(MainWindowTest, OneShellStartsWithoutDialogWithEveryCaptionFromTheShell) {
    addShell("eng", "eng English");
    auto w = start();
    EXPECT_FALSE(w->terminated());
    EXPECT_EQ(languageDialog(), nullptr);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(w->windowTitle(), "T272");
    EXPECT_EQ(menuTitles(*w), QStringList({"T40", "T469", "T409", "T69", "T435", "T399", "T347"}));
    EXPECT_EQ(w->action("Optim")->text(), "T71");
    EXPECT_EQ(w->action("N15")->text(), "T466");
    EXPECT_EQ(w->state().shell.suffix, "eng");
    EXPECT_EQ(w->state().shell.file_name, "Shell (KOV 1.0).eng");
    // The missing protocol was created, with its warning.
    EXPECT_EQ(messages.texts(), QStringList({"T202..."}));
    EXPECT_EQ(kov::read_file(ws / "System/protocol.ptl").size(), 32u);
    // Separators stand after mnuInEditTask and after mnuOutViewSolution.
    const auto in = w->menu("mnuIn")->actions();
    ASSERT_EQ(in.size(), 5);
    EXPECT_TRUE(in[3]->isSeparator());
    EXPECT_TRUE(w->menu("mnuOut")->actions()[2]->isSeparator());
}

TEST_F(MainWindowTest, TrimmedCaptionsLoseTheirBlanks) {
    kov::ShellImage image = numbered_shell("eng English");
    image.texts[423] = "  New database  ";
    image.texts[42] = " New task ";
    write_shell(ws.path() + "/Shells", "eng", image);
    auto w = start();
    EXPECT_EQ(w->action("N10")->text(), "New database");
    EXPECT_EQ(w->action("mnuInNewTask")->text(), " New task ");
}

TEST_F(MainWindowTest, TwoShellsWaitDisabledForTheLanguageChoice) {
    addShell("eng", "eng English");
    addShell("rus", "rus Русский");
    auto w = start();
    EXPECT_FALSE(w->isEnabled());
    EXPECT_EQ(w->windowTitle(), " ");
    for (const QString& t : menuTitles(*w)) {
        EXPECT_EQ(t, "");
    }
    TfrmSelLang* dialog = languageDialog();
    ASSERT_NE(dialog, nullptr);
    auto* list = dialog->findChild<QComboBox*>("cbLanguage");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(1), "rus Русский");
    EXPECT_EQ(list->currentIndex(), -1);

    dialog->findChild<QPushButton*>("btnOk")->click();
    EXPECT_EQ(messages.texts(), QStringList({"A shell language is not selected."}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(w->isEnabled());

    list->setCurrentIndex(1);
    dialog->findChild<QPushButton*>("btnOk")->click();
    QApplication::processEvents();
    EXPECT_EQ(languageDialog(), nullptr);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(w->windowTitle(), "Т272");
    EXPECT_EQ(w->state().shell.suffix, "rus");
    EXPECT_EQ(w->state().codepage(), kov::CodePage::Cp1251);
    EXPECT_EQ(terminations, 0);
}

TEST_F(MainWindowTest, ChosenTitleWithoutItsFileEndsTheProgram) {
    addShell("eng", "eng English");
    // A file whose title names another suffix than its own.
    write_shell(ws.path() + "/Shells", "abc", numbered_shell("xyz Lost"));
    auto w = start();
    TfrmSelLang* dialog = languageDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QComboBox*>("cbLanguage")->setCurrentIndex(0);
    dialog->findChild<QPushButton*>("btnOk")->click();
    EXPECT_EQ(terminations, 1);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text,
              "The chosen file \"Shell (KOV 1.0).xyz\" of language shell is missing in the folder "
              "\"Shells\". In "
              "this regard, there will an emergency exit from the program.");
}

TEST_F(MainWindowTest, MissingOrBrokenShellEndsTheProgram) {
    {
        auto w = start();
        EXPECT_TRUE(w->terminated());
        EXPECT_EQ(
            messages.texts(),
            QStringList(
                {"There are no files of language shells in the folder \"Shells\". In this regard, "
                 "there will an emergency exit from the program."}));
    }
    messages.clear();
    kov::write_file_atomic(ws / "Shells/Shell (KOV 1.0).eng", kov::Bytes(30, 0));
    auto w = start();
    EXPECT_TRUE(w->terminated());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_TRUE(messages.boxes[0].text.contains("Shell (KOV 1.0).eng"));
    EXPECT_TRUE(messages.boxes[0].text.contains("emergency exit"));
    // Nothing was written: there is no shell to write a protocol with.
    EXPECT_FALSE(kov::file_exists(ws / "System/protocol.ptl"));
}

TEST_F(MainWindowTest, ProtocolMessagesAtStart) {
    addShell("eng", "eng English");
    const kov::Bytes good =
        kov::encode_protocol({{"ABC123", "Task", kov::TaskState::Entered, 1, 2, 0, 0}});
    struct Case {
        const char* what;
        kov::Bytes file;
        QStringList texts;
    } cases[] = {
        {"recognised", good, {}},
        {"version 2",
         [&] {
             auto b = good;
             b[24] = 2;
             return b;
         }(),
         {"T321 !!!"}},
        {"damaged",
         [&] {
             auto b = good;
             b[28] = 9;
             return b;
         }(),
         {"T530 \"System/protocol.ptl\": the count of tasks 9 does not match the 1 records "
          "present (at byte 32) !!!",
          "T532 \"System/protocol.ptl.bad\"."}},
        // A recognised file with a record it cannot hold is damaged, not of another kind, and
        // is kept beside the last copy.
        {"lower-case code",
         [&] {
             auto b = good;
             b[33] = 'a';
             return b;
         }(),
         {"T530 \"System/protocol.ptl\": the TaskCode \"aBC123\" is not six upper-case Latin "
          "letters or digits (at byte 39) !!!",
          "T532 \"System/protocol.ptl.bad2\"."}},
    };
    for (const auto& c : cases) {
        messages.clear();
        kov::write_file_atomic(ws / "System/protocol.ptl", c.file);
        auto w = start();
        EXPECT_EQ(messages.texts(), c.texts) << c.what;
        EXPECT_EQ(w->state().protocol.size(), c.texts.isEmpty() ? 1u : 0u) << c.what;
        w->close();
    }
}

TEST_F(MainWindowTest, ClosingWritesTheProtocolAndReportsAFailedWrite) {
    addShell("eng", "eng English");
    {
        auto w = start();
        w->state().protocol = {{"AAA111", "a", kov::TaskState::Entered, 1, 1, 0, 0},
                               {"CCC333", "c", kov::TaskState::Solved, 1, 1, 2, 3}};
        w->close();
    }
    const auto loaded = kov::load_protocol(ws.path());
    ASSERT_EQ(loaded.entries.size(), 2u);
    EXPECT_EQ(loaded.entries[1].code, "CCC333");

    // A protocol that cannot be created at start: the run goes on with an empty list and the
    // closing write reports its own failure.
    std::filesystem::remove_all(ws / "System");
    messages.clear();
    auto w = start();
    EXPECT_FALSE(w->terminated());
    EXPECT_TRUE(w->state().protocol.empty());
    w->close();
    EXPECT_EQ(
        messages.texts(),
        QStringList({"T205 !!!", "T205 \"System/protocol.ptl\": No such file or directory !!!"}));
}

TEST_F(MainWindowTest, ADamagedProtocolIsNeverOverwrittenWithoutACopy) {
    addShell("eng", "eng English");
    kov::Bytes damaged =
        kov::encode_protocol({{"ABC123", "Task", kov::TaskState::Entered, 1, 2, 0, 0}});
    damaged[28] = 9;
    kov::write_file_atomic(ws / "System/protocol.ptl", damaged);
    const auto copies = [&] {
        int n = 0;
        for (const auto& name : kov::find_files(ws / "System", "protocol.ptl.bad*")) {
            n += kov::read_file(ws / ("System/" + name)) == damaged;
        }
        return n;
    };
    {
        // The copy cannot be made at start, nor at the end: the file stays as it is and every
        // write is refused, naming the file.
        std::unique_ptr<TfrmMainWin> w;
        {
            const kov::fault::Armed full(
                {kov::fault::Call::Create, 1, kov::fault::Effect::Fail, ENOSPC});
            w = start();
        }
        EXPECT_TRUE(w->state().protocol.empty());
        ASSERT_EQ(messages.texts().size(), 2);
        EXPECT_TRUE(messages.texts()[1].startsWith("T205 \"System/protocol.ptl\""))
            << messages.texts()[1].toStdString();
        messages.clear();
        {
            const kov::fault::Armed full(
                {kov::fault::Call::Create, 1, kov::fault::Effect::Fail, ENOSPC});
            w->close();
        }
        ASSERT_EQ(messages.texts().size(), 1);
        EXPECT_TRUE(messages.texts()[0].startsWith("T205 \"System/protocol.ptl\": the protocol is "
                                                   "damaged and no copy of it can be kept"));
        EXPECT_EQ(kov::read_file(ws / "System/protocol.ptl"), damaged);
        EXPECT_EQ(copies(), 0);
    }
    // A name in the way of the copy: the next free name takes it, and only then is the file
    // replaced.
    std::filesystem::create_directory(ws / "System/protocol.ptl.bad");
    messages.clear();
    auto w = start();
    w->close();
    EXPECT_EQ(copies(), 1);
    EXPECT_EQ(kov::read_file(ws / "System/protocol.ptl.bad2"), damaged);
    EXPECT_EQ(kov::load_protocol(ws.path()).outcome, kov::ProtocolLoad::Loaded);
}

TEST_F(MainWindowTest, SecondCopyOnTheSameWorkspaceIsRefused) {
    addShell("eng", "eng English");
    auto first = start();
    messages.clear();
    auto second = start();
    EXPECT_TRUE(second->terminated());
    EXPECT_EQ(messages.texts(), QStringList({"T529 !!!"}));
    second.reset();
    first.reset();
    // The lock goes with the process that held it.
    messages.clear();
    auto third = start();
    EXPECT_FALSE(third->terminated());
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(MainWindowTest, OptimIsEnabledOnlyByQueuedInputFilesNamedByATaskCode) {
    addShell("eng", "eng English");
    auto w = start();
    w->state().solveNow = 1;
    struct Case {
        const char* file;
        bool enabled;
    } cases[] = {{"kov_ABC12_in.dat", false},   {"kov_ABC1234_in.dat", false},
                 {"kov_ABC123_out.dat", false}, {"kov_deme05_in.dat", false},
                 {"kov_abcdef_in.dat", false},  {"kov_ABC123_in.dat", true}};
    for (const auto& c : cases) {
        kov::write_file_atomic(ws / (std::string("Solving/") + c.file), {});
        w->mnuSolvingClick();
        EXPECT_EQ(w->action("Optim")->isEnabled(), c.enabled) << c.file;
        EXPECT_EQ(w->state().solveNow, 0);
    }
}

TEST_F(MainWindowTest, ExportAndPrintFollowTheActiveViewer) {
    addShell("eng", "eng English");
    auto w = start();
    w->show();
    auto enabled = [&](const char* name) {
        return w->action(QString::fromLatin1(name))->isEnabled();
    };
    EXPECT_FALSE(enabled("mnuOutExpInExcel"));
    EXPECT_FALSE(enabled("N8"));
    w->mnuOutClick();
    w->N5Click();
    EXPECT_FALSE(enabled("mnuOutExpInExcel"));
    EXPECT_FALSE(enabled("mnuOutPrint"));
    EXPECT_FALSE(enabled("N9"));

    auto* viewer = new QWidget;
    viewer->setProperty(kViewerKindProperty, int(ViewerKind::Solution));
    QMdiSubWindow* sub = w->mdiArea()->addSubWindow(viewer);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    w->mdiArea()->setActiveSubWindow(sub);
    w->mnuOutClick();
    w->N5Click();
    EXPECT_TRUE(enabled("mnuOutExpInExcel"));
    EXPECT_TRUE(enabled("mnuOutPrint"));
    EXPECT_FALSE(enabled("N8"));

    sub->close();
    QApplication::processEvents();
    w->mnuOutClick();
    EXPECT_FALSE(enabled("mnuOutExpInExcel"));
    EXPECT_FALSE(enabled("mnuOutPrint"));
}

TEST_F(MainWindowTest, CommandWindowsDisableTheMainWindowUntilTheyClose) {
    addShell("eng", "eng English");
    auto w = start();
    w->show();
    QPointer<QWidget> window = new QWidget;
    w->openCommandWindow(window);
    EXPECT_FALSE(w->isEnabled());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(window->isWindow());
    window->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(w->isEnabled());
}

TEST_F(MainWindowTest, DecimalCharFromTheLocaleOrACommaWithAWarning) {
    addShell("eng", "eng English");
    kov::write_file_atomic(ws / "System/protocol.ptl", kov::encode_protocol({}));
    struct Case {
        const char* lcAll;
        const char* lang;
        char decimal;
        QStringList texts;
    } cases[] = {
        {"de_DE.UTF-8", nullptr, ',', {}},    {"C.UTF-8", nullptr, '.', {}},
        {nullptr, "en_US.UTF-8", '.', {}},    {nullptr, "ru_RU.UTF-8", ',', {}},
        {nullptr, nullptr, ',', {"T320..."}},
    };
    const QByteArray oldLang = qgetenv("LANG");
    for (const auto& c : cases) {
        c.lcAll ? qputenv("LC_ALL", c.lcAll) : qunsetenv("LC_ALL");
        c.lang ? qputenv("LANG", c.lang) : qunsetenv("LANG");
        messages.clear();
        auto w = start();
        EXPECT_EQ(w->state().regional.decimalChar, c.decimal) << (c.lcAll  ? c.lcAll
                                                                  : c.lang ? c.lang
                                                                           : "none");
        EXPECT_EQ(messages.texts(), c.texts);
        // Times of day are shown without a time zone.
        EXPECT_FALSE(w->state().regional.timeText(46000.75).contains(QLatin1String("UTC")));
        EXPECT_FALSE(w->state().regional.longTimeFormat.contains(QLatin1Char('t')));
        w->close();
    }
    qputenv("LANG", oldLang);
}

TEST(RegionalSettings, TheCLocaleWritesDatesThatFitADatabase) {
    const RegionalSettings s = regionalSettingsFor(QStringLiteral("C"));
    EXPECT_EQ(s.dateText(46366.5), "2026-12-10");
    EXPECT_EQ(s.timeText(46366.75), "18:00:00");
}

TEST_F(MainWindowTest, ADisabledMainWindowIgnoresACloseRequest) {
    addShell("eng", "eng English");
    addShell("rus", "rus Русский");
    auto w = start();
    w->show();
    // The language dialog is open: closing would end the program without a language.
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    TfrmSelLang* dialog = languageDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QComboBox*>("cbLanguage")->setCurrentIndex(0);
    dialog->findChild<QPushButton*>("btnOk")->click();
    ASSERT_TRUE(w->isEnabled());

    // A command window is open: it would be left alone on the desktop.
    QPointer<QWidget> window = new QWidget;
    w->openCommandWindow(window);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    window->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w->close());
}

TEST_F(MainWindowTest, QtsOwnTextsSpeakTheShellsLanguage) {
    addShell("rus", "rus Русский");
    const auto yesText = [] {
        QMessageBox box(QMessageBox::Question, QString(), QString(),
                        QMessageBox::Yes | QMessageBox::No);
        return box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&'));
    };
    {
        auto w = start();
        EXPECT_EQ(yesText(), "Да");
    }
    EXPECT_EQ(yesText(), "Yes");
}

TEST_F(MainWindowTest, CaptionsAreTheShellsAloneAndTheLanguageDialogsIsNotCut) {
    addShell("eng", "eng English");
    addShell("rus", "rus Русский");
    auto w = start();
    // The window system shows the application's name in place of an empty caption, so the
    // main window's caption is a blank until a language is chosen.
    EXPECT_EQ(w->windowTitle(), " ");
    TfrmSelLang* dialog = languageDialog();
    ASSERT_NE(dialog, nullptr);
    // Room for the caption in a bold title font, beside the icon and the window's buttons.
    QFont titleFont = dialog->font();
    titleFont.setBold(true);
    EXPECT_GE(dialog->width(),
              QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()) + 100);
}

TEST_F(MainWindowTest, CommandWindowsAreFixedAndCentredOnTheMainWindow) {
    // Long texts of another language and a long task name widen the protocol window.
    kov::ShellImage image = numbered_shell("eng English");
    for (int k : {70, 113, 467}) {
        image.texts[std::size_t(k)] = std::string(60, 'W');
    }
    write_shell(ws.path() + "/Shells", "eng", image);
    auto w = start();
    w->state().protocol = {{"ABC123", std::string(100, 'N'), kov::TaskState::Entered, 1, 1, 0, 0}};
    w->setGeometry(100, 100, 1200, 900);
    w->show();
    for (const char* item : {"mnuOutViewProtocol", "Optim", "N6", "N101", "N102", "mnuInViewTask",
                             "mnuOutViewSolution", "N7"}) {
        w->action(QString::fromLatin1(item))->trigger();
        QWidget* opened = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top != w.get() && top->isVisible() && top->isWindow() && top->inherits("QDialog")) {
                opened = top;
            }
        }
        ASSERT_NE(opened, nullptr) << item;
        QApplication::processEvents();
        EXPECT_EQ(opened->minimumSize(), opened->maximumSize()) << item;
        if (auto* list = opened->findChild<QComboBox*>("TaskList")) {
            // The long name shows in full in the open list.
            list->showPopup();
            EXPECT_GE(list->view()->viewport()->width(),
                      list->view()->fontMetrics().horizontalAdvance(list->itemText(0)));
            list->hidePopup();
        }
        const QPoint offset = opened->geometry().center() - w->geometry().center();
        EXPECT_LE(offset.manhattanLength(), 2) << item;
        opened->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST(RegionalSettings, DurationsTakeTheTimeSeparatorAndNeverAClockFormat) {
    RegionalSettings s;
    struct Case {
        const char* format;
        double seconds;
        const char* text;
    } cases[] = {
        {"h:mm:ss AP", 0, "0:00:00"},
        {"h:mm:ss AP", 46800, "13:00:00"},
        {"HH.mm.ss", 90061, "25.01.01"},
        {"'Uhr' H:mm", 61, "0:01:01"},
    };
    for (const auto& c : cases) {
        s.longTimeFormat = QString::fromLatin1(c.format);
        EXPECT_EQ(s.durationText(c.seconds), QLatin1String(c.text)) << c.format;
    }
    s.shortDateFormat = QStringLiteral("dd.MM.yyyy");
    s.longTimeFormat = QStringLiteral("HH:mm:ss");
    EXPECT_EQ(s.dateTimeText(46366.0), "10.12.2026");
    EXPECT_EQ(s.dateTimeText(46366.75), "10.12.2026 18:00:00");
}
