#include "dbor/TfrmCreateDBOR.h"
#include "dbor/TfrmSelectDBOR.h"
#include "dbor/bdon_list_menu.h"
#include "scripted_files.h"

#include "book/layouts.h"
#include "book/workbook.h"

#include "data_fixtures.h"
#include "io/files.h"
#include "window_test.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr auto kCp = kov::CodePage::Cp1252;
using Kind = ScriptedMessageService::Kind;

// The window was closed, and deleted as the event loop would.
template <class W> bool closed(const QPointer<W>& window) {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window == nullptr;
}

class DatabaseWizardTest : public WindowTest<TfrmCreateDBOR> {
protected:
    void click(const char* name) { find<QAbstractButton>(name)->click(); }
    void next() { click("btnNext"); }
    void type(const char* name, const QString& text) { find<QLineEdit>(name)->setText(text); }
    QString pageName() const {
        return window->findChild<QStackedWidget*>()->currentWidget()->objectName();
    }
    QTableView* table(const char* name) { return find<QTableView>(name); }
    // Types a cell as the view's editor would store it.
    bool set(const char* grid, int row, int column, const QString& text) {
        QAbstractItemModel* m = table(grid)->model();
        return m->setData(m->index(row, column), text, Qt::EditRole);
    }
    QString cell(const char* grid, int row, int column) {
        return table(grid)->model()->index(row, column).data().toString();
    }
    void select(const char* grid, int row, int column) {
        QTableView* t = table(grid);
        t->setCurrentIndex(t->model()->index(row, column));
    }
    // A cell editor is open in the grid.
    bool editing(const char* grid) {
        const auto* editor = table(grid)->viewport()->findChild<QLineEdit*>();
        return editor && editor->isVisible();
    }
    void key(const char* grid, Qt::Key k) { QTest::keyClick(table(grid), k); }
    QString base(const std::string& code) const {
        return QString::fromStdString(kov::bdon_base(ws.path(), code, "eng"));
    }

    // A new database of type A through pages 1 and 2 with `count` objects.
    void toObjects(const QString& count) {
        type("EditCode", QStringLiteral("101"));
        type("EditName", QStringLiteral("Hand made"));
        next();
        ASSERT_EQ(pageName(), QStringLiteral("Page2"));
        find<QComboBox>("Unit_0")->setCurrentIndex(1);
        find<QComboBox>("Unit_1")->setCurrentIndex(1);
        type("EditM", count);
        next();
        ASSERT_EQ(pageName(), QStringLiteral("Page3"));
    }

    // Opens the stored database `bdon` for correction (3) or viewing (4) on a fake host.
    void openStored(const kov::BdonData& stored, int mode) {
        kov::BdonData copy = stored;
        kov::write_bdon(ws.path(), "eng", copy, "01.02.2024", kCp);
        fakeHost().shared.windowMode = mode;
        host->shared.currentFileBase = base(kov::dbor_code(stored.header)).toStdString();
        openOnFakeHost();
    }
};

} // namespace

