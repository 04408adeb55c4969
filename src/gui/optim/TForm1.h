#pragma once

#include "optim/run_lines.h"
#include "optim/solver.h"

#include <QDialog>

#include <array>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;
class WindowHost;
struct SharedState;

// The optimisation module window: three small steps (mode, task, scheme parameters), then the
// run of the solver over one task (individual mode) or every queued task (batch mode), with the
// progress of the run in numbered lines. The solutions stay under Solving.
class TForm1 final : public QDialog {
    Q_OBJECT

public:
    explicit TForm1(WindowHost& host);

    // The task codes the run will solve (after the mode step or the task step).
    const std::vector<std::string>& tasks() const { return tasks_; }
    const kov::SchemeParameters& parameters() const { return parameters_; }

public slots:
    void RB1Click();
    void RB2Click();
    void BNext1Click();
    void BNext2Click();
    void BNext3Click();
    void BStartClick();
    void BResetClick();
    void BEndClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void initialise();
    void solveNow();
    void runTask(const std::string& code);
    void setMessage(const QString& text);
    void showOnly(const std::vector<QWidget*>& visible);
    void placePromptTexts();
    void placeRunLines();
    // Start line, progress lines 1 to 6, message line, end line, top to bottom.
    std::array<QLabel*, 9> runLines() const;
    void showRunLine(kov::RunLine line, const QString& text);
    QLabel* label(const char* name, QWidget* parent);
    QPushButton* button(const char* name, const QString& text);

    SharedState& state_;
    bool initialised_ = false;
    bool batch_ = true;
    std::vector<std::string> tasks_;
    kov::SchemeParameters parameters_;
    std::array<std::string, 3> info_; // the information texts of System/Info

    QLabel* Label0 = nullptr;
    QLabel* Label0_1 = nullptr;
    QLabel* Label0_2 = nullptr;
    QRadioButton* RB1 = nullptr;
    QRadioButton* RB2 = nullptr;
    QPushButton* BNext1 = nullptr;
    QPushButton* BNext2 = nullptr;
    QPushButton* BNext3 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* MaskEdit1_3 = nullptr;
    QLabel* LOPRM = nullptr;
    QLabel* LOPT[4] = {};
    QLineEdit* ME[4] = {};
    QPushButton* BStart = nullptr;
    QPushButton* BReset = nullptr;
    QPushButton* BEnd = nullptr;
    QLabel* Label_Start = nullptr;
    QLabel* Lines[6] = {}; // Label2 .. Label7, progress lines 1 to 6
    QLabel* Label8 = nullptr;
    QLabel* Label_End = nullptr;
};
