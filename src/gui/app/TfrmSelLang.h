#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QPushButton;
class TfrmMainWin;

// The language selection, shown at start when the Shells folder holds several shells. The main
// window stays disabled until a language is chosen.
class TfrmSelLang final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSelLang(TfrmMainWin& main);

public slots:
    void btnOkClick();

protected:
    void reject() override {} // no way out but a choice
    void closeEvent(QCloseEvent* event) override;

private:
    TfrmMainWin& main_;
    QComboBox* list_ = nullptr;
    bool chosen_ = false;
};
