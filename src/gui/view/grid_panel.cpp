#include "view/grid_panel.h"

#include "host/shared_state.h"
#include "ui/caption.h"

#include "shell/texts.h"
#include "task/task_code.h"

#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <stdexcept>

namespace {

constexpr int kSplitterWidth = 2;

// The 2-pixel splitter after a heading: dragging it moves the heading's right edge.
class HeadingSplitter final : public QWidget {
public:
    HeadingSplitter(QWidget* parent, std::function<int()> width, std::function<void(int)> drag,
                    std::function<void()> moved)
        : QWidget(parent)
        , width_(std::move(width))
        , drag_(std::move(drag))
        , moved_(std::move(moved)) {
        setCursor(Qt::SplitHCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) {
            return;
        }
        pressX_ = e->globalPosition().toPoint().x();
        startWidth_ = width_();
        dragging_ = true;
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (dragging_) {
            drag_(startWidth_ + e->globalPosition().toPoint().x() - pressX_);
        }
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (!dragging_ || e->button() != Qt::LeftButton) {
            return;
        }
        drag_(startWidth_ + e->globalPosition().toPoint().x() - pressX_);
        dragging_ = false;
        moved_();
    }

private:
    std::function<int()> width_;
    std::function<void(int)> drag_;
    std::function<void()> moved_;
    bool dragging_ = false;
    int pressX_ = 0;
    int startWidth_ = 0;
};

} // namespace

QFont viewerFont() {
    return interfaceFont(kHeadingPixelSize);
}

ViewGridModel::ViewGridModel(kov::ViewGrid grid, QObject* parent)
    : QAbstractTableModel(parent)
    , grid_(std::move(grid)) {}

int ViewGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(grid_.rows.size());
}

int ViewGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(grid_.columns.size());
}

QVariant ViewGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    const kov::ViewRow& row = grid_.rows[std::size_t(index.row())];
    const auto column = std::size_t(index.column());
    if (row.separator || column >= row.cells.size()) {
        return {};
    }
    return QString::fromStdString(row.cells[column]);
}

GridPanel::GridPanel(kov::ViewGrid grid, std::vector<HeadingSpec> headings,
                     const QString& stripName, const QString& tableName, int stripHeight,
                     int rowHeight, int firstColumnShrink, bool wholeRows, QWidget* parent)
    : QWidget(parent)
    , specs_(std::move(headings))
    , stripHeight_(stripHeight)
    , firstColumnShrink_(firstColumnShrink) {
    const QFont font = viewerFont();
    strip_ = new QWidget(this);
    strip_->setObjectName(stripName);
    model_ = new ViewGridModel(std::move(grid), this);
    const kov::ViewGrid& g = model_->grid();

    for (std::size_t k = 0; k < specs_.size(); ++k) {
        const HeadingSpec& s = specs_[k];
        const kov::ViewColumn* column = k < g.columns.size() ? &g.columns[k] : nullptr;
        auto* label = new QLabel(strip_);
        label->setObjectName(s.label);
        label->setFont(font);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, s.colour);
        label->setPalette(palette);
        label->setProperty("kovHeading",
                           column ? QString::fromStdString(column->heading) : QString());
        labels_.push_back(label);
        int width = column && column->width > 0 ? column->width : s.width;
        if (column && column->collapsed) {
            width = 0;
        }
        widths_.push_back(width);
        const int index = int(k);
        auto* splitter = new HeadingSplitter(
            strip_, [this, index] { return widths_[std::size_t(index)]; },
            [this, index](int w) { dragHeading(index, w); },
            [this, index] { headingMoved(index); });
        splitter->setObjectName(s.splitter);
        splitter->setVisible(width > 0);
        splitters_.push_back(splitter);
    }

    table_ = new QTableView(this);
    table_->setObjectName(tableName);
    table_->setFont(font);
    table_->setModel(model_);
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setMinimumSectionSize(1);
    table_->verticalHeader()->setDefaultSectionSize(rowHeight);
    table_->horizontalHeader()->setMinimumSectionSize(0);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(wholeRows ? QAbstractItemView::SelectRows
                                           : QAbstractItemView::SelectItems);
    table_->setSelectionMode(wholeRows ? QAbstractItemView::SingleSelection
                                       : QAbstractItemView::ContiguousSelection);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The last column reaches the grid's right edge, so its longest texts (the deepest risk
    // level's threshold) are not cut.
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setWordWrap(false);
    table_->setTabKeyNavigation(false);
    for (std::size_t r = 0; r < g.rows.size(); ++r) {
        if (g.rows[r].separator) {
            table_->setRowHeight(int(r), 1);
        }
    }

    for (int k = 0; k < int(specs_.size()); ++k) {
        fitHeading(k);
        setColumnWidth(k);
    }
    placeHeadings();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip_);
    layout->addWidget(table_, 1);
}

