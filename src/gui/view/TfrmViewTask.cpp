#include "view/TfrmViewTask.h"

#include "host/WindowHost.h"
#include "message_service.h"
#include "shell/texts.h"
#include "view/grid_panel.h"

#include "book/layouts.h"

#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <string>
#include <vector>

namespace {

// The design widths of the heading labels of the five grids.
const std::array<std::vector<int>, 5> kHeadingWidths = {{
    {70, 160, 160, 200},
    {70, 90, 360, 120, 100, 90, 90},
    {90, 80, 360, 120, 120, 150},
    {90, 100, 110, 160, 120},
    {90, 100, 110, 80, 150, 150},
}};
constexpr int kStripHeight = 54;
constexpr int kRowHeight = 16;

// Lb<g>_<k> and Sp<g>_<k> are the label and the splitter over column k - 1 of grid g.
std::vector<HeadingSpec> headings(int g) {
    std::vector<HeadingSpec> strip;
    const auto& widths = kHeadingWidths[std::size_t(g)];
    for (std::size_t k = 0; k < widths.size(); ++k) {
        const QString suffix = QStringLiteral("%1_%2").arg(g + 1).arg(k + 1);
        strip.push_back({QStringLiteral("Lb") + suffix, QStringLiteral("Sp") + suffix, widths[k]});
    }
    return strip;
}

// The parameter list's greatest height, by investment mode and pay-back.
int paramListMaximum(const kov::TaskHeader& h) {
    if (h.reg == 1) {
        return h.prok == 1 ? 640 : 498;
    }
    return h.prok == 1 ? 594 : 479;
}

} // namespace

TfrmViewTask::TfrmViewTask(WindowHost& host)
    : state_(host.state())
    , code_(currentTaskCode(state_))
    , view_(kov::build_task_view(state_.workspace, code_, state_.shell,
                                 state_.regional.decimalChar)) {
    setObjectName(QStringLiteral("TfrmViewTask"));
    setProperty(kViewerKindProperty, int(ViewerKind::Task));
    setWindowTitle(QString::fromStdString(view_.content.caption));

    VarList = makeParamList(state_, view_.content.params, 15);
    VarList->setMinimumHeight(20);
    VarList->setMaximumHeight(paramListMaximum(view_.task));

    TabControl = new QTabBar;
    TabControl->setObjectName(QStringLiteral("TabControl"));
    TabControl->setExpanding(false);
    TabControl->setDrawBase(true);
    for (const std::string& tab : view_.content.tabs) {
        TabControl->addTab(QString::fromStdString(tab));
    }
    pages_ = new QStackedWidget;
    for (int g = 0; g < 5; ++g) {
        const QString n = QString::number(g + 1);
        auto* panel = new GridPanel(std::move(view_.content.grids[std::size_t(g)]), headings(g),
                                    QStringLiteral("Titles") + n, QStringLiteral("Grid") + n,
                                    kStripHeight, kRowHeight, 1, true);
        panel->setObjectName(QStringLiteral("Param") + n);
        panels_[std::size_t(g)] = panel;
        pages_->addWidget(panel);
    }

    auto* bottom = new QWidget;
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->setSpacing(0);
    bottomLayout->addWidget(TabControl);
    bottomLayout->addWidget(pages_, 1);

    auto* split = new QSplitter(Qt::Vertical);
    split->setObjectName(QStringLiteral("Splitter1"));
    split->setChildrenCollapsible(false);
    split->addWidget(VarList);
    split->addWidget(bottom);
    split->setStretchFactor(1, 1);
    split->setSizes({200, 400});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);

    TabControl->setCurrentIndex(0);
    pages_->setCurrentIndex(0);
    connect(TabControl, &QTabBar::currentChanged, this, &TfrmViewTask::TabControlChange);

    setMinimumSize(1008, 500);
    setMaximumSize(1008, 685);
    resize(1008, 685);
}

void TfrmViewTask::TabControlChange(int index) {
    if (index >= 3 && !view_.income_tabs) {
        // Tabs 3 and 4 belong to a task with pay-back.
        {
            const QSignalBlocker block(TabControl);
            TabControl->setCurrentIndex(previousTab_);
        }
        state_.messages->warning(state_.text(kov::txt::PaybackTabsOnly) + QStringLiteral("."));
        return;
    }
    previousTab_ = index;
    pages_->setCurrentIndex(index);
}

kov::TaskView TfrmViewTask::reportView() const {
    kov::TaskView shown = view_;
    for (std::size_t g = 0; g < panels_.size(); ++g) {
        shown.content.grids[g] = panels_[g]->model()->grid();
    }
    return shown;
}

kov::WorkbookLayout TfrmViewTask::workbook() const {
    return kov::task_workbook(reportView(), state_.shell);
}

std::string TfrmViewTask::reportName() const {
    return kov::task_report_name(code_);
}
