#pragma once

#include "view/view_content.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QPushButton;
class WindowHost;

// The risk level dialog in front of the statistics viewer: one box per risk probability 0,1 to
// 1,0 and an "all" box; OK opens the viewer with the threshold incomes of the ticked levels.
class TfrmSelCriteria final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSelCriteria(WindowHost& host);

    const kov::LevelFlags& flags() const { return flags_; }

public slots:
    void CheckBox11Click();
    void btnOKClick();

private:
    WindowHost& host_;
    std::array<QCheckBox*, kov::kLevelFlags> boxes_{};
    QCheckBox* CheckBox11 = nullptr;
    QPushButton* btnOK = nullptr;
    kov::LevelFlags flags_ = kov::all_flags<kov::LevelFlags>();
};
