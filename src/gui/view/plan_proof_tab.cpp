#include "view/plan_proof_tab.h"

#include "host/file_error_text.h"
#include "host/shared_state.h"
#include "host/work_guard.h"
#include "view/grid_panel.h"

#include "io/error.h"
#include "shell/texts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// How often the progress dialog is brought up to date and events are let through.
constexpr qint64 kProgressStepMs = 40;

} // namespace

PlanProofTab::PlanProofTab(const SharedState& state, const std::string& code,
                           const kov::VariantFlags& shown, QWidget* parent)
    : QWidget(parent)
    , state_(state)
    , shown_(shown) {
    setObjectName(QStringLiteral("tabWhy"));
    lblProof = new QLabel;
    lblProof->setObjectName(QStringLiteral("lblProof"));
    lblProof->setWordWrap(true);
    lblProof->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* note = new QLabel(state.text(kov::txt::WhyNote) + QStringLiteral("."));
    note->setObjectName(QStringLiteral("lblWhyNote"));
    note->setWordWrap(true);
    btnWhy = new QPushButton(state.text(kov::txt::WhyCompute));
    btnWhy->setObjectName(QStringLiteral("btnWhy"));
    sgWhy = new QTableWidget(0, 6);
    sgWhy->setObjectName(QStringLiteral("sgWhy"));
    sgWhy->setFont(viewerFont());
    sgWhy->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgWhy->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgWhy->verticalHeader()->hide();
    sgWhy->verticalHeader()->setDefaultSectionSize(18);
    sgWhy->horizontalHeader()->setFont(viewerFont());
    sgWhy->horizontalHeader()->setSectionsClickable(false);
    // Every heading reads in full; the description takes what is left.
    sgWhy->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    sgWhy->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    sgWhy->verticalHeader()->setMinimumSectionSize(1);

    try {
        input_ = kov::read_plan_proof_input(state.workspace, code, state.shell);
        const auto certificates = kov::certify_solution(*input_);
        summary_ = QString::fromStdString(
            kov::certificate_summary(certificates, state.shell, state.regional.decimalChar,
                                     input_->bdon.header.cost_unit, shown));
    } catch (const kov::FileError& e) {
        summary_ = fileErrorText(state, e);
        btnWhy->setEnabled(false);
    } catch (const std::invalid_argument& e) {
        summary_ = QString::fromStdString(e.what());
        btnWhy->setEnabled(false);
    }
    lblProof->setText(summary_);
    if (input_) {
        const kov::ViewGrid empty =
            kov::why_grid(*input_, {}, state.shell, state.regional.decimalChar);
        QStringList headings;
        for (const auto& c : empty.columns) {
            headings << QString::fromStdString(c.heading);
        }
        // The unit of the change on a line of its own keeps the column narrow.
        const qsizetype unit = headings.back().lastIndexOf(QStringLiteral(" ("));
        if (unit > 0) {
            headings.back()[unit] = QLatin1Char('\n');
        }
        sgWhy->setHorizontalHeaderLabels(headings);
    }
    QObject::connect(btnWhy, &QPushButton::clicked, this,
                     [this] { runGuarded(state_, [this] { btnWhyClick(); }); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnWhy);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblProof);
    layout->addWidget(note);
    layout->addLayout(buttons);
    layout->addWidget(sgWhy, 1);
}

void PlanProofTab::btnWhyClick() {
    if (!input_) {
        return;
    }
    QProgressDialog progress(state_.text(kov::txt::WhyWorking) + QStringLiteral("..."),
                             state_.text(kov::txt::Cancel), 0, 1, this);
    progress.setObjectName(QStringLiteral("WhyProgress"));
    progress.setWindowTitle(state_.text(kov::txt::WhyTab));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0);
    progress.show();
    QElapsedTimer sinceStep;
    sinceStep.start();
    bool first = true;
    const auto step = [&](int done, int total) {
        if (first || done == total || sinceStep.elapsed() >= kProgressStepMs) {
            first = false;
            sinceStep.restart();
            progress.setMaximum(std::max(total, 1));
            progress.setValue(done);
            QApplication::processEvents();
        }
        return !progress.wasCanceled();
    };
    btnWhy->setEnabled(false);
    const auto why = kov::why_solution(*input_, shown_, step);
    btnWhy->setEnabled(true);
    progress.close();
    if (!why) {
        return;
    }
    const kov::ViewGrid grid =
        kov::why_grid(*input_, *why, state_.shell, state_.regional.decimalChar);
    sgWhy->setRowCount(int(grid.rows.size()));
    for (int r = 0; r < int(grid.rows.size()); ++r) {
        const kov::ViewRow& row = grid.rows[std::size_t(r)];
        if (row.separator) {
            sgWhy->setRowHeight(r, 4);
            continue;
        }
        for (int c = 0; c < int(row.cells.size()); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(row.cells[std::size_t(c)]));
            if (c == 3) {
                item->setToolTip(item->text()); // the description may be cut to the column
            } else {
                item->setTextAlignment(Qt::AlignCenter);
            }
            sgWhy->setItem(r, c, item);
        }
    }
}
