#pragma once

#include <QString>

class QWidget;
struct SharedState;

// Opening a written file in the desktop's application for its kind (a workbook in the
// spreadsheet application). Tests put a recording one in its place, so they open nothing.
class FileOpenService {
public:
    virtual ~FileOpenService() = default;
    // True when the desktop took the file.
    virtual bool open(const QString& path) = 0;
};

class DesktopFileOpenService final : public FileOpenService {
public:
    bool open(const QString& path) override;
};

// The file dialog that asks for a workbook to import (*.xlsx and *.xls). Tests answer it from a
// script, as the file dialog cannot be driven offscreen.
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen file, or an empty text when the dialog was cancelled.
    virtual QString openWorkbook(QWidget* parent, const QString& caption) = 0;
};

class QtFileDialogService final : public FileDialogService {
public:
    QString openWorkbook(QWidget* parent, const QString& caption) override;
};

// Opens a written file through the state's open service; when nothing can open it, an
// information box names the file.
void openWrittenFile(const SharedState& state, const QString& path);
