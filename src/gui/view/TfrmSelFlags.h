#pragma once

#include "view/view_content.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QPushButton;
class WindowHost;

// The variant selection dialog in front of the solution viewer: one box per investment variant
// of the task (at most sixteen) and an "all" box; OK opens the viewer of the ticked variants.
class TfrmSelFlags final : public QDialog {
    Q_OBJECT

public:
    // Reads the task's descriptor at the host's CurrentFileBase for its number of variants.
    explicit TfrmSelFlags(WindowHost& host);

    const kov::VariantFlags& flags() const { return flags_; }

public slots:
    void CheckBox17Click();
    void btnOKClick();

private:
    WindowHost& host_;
    std::array<QCheckBox*, kov::kVariantFlags> boxes_{};
    QCheckBox* CheckBox17 = nullptr;
    QPushButton* btnOK = nullptr;
    kov::VariantFlags flags_ = kov::all_flags<kov::VariantFlags>();
};
