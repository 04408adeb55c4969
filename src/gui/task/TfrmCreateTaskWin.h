#pragma once

#include "task/task_wizard.h"

#include <QDialog>

#include <map>
#include <string>
#include <vector>

class CurvePlot;
class QAbstractItemView;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableView;
class QTableWidget;
class QWidget;
class RowsModel;
class WindowHost;
struct SharedState;

// The task wizard: a new task (mode 1), a new task from another task's data (mode 2) or the
// correction of an unsolved task (mode 3), page by page; on its last page it saves both task
// files, records the task in the protocol and, when asked, has it solved at once.
class TfrmCreateTaskWin final : public QDialog {
    Q_OBJECT

public:
    // Opened by a menu command: the mode is the WindowMode (in mode 3 the task is the one of
    // CurrentFileBase).
    explicit TfrmCreateTaskWin(WindowHost& host);
    // Mode 3 for the task `taskCode`.
    TfrmCreateTaskWin(WindowHost& host, const std::string& taskCode);

    const kov::TaskWizard& wizard() const { return wizard_; }

public slots:
    void btnNextClick();
    void btnPrevClick();
    void btnCloseClick();
    void RB1Click();
    void RB_1Click();
    void RB_2Click();
    void btnImportClick();
    void btnLoadOutDataClick();
    void List1Change();
    void CB1Click();
    void Table1KeyDown(int row);

private:
    TfrmCreateTaskWin(WindowHost& host, int mode, const std::string& taskCode);
    void build();
    QWidget* buildPage1();
    QWidget* buildPage2();
    QWidget* buildPage3();
    QWidget* buildPage4();
    QWidget* buildPage4a();
    QWidget* buildTablePage(const char* panel, const char* table, RowsModel*& model, int memos,
                            QLabel** explanation);
    QWidget* buildPage9();
    QWidget* buildPage10();
    QLineEdit* numberField(QGridLayout* grid, const char* name, int row, int maxLength);
    void setCaptions();
    void setTaskCaptions();
    void showPage(int page);
    void showHeaderBlock(int page);
    void showSummary();
    void pullFields();
    void pushFields();
    void setControlsFromHeader();
    void report(const kov::PageCheck& check);
    void updateMemos(int page);
    void updateCurvePlot(int row);
    void fillImportList();
    void finish();
    void solveNow(const std::string& code);
    int selectedType() const;
    int selectedRounding() const;
    int selectedMode() const;
    QString t(int k) const;
    QString tr(int k) const;
    template <class W> W* named(const char* name);

    WindowHost& host_;
    SharedState& state_;
    kov::TaskWizard wizard_;
    std::string taskCode_; // mode 3
    std::vector<kov::ImportItem> importItems_;

    QStackedWidget* pages_ = nullptr;
    std::map<int, QWidget*> pageWidgets_; // page 4 with pay-back is 40
    QWidget* headerBlock_ = nullptr;
    QGridLayout* headerGrid_ = nullptr;
    QPushButton* btnPrev = nullptr;
    QPushButton* btnNext = nullptr;
    QPushButton* btnClose = nullptr;

    QWidget* pnlImort = nullptr;
    QRadioButton* RB_1 = nullptr;
    QRadioButton* RB_2 = nullptr;
    QComboBox* cbImport = nullptr;
    QPushButton* btnImport = nullptr;
    QPushButton* btnLoadOutData = nullptr;
    QLabel* staticTask = nullptr;
    QLineEdit* txtShifr = nullptr;
    QLineEdit* txtName = nullptr;
    QRadioButton* RB1_1 = nullptr;
    QRadioButton* RB1_2 = nullptr;
    QRadioButton* RB2[4] = {};
    QListWidget* List1 = nullptr;
    QRadioButton* Prk1 = nullptr;
    QRadioButton* Prk0 = nullptr;
    std::map<std::string, QLineEdit*> fields_;
    std::map<std::string, QLabel*> labels_;
    QWidget* payback1_ = nullptr; // page 4 with pay-back: mode 1 panel
    QWidget* payback2_ = nullptr; // mode 2 panel
    QTableWidget* StringGrid = nullptr;
    QTableView* Table1 = nullptr;
    QCheckBox* CB1 = nullptr;
    RowsModel* objectModel_ = nullptr;
    RowsModel* pairModel_ = nullptr;
    RowsModel* incomeModel_ = nullptr;
    RowsModel* pointModel_ = nullptr;
    QLabel* explanation8_ = nullptr;
    CurvePlot* curvePlot_ = nullptr; // page 8, beside Table41
    QRadioButton* toc[3] = {};
    QWidget* summary_ = nullptr;
    QGridLayout* summaryGrid_ = nullptr;
    QRadioButton* Order1 = nullptr;
    QRadioButton* Order2 = nullptr;
};
