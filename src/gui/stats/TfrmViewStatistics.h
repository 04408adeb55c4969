#pragma once

#include "view/statistics_view.h"

#include <QWidget>

class GridPanel;
class QTableWidget;
class WindowHost;

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
    // What the viewer shows, its table included: what its reports lay out.
    kov::StatisticsView reportView() const;

private:
    QTableWidget* VarList = nullptr;
    GridPanel* panel_ = nullptr;
    kov::StatisticsView view_; // its table lives in the panel's model
};