TEST_F(DatabaseWizardTest, ADatabaseEnteredPageByPageReadsBackFieldForField) {
    fakeHost().shared.windowMode = 1;
    openOnFakeHost();
    toObjects(QStringLiteral("1"));
    EXPECT_TRUE(set("Table1", 0, 1, QStringLiteral("123456")));
    EXPECT_TRUE(set("Table1", 0, 2, QStringLiteral("1500.5")));
    EXPECT_TRUE(set("Table1", 0, 3, QStringLiteral("1")));
    find<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("  The house  "));
    next();
    ASSERT_EQ(pageName(), QStringLiteral("Page4")) << messages.texts().join('|').toStdString();
    ASSERT_EQ(table("Table2")->model()->rowCount(), 2);
    EXPECT_EQ(cell("Table2", 0, 3), QStringLiteral("-"));
    set("Table2", 0, 5, QStringLiteral("1"));
    set("Table2", 0, 6, QStringLiteral("0"));
    find<QPlainTextEdit>("Memo22")->setPlainText(QStringLiteral("As it is"));
    select("Table2", 1, 3);
    EXPECT_EQ(find<QPlainTextEdit>("Memo22")->toPlainText(), QString());
    set("Table2", 1, 3, QStringLiteral("10"));
    set("Table2", 1, 4, QStringLiteral("2"));
    set("Table2", 1, 5, QStringLiteral("1"));
    set("Table2", 1, 6, QStringLiteral("1"));
    find<QPlainTextEdit>("Memo22")->setPlainText(QStringLiteral("New roof"));
    next();
    ASSERT_EQ(pageName(), QStringLiteral("Page5")) << messages.texts().join('|').toStdString();
    for (int r = 0; r < 2; ++r) {
        set("Table31", r, 4, QStringLiteral("1000"));
        set("Table31", r, 5, QStringLiteral("2"));
    }
    next();
    ASSERT_EQ(pageName(), QStringLiteral("Page6")) << messages.texts().join('|').toStdString();
    ASSERT_EQ(table("Table41")->model()->rowCount(), 4);
    for (int r = 0; r < 4; r += 2) {
        set("Table41", r, 5, QStringLiteral("0"));
        set("Table41", r, 6, QStringLiteral("0"));
        set("Table41", r + 1, 5, QStringLiteral("5"));
        set("Table41", r + 1, 6, QStringLiteral("1"));
    }
    next();
    ASSERT_EQ(pageName(), QStringLiteral("Page7")) << messages.texts().join('|').toStdString();
    set("Table32", 0, 4, QStringLiteral("20"));
    set("Table32", 0, 5, QStringLiteral("0"));
    next();
    ASSERT_EQ(pageName(), QStringLiteral("Page9")) << messages.texts().join('|').toStdString();
    EXPECT_TRUE(find<QLabel>("Label10_7V")->isVisibleTo(window));
    EXPECT_EQ(find<QLabel>("Label8_7V")->text(), QStringLiteral("1"));
    next();
    EXPECT_TRUE(closed(window));
    EXPECT_TRUE(messages.boxes.empty()) << messages.texts().join('|').toStdString();

    const kov::BdonData read = kov::read_bdon(base("A_101").toStdString(), kCp);
    EXPECT_EQ(read.header.name, "Hand made");
    EXPECT_EQ(read.header.cost_unit, kov::cost_units(host->shared.shell)[1]);
    EXPECT_EQ(read.header.time_unit, kov::time_units(host->shared.shell)[1]);
    ASSERT_EQ(read.objects.size(), 1u);
    EXPECT_EQ(read.objects[0].code, "123456");
    EXPECT_EQ(read.objects[0].description, "The house");
    EXPECT_DOUBLE_EQ(read.objects[0].cost, 1500.5);
    ASSERT_EQ(read.variants[0].size(), 2u);
    EXPECT_EQ(read.variants[0][0].description, "As it is");
    EXPECT_EQ(read.variants[0][1].description, "New roof");
    EXPECT_DOUBLE_EQ(read.variants[0][1].cost, 10);
    EXPECT_DOUBLE_EQ(read.variants[0][1].duration, 2);
    ASSERT_EQ(read.sale_points[0][1].size(), 1u);
    ASSERT_EQ(read.sale_points[0][1][0].size(), 2u);
    EXPECT_DOUBLE_EQ(read.sale_points[0][1][0][1].x, 5);
    ASSERT_EQ(read.expl_variants[0][1].size(), 1u);
    EXPECT_EQ(read.expl_variants[0][1][0].q, 0);
    EXPECT_EQ(read.header.sale_curve_objects, 1);
}

