#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QComboBox;
class WindowHost;

// The language selection, shown at start when the Shells folder holds several shells. The host
// stays disabled until a language is chosen; the choice (the shell file's name, formed from the
// chosen title) goes to `chosen`, and the dialog closes.
class TfrmSelLang final : public QDialog {
    Q_OBJECT

public:
    using Choice = std::function<void(const std::string& shellFileName)>;
    TfrmSelLang(WindowHost& host, Choice chosen);

public slots:
    void btnOkClick();

protected:
    void reject() override {} // no way out but a choice
    void closeEvent(QCloseEvent* event) override;

private:
    WindowHost& host_;
    Choice chosen_;
    QComboBox* list_ = nullptr;
    bool closing_ = false;
};