void GridPanel::fitHeading(int k) {
    QLabel* label = labels_[std::size_t(k)];
    const int width = widths_[std::size_t(k)];
    if (width <= 0) {
        label->clear();
        return;
    }
    const QFontMetrics metrics(label->font(), label);
    label->setText(fitCaption(label->property("kovHeading").toString(), width, metrics));
}

void GridPanel::setColumnWidth(int k) {
    const int width = widths_[std::size_t(k)];
    if (width <= 0) {
        table_->setColumnHidden(k, true);
        return;
    }
    table_->setColumnWidth(k, k == 0 ? std::max(0, width - firstColumnShrink_) : width + 1);
}

void GridPanel::placeHeadings() {
    // A cut word's hyphen may reach up to its width past the line the text was fitted to; the
    // label takes that room over the splitter, which stays in front of it.
    int height = stripHeight_;
    for (std::size_t k = 0; k < labels_.size(); ++k) {
        QLabel* label = labels_[k];
        const QFontMetrics metrics(label->font(), label);
        const int spill = metrics.horizontalAdvance(QLatin1Char('-'));
        const int w = widths_[k];
        if (w > 0) {
            const QRect needed = metrics.boundingRect(QRect(0, 0, w + spill, 10000),
                                                      Qt::TextWordWrap, label->text());
            height = std::max(height, needed.height() + 2);
        }
    }
    int x = 0;
    for (std::size_t k = 0; k < labels_.size(); ++k) {
        QLabel* label = labels_[k];
        const int w = widths_[k];
        const int spill = w > 0 ? QFontMetrics(label->font(), label).horizontalAdvance('-') : 0;
        label->setGeometry(x, 0, w + spill, height);
        label->setVisible(w > 0);
        x += w;
        splitters_[k]->setGeometry(x, 0, kSplitterWidth, height);
        if (w > 0) {
            x += kSplitterWidth;
        }
        splitters_[k]->raise();
    }
    strip_->setFixedHeight(height);
    strip_->setMinimumWidth(x);
}

void GridPanel::dragHeading(int k, int width) {
    if (widths_[std::size_t(k)] <= 0) {
        return;
    }
    const HeadingSpec& s = specs_[std::size_t(k)];
    widths_[std::size_t(k)] = std::clamp(width, s.minimum, s.maximum);
    placeHeadings();
}

void GridPanel::headingMoved(int k) {
    if (widths_[std::size_t(k)] <= 0) {
        return;
    }
    setColumnWidth(k);
    fitHeading(k);
    placeHeadings();
}

QTableWidget* makeParamList(const SharedState& state, const std::vector<kov::ViewParam>& params,
                            int rowHeight) {
    auto* list = new QTableWidget(int(params.size()), 2);
    list->setObjectName(QStringLiteral("VarList"));
    list->setFont(viewerFont());
    list->setHorizontalHeaderLabels(
        {state.text(kov::txt::Parameters), state.text(kov::txt::Value)});
    list->horizontalHeader()->setFont(viewerFont());
    list->horizontalHeader()->setSectionsClickable(false);
    list->horizontalHeader()->setStretchLastSection(true);
    // The value column (554 pixels by design) takes the rest of the list's width.
    list->setColumnWidth(0, 440);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(rowHeight);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setWordWrap(false);
    list->setTabKeyNavigation(false);
    for (std::size_t r = 0; r < params.size(); ++r) {
        list->setItem(int(r), 0, new QTableWidgetItem(QString::fromStdString(params[r].key)));
        list->setItem(int(r), 1, new QTableWidgetItem(QString::fromStdString(params[r].value)));
    }
    return list;
}

std::string currentTaskCode(const SharedState& state) {
    const std::string name = std::filesystem::path(state.currentFileBase).filename().string();
    const std::string code = name.rfind("kov_", 0) == 0 ? name.substr(4) : std::string();
    if (!kov::is_task_code(code)) {
        throw std::invalid_argument("\"" + state.currentFileBase + "\" is not a task's file path");
    }
    return code;
}