TEST_F(DatabaseWizardTest, AWarningLeavesThePageAndItsEntries) {
    fakeHost().shared.windowMode = 1;
    openOnFakeHost();
    // Type B wants six digits.
    click("RBTypeB");
    type("EditCode", QStringLiteral("123"));
    type("EditName", QStringLiteral("Name"));
    // Enter in a field checks the page as Next does.
    QTest::keyClick(find<QLineEdit>("EditName"), Qt::Key_Return);
    ASSERT_EQ(messages.texts(), QStringList{QStringLiteral("T507.")});
    EXPECT_EQ(pageName(), QStringLiteral("Page1"));
    EXPECT_EQ(find<QLineEdit>("EditCode")->text(), QStringLiteral("123"));
    EXPECT_EQ(find<QLineEdit>("EditName")->text(), QStringLiteral("Name"));
    EXPECT_TRUE(find<QRadioButton>("RBTypeB")->isChecked());
    EXPECT_EQ(window->focusWidget(), find<QLineEdit>("EditCode"));

    // A second object with no description: the warning names its row, the entries stay and the
    // row is the selected one.
    click("RBTypeA");
    messages.clear();
    toObjects(QStringLiteral("2"));
    set("Table1", 0, 1, QStringLiteral("111111"));
    set("Table1", 0, 2, QStringLiteral("5"));
    set("Table1", 0, 3, QStringLiteral("0"));
    find<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("First"));
    set("Table1", 1, 1, QStringLiteral("222222"));
    next();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, Kind::Warning);
    EXPECT_EQ(messages.boxes[0].text, QStringLiteral("T312 2 ...\", T305."));
    EXPECT_EQ(pageName(), QStringLiteral("Page3"));
    EXPECT_EQ(cell("Table1", 1, 1), QStringLiteral("222222"));
    EXPECT_EQ(cell("Table1", 0, 6), QStringLiteral("First"));
    EXPECT_EQ(table("Table1")->currentIndex().row(), 1);
    EXPECT_EQ(window->focusWidget(), find<QPlainTextEdit>("Memo1"));
}

TEST_F(DatabaseWizardTest, AnExistingCodeIsRefusedForANewDatabase) {
    kov::BdonData stored = fixtures::small_bdon('A', "101");
    kov::write_bdon(ws.path(), "eng", stored, "01.02.2024", kCp);
    fakeHost().shared.windowMode = 1;
    openOnFakeHost();
    type("EditCode", QStringLiteral("101"));
    type("EditName", QStringLiteral("Other"));
    next();
    ASSERT_EQ(messages.texts(), QStringList{QStringLiteral("T536 \"A_101\".")});
    EXPECT_EQ(pageName(), QStringLiteral("Page1"));
}

TEST_F(DatabaseWizardTest, SpaceTogglesTheMarksButNotInViewing) {
    fakeHost().shared.windowMode = 1;
    openOnFakeHost();
    toObjects(QStringLiteral("2"));
    for (int column : {4, 5}) {
        select("Table1", 1, column);
        key("Table1", Qt::Key_Space);
        EXPECT_EQ(cell("Table1", 1, column), QStringLiteral("*")) << column;
        EXPECT_FALSE(editing("Table1"));
        key("Table1", Qt::Key_Space);
        EXPECT_EQ(cell("Table1", 1, column), QString()) << column;
    }
    // A typed letter or a sign never reaches a count cell; digits do, up to the column's length.
    select("Table1", 0, 3);
    QTest::keyClicks(table("Table1"), QStringLiteral("x"));
    EXPECT_FALSE(editing("Table1"));
    closeWindow();

    openStored(fixtures::small_bdon(), 4);
    next();
    next();
    ASSERT_EQ(pageName(), QStringLiteral("Page3"));
    EXPECT_TRUE(find<QPushButton>("btnPrev")->isEnabled());
    EXPECT_FALSE(find<QLabel>("Label11")->isVisibleTo(window));
    select("Table1", 1, 4);
    key("Table1", Qt::Key_Space);
    EXPECT_EQ(cell("Table1", 1, 4), QString());
}

