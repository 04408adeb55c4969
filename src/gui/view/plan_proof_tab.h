#pragma once

#include "view/plan_proof.h"

#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;
struct SharedState;

// The solution viewer's tab "why this plan": the certificate of every selected variant ("optimal"
// or the gap to the best plan the task admits) and, worked out when the user asks for it with a
// progress dialog that can cancel, how far each object's revenue (specific income) could fall
// before it would leave the best plan or rise before it would enter it.
class PlanProofTab final : public QWidget {
    Q_OBJECT

public:
    // Reads the task's input file, its database and its solution; a file that cannot be read or
    // does not fit leaves the tab with the error's text and nothing to work out.
    PlanProofTab(const SharedState& state, const std::string& code, const kov::VariantFlags& shown,
                 QWidget* parent = nullptr);

    // "Certificate of optimality: 1: optimal; 2: gap ..." for the selected variants, or empty.
    QString summary() const { return summary_; }

public slots:
    // Works out the thresholds of the selected variants; the table is filled unless cancelled.
    void btnWhyClick();

private:
    const SharedState& state_;
    kov::VariantFlags shown_;
    std::optional<kov::PlanProofInput> input_;
    QString summary_;
    QLabel* lblProof = nullptr;
    QPushButton* btnWhy = nullptr;
    QTableWidget* sgWhy = nullptr;
};
