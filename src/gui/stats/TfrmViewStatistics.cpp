#include "stats/TfrmViewStatistics.h"

#include "host/WindowHost.h"
#include "view/grid_panel.h"

#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// TitleCol<10 + k> and Splitter<10 + k> over table column k: design width, narrowest, colour.
std::vector<HeadingSpec> headings() {
    const int spec[10][2] = {{56, 56}, {78, 60},  {80, 60}, {86, 60}, {90, 60},
                             {98, 70}, {100, 70}, {80, 60}, {96, 70}, {163, 110}};
    const QColor navy(0, 0, 128);
    std::vector<HeadingSpec> specs;
    for (int k = 0; k < 10; ++k) {
        const QString n = QString::number(10 + k);
        specs.push_back({QStringLiteral("TitleCol") + n, QStringLiteral("Splitter") + n, spec[k][0],
                         spec[k][1], 1000, k >= 8 ? navy : QColor(Qt::black)});
    }
    return specs;
}

} // namespace

kov::StatisticsView TfrmViewStatistics::reportView() const {
    kov::StatisticsView v = view_;
    v.content.grids = {panel_->model()->grid()};
    return v;
}

TfrmViewStatistics::TfrmViewStatistics(WindowHost& host, const kov::LevelFlags& levels) {
    SharedState& state = host.state();
    kov::StatisticsView view = kov::build_statistics_view(
        state.workspace, currentTaskCode(state), state.shell, state.regional.decimalChar, levels);
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
    split->addWidget(panel_);
    split->setStretchFactor(1, 1);
    split->setSizes({181, 400});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);

    view_ = std::move(view);

    setMinimumSize(970, 386);
    setMaximumSize(1008, 685);
    resize(1008, 684);
}
