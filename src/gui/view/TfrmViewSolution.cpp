#include "view/TfrmViewSolution.h"

#include "host/WindowHost.h"
#include "picture/PictureView.h"
#include "view/grid_panel.h"
#include "view/plan_proof_tab.h"

#include "book/layouts.h"
#include "shell/texts.h"

#include <QLabel>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QColor kNavy(0, 0, 128);
const QColor kMaroon(128, 0, 0);

// TitleCol<k> and Splitter<k> over table column k - 1: design width, narrowest, widest, colour.
std::vector<HeadingSpec> headings(bool payback) {
    const int sizes[15][3] = {{37, 37, 47},   {57, 50, 70}, {70, 50, 75}, {66, 50, 75},
                              {87, 50, 90},   {41, 35, 45}, {39, 39, 49}, {41, 41, 51},
                              {150, 80, 300}, {45, 40, 60}, {42, 40, 50}, {43, 40, 60},
                              {50, 40, 60},   {42, 40, 50}, {75, 50, 75}};
    std::vector<HeadingSpec> strip;
    for (int k = 0; k < 15; ++k) {
        QColor colour = Qt::black;
        if (k == 3 && payback) {
            colour = kNavy;
        } else if (k == 4) {
            colour = kNavy;
        } else if (k == 6 || k == 10 || k == 13) {
            colour = kMaroon;
        }
        const QString n = QString::number(k + 1);
        strip.push_back({QStringLiteral("TitleCol") + n, QStringLiteral("Splitter") + n,
                         sizes[k][0], sizes[k][1], sizes[k][2], colour});
    }
    return strip;
}

} // namespace

TfrmViewSolution::TfrmViewSolution(WindowHost& host, const kov::VariantFlags& shown)
    : state_(host.state())
    , code_(currentTaskCode(state_))
    , view_(kov::build_solution_view(state_.workspace, code_, state_.shell,
                                     state_.regional.decimalChar, shown)) {
    const SharedState& state = state_;
    kov::SolutionView& view = view_;
    setObjectName(QStringLiteral("TfrmViewSolution"));
    setProperty(kViewerKindProperty, int(ViewerKind::Solution));
    setWindowTitle(QString::fromStdString(view.content.caption));

    VarList = makeParamList(state, view.content.params, 15);
    VarList->setMinimumHeight(22);
    VarList->setMaximumHeight(555);
    panel_ = new GridPanel(std::move(view.content.grids.at(0)), headings(view.task.prok == 1),
                           QStringLiteral("TitleSolution"), QStringLiteral("sgSolution"), 80, 16, 2,
                           false);

    auto* split = new QSplitter(Qt::Vertical);
    split->setObjectName(QStringLiteral("Splitter16"));
    split->setChildrenCollapsible(false);
    split->addWidget(VarList);
    picture_ = new PictureView(view.incomes, PictureView::Kind::Bars, state.regional.decimalChar);
    picture_->setObjectName(QStringLiteral("Picture"));
    // Under the parameters the solution's table, the picture of its incomes and why its plans
    // are what they are; the certificate of the plans beneath.
    QTabWidget* tabs = tableAndPictureTabs(panel_, state.text(kov::txt::TableTab), picture_,
                                           QString::fromStdString(view.incomes.tab));
    auto* why = new PlanProofTab(state, code_, shown);
    tabs->addTab(why, state.text(kov::txt::WhyTab));
    split->addWidget(tabs);
    split->setStretchFactor(1, 1);
    split->setSizes({290, 300});
    auto* proof = new QLabel(why->summary());
    proof->setObjectName(QStringLiteral("lblProofSummary"));
    proof->setVisible(!why->summary().isEmpty());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(split, 1);
    layout->addWidget(proof);

    setMinimumSize(1008, 500);
    setMaximumSize(1008, 685);
    resize(1008, 685);
}

kov::SolutionView TfrmViewSolution::reportView() const {
    kov::SolutionView shown = view_;
    shown.content.grids.at(0) = panel_->model()->grid();
    return shown;
}

kov::WorkbookLayout TfrmViewSolution::workbook() const {
    return kov::solution_workbook(reportView(), state_.shell);
}

std::string TfrmViewSolution::reportName() const {
    return kov::solution_report_name(code_);
}
