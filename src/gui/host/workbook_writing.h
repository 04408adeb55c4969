#pragma once

#include "book/workbook.h"

#include <QString>

#include <string>

class QWidget;
struct SharedState;

// Writes an export workbook under the Workspace's Reports folder as `base` + ".xlsx" (or the
// next free name; no file is ever replaced) and opens it through the state's open service. A
// writing that takes longer than half a second shows a progress dialog (rows written of all
// rows) over `parent`; its Cancel stops the writing and leaves no file. Returns the path
// written, or an empty text when the user cancelled. A failure shows the export's error box
// (naming the file) and returns an empty text too.
QString exportWorkbook(const SharedState& state, QWidget* parent, const std::string& base,
                       const kov::WorkbookLayout& layout, const QString& label);