TEST_F(DatabaseWizardTest, PasteOfABlockGoesThroughTheCellRules) {
    fakeHost().shared.windowMode = 1;
    openOnFakeHost();
    toObjects(QStringLiteral("3"));
    QApplication::clipboard()->setText(
        QStringLiteral("123456\t12.5\t2\r\n12345X\t7\t3\n654321\t1e5\t9\n"));
    select("Table1", 0, 1);
    QTest::keyClick(table("Table1"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cell("Table1", 0, 1), QStringLiteral("123456"));
    EXPECT_EQ(cell("Table1", 0, 2), QStringLiteral("12.5"));
    EXPECT_EQ(cell("Table1", 0, 3), QStringLiteral("2"));
    // A letter, an exponent: refused cells keep their text.
    EXPECT_EQ(cell("Table1", 1, 1), QString());
    EXPECT_EQ(cell("Table1", 1, 2), QStringLiteral("7"));
    EXPECT_EQ(cell("Table1", 2, 2), QString());
    EXPECT_EQ(cell("Table1", 2, 3), QStringLiteral("9"));
}

TEST_F(DatabaseWizardTest, ViewingWritesNothingAndHidesTheDateOfSaving) {
    const kov::BdonData stored = fixtures::small_bdon();
    openStored(stored, 4);
    const std::string file = base("A_123").toStdString() + ".dat";
    const auto before = kov::read_file(file);
    EXPECT_FALSE(find<QLineEdit>("EditName")->isEnabled());
    EXPECT_FALSE(find<QLineEdit>("EditCode")->isEnabled());
    EXPECT_EQ(find<QLineEdit>("EditM")->text(), QStringLiteral("3"));
    int guard = 0;
    while (pageName() != QStringLiteral("Page9") && ++guard < 12) {
        next();
    }
    ASSERT_EQ(pageName(), QStringLiteral("Page9")) << messages.texts().join('|').toStdString();
    EXPECT_FALSE(find<QLabel>("Label10_7V")->isVisibleTo(window));
    EXPECT_TRUE(find<QLabel>("LdateV_9")->isVisibleTo(window));
    EXPECT_EQ(find<QLabel>("LdateV_9")->text(), QStringLiteral("01.02.2024"));
    next();
    EXPECT_TRUE(closed(window));
    EXPECT_EQ(kov::read_file(file), before);
    EXPECT_TRUE(messages.boxes.empty()) << messages.texts().join('|').toStdString();
}

TEST_F(DatabaseWizardTest, AFailedSaveNamesTheFileAndKeepsTheSummary) {
    const kov::BdonData stored = fixtures::small_bdon();
    openStored(stored, 3);
    const std::string file = base("A_123").toStdString() + ".dat";
    const auto before = kov::read_file(file);
    int guard = 0;
    while (pageName() != QStringLiteral("Page9") && ++guard < 12) {
        next();
    }
    ASSERT_EQ(pageName(), QStringLiteral("Page9")) << messages.texts().join('|').toStdString();
    // The folder cannot take a new file.
    const std::string dbor = ws / "Dbor";
    std::filesystem::rename(dbor, dbor + ".kept");
    kov::write_file_atomic(dbor, kov::Bytes{1});
    next();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(pageName(), QStringLiteral("Page9"));
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, Kind::Error);
    EXPECT_TRUE(messages.boxes[0].text.contains(QStringLiteral("A_123_dbor_eng")))
        << messages.boxes[0].text.toStdString();
    std::filesystem::remove(dbor);
    std::filesystem::rename(dbor + ".kept", dbor);
    EXPECT_EQ(kov::read_file(file), before);
    // Once the folder is back, the same Next saves.
    next();
    EXPECT_TRUE(closed(window));
}

