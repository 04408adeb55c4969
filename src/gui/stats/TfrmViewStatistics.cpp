#include "stats/TfrmViewStatistics.h"

#include "host/WindowHost.h"
#include "picture/PictureView.h"
#include "view/grid_panel.h"

#include "book/layouts.h"
#include "shell/texts.h"

#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// TitleCol<10 + k> and Splitter<10 + k> over table column k: design width, narrowest, colour.
std::vector<HeadingSpec> headings() {
    const int sizes[10][2] = {{56, 56}, {78, 60},  {80, 60}, {86, 60}, {90, 60},
                              {98, 70}, {100, 70}, {80, 60}, {96, 70}, {163, 110}};
    const QColor navy(0, 0, 128);
    std::vector<HeadingSpec> strip;
    for (int k = 0; k < 10; ++k) {
        const QString n = QString::number(10 + k);
        strip.push_back({QStringLiteral("TitleCol") + n, QStringLiteral("Splitter") + n,
                         sizes[k][0], sizes[k][1], 1000, k >= 8 ? navy : QColor(Qt::black)});
    }
    return strip;
}

} // namespace

TfrmViewStatistics::TfrmViewStatistics(WindowHost& host, const kov::LevelFlags& levels)
    : state_(host.state())
    , code_(currentTaskCode(state_))
    , view_(kov::build_statistics_view(state_.workspace, code_, state_.shell,
                                       state_.regional.decimalChar, levels)) {
    const SharedState& state = state_;
    kov::StatisticsView& view = view_;
    setObjectName(QStringLiteral("TfrmViewStatistics"));
    setProperty(kViewerKindProperty, int(ViewerKind::Statistics));
    setWindowTitle(QString::fromStdString(view.content.caption));

    VarList = makeParamList(state, view.content.params, 15);
    VarList->setMinimumHeight(20);
    VarList->setMaximumHeight(181);
    panel_ = new GridPanel(std::move(view.content.grids.at(0)), headings(),
                           QStringLiteral("TitleSolution"), QStringLiteral("sgSolution"), 68, 14, 2,
                           false);

    auto* split = new QSplitter(Qt::Vertical);
    split->setObjectName(QStringLiteral("Splitter1"));
    split->setChildrenCollapsible(false);
    split->addWidget(VarList);
    picture_ = new PictureView(view.risk, PictureView::Kind::Lines, state.regional.decimalChar);
    picture_->setObjectName(QStringLiteral("Picture"));
    split->addWidget(tableAndPictureTabs(panel_, state.text(kov::txt::TableTab), picture_,
                                         QString::fromStdString(view.risk.tab)));
    split->setStretchFactor(1, 1);
    split->setSizes({181, 400});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);

    setMinimumSize(970, 386);
    setMaximumSize(1008, 685);
    resize(1008, 684);
}

kov::StatisticsView TfrmViewStatistics::reportView() const {
    kov::StatisticsView shown = view_;
    shown.content.grids.at(0) = panel_->model()->grid();
    return shown;
}

kov::WorkbookLayout TfrmViewStatistics::workbook() const {
    return kov::statistics_workbook(reportView(), state_.shell);
}

std::string TfrmViewStatistics::reportName() const {
    return kov::statistics_report_name(code_);
}
