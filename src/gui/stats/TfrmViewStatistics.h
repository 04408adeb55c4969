#pragma once

#include "book/workbook.h"
#include "view/statistics_view.h"

#include <QWidget>

class GridPanel;
class PictureView;
class QTableWidget;
class WindowHost;
struct SharedState;

// The statistics viewer: the task's main parameters with the modelling run's trial count and
// duration, and one block per investment variant (highest expected income first) with the
// threshold incomes of the risk levels chosen in the risk level dialog. A child window of the
// main window's MDI area.
class TfrmViewStatistics final : public QWidget {
    Q_OBJECT

public:
    // Reads the task's descriptor at the host's CurrentFileBase and its statistics file; throws
    // kov::FileError when a file is missing, unreadable or does not fit the task.
    TfrmViewStatistics(WindowHost& host, const kov::LevelFlags& levels);

    GridPanel* panel() const { return panel_; }
    PictureView* picture() const { return picture_; }
    // What the viewer shows, its grid as it stands: what its print and export lay out.
    kov::StatisticsView reportView() const;
    kov::WorkbookLayout workbook() const;
    // The name under Reports of its printed (.pdf) and exported (.xlsx) files, without extension.
    std::string reportName() const;

private:
    const SharedState& state_;
    std::string code_;
    kov::StatisticsView view_; // its grid lives in the panel's model
    QTableWidget* VarList = nullptr;
    GridPanel* panel_ = nullptr;
    PictureView* picture_ = nullptr;
};