TEST_F(DatabaseWizardTest, CancelInACorrectionClosesTheHiddenSelectionAndEnablesTheMain) {
    kov::BdonData stored = fixtures::small_bdon();
    kov::write_bdon(ws.path(), "eng", stored, "01.02.2024", kCp);
    startMain();
    emit main->menu(QStringLiteral("DBOR"))->aboutToShow();
    main->action(QStringLiteral("N12"))->trigger();
    QPointer<TfrmSelectDBOR> selection;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* s = qobject_cast<TfrmSelectDBOR*>(w); s && s->isVisible()) {
            selection = s;
        }
    }
    ASSERT_NE(selection, nullptr);
    EXPECT_FALSE(main->isEnabled());
    ASSERT_EQ(selection->findChild<QListWidget*>("lbTask")->count(), 1);
    selection->findChild<QPushButton*>("btnOK")->click();
    EXPECT_FALSE(selection->isVisible());
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* s = qobject_cast<TfrmCreateDBOR*>(w); s && s->isVisible()) {
            window = s;
        }
    }
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(find<QLineEdit>("EditName")->text(), QStringLiteral("Test database"));
    EXPECT_FALSE(main->isEnabled());
    click("btnClose");
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed(window));
    EXPECT_EQ(selection, nullptr);
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(DatabaseWizardTest, TheImportPrefillsTheWizardButKeepsTheIdentityOfPageOne) {
    kov::BdonData other = fixtures::small_bdon('A', "123");
    kov::write_bdon(ws.path(), "eng", other, "01.02.2024", kCp);
    kov::BdonData typeB = fixtures::small_bdon('B', "123456");
    kov::write_bdon(ws.path(), "eng", typeB, "01.02.2024", kCp);
    fakeHost().shared.windowMode = 2;
    rebuildBdonList(*host);
    openOnFakeHost();
    EXPECT_FALSE(find<QWidget>("pnlImp")->isVisibleTo(window));
    type("EditCode", QStringLiteral("101"));
    type("EditName", QStringLiteral("Copy"));
    next();
    ASSERT_EQ(pageName(), QStringLiteral("Page2"));
    ASSERT_TRUE(find<QWidget>("pnlImp")->isVisibleTo(window));
    // "none" and the one database of type A.
    auto* list = find<QComboBox>("cbImport");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(1), QStringLiteral("[A_123] Test database"));
    list->setCurrentIndex(1);
    click("btnImport");
    EXPECT_EQ(find<QLineEdit>("EditM")->text(), QStringLiteral("3"));
    EXPECT_EQ(find<QComboBox>("Unit_0")->currentText(), QStringLiteral("USD"));
    EXPECT_EQ(find<QLabel>("staticBase")->text(), QStringLiteral("[A_123]"));

    // "none" empties what was imported.
    list->setCurrentIndex(0);
    click("btnImport");
    EXPECT_EQ(find<QLineEdit>("EditM")->text(), QStringLiteral("0"));
    EXPECT_EQ(find<QComboBox>("Unit_0")->currentIndex(), -1);
    EXPECT_EQ(find<QLabel>("staticBase")->text(), QStringLiteral("T198."));

    // A workbook as the export writes it prefills the same; a cancelled dialog changes nothing.
    const std::string book = ws / "A_123.xlsx";
    kov::write_workbook(book, kov::database_workbook(other, host->shared.shell, '.'));
    ScriptedFileDialogs& dialog = host->fileDialogs;
    click("RB_2");
    EXPECT_FALSE(find<QPushButton>("btnImport")->isEnabled());
    click("btnLoadOutData"); // cancelled: no answer
    EXPECT_EQ(find<QLineEdit>("EditM")->text(), QStringLiteral("0"));
    dialog.answers = {QString::fromStdString(book)};
    click("btnLoadOutData");
    EXPECT_TRUE(messages.boxes.empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(dialog.captions.value(0), QStringLiteral("T146"));
    EXPECT_EQ(find<QLineEdit>("EditM")->text(), QStringLiteral("3"));
    EXPECT_EQ(find<QLabel>("Label_ex2")->text(), QString::fromStdString(book));
    next();
    ASSERT_EQ(pageName(), QStringLiteral("Page3"));
    EXPECT_EQ(cell("Table1", 2, 1), QStringLiteral("100003"));
    EXPECT_EQ(find<QLabel>("LNameV_3")->text(), QStringLiteral("Copy"));
    EXPECT_EQ(find<QLabel>("LCodeV_3")->text(), QStringLiteral("101"));
}

