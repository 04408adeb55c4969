#include "view/TfrmSelFlags.h"

#include "host/WindowHost.h"
#include "host/work_guard.h"
#include "ui/enter_key.h"
#include "view/TfrmViewSolution.h"

#include "shell/texts.h"
#include "task/task_files.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TfrmSelFlags::TfrmSelFlags(WindowHost& host)
    : QDialog(nullptr)
    , host_(host) {
    SharedState& state = host.state();
    const kov::TaskHeader task =
        kov::read_task_header(state.currentFileBase + ".dat", state.codepage());
    setObjectName(QStringLiteral("TfrmSelFlags"));
    setWindowTitle(state.text(kov::txt::VariantChoiceCaption));

    auto* grid = new QGridLayout;
    for (int k = 0; k < kov::kVariantFlags; ++k) {
        auto* box = new QCheckBox(QString::number(k + 1), this);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(k + 1));
        box->setChecked(true);
        box->setVisible(k < task.nsg);
        connect(box, &QCheckBox::toggled, this,
                [this, k](bool on) { flags_[std::size_t(k)] = on; });
        grid->addWidget(box, k / 8, k % 8);
        boxes_[std::size_t(k)] = box;
    }
    CheckBox17 = new QCheckBox(state.text(kov::txt::All), this);
    CheckBox17->setObjectName(QStringLiteral("CheckBox17"));
    CheckBox17->setChecked(true);
    btnOK = new QPushButton(QStringLiteral("ОК"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CheckBox17);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(CheckBox17, &QCheckBox::clicked, this, &TfrmSelFlags::CheckBox17Click);
    connect(btnOK, &QPushButton::clicked, this, &TfrmSelFlags::btnOKClick);
    installEnterKey(*this, {btnOK});
    // Wide enough for its caption in the title bar.
    const int titleWidth = fontMetrics().horizontalAdvance(windowTitle()) + 120;
    setFixedSize(sizeHint().expandedTo(QSize(std::max(320, titleWidth), 0)));
}

void TfrmSelFlags::CheckBox17Click() {
    for (QCheckBox* box : boxes_) {
        box->setChecked(CheckBox17->isChecked());
    }
}

void TfrmSelFlags::btnOKClick() {
    runGuarded(host_.state(), [this] { host_.openViewer(new TfrmViewSolution(host_, flags_)); });
    close();
}
