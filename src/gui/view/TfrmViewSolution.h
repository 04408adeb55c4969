#pragma once

#include "view/solution_view.h"

#include <QWidget>

class GridPanel;
class QTableWidget;
class WindowHost;

// The solution viewer: the parameters of a solved task with the use of funds of every investment
// variant and the solver's information, and the table of the variants chosen in the variant
// selection dialog with the objects taken for each. A child window of the main window's MDI area.
class TfrmViewSolution final : public QWidget {
    Q_OBJECT

public:
    // Reads the task at the host's CurrentFileBase, its database and its solution; throws
    // kov::FileError when a file is missing, unreadable or does not fit its database.
    TfrmViewSolution(WindowHost& host, const kov::VariantFlags& shown);

    GridPanel* panel() const { return panel_; }
    // What the viewer shows, its table included: what its reports lay out.
    kov::SolutionView reportView() const;

private:
    QTableWidget* VarList = nullptr;
    GridPanel* panel_ = nullptr;
    kov::SolutionView view_; // its table lives in the panel's model
};
