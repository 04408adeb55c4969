#pragma once

#include "dbor/bdon_wizard.h"

#include <QDialog>
#include <QPointer>

#include <map>
#include <string>
#include <vector>

class CurvePlot;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableView;
class QWidget;
class WindowHost;
class WizardGridModel;
struct SharedState;

// The database wizard: a new database (WindowMode 1), a new database by import (2), the
// correction (3) or the viewing (4) of the database of CurrentFileBase, page by page; on its
// last page it saves the database (modes 1 to 3). The pages' data, checks and flow are the
// core's BdonWizard; this window shows its fields and grids and asks.
class TfrmCreateDBOR final : public QDialog {
    Q_OBJECT

public:
    // `selection`: the hidden selection dialog that opened the wizard (modes 3, 4); it is closed
    // together with the wizard.
    explicit TfrmCreateDBOR(WindowHost& host, QWidget* selection = nullptr);

    const kov::BdonWizard& wizard() const { return wizard_; }

public slots:
    void btnNextClick();
    void btnPrevClick();
    void typeClick();
    void btnImportClick();
    void btnLoadOutDataClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildPage1();
    QWidget* buildPage2();
    QWidget* buildGridPage(int page);
    QWidget* buildPage9();
    QWidget* infoBlock(int page);
    QWidget* separatorBox(int page);
    void setCaptions();
    void setUnitCaptions();
    void showPage(int page);
    void showInfo();
    void showSummary();
    void pullFields();
    void pushFields();
    void fillUnits(QComboBox* list, std::vector<std::string> items, const std::string& stored);
    void report(const kov::NextOutcome& outcome);
    void focusGrid(int page, std::size_t row, int column, bool memo);
    void storeMemos();
    void rowChanged(int page, int row);
    void updatePlot(int page);
    void pasteBlock(int page);
    QTableView* view(int page) const;
    kov::WizardGrid& grid(int page);
    QString composed(const kov::NextOutcome& outcome) const;
    QLabel* label(const QString& name) const;

    WindowHost& host_;
    SharedState& state_;
    kov::BdonWizard wizard_;
    QPointer<QWidget> selection_;
    std::vector<kov::ImportChoice> choices_;

    QStackedWidget* pages_ = nullptr;
    QPushButton* btnPrev = nullptr;
    QPushButton* btnNext = nullptr;
    QPushButton* btnClose = nullptr;
    QRadioButton* RBTypeA = nullptr;
    QRadioButton* RBTypeB = nullptr;
    QLineEdit* EditCode = nullptr;
    QLineEdit* EditName = nullptr;
    QComboBox* Unit_0 = nullptr;
    QComboBox* Unit_1 = nullptr;
    QLineEdit* EditM = nullptr;
    QWidget* pnlImp = nullptr;
    QRadioButton* RB_1 = nullptr;
    QRadioButton* RB_2 = nullptr;
    QComboBox* cbImport = nullptr;
    QPushButton* btnImport = nullptr;
    QPushButton* btnLoadOutData = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo21 = nullptr;
    QPlainTextEdit* Memo22 = nullptr;
    // Pages 3 to 8: the grid's view and model, the row the editable memo belongs to, and the two
    // memos of pages 5 to 8.
    std::map<int, QTableView*> views_;
    std::map<int, WizardGridModel*> models_;
    std::map<int, int> memoRow_;
    std::map<int, std::pair<QPlainTextEdit*, QPlainTextEdit*>> readMemos_;
    std::map<int, CurvePlot*> plots_; // pages 6 and 8: the curve of the selected row
    std::map<QString, QLabel*> labels_;
};
