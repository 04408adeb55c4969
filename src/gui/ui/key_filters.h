#pragma once

#include "ui/entry_filter.h"

#include <QModelIndex>

#include <functional>

class QAbstractItemView;
class QLineEdit;

// The keystroke filters of number fields and editable grids, and the masked code field. A
// window installs one on a field with one call and the field owns it. The filters judge keys
// that type a character; Backspace, editing and navigation keys and shortcuts (the clipboard
// keys among them) pass, and a pasted text is not filtered.

// Counts: digits that keep the integer within the inclusive range.
void installIntegerFilter(QLineEdit& field, kov::IntegerFieldRule range);

// Money amounts, percentages, durations: no minus, at most the allowed decimals, not above the
// bound; numbers are written with the DecimalChar.
void installDecimalFilter(QLineEdit& field, kov::DecimalFieldRule rule, char decimalChar);

// Editable grids: the rule of a cell (its column's class and length). Keys typed on the grid
// and into its cell editors are judged on the cell's text with the character appended.
using CellRuleLookup = std::function<kov::GridColumnRule(const QModelIndex&)>;
void installGridCellFilter(QAbstractItemView& grid, CellRuleLookup rules, char decimalChar);

// A masked code field (TaskCode and other fixed-format codes): six positions, each a Latin
// letter, shown in upper case, or a digit. Typed and pasted texts alike are held to it.
void installCodeField(QLineEdit& field);