namespace {

class DatabaseSelectionTest : public WindowTest<TfrmSelectDBOR> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        for (const char* code : {"123", "456"}) {
            kov::BdonData d = fixtures::small_bdon('A', code);
            kov::write_bdon(ws.path(), "eng", d, "01.02.2024", kCp);
        }
    }
    void openFor(int mode) {
        fakeHost().shared.windowMode = mode;
        rebuildBdonList(*host);
        openOnFakeHost();
    }
    QListWidget* list() { return find<QListWidget>("lbTask"); }
};

} // namespace

TEST_F(DatabaseSelectionTest, ADeletedDatabaseIsNoLongerListed) {
    openFor(6);
    ASSERT_EQ(list()->count(), 2);
    EXPECT_EQ(list()->item(0)->text(), QStringLiteral("[A_123] Test database"));
    messages.answers = {false};
    find<QPushButton>("btnOK")->click();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("T52 \"A_123\"?")});
    EXPECT_TRUE(closed(window));
    rebuildBdonList(*host);
    EXPECT_EQ(host->shared.bdonList.size(), 2u);

    messages.clear();
    openOnFakeHost();
    messages.answers = {true};
    find<QPushButton>("btnOK")->click();
    rebuildBdonList(*host);
    ASSERT_EQ(host->shared.bdonList.size(), 1u);
    EXPECT_EQ(host->shared.bdonList[0].code, "A_456");
    EXPECT_EQ(messages.boxes.size(), 1u);

    // A file that cannot be deleted is reported by name.
    messages.clear();
    host->shared.bdonList.push_back({"A_789", "Gone"});
    openOnFakeHost();
    list()->setCurrentRow(1);
    messages.answers = {true};
    find<QPushButton>("btnOK")->click();
    ASSERT_EQ(messages.boxes.size(), 2u);
    EXPECT_EQ(messages.boxes[1].kind, Kind::Error);
    EXPECT_EQ(messages.boxes[1].text, QStringLiteral("T537 \"Dbor/A_789_dbor_eng.dat\" !!!"));
}

TEST_F(DatabaseSelectionTest, NoDatabaseLeavesOnlyCancel) {
    std::filesystem::remove_all(ws / "Dbor");
    openFor(3);
    EXPECT_EQ(list()->count(), 0);
    EXPECT_FALSE(find<QPushButton>("btnOK")->isEnabled());
    EXPECT_EQ(find<QPushButton>("btnCancel")->text(), QStringLiteral("T299"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("T427"));
}

TEST_F(DatabaseSelectionTest, TheExportWritesAWorkbookUnderReportsAndOpensIt) {
    openFor(5);
    RecordingFileOpener& service = host->fileOpener;
    service.canOpen = false;
    find<QPushButton>("btnOK")->click();
    ASSERT_EQ(service.opened.size(), 1);
    EXPECT_TRUE(service.opened[0].endsWith(QStringLiteral("Reports/A_123_dbor_eng.xlsx")))
        << service.opened[0].toStdString();
    EXPECT_TRUE(kov::file_exists(service.opened[0].toStdString()));
    // Nothing opened it: the user is told where it is.
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, Kind::Information);
    EXPECT_TRUE(messages.boxes[0].text.startsWith(QStringLiteral("T535 \"")));
    EXPECT_TRUE(messages.boxes[0].text.endsWith(QStringLiteral("Reports/A_123_dbor_eng.xlsx\".")));

    // A second export takes a new name; a service that opens it tells nothing.
    messages.clear();
    service.canOpen = true;
    openOnFakeHost();
    find<QPushButton>("btnOK")->click();
    ASSERT_EQ(service.opened.size(), 2);
    EXPECT_TRUE(service.opened[1].endsWith(QStringLiteral("Reports/A_123_dbor_eng (2).xlsx")))
        << service.opened[1].toStdString();
    EXPECT_TRUE(messages.boxes.empty());
}
