#pragma once

#include "view/view_content.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <QWidget>

#include <vector>

class QLabel;
class QTableView;
class QTableWidget;
struct SharedState;

// The rows of a viewer's grid as a model: the cell texts are made when a row is shown, so a grid
// of any size opens at once.
class ViewGridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ViewGridModel(kov::ViewGrid grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const kov::ViewGrid& grid() const { return grid_; }

private:
    kov::ViewGrid grid_;
};

// One heading label above a grid column: its object name, the name of the 2-pixel splitter after
// it, its design width, the narrowest and widest a drag may make it, and its text colour.
struct HeadingSpec {
    QString label;
    QString splitter;
    int width;
    int minimum = 8;
    int maximum = 1000;
    QColor colour = Qt::black;
};

// A strip of word-wrapping heading labels, each followed by a 2-pixel splitter, above a read-only
// grid whose columns lie under them. A heading's text is fitted to its label's width; dragging a
// splitter resizes the label, and when the drag ends the column under it takes the label's width
// and the heading is fitted again.
class GridPanel final : public QWidget {
    Q_OBJECT

public:
    // `stripName` and `tableName` name the strip and the grid; `stripHeight` is the strip's design
    // height (it grows when a fitted heading needs more lines); the first column is
    // `firstColumnShrink` pixels narrower than its heading, every other one a pixel wider.
    GridPanel(kov::ViewGrid grid, std::vector<HeadingSpec> headings, const QString& stripName,
              const QString& tableName, int stripHeight, int rowHeight, int firstColumnShrink,
              bool wholeRows, QWidget* parent = nullptr);

    QTableView* table() const { return table_; }
    QLabel* heading(int k) const { return labels_[std::size_t(k)]; }
    ViewGridModel* model() const { return model_; }

    // The end of a drag of heading k's splitter: the column under it takes the heading's width
    // and the heading's text is fitted to it again.
    void headingMoved(int k);
    // While a splitter is dragged: heading k takes `width` within its limits.
    void dragHeading(int k, int width);

private:
    void fitHeading(int k);
    void placeHeadings();
    void setColumnWidth(int k);

    std::vector<HeadingSpec> specs_;
    std::vector<int> widths_; // the width of every heading (0 for a collapsed column)
    std::vector<QLabel*> labels_;
    std::vector<QWidget*> splitters_;
    QWidget* strip_ = nullptr;
    int stripHeight_ = 0;
    int firstColumnShrink_ = 0;
    ViewGridModel* model_ = nullptr;
    QTableView* table_ = nullptr;
};

// The parameter list across the top of a viewer: key and value columns (titles shell texts 324
// and 131, widths 440 and 554) with one row per parameter.
QTableWidget* makeParamList(const SharedState& state, const std::vector<kov::ViewParam>& params,
                            int rowHeight);

// The interface font of the viewers' grids, lists and headings.
QFont viewerFont();

// The task code of the main window's CurrentFileBase (".../Data/kov_<code>").
std::string currentTaskCode(const SharedState& state);
