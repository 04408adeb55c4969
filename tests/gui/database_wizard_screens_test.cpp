// Pictures of the database wizard's pages under the shipped shells, for a person to look at:
// written only when KOV_SCREENSHOT_DIR names a folder (run under a real display server).

#include "dbor/TfrmCreateDBOR.h"

#include "data_fixtures.h"
#include "io/files.h"
#include "window_test.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class DatabaseWizardScreens : public WindowTest<TfrmCreateDBOR> {
protected:
    void SetUp() override {
        folder = qgetenv("KOV_SCREENSHOT_DIR");
        if (folder.isEmpty()) {
            GTEST_SKIP() << "KOV_SCREENSHOT_DIR is not set";
        }
        WindowTest::SetUp();
        for (const char* lng : {"eng", "rus"}) {
            const std::string name = kov::shell_file_name(lng);
            kov::copy_file_atomic(std::string(KOV_SHELL_DIR) + "/" + name, ws / ("Shells/" + name));
        }
    }
    void shot(const QString& name) {
        QApplication::processEvents();
        QTest::qWait(50);
        window->grab().save(folder + QStringLiteral("/") + name + QStringLiteral(".png"));
    }
    void next() { window->findChild<QAbstractButton*>(QStringLiteral("btnNext"))->click(); }
    QTableView* table(const char* name) { return find<QTableView>(name); }
    void set(const char* grid, int row, int column, const QString& text) {
        QAbstractItemModel* m = table(grid)->model();
        m->setData(m->index(row, column), text, Qt::EditRole);
    }

    QString folder;
};

} // namespace

TEST_F(DatabaseWizardScreens, ASmallDatabaseByHandAndAMaximalOneViewed) {
    for (const std::string lng : {"eng", "rus"}) {
        const QString l = QString::fromStdString(lng);
        fakeHost(lng).shared.windowMode = 1;
        host->shared.regional.decimalChar = ',';
        openOnFakeHost();
        find<QLineEdit>("EditCode")->setText(QStringLiteral("201"));
        find<QLineEdit>("EditName")->setText(QStringLiteral("Hand made"));
        shot(l + QStringLiteral("_new_1"));
        next();
        find<QComboBox>("Unit_0")->setCurrentIndex(1);
        find<QComboBox>("Unit_1")->setCurrentIndex(1);
        find<QLineEdit>("EditM")->setText(QStringLiteral("2"));
        shot(l + QStringLiteral("_new_2"));
        next();
        for (int r = 0; r < 2; ++r) {
            set("Table1", r, 1, QStringLiteral("10000%1").arg(r + 1));
            set("Table1", r, 2, QStringLiteral("1500,5"));
            set("Table1", r, 3, QStringLiteral("1"));
            table("Table1")->setCurrentIndex(table("Table1")->model()->index(r, 1));
            find<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("Object %1").arg(r + 1));
        }
        shot(l + QStringLiteral("_new_3"));
        next();
        for (int r = 0; r < 4; ++r) {
            table("Table2")->setCurrentIndex(table("Table2")->model()->index(r, 3));
            if (r % 2 == 1) {
                set("Table2", r, 3, QStringLiteral("10"));
                set("Table2", r, 4, QStringLiteral("2"));
            }
            set("Table2", r, 5, QStringLiteral("1"));
            set("Table2", r, 6, QStringLiteral("1"));
            find<QPlainTextEdit>("Memo22")->setPlainText(QStringLiteral("Variant"));
        }
        shot(l + QStringLiteral("_new_4"));
        next();
        for (int r = 0; r < 4; ++r) {
            set("Table31", r, 4, QStringLiteral("1000"));
            set("Table31", r, 5, QStringLiteral("2"));
        }
        shot(l + QStringLiteral("_new_5"));
        next();
        for (int r = 0; r < 8; ++r) {
            set("Table41", r, 5, r % 2 ? QStringLiteral("5") : QStringLiteral("0"));
            set("Table41", r, 6, r % 2 ? QStringLiteral("1") : QStringLiteral("0"));
        }
        shot(l + QStringLiteral("_new_6"));
        next();
        for (int r = 0; r < 4; ++r) {
            set("Table32", r, 4, QStringLiteral("20"));
            set("Table32", r, 5, QStringLiteral("0"));
        }
        shot(l + QStringLiteral("_new_7"));
        next();
        shot(l + QStringLiteral("_new_9"));
        EXPECT_EQ(messages.texts(), QStringList()) << lng;
        next();
        closeWindow();
    }

    // A maximal database viewed, page 6 scrolled to its end.
    fixtures::VariantShape full{{10, 10, 10, 10, 10}, {10, 10, 10, 10, 10}};
    const fixtures::ObjectShape object(6, full);
    for (const std::string lng : {"eng", "rus"}) {
        const auto cp = lng == "rus" ? kov::CodePage::Cp1251 : kov::CodePage::Cp1252;
        kov::BdonData big = fixtures::make_bdon(
            'B', "999999", std::vector<fixtures::ObjectShape>(1000, object), "Maximal", lng);
        kov::write_bdon(ws.path(), lng, big, "01.02.2024", cp);
        fakeHost(lng).shared.windowMode = 4;
        host->shared.currentFileBase = kov::bdon_base(ws.path(), "B_999999", lng);
        openOnFakeHost();
        const QString l = QString::fromStdString(lng);
        while (window->findChild<QStackedWidget*>()->currentIndex() < 5) {
            next();
        }
        table("Table41")->scrollToBottom();
        const QAbstractItemModel* m = table("Table41")->model();
        table("Table41")->setCurrentIndex(m->index(m->rowCount() - 1, 5));
        EXPECT_EQ(m->rowCount(), 300000);
        shot(l + QStringLiteral("_view_6_end"));
        closeWindow();
    }
}
