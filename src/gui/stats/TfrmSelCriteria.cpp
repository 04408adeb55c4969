#include "stats/TfrmSelCriteria.h"

#include "host/WindowHost.h"
#include "host/work_guard.h"
#include "shell/texts.h"
#include "stats/TfrmViewStatistics.h"
#include "ui/enter_key.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TfrmSelCriteria::TfrmSelCriteria(WindowHost& host)
    : QDialog(nullptr)
    , host_(host) {
    SharedState& state = host.state();
    setObjectName(QStringLiteral("TfrmSelCriteria"));
    setWindowTitle(state.text(kov::txt::RiskLevelChoiceCaption));

    auto* Label11 = new QLabel(state.text(kov::txt::ChooseRiskLevels), this);
    Label11->setObjectName(QStringLiteral("Label11"));
    Label11->setWordWrap(true);
    auto* grid = new QGridLayout;
    for (int j = 0; j < kov::kLevelFlags; ++j) {
        // The risk probabilities are written with a comma whatever the decimal separator.
        const QString level = j == 9 ? QStringLiteral("1,0") : QStringLiteral("0,%1").arg(j + 1);
        auto* box = new QCheckBox(level, this);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(j + 1));
        box->setChecked(true);
        connect(box, &QCheckBox::toggled, this,
                [this, j](bool on) { flags_[std::size_t(j)] = on; });
        grid->addWidget(box, j / 5, j % 5);
        boxes_[std::size_t(j)] = box;
    }
    CheckBox11 = new QCheckBox(state.text(kov::txt::All), this);
    CheckBox11->setObjectName(QStringLiteral("CheckBox11"));
    CheckBox11->setChecked(true);
    btnOK = new QPushButton(QStringLiteral("ОК"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CheckBox11);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label11);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(CheckBox11, &QCheckBox::clicked, this, &TfrmSelCriteria::CheckBox11Click);
    connect(btnOK, &QPushButton::clicked, this, &TfrmSelCriteria::btnOKClick);
    installEnterKey(*this, {btnOK});
    // Wide enough for its caption in the title bar.
    const int titleWidth = fontMetrics().horizontalAdvance(windowTitle()) + 120;
    setFixedSize(sizeHint().expandedTo(QSize(std::max(320, titleWidth), 0)));
}

void TfrmSelCriteria::CheckBox11Click() {
    for (QCheckBox* box : boxes_) {
        box->setChecked(CheckBox11->isChecked());
    }
}

void TfrmSelCriteria::btnOKClick() {
    runGuarded(host_.state(), [this] { host_.openViewer(new TfrmViewStatistics(host_, flags_)); });
    close();
}
