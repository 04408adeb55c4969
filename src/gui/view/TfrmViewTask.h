#pragma once

#include "book/workbook.h"
#include "view/task_view.h"

#include <QWidget>

#include <array>

class GridPanel;
class QStackedWidget;
class QTabBar;
class QTableWidget;
class WindowHost;
struct SharedState;

// The task viewer: the input data of any task, solved or not, as a parameter list and five
// tables under tabs (investment variants, listed objects, chosen modernisation variants and, for
// a task with pay-back, the chosen income variants and their delay curves). A child window of
// the main window's MDI area; it never writes anything.
class TfrmViewTask final : public QWidget {
    Q_OBJECT

public:
    // Reads the task at the host's CurrentFileBase and its database; throws kov::FileError when
    // a file is missing, unreadable or does not fit its database.
    explicit TfrmViewTask(WindowHost& host);

    // The task and its caption, tabs and parameters; the grids live in the panels' models.
    const kov::TaskView& view() const { return view_; }
    GridPanel* panel(int g) const { return panels_[std::size_t(g)]; }
    // What the viewer shows, its grids as they stand: what its print and export lay out.
    kov::TaskView reportView() const;
    kov::WorkbookLayout workbook() const;
    // The name under Reports of its printed (.pdf) and exported (.xlsx) files, without extension.
    std::string reportName() const;

public slots:
    void TabControlChange(int index);

private:
    SharedState& state_;
    std::string code_;
    kov::TaskView view_;
    QTableWidget* VarList = nullptr;
    QTabBar* TabControl = nullptr;
    QStackedWidget* pages_ = nullptr;
    std::array<GridPanel*, 5> panels_{};
    int previousTab_ = 0;
};
