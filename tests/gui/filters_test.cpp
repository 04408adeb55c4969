#include "ui/caption.h"
#include "ui/key_filters.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Whether the grid has a cell editor open.
bool editing(const QTableWidget& grid) {
    for (const auto* editor : grid.viewport()->findChildren<QLineEdit*>()) {
        if (editor->isVisible()) {
            return true;
        }
    }
    return false;
}

} // namespace

// Keys typed into real widgets: the filters see the caret and selection of the field, the
// text of a grid cell whether it is being edited or not, and let editing keys through.

TEST(KeyFilters, IntegerFieldJudgesTheTextAfterTheKey) {
    QLineEdit field;
    installIntegerFilter(field, {0, 100});
    QTest::keyClicks(&field, "1a-05");
    EXPECT_EQ(field.text(), "10");
    QTest::keyClicks(&field, "0");
    EXPECT_EQ(field.text(), "100");
    QTest::keyClicks(&field, "0");
    EXPECT_EQ(field.text(), "100");

    // Over a selection: "100" with "10" selected and '9' typed reads "90".
    field.setSelection(0, 2);
    QTest::keyClick(&field, Qt::Key_9);
    EXPECT_EQ(field.text(), "90");
    // At the caret, inside the text: "9" + "5" + "0" is out of range.
    field.setCursorPosition(1);
    QTest::keyClick(&field, Qt::Key_5);
    EXPECT_EQ(field.text(), "90");

    // Editing keys and shortcuts pass.
    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(field.text(), "0");
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field.selectedText(), "0");
}

TEST(KeyFilters, DecimalFieldUsesTheDecimalChar) {
    QLineEdit field;
    installDecimalFilter(field, {2, 1000}, ',');
    QTest::keyClicks(&field, "-12.,3456");
    EXPECT_EQ(field.text(), "12,34");
    field.selectAll();
    QTest::keyClicks(&field, "0");
    EXPECT_EQ(field.text(), "0");
}

TEST(KeyFilters, CodeFieldShowsSixLatinCharactersInUpperCase) {
    QLineEdit field;
    installCodeField(field);
    QTest::keyClicks(&field, "ab1");
    // A Cyrillic letter, as a keyboard layout would type it.
    QKeyEvent cyrillic(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("я"));
    QApplication::sendEvent(&field, &cyrillic);
    QTest::keyClicks(&field, "-c9xz");
    EXPECT_EQ(field.text(), "AB1C9X");
    // A pasted text is held to the same characters.
    field.clear();
    field.insert("q-1");
    EXPECT_EQ(field.text(), "");
    field.insert("qw1");
    EXPECT_EQ(field.text(), "QW1");
}

TEST(KeyFilters, GridCellAppendsToTheCellWhetherEditingOrNot) {
    QTableWidget grid(1, 2);
    grid.setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);
    grid.setItem(0, 0, new QTableWidgetItem("12"));
    grid.setItem(0, 1, new QTableWidgetItem("shown"));
    installGridCellFilter(
        grid,
        [](const QModelIndex& index) {
            return index.column() == 0 ? kov::GridColumnRule{kov::CellClass::Digits, 3}
                                       : kov::GridColumnRule{kov::CellClass::ReadOnly, 10};
        },
        ',');
    grid.show();
    grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    grid.setFocus();
    // Keys go through the window to the focused widget: the grid, then its cell editor.
    const auto type = [&grid](const char* keys) {
        for (const char* k = keys; *k; ++k) {
            QTest::keyClick(grid.windowHandle(), *k);
        }
    };

    // "12" + "3" fits: the grid opens its editor, which takes the key in place of the text.
    grid.setCurrentCell(0, 0);
    type("3");
    ASSERT_TRUE(editing(grid));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "3");
    type("4x56");
    EXPECT_EQ(editor->text(), "345");
    QTest::keyClick(grid.windowHandle(), Qt::Key_Backspace);
    EXPECT_EQ(editor->text(), "34");
    QTest::keyClick(grid.windowHandle(), Qt::Key_Return);
    EXPECT_EQ(grid.item(0, 0)->text(), "34");

    // Not editing: "123" + "4" is too long, so no editor opens.
    grid.item(0, 0)->setText("123");
    type("4");
    EXPECT_FALSE(editing(grid));
    EXPECT_EQ(grid.item(0, 0)->text(), "123");

    grid.setCurrentCell(0, 1);
    type("1");
    EXPECT_FALSE(editing(grid));
    EXPECT_EQ(grid.item(0, 1)->text(), "shown");
}

TEST(KeyFilters, HeadingIsFittedToItsLabelInItsOwnFont) {
    QLabel heading;
    heading.setFont(interfaceFont(kHeadingPixelSize));
    heading.resize(60, 40);
    setFittedCaption(heading, "Modernisation variant number");
    const QFontMetrics metrics(heading.font(), &heading);
    EXPECT_EQ(heading.font().family(), "DejaVu Sans");
    EXPECT_TRUE(heading.wordWrap());
    // Every piece between the inserted breaks, without its hyphen, stays inside the width less
    // 2 pixels.
    const QStringList pieces = heading.text().split(' ', Qt::SkipEmptyParts);
    EXPECT_GT(pieces.size(), 3);
    for (QString piece : pieces) {
        if (piece.endsWith('-')) {
            piece.chop(1);
        }
        EXPECT_LE(metrics.horizontalAdvance(piece), 60 - 2) << piece.toStdString();
    }
    EXPECT_TRUE(heading.text().contains("- ")) << heading.text().toStdString();

    heading.resize(400, 40);
    setFittedCaption(heading, "Modernisation variant number");
    EXPECT_EQ(heading.text(), "Modernisation variant number");
}
