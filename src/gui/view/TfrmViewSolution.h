#pragma once

#include "book/workbook.h"
#include "view/solution_view.h"

#include <QWidget>

class GridPanel;
class PictureView;
class QTableWidget;
class WindowHost;
struct SharedState;

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
    PictureView* picture() const { return picture_; }
    // What the viewer shows, its grid as it stands: what its print and export lay out.
    kov::SolutionView reportView() const;
    kov::WorkbookLayout workbook() const;
    // The name under Reports of its printed (.pdf) and exported (.xlsx) files, without extension.
    std::string reportName() const;

private:
    const SharedState& state_;
    std::string code_;
    kov::SolutionView view_; // its grid lives in the panel's model
    QTableWidget* VarList = nullptr;
    GridPanel* panel_ = nullptr;
    PictureView* picture_ = nullptr;
};
