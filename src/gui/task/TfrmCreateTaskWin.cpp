#include "task/TfrmCreateTaskWin.h"

#include "host/WindowHost.h"
#include "host/file_error_text.h"
#include "host/file_services.h"
#include "host/work_guard.h"
#include "message_service.h"
#include "optim/TForm1.h"
#include "picture/CurvePlot.h"
#include "ui/caption.h"
#include "ui/enter_key.h"
#include "ui/key_filters.h"

#include "book/imports.h"
#include "io/error.h"
#include "io/files.h"
#include "io/numbers.h"
#include "protocol/task_record.h"
#include "protocol/task_state.h"
#include "road/task_road.h"
#include "shell/texts.h"
#include "task/task_code.h"

#include <QAbstractTableModel>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

// The rows of one of the tables of pages 5 to 8, as the wizard holds them.
class RowsModel final : public QAbstractTableModel {
public:
    RowsModel(std::function<int()> rows, std::function<QString(int, int)> cell, int columns,
              QObject* parent)
        : QAbstractTableModel(parent)
        , rows_(std::move(rows))
        , cell_(std::move(cell))
        , columns_(columns) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : rows_();
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : columns_;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) {
            return {};
        }
        return cell_(index.row(), index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < headings.size()) {
            return section < shown.size() ? shown[section] : headings[section];
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    void reset() {
        beginResetModel();
        endResetModel();
    }

    // Fits the headings to the columns of `view`: a heading wraps at the break opportunities
    // fit_caption puts into it.
    void fitTo(const QHeaderView& header) {
        const QFontMetrics metrics(header.font(), &header);
        shown.clear();
        for (int c = 0; c < headings.size(); ++c) {
            shown.push_back(fitCaption(headings[c], header.sectionSize(c) - 4, metrics));
        }
        emit headerDataChanged(Qt::Horizontal, 0, int(headings.size()) - 1);
    }

    QStringList headings;
    QStringList shown;

private:
    std::function<int()> rows_;
    std::function<QString(int, int)> cell_;
    int columns_;
};

namespace {

// A heading fitted to `width` pixels, the width its page gives it.
void fitted(QLabel* label, const QString& text, int width) {
    label->resize(width, label->height());
    setFittedCaption(*label, text);
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// Keys of a widget handled by a function (true: the key is taken).
class KeyHook final : public QObject {
public:
    KeyHook(QObject* target, std::function<bool(QKeyEvent*)> hook)
        : QObject(target)
        , hook_(std::move(hook)) {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
            return event->type() == QEvent::KeyPress && hook_(static_cast<QKeyEvent*>(event));
        }
        return false;
    }

private:
    std::function<bool(QKeyEvent*)> hook_;
};

// The selected radio of a group is maroon, the others black.
void paintRadios(std::initializer_list<QRadioButton*> radios) {
    for (QRadioButton* r : radios) {
        QObject::connect(r, &QRadioButton::toggled, r, [r](bool on) {
            r->setStyleSheet(on ? QStringLiteral("color: maroon") : QString());
        });
    }
}

// The mode-3 task of a CurrentFileBase (".../Data/kov_<TaskCode>").
std::string taskOfFileBase(const std::string& base) {
    return base.size() >= 6 ? base.substr(base.size() - 6) : std::string();
}

constexpr int kPage4Payback = 40;
// Widths of the fitted headings: across a page, and beside a field.
constexpr int kWide = 700;
constexpr int kNarrow = 400;

struct NumberField {
    const char* name;
    bool integer;
    int decimals;
    double max;
    int length;
};
const NumberField kNumberFields[] = {
    {"txtPs", false, 2, 100, 5},        {"txtNsg", true, 0, 10, 2},
    {"txtPor", false, 3, 99999, 5},     {"txtMzad", false, 2, 99999, 5},
    {"txtOgrn", true, 0, 10, 2},        {"txtSrok", false, 2, 99999, 5},
    {"txtVer", false, 3, 0.3, 5},       {"Sum1a", false, 2, 100000000, 13},
    {"Sum2a", false, 2, 100000000, 13}, {"txtSoi", false, 2, 10000, 7},
    {"txtTmx", false, 2, 1, 4},         {"txtTmn", false, 2, 1, 4},
    {"txtNt", true, 0, 5, 1},           {"txtNt1", true, 0, 5, 1},
    {"txtNsd", false, 2, 999999.99, 9}, {"txtT1mn", false, 2, 10000, 7},
    {"txtT1mx", false, 2, 10000, 7},    {"txtDelta", false, 2, 9999, 7},
};

} // namespace

TfrmCreateTaskWin::TfrmCreateTaskWin(WindowHost& host)
    : TfrmCreateTaskWin(host, host.state().windowMode,
                        host.state().windowMode == kov::kWizardCorrection
                            ? taskOfFileBase(host.state().currentFileBase)
                            : std::string()) {}

TfrmCreateTaskWin::TfrmCreateTaskWin(WindowHost& host, const std::string& taskCode)
    : TfrmCreateTaskWin(host, kov::kWizardCorrection, taskCode) {}

TfrmCreateTaskWin::TfrmCreateTaskWin(WindowHost& host, int mode, const std::string& taskCode)
    : host_(host)
    , state_(host.state())
    , wizard_(state_.shell, state_.workspace, state_.regional.decimalChar,
              mode == kov::kWizardImport || mode == kov::kWizardCorrection ? mode
                                                                           : kov::kWizardNewTask)
    , taskCode_(taskCode) {
    setObjectName(QStringLiteral("TfrmCreateTaskWin"));
    build();
    setCaptions();
    if (wizard_.mode() == kov::kWizardCorrection) {
        runGuarded(state_, [this] {
            wizard_.load_for_correction(taskCode_);
            txtShifr->setText(q(taskCode_));
            txtName->setText(q(wizard_.header().name));
            setControlsFromHeader();
        });
        for (QWidget* w : std::initializer_list<QWidget*>{txtShifr, RB1_1, RB1_2, RB2[0], RB2[1],
                                                          RB2[2], RB2[3], List1}) {
            w->setEnabled(false);
        }
    }
    pnlImort->setVisible(wizard_.mode() == kov::kWizardImport);
    if (wizard_.mode() == kov::kWizardImport) {
        fillImportList();
    }
    showPage(1);
    (wizard_.mode() == kov::kWizardCorrection ? txtName : txtShifr)->setFocus();
}

QString TfrmCreateTaskWin::t(int k) const {
    return state_.text(k);
}
QString TfrmCreateTaskWin::tr(int k) const {
    return state_.trimmed(k);
}

template <class W> W* TfrmCreateTaskWin::named(const char* name) {
    return findChild<W*>(QString::fromLatin1(name));
}

// ---- Building -----------------------------------------------------------------------------------

void TfrmCreateTaskWin::build() {
    auto* root = new QVBoxLayout(this);
    headerBlock_ = new QWidget(this);
    headerBlock_->setObjectName(QStringLiteral("HeaderBlock"));
    headerGrid_ = new QGridLayout(headerBlock_);
    headerGrid_->setContentsMargins(0, 0, 0, 0);
    headerGrid_->setVerticalSpacing(1);
    root->addWidget(headerBlock_);
    pages_ = new QStackedWidget(this);
    root->addWidget(pages_, 1);

    pageWidgets_[1] = buildPage1();
    pageWidgets_[2] = buildPage2();
    pageWidgets_[3] = buildPage3();
    pageWidgets_[4] = buildPage4();
    pageWidgets_[kPage4Payback] = buildPage4a();
    pageWidgets_[5] = buildTablePage("gbWin_1", "Table1", objectModel_, 1, nullptr);
    pageWidgets_[6] = buildTablePage("gbWin_2", "Table2", pairModel_, 2, nullptr);
    pageWidgets_[7] = buildTablePage("gbWin_3", "Table31", incomeModel_, 2, nullptr);
    pageWidgets_[8] = buildTablePage("gbWin_4", "Table41", pointModel_, 2, &explanation8_);
    pageWidgets_[9] = buildPage9();
    pageWidgets_[10] = buildPage10();
    for (const auto& [page, widget] : pageWidgets_) {
        pages_->addWidget(widget);
    }

    auto* buttons = new QHBoxLayout;
    btnPrev = new QPushButton(this);
    btnPrev->setObjectName(QStringLiteral("btnPrev"));
    btnNext = new QPushButton(this);
    btnNext->setObjectName(QStringLiteral("btnNext"));
    btnClose = new QPushButton(this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    for (QPushButton* b : {btnPrev, btnNext, btnClose}) {
        b->setAutoDefault(false);
    }
    buttons->addStretch();
    buttons->addWidget(btnPrev);
    buttons->addWidget(btnNext);
    buttons->addWidget(btnClose);
    root->addLayout(buttons);

    connectGuarded(btnNext, &QPushButton::clicked, this, &TfrmCreateTaskWin::btnNextClick, state_);
    // Enter in a field or a grid goes to the next page, as Next does.
    installEnterKey(*this, {btnNext});
    connectGuarded(btnPrev, &QPushButton::clicked, this, &TfrmCreateTaskWin::btnPrevClick, state_);
    connectGuarded(btnClose, &QPushButton::clicked, this, &TfrmCreateTaskWin::btnCloseClick,
                   state_);
    setFixedSize(780, 720);
}

QWidget* TfrmCreateTaskWin::buildPage1() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("gbWindow_1"));
    auto* box = new QVBoxLayout(page);

    pnlImort = new QWidget(page);
    pnlImort->setObjectName(QStringLiteral("pnlImort"));
    auto* imp = new QGridLayout(pnlImort);
    const auto label = [this](const char* name, QWidget* parent) {
        auto* l = new QLabel(parent);
        l->setObjectName(QString::fromLatin1(name));
        labels_[name] = l;
        return l;
    };
    imp->addWidget(label("Label21", pnlImort), 0, 0, 1, 3);
    RB_1 = new QRadioButton(QStringLiteral("DAT"), pnlImort);
    RB_1->setObjectName(QStringLiteral("RB_1"));
    RB_1->setChecked(true);
    RB_2 = new QRadioButton(QStringLiteral("XLS"), pnlImort);
    RB_2->setObjectName(QStringLiteral("RB_2"));
    imp->addWidget(RB_1, 1, 0);
    imp->addWidget(RB_2, 1, 1);
    imp->addWidget(label("Label18", pnlImort), 2, 0);
    cbImport = new QComboBox(pnlImort);
    cbImport->setObjectName(QStringLiteral("cbImport"));
    imp->addWidget(cbImport, 2, 1);
    btnImport = new QPushButton(pnlImort);
    btnImport->setObjectName(QStringLiteral("btnImport"));
    btnImport->setAutoDefault(false);
    imp->addWidget(btnImport, 2, 2);
    imp->addWidget(label("StaticText1", pnlImort), 3, 0);
    staticTask = label("staticTask", pnlImort);
    imp->addWidget(staticTask, 3, 1);
    btnLoadOutData = new QPushButton(pnlImort);
    btnLoadOutData->setObjectName(QStringLiteral("btnLoadOutData"));
    btnLoadOutData->setAutoDefault(false);
    btnLoadOutData->setEnabled(false);
    imp->addWidget(btnLoadOutData, 3, 2);
    imp->addWidget(label("Label_ex1", pnlImort), 4, 0);
    imp->addWidget(label("Label_ex2", pnlImort), 4, 1, 1, 2);
    box->addWidget(pnlImort);

    auto* grid = new QGridLayout;
    grid->addWidget(label("LabelShifr", page), 0, 0);
    txtShifr = new QLineEdit(page);
    txtShifr->setObjectName(QStringLiteral("txtShifr"));
    installCodeField(*txtShifr);
    grid->addWidget(txtShifr, 0, 1);
    grid->addWidget(label("LabelName", page), 1, 0);
    txtName = new QLineEdit(page);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setMaxLength(70);
    grid->addWidget(txtName, 1, 1);
    grid->addWidget(label("LabelMode", page), 2, 0);
    RB1_1 = new QRadioButton(page);
    RB1_1->setObjectName(QStringLiteral("RB1_1"));
    RB1_2 = new QRadioButton(page);
    RB1_2->setObjectName(QStringLiteral("RB1_2"));
    paintRadios({RB1_1, RB1_2});
    RB1_1->setChecked(true);
    grid->addWidget(RB1_1, 2, 1);
    grid->addWidget(RB1_2, 3, 1);
    grid->setColumnStretch(1, 1);
    box->addLayout(grid);
    box->addStretch();

    connectGuarded(RB1_1, &QRadioButton::clicked, this, &TfrmCreateTaskWin::RB1Click, state_);
    connectGuarded(RB1_2, &QRadioButton::clicked, this, &TfrmCreateTaskWin::RB1Click, state_);
    connectGuarded(RB_1, &QRadioButton::clicked, this, &TfrmCreateTaskWin::RB_1Click, state_);
    connectGuarded(RB_2, &QRadioButton::clicked, this, &TfrmCreateTaskWin::RB_2Click, state_);
    connectGuarded(btnImport, &QPushButton::clicked, this, &TfrmCreateTaskWin::btnImportClick,
                   state_);
    connectGuarded(btnLoadOutData, &QPushButton::clicked, this,
                   &TfrmCreateTaskWin::btnLoadOutDataClick, state_);
    return page;
}

QWidget* TfrmCreateTaskWin::buildPage2() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("gbWindow_2"));
    auto* box = new QVBoxLayout(page);
    const auto label = [this, page](const char* name) {
        auto* l = new QLabel(page);
        l->setObjectName(QString::fromLatin1(name));
        l->setWordWrap(true);
        labels_[name] = l;
        return l;
    };
    box->addWidget(label("LabelType"));
    for (int k = 0; k < 4; ++k) {
        RB2[k] = new QRadioButton(page);
        RB2[k]->setObjectName(QStringLiteral("RB2_%1").arg(k + 1));
        box->addWidget(RB2[k]);
    }
    paintRadios({RB2[0], RB2[1], RB2[2], RB2[3]});
    auto* types = new QButtonGroup(page);
    for (QRadioButton* r : RB2) {
        types->addButton(r);
    }
    RB2[0]->setChecked(true);
    box->addWidget(label("LabelList1"));
    List1 = new QListWidget(page);
    List1->setObjectName(QStringLiteral("List1"));
    box->addWidget(List1, 1);
    box->addWidget(label("LabelPrk"));
    box->addWidget(label("LabelPrkNote"));
    auto* prk = new QHBoxLayout;
    Prk1 = new QRadioButton(page);
    Prk1->setObjectName(QStringLiteral("Prk1"));
    Prk0 = new QRadioButton(page);
    Prk0->setObjectName(QStringLiteral("Prk0"));
    auto* prkGroup = new QButtonGroup(page);
    prkGroup->addButton(Prk1);
    prkGroup->addButton(Prk0);
    Prk0->setChecked(true);
    prk->addWidget(Prk1);
    prk->addWidget(Prk0);
    prk->addStretch();
    box->addLayout(prk);
    connectGuarded(List1, &QListWidget::currentRowChanged, this, &TfrmCreateTaskWin::List1Change,
                   state_);
    return page;
}

QLineEdit* TfrmCreateTaskWin::numberField(QGridLayout* grid, const char* name, int row,
                                          int maxLength) {
    auto* parent = grid->parentWidget();
    auto* l = new QLabel(parent);
    l->setObjectName(QStringLiteral("Label_%1").arg(QString::fromLatin1(name)));
    l->setWordWrap(true);
    l->setFixedWidth(kNarrow);
    labels_[name] = l;
    auto* f = new QLineEdit(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setMaxLength(maxLength);
    f->setMaximumWidth(120);
    fields_[name] = f;
    grid->addWidget(l, row, 0);
    grid->addWidget(f, row, 1);
    grid->setColumnStretch(2, 1);
    return f;
}

QWidget* TfrmCreateTaskWin::buildPage3() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("gbWindow_22"));
    auto* grid = new QGridLayout(page);
    numberField(grid, "txtPs", 0, 5);
    auto* percent = new QLabel(QStringLiteral("%"), page);
    grid->addWidget(percent, 0, 2);
    numberField(grid, "txtNsg", 1, 2);
    auto* heading = new QLabel(page);
    heading->setObjectName(QStringLiteral("LabelRestrictions"));
    labels_["LabelRestrictions"] = heading;
    grid->addWidget(heading, 2, 0, 1, 3);
    numberField(grid, "txtPor", 3, 5);
    numberField(grid, "txtMzad", 4, 5);
    numberField(grid, "txtOgrn", 5, 2);
    numberField(grid, "txtSrok", 6, 5);
    auto* and0 = new QLabel(page);
    and0->setObjectName(QStringLiteral("LabelAnd"));
    labels_["LabelAnd"] = and0;
    grid->addWidget(and0, 7, 0);
    numberField(grid, "txtVer", 8, 5);
    auto* dc = new QLabel(page);
    dc->setObjectName(QStringLiteral("LabelDecimal3"));
    labels_["LabelDecimal3"] = dc;
    grid->addWidget(dc, 9, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(10, 1);
    return page;
}

QWidget* TfrmCreateTaskWin::buildPage4() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("gbWindow_3"));
    auto* box = new QVBoxLayout(page);
    StringGrid = new QTableWidget(0, 3, page);
    StringGrid->setObjectName(QStringLiteral("StringGrid"));
    StringGrid->verticalHeader()->hide();
    StringGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    StringGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    box->addWidget(StringGrid, 1);
    const char dc = state_.regional.decimalChar;
    installGridCellFilter(
        *StringGrid,
        [](const QModelIndex& index) {
            return index.column() == 0 ? kov::GridColumnRule{kov::CellClass::ReadOnly, 0}
                                       : kov::GridColumnRule{kov::CellClass::Decimal, 12};
        },
        dc);
    new KeyHook(StringGrid, [](QKeyEvent* e) {
        return e->key() == Qt::Key_Insert && e->modifiers() == Qt::ShiftModifier;
    });
    auto* dcLabel = new QLabel(page);
    dcLabel->setObjectName(QStringLiteral("LabelDecimal4"));
    labels_["LabelDecimal4"] = dcLabel;
    box->addWidget(dcLabel);
    return page;
}

QWidget* TfrmCreateTaskWin::buildPage4a() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("gbWindow_3a"));
    auto* box = new QVBoxLayout(page);
    auto* money = new QWidget(page);
    auto* grid = new QGridLayout(money);
    numberField(grid, "Sum1a", 0, 13);
    numberField(grid, "Sum2a", 1, 13);
    box->addWidget(money);
    auto* heading = new QLabel(page);
    heading->setObjectName(QStringLiteral("LabelPayback"));
    labels_["LabelPayback"] = heading;
    box->addWidget(heading);
    payback1_ = new QWidget(page);
    payback1_->setObjectName(QStringLiteral("pnlPayback1"));
    auto* g1 = new QGridLayout(payback1_);
    numberField(g1, "txtSoi", 0, 7);
    numberField(g1, "txtTmx", 1, 4);
    numberField(g1, "txtTmn", 2, 4);
    numberField(g1, "txtNt", 3, 1);
    box->addWidget(payback1_);
    payback2_ = new QWidget(page);
    payback2_->setObjectName(QStringLiteral("pnlPayback2"));
    auto* g2 = new QGridLayout(payback2_);
    numberField(g2, "txtNsd", 0, 9);
    auto* explain = new QLabel(payback2_);
    explain->setObjectName(QStringLiteral("LabelNsdNote"));
    explain->setWordWrap(true);
    labels_["LabelNsdNote"] = explain;
    g2->addWidget(explain, 1, 0, 1, 2);
    numberField(g2, "txtT1mx", 2, 7);
    numberField(g2, "txtT1mn", 3, 7);
    numberField(g2, "txtNt1", 4, 1);
    box->addWidget(payback2_);
    auto* dcLabel = new QLabel(page);
    dcLabel->setObjectName(QStringLiteral("LabelDecimal4a"));
    labels_["LabelDecimal4a"] = dcLabel;
    box->addWidget(dcLabel);
    box->addStretch();

    const char dc = state_.regional.decimalChar;
    for (const NumberField& f : kNumberFields) {
        QLineEdit* field = fields_.count(f.name) ? fields_.at(f.name) : nullptr;
        if (!field) {
            continue;
        }
        if (f.integer) {
            // The object limit takes 0 while typing; Next refuses it.
            installIntegerFilter(*field, {std::string(f.name) == "txtOgrn" ? 0 : 1, int(f.max)});
        } else {
            installDecimalFilter(*field, {f.decimals, f.max}, dc);
        }
    }
    return page;
}

QWidget* TfrmCreateTaskWin::buildTablePage(const char* panel, const char* table, RowsModel*& model,
                                           int memos, QLabel** explanation) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(panel));
    auto* box = new QVBoxLayout(page);
    auto* heading = new QLabel(page);
    heading->setObjectName(QStringLiteral("%1_heading").arg(QString::fromLatin1(table)));
    heading->setWordWrap(true);
    box->addWidget(heading);
    auto* view = new QTableView(page);
    view->setObjectName(QString::fromLatin1(table));
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(20);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    view->horizontalHeader()->setDefaultAlignment(
        Qt::Alignment(int(Qt::AlignCenter) | int(Qt::TextWordWrap)));
    view->horizontalHeader()->setMinimumHeight(66);
    view->setWordWrap(true);
    const std::string name = table;
    std::function<const std::vector<kov::TableRow>&()> rows;
    int columns = 6;
    if (name == "Table1") {
        rows = [this]() -> const auto& {
            return wizard_.object_rows();
        };
    } else if (name == "Table2") {
        rows = [this]() -> const auto& {
            return wizard_.pair_rows();
        };
    } else if (name == "Table31") {
        rows = [this]() -> const auto& {
            return wizard_.income_rows();
        };
    } else {
        rows = [this]() -> const auto& {
            return wizard_.point_rows();
        };
        columns = 7;
    }
    const bool objects = name == "Table1";
    model = new RowsModel([rows] { return int(rows().size()); },
                          [this, rows, objects](int r, int c) {
                              if (objects && c == 5) {
                                  return wizard_.selection()[std::size_t(r)] ? QStringLiteral("*")
                                                                             : QString();
                              }
                              return q(rows()[std::size_t(r)].cells[std::size_t(c)]);
                          },
                          columns, view);
    view->setModel(model);
    box->addWidget(view, 1);
    if (objects) {
        Table1 = view;
        auto* hint = new QLabel(page);
        hint->setObjectName(QStringLiteral("LabelSpace"));
        labels_["LabelSpace"] = hint;
        CB1 = new QCheckBox(page);
        CB1->setObjectName(QStringLiteral("CB1"));
        auto* row = new QHBoxLayout;
        row->addWidget(hint);
        row->addStretch();
        row->addWidget(CB1);
        box->addLayout(row);
        connectGuarded(CB1, &QCheckBox::clicked, this, &TfrmCreateTaskWin::CB1Click, state_);
        new KeyHook(view, [this](QKeyEvent* e) {
            if (e->key() == Qt::Key_Space) {
                Table1KeyDown(Table1->currentIndex().row());
                return true;
            }
            // Every typed character is ignored; navigation keys pass.
            return !e->text().isEmpty() && e->text().at(0).isPrint();
        });
    }
    // Page 8: the delay curve of the selected point's row beside the memos, under the table.
    QBoxLayout* memoBox = box;
    if (explanation) {
        auto* lower = new QHBoxLayout;
        memoBox = new QVBoxLayout;
        lower->addLayout(memoBox, 1);
        curvePlot_ = new CurvePlot(page);
        curvePlot_->setObjectName(QStringLiteral("%1_plot").arg(q(name)));
        curvePlot_->setDecimalChar(state_.regional.decimalChar);
        curvePlot_->setFixedSize(340, 250);
        lower->addWidget(curvePlot_);
        box->addLayout(lower);
    }
    for (int m = 1; m <= memos; ++m) {
        auto* caption = new QLabel(page);
        caption->setObjectName(QStringLiteral("%1_memoCaption%2").arg(q(name)).arg(m));
        auto* memo = new QPlainTextEdit(page);
        memo->setObjectName(QStringLiteral("%1_memo%2").arg(q(name)).arg(m));
        memo->setReadOnly(true);
        memo->setMaximumHeight(54);
        memoBox->addWidget(caption);
        memoBox->addWidget(memo);
    }
    if (explanation) {
        auto* l = new QLabel(page);
        l->setObjectName(QStringLiteral("%1_explanation").arg(q(name)));
        l->setWordWrap(true);
        memoBox->addWidget(l);
        memoBox->addStretch(1);
        *explanation = l;
    }
    const int page_no = name == "Table1" ? 5 : name == "Table2" ? 6 : name == "Table31" ? 7 : 8;
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, page_no] { updateMemos(page_no); });
    return page;
}

QWidget* TfrmCreateTaskWin::buildPage9() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("gbWindow_6"));
    auto* box = new QVBoxLayout(page);
    auto* heading = new QLabel(page);
    heading->setObjectName(QStringLiteral("LabelRounding"));
    labels_["LabelRounding"] = heading;
    box->addWidget(heading);
    for (int k = 0; k < 3; ++k) {
        toc[k] = new QRadioButton(page);
        toc[k]->setObjectName(QStringLiteral("toc_%1").arg(k));
        box->addWidget(toc[k]);
    }
    toc[0]->setChecked(true);
    auto* tick = new QWidget(page);
    auto* grid = new QGridLayout(tick);
    numberField(grid, "txtDelta", 0, 7);
    installDecimalFilter(*fields_.at("txtDelta"), {2, 9999}, state_.regional.decimalChar);
    box->addWidget(tick);
    auto* dcLabel = new QLabel(page);
    dcLabel->setObjectName(QStringLiteral("LabelDecimal9"));
    labels_["LabelDecimal9"] = dcLabel;
    box->addWidget(dcLabel);
    box->addStretch();
    return page;
}

QWidget* TfrmCreateTaskWin::buildPage10() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("gbWindow_7"));
    auto* box = new QVBoxLayout(page);
    summary_ = new QWidget(page);
    summary_->setObjectName(QStringLiteral("Summary"));
    summaryGrid_ = new QGridLayout(summary_);
    summaryGrid_->setContentsMargins(0, 0, 0, 0);
    summaryGrid_->setVerticalSpacing(1);
    box->addWidget(summary_);
    auto* order = new QLabel(page);
    order->setObjectName(QStringLiteral("LabelOrder"));
    labels_["LabelOrder"] = order;
    box->addWidget(order);
    Order1 = new QRadioButton(page);
    Order1->setObjectName(QStringLiteral("Order1"));
    Order2 = new QRadioButton(page);
    Order2->setObjectName(QStringLiteral("Order2"));
    Order2->setChecked(true);
    for (auto [radio, note] :
         {std::pair{Order1, "LabelOrder1"}, std::pair{Order2, "LabelOrder2"}}) {
        auto* row = new QHBoxLayout;
        row->addWidget(radio);
        auto* l = new QLabel(page);
        l->setObjectName(QString::fromLatin1(note));
        l->setWordWrap(true);
        labels_[note] = l;
        row->addWidget(l, 1);
        box->addLayout(row);
    }
    box->addStretch();
    return page;
}

// ---- Captions -----------------------------------------------------------------------------------

void TfrmCreateTaskWin::setCaptions() {
    const auto set = [this](const char* name, const QString& text) {
        labels_.at(name)->setText(text);
    };
    set("Label21", t(kov::txt::ImportKind) + QStringLiteral(":"));
    set("Label18", t(kov::txt::ChooseTaskToImport) + QStringLiteral(":"));
    btnImport->setText(t(kov::txt::ImportButton));
    set("StaticText1", t(kov::txt::TaskChosenForImport) + QStringLiteral(":"));
    staticTask->setText(t(kov::txt::NotChosen));
    btnLoadOutData->setText(t(kov::txt::ImportWorkbookButton));
    set("LabelShifr", t(kov::txt::TaskCodePrompt) + QStringLiteral(":"));
    set("LabelName", t(kov::txt::EnterTaskName) + QStringLiteral(":"));
    set("LabelMode", t(kov::txt::ModeGroup) + QStringLiteral(":"));
    RB1_1->setText(t(kov::txt::PurchaseMode));
    RB1_2->setText(t(kov::txt::ModernisationMode));
    set("LabelType", t(kov::txt::TaskTypeGroup) + QStringLiteral(":"));
    RB2[0]->setText(QStringLiteral("1: ") + t(kov::txt::SaleWithoutPaybackChoice));
    RB2[1]->setText(QStringLiteral("2: ") + t(kov::txt::SaleWithPayback));
    RB2[2]->setText(QStringLiteral("3: ") + t(kov::txt::ExploitationWithoutPayback));
    RB2[3]->setText(QStringLiteral("4: ") + t(kov::txt::ExploitationWithPayback));
    fitted(labels_.at("LabelList1"), t(kov::txt::ChooseDatabase), kWide);
    fitted(labels_.at("LabelPrk"), t(kov::txt::CorrectDatabaseQuestion), kWide);
    set("LabelPrkNote",
        QStringLiteral("(") + t(kov::txt::CorrectDatabaseNote) + QStringLiteral(")"));
    Prk1->setText(tr(kov::txt::Yes));
    Prk0->setText(t(kov::txt::No));
    const QString and0 = tr(kov::txt::And);
    set("txtPs", t(kov::txt::InterestRatePrompt) + QStringLiteral(" (>=0):"));
    set("txtNsg", t(kov::txt::VariantsNumberPrompt) + QStringLiteral(" (>0 ") + and0 +
                      QStringLiteral(" <=10):"));
    set("LabelRestrictions", t(kov::txt::RestrictionsHeading) + QStringLiteral(":"));
    set("txtOgrn", tr(kov::txt::ObjectLimitKey) + QStringLiteral(" (>0 ") + and0 +
                       QStringLiteral(" <=10, ") + t(kov::txt::NoLimit) + QStringLiteral("):"));
    set("LabelAnd", and0);
    const QString dc = t(kov::txt::DecimalSeparator) + QStringLiteral(" - ") +
                       QChar::fromLatin1(state_.regional.decimalChar);
    for (const char* name : {"LabelDecimal3", "LabelDecimal4", "LabelDecimal4a", "LabelDecimal9"}) {
        set(name, dc);
    }
    set("LabelPayback", t(kov::txt::PaybackParametersPrompt) + QStringLiteral(":"));
    set("txtTmx", t(kov::txt::MaxPaybackCoefficient) + QStringLiteral(" (>0 ") + and0 +
                      QStringLiteral(" <=1):"));
    set("txtTmn", t(kov::txt::MinPaybackCoefficient) + QStringLiteral(" (>0 ") + and0 +
                      QStringLiteral(" <=1):"));
    set("txtNt", t(kov::txt::PaybackCoefficientsNumber) + QStringLiteral(" (>0 ") + and0 +
                     QStringLiteral(" <=5):"));
    set("txtNt1", t(kov::txt::PaybackTermsNumber) + QStringLiteral(" (>0 ") + and0 +
                      QStringLiteral(" <=5):"));
    fitted(labels_.at("LabelNsdNote"), t(kov::txt::RequiredIncomeNote), kWide);
    set("LabelSpace", QStringLiteral("<SpaceBar> - ") + t(kov::txt::SpaceBarHint));
    CB1->setText(tr(kov::txt::SelectAllObjects));
    set("LabelRounding", t(kov::txt::RoundingHeading) + QStringLiteral(":"));
    toc[0]->setText(t(kov::txt::RoundToNearest));
    toc[1]->setText(t(kov::txt::RoundDown));
    toc[2]->setText(t(kov::txt::RoundUp));
    fitted(labels_.at("txtDelta"), t(kov::txt::TickCaption) + QStringLiteral(" (>0,00):"), kNarrow);
    set("LabelOrder", t(kov::txt::SolvingOrder) + QStringLiteral(":"));
    Order1->setText(tr(kov::txt::SolveNow));
    Order2->setText(t(kov::txt::SolveLater));
    fitted(labels_.at("LabelOrder1"),
           QStringLiteral("(") + t(kov::txt::SolveNowNote) + QStringLiteral(")"), kNarrow);
    fitted(labels_.at("LabelOrder2"),
           QStringLiteral("(") + t(kov::txt::SolveLaterNote) + QStringLiteral(")"), kNarrow);
    findChild<QLabel*>(QStringLiteral("Table1_heading"))
        ->setText(t(kov::txt::SelectObjects) + QStringLiteral(":"));
    btnPrev->setText(t(kov::txt::Back));
    btnNext->setText(t(kov::txt::Forward));
    btnClose->setText(t(kov::txt::Cancel));
}

// The captions that depend on the task's type and database (page 2 left).
void TfrmCreateTaskWin::setTaskCaptions() {
    const kov::TaskHeader& h = wizard_.header();
    const QString u = q(wizard_.bdon().header.cost_unit);
    const QString w = q(wizard_.bdon().header.time_unit);
    const QString and0 = tr(kov::txt::And);
    const bool sale = h.prmp == 1;
    const auto set = [this](const char* name, const QString& text) {
        labels_.at(name)->setText(text);
    };
    set("txtPor", sale ? t(kov::txt::SaleThresholdRatio) + QStringLiteral(" (>1):")
                       : t(kov::txt::ExploitationThresholdRatio) + QStringLiteral(" (>0):"));
    set("txtMzad", t(sale ? kov::txt::MaxSaleDelay : kov::txt::MaxExploitationDelay) +
                       QStringLiteral(" (") + w + QStringLiteral("):"));
    fitted(labels_.at("txtSrok"),
           t(sale ? kov::txt::SaleControlTerm : kov::txt::ExploitationControlTerm) +
               QStringLiteral(" (>0) (") + w + QStringLiteral("):"),
           kNarrow);
    fitted(labels_.at("txtVer"),
           t(sale ? kov::txt::MaxSaleProbability : kov::txt::MaxExploitationProbability) +
               QStringLiteral(" (>0 ") + and0 + QStringLiteral(" <=0,3):"),
           kNarrow);
    set("txtNsd", t(sale ? kov::txt::RequiredSaleIncome : kov::txt::RequiredExploitationIncome) +
                      QStringLiteral(" (") + u + QStringLiteral("):"));
    set("txtT1mn",
        t(kov::txt::MinRequiredIncomeTerm) + QStringLiteral(" (>0) (") + w + QStringLiteral("):"));
    set("txtT1mx",
        t(kov::txt::MaxRequiredIncomeTerm) + QStringLiteral(" (>0) (") + w + QStringLiteral("):"));
    set("Sum1a",
        t(kov::txt::OwnFundsPrompt) + QStringLiteral(" (>=0) (") + u + QStringLiteral("):"));
    set("Sum2a", t(kov::txt::CreditPrompt) + QStringLiteral(" (>=0) (") + u + QStringLiteral("):"));
    set("txtSoi", t(kov::txt::PaybackTerm) + QStringLiteral(" (>0) (") + w + QStringLiteral("):"));
    StringGrid->setHorizontalHeaderLabels(
        {t(kov::txt::VariantNumberColumn),
         t(kov::txt::OwnFunds) + QStringLiteral(" (>=0) (") + u + QStringLiteral(")"),
         t(kov::txt::Credit) + QStringLiteral(" (>=0) (") + u + QStringLiteral(")")});

    const bool mode1 = h.reg == 1;
    objectModel_->headings = {tr(kov::txt::ObjectInDatabaseColumn),
                              tr(kov::txt::ObjectCode),
                              mode1 ? t(kov::txt::ObjectCost) + QStringLiteral(" (") + u +
                                          QStringLiteral(")")
                                    : QString(),
                              t(kov::txt::ModernisationsNumber),
                              tr(kov::txt::AbsentColumn) + QStringLiteral(" (*)"),
                              t(kov::txt::SelectedColumn) + QStringLiteral(" (*)")};
    const QString col5[] = {t(kov::txt::ExpectedSaleRevenue) + QStringLiteral(" (") + u +
                                QStringLiteral(")"),
                            t(kov::txt::SalesNumber),
                            t(kov::txt::ExpectedExploitationIncome) + QStringLiteral(" (") + u +
                                QStringLiteral("/") + w + QStringLiteral(")"),
                            tr(kov::txt::ExploitationsNumber)};
    pairModel_->headings = {
        t(kov::txt::ObjectNumberColumn),
        tr(kov::txt::ObjectCode),
        t(kov::txt::ModernisationNumberColumn),
        t(kov::txt::ModernisationCost) + QStringLiteral(" (") + u + QStringLiteral(")"),
        t(kov::txt::ModernisationDuration) + QStringLiteral(" (") + w + QStringLiteral(")"),
        col5[std::clamp(h.tipz, 1, 4) - 1]};
    incomeModel_->headings = {
        tr(kov::txt::ObjectNumberTrimmedColumn),
        tr(kov::txt::ObjectCode),
        t(kov::txt::ModernisationNumberColumn),
        t(sale ? kov::txt::SaleNumberColumn : kov::txt::ExploitationNumberColumn),
        sale ? t(kov::txt::ExpectedSaleRevenue) + QStringLiteral(" (") + u + QStringLiteral(")")
             : t(kov::txt::SteadyExploitationIncome) + QStringLiteral(" (") + u +
                   QStringLiteral("/") + w + QStringLiteral(")"),
        t(sale ? kov::txt::SalePointsNumber : kov::txt::ExploitationPointsNumber)};
    pointModel_->headings = {
        tr(kov::txt::ObjectNumberTrimmedColumn),
        tr(kov::txt::ObjectCode),
        t(kov::txt::ModernisationNumberColumn),
        t(sale ? kov::txt::SaleNumberColumn : kov::txt::ExploitationNumberColumn),
        t(kov::txt::PointNumberColumn),
        t(sale ? kov::txt::SaleDelayArgument : kov::txt::ExploitationDelayArgument) +
            QStringLiteral(" (") + w + QStringLiteral(")"),
        t(sale ? kov::txt::SaleProbability : kov::txt::ExploitationProbability)};
    fitted(explanation8_,
           t(sale ? kov::txt::SaleDelayTablesNote : kov::txt::ExploitationDelayTablesNote),
           kNarrow - 20); // beside the picture of the curve

    // Page 3 shows the threshold only in mode 1; with pay-back the control term and the
    // probability in place of the number of variants.
    const bool payback = h.prok == 1;
    for (const char* name : {"txtPor"}) {
        fields_.at(name)->setVisible(mode1);
        labels_.at(name)->setVisible(mode1);
    }
    fields_.at("txtNsg")->setVisible(!payback);
    labels_.at("txtNsg")->setVisible(!payback);
    for (const char* name : {"txtSrok", "txtVer"}) {
        fields_.at(name)->setVisible(payback);
        labels_.at(name)->setVisible(payback);
    }
    labels_.at("LabelAnd")->setVisible(payback);
}

// ---- Pages --------------------------------------------------------------------------------------

void TfrmCreateTaskWin::showPage(int page) {
    const bool payback = wizard_.header().prok == 1;
    QWidget* widget = pageWidgets_.at(page == 4 && payback ? kPage4Payback : page);
    if (page == 4 && payback) {
        const bool mode1 = wizard_.header().reg == 1;
        payback1_->setVisible(mode1);
        payback2_->setVisible(!mode1);
    }
    pages_->setCurrentWidget(widget);
    if (page >= 5 && page <= 8) {
        RowsModel* models[] = {objectModel_, pairModel_, incomeModel_, pointModel_};
        const char* tables[] = {"Table1", "Table2", "Table31", "Table41"};
        widget->layout()->activate();
        auto* view = findChild<QTableView*>(QString::fromLatin1(tables[page - 5]));
        models[page - 5]->fitTo(*view->horizontalHeader());
    }
    setWindowTitle(q(wizard_.caption(page)));
    btnPrev->setEnabled(page > 1);
    btnNext->setText(t(page == kov::kWizardPages ? kov::txt::Save : kov::txt::Forward));
    showHeaderBlock(page);
    if (page >= 5 && page <= 8) {
        updateMemos(page);
    }
}

void TfrmCreateTaskWin::showHeaderBlock(int page) {
    while (QLayoutItem* item = headerGrid_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    headerBlock_->setVisible(page >= 2 && page <= 9);
    if (page < 2 || page > 9) {
        return;
    }
    int row = 0;
    for (const auto& [caption, value] : wizard_.header_block(page)) {
        auto* c = new QLabel(q(caption), headerBlock_);
        auto* v = new QLabel(q(value), headerBlock_);
        v->setStyleSheet(QStringLiteral("color: navy"));
        v->setWordWrap(true);
        headerGrid_->addWidget(c, row, 0);
        headerGrid_->addWidget(v, row, 1);
        ++row;
    }
    headerGrid_->setColumnStretch(1, 1);
}

void TfrmCreateTaskWin::showSummary() {
    while (QLayoutItem* item = summaryGrid_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int row = 0;
    for (const auto& [caption, value] : wizard_.summary()) {
        auto* c = new QLabel(q(caption), summary_);
        auto* v = new QLabel(q(value), summary_);
        v->setObjectName(QStringLiteral("SummaryValue%1").arg(row));
        v->setStyleSheet(QStringLiteral("color: navy"));
        summaryGrid_->addWidget(c, row, 0);
        summaryGrid_->addWidget(v, row, 1);
        ++row;
    }
    summaryGrid_->setColumnStretch(1, 1);
}

void TfrmCreateTaskWin::updateCurvePlot(int row) {
    const bool sale = wizard_.header().prmp == 1;
    curvePlot_->setTexts(t(sale ? kov::txt::SaleDelay : kov::txt::ExploitationDelay) +
                             QStringLiteral(" (") + q(wizard_.bdon().header.time_unit) +
                             QStringLiteral(")"),
                         t(kov::txt::DistributionFunction));
    if (row < 0 || std::size_t(row) >= wizard_.point_rows().size()) {
        curvePlot_->clearCurve();
        return;
    }
    const kov::CurvePicture picture = kov::curve_picture(wizard_.point_curve(std::size_t(row)));
    curvePlot_->showCurve(picture, q(kov::curve_fault_caption(picture, state_.shell)),
                          wizard_.point_rows()[std::size_t(row)].point);
}

void TfrmCreateTaskWin::updateMemos(int page) {
    const char* names[] = {"Table1", "Table2", "Table31", "Table41"};
    const QString table = QString::fromLatin1(names[page - 5]);
    auto* view = findChild<QTableView*>(table);
    const std::vector<kov::TableRow>& rows = page == 5   ? wizard_.object_rows()
                                             : page == 6 ? wizard_.pair_rows()
                                             : page == 7 ? wizard_.income_rows()
                                                         : wizard_.point_rows();
    int r = view->currentIndex().row();
    if (r < 0 && !rows.empty()) {
        r = 0;
        view->setCurrentIndex(view->model()->index(0, page == 5 ? 5 : 0));
        return; // the selection change shows the memos
    }
    if (page == 8) {
        updateCurvePlot(r);
    }
    auto* caption1 = findChild<QLabel*>(table + QStringLiteral("_memoCaption1"));
    auto* memo1 = findChild<QPlainTextEdit*>(table + QStringLiteral("_memo1"));
    if (r < 0 || std::size_t(r) >= rows.size()) {
        caption1->setText(tr(kov::txt::ObjectDescriptionMemo));
        memo1->clear();
        return;
    }
    const kov::TableRow& row = rows[std::size_t(r)];
    if (page == 5) {
        caption1->setText(tr(kov::txt::ObjectDescriptionMemo) + QStringLiteral(" ") +
                          QString::number(r + 1));
        memo1->setPlainText(q(row.description));
        return;
    }
    caption1->setText(tr(kov::txt::ObjectDescriptionMemo) + QStringLiteral(" ") +
                      QString::number(row.object + 1));
    memo1->setPlainText(q(row.object_description));
    findChild<QLabel*>(table + QStringLiteral("_memoCaption2"))
        ->setText(t(kov::txt::VariantDescriptionMemo) + QStringLiteral(" ") +
                  QString::number(row.variant) + QStringLiteral(" ") + t(kov::txt::OfTheObject));
    findChild<QPlainTextEdit*>(table + QStringLiteral("_memo2"))->setPlainText(q(row.description));
}

// ---- Fields -------------------------------------------------------------------------------------

void TfrmCreateTaskWin::pullFields() {
    kov::WizardFields& f = wizard_.fields();
    const auto get = [this](const char* name) { return fields_.at(name)->text().toStdString(); };
    f.txtPs = get("txtPs");
    f.txtNsg = get("txtNsg");
    f.txtPor = get("txtPor");
    f.txtMzad = get("txtMzad");
    f.txtOgrn = get("txtOgrn");
    f.txtSrok = get("txtSrok");
    f.txtVer = get("txtVer");
    f.Sum1a = get("Sum1a");
    f.Sum2a = get("Sum2a");
    f.txtSoi = get("txtSoi");
    f.txtTmx = get("txtTmx");
    f.txtTmn = get("txtTmn");
    f.txtNt = get("txtNt");
    f.txtNsd = get("txtNsd");
    f.txtT1mx = get("txtT1mx");
    f.txtT1mn = get("txtT1mn");
    f.txtNt1 = get("txtNt1");
    f.txtDelta = get("txtDelta");
    f.grid.assign(std::size_t(StringGrid->rowCount()), {});
    for (int r = 0; r < StringGrid->rowCount(); ++r) {
        const auto cell = [this, r](int c) {
            const QTableWidgetItem* item = StringGrid->item(r, c);
            return item ? item->text().toStdString() : std::string();
        };
        f.grid[std::size_t(r)] = {cell(1), cell(2)};
    }
}

void TfrmCreateTaskWin::pushFields() {
    const kov::WizardFields& f = wizard_.fields();
    const auto put = [this](const char* name, const std::string& text) {
        fields_.at(name)->setText(q(text));
    };
    put("txtPs", f.txtPs);
    put("txtNsg", f.txtNsg);
    put("txtPor", f.txtPor);
    put("txtMzad", f.txtMzad);
    put("txtOgrn", f.txtOgrn);
    put("txtSrok", f.txtSrok);
    put("txtVer", f.txtVer);
    put("Sum1a", f.Sum1a);
    put("Sum2a", f.Sum2a);
    put("txtSoi", f.txtSoi);
    put("txtTmx", f.txtTmx);
    put("txtTmn", f.txtTmn);
    put("txtNt", f.txtNt);
    put("txtNsd", f.txtNsd);
    put("txtT1mx", f.txtT1mx);
    put("txtT1mn", f.txtT1mn);
    put("txtNt1", f.txtNt1);
    put("txtDelta", f.txtDelta);
    if (StringGrid->rowCount() != int(f.grid.size())) {
        StringGrid->setRowCount(int(f.grid.size()));
    }
    for (int r = 0; r < int(f.grid.size()); ++r) {
        auto* number = new QTableWidgetItem(QString::number(r + 1));
        number->setFlags(Qt::ItemIsEnabled);
        StringGrid->setItem(r, 0, number);
        StringGrid->setItem(r, 1, new QTableWidgetItem(q(f.grid[std::size_t(r)].first)));
        StringGrid->setItem(r, 2, new QTableWidgetItem(q(f.grid[std::size_t(r)].second)));
    }
}

void TfrmCreateTaskWin::setControlsFromHeader() {
    const kov::TaskHeader& h = wizard_.header();
    (h.reg == 2 ? RB1_2 : RB1_1)->setChecked(true);
    if (h.tipz >= 1 && h.tipz <= 4) {
        RB2[h.tipz - 1]->setChecked(true);
    }
    (h.prk == 1 ? Prk1 : Prk0)->setChecked(true);
    if (h.toc >= 0 && h.toc <= 2) {
        toc[h.toc]->setChecked(true);
    }
}

int TfrmCreateTaskWin::selectedType() const {
    for (int k = 0; k < 4; ++k) {
        if (RB2[k]->isChecked()) {
            return k + 1;
        }
    }
    return 1;
}

int TfrmCreateTaskWin::selectedRounding() const {
    return toc[1]->isChecked() ? 1 : toc[2]->isChecked() ? 2 : 0;
}

int TfrmCreateTaskWin::selectedMode() const {
    return RB1_2->isChecked() ? 2 : 1;
}

void TfrmCreateTaskWin::report(const kov::PageCheck& check) {
    if (check.kind == kov::PageCheck::Kind::Warning) {
        state_.messages->warning(q(check.text));
    } else if (check.kind == kov::PageCheck::Kind::Information) {
        state_.messages->information(q(check.text));
    }
    (wizard_.header().prk == 1 ? Prk1 : Prk0)->setChecked(true);
    pushFields();
    if (check.advance) {
        showPage(check.next_page);
    }
    if (check.focus.empty()) {
        return;
    }
    if (check.focus == "StringGrid" && check.row >= 0) {
        StringGrid->scrollToItem(StringGrid->item(check.row, 1));
        StringGrid->setCurrentCell(check.row, 1);
    }
    if (auto* w = findChild<QWidget*>(q(check.focus))) {
        w->setFocus();
    }
}

// ---- Events -------------------------------------------------------------------------------------

void TfrmCreateTaskWin::btnNextClick() {
    pullFields();
    kov::PageCheck check;
    switch (wizard_.page()) {
    case 1: {
        std::vector<std::string> codes;
        for (const kov::ProtocolEntry& e : state_.protocol) {
            codes.push_back(e.code);
        }
        check = wizard_.next_page1(txtShifr->text().toStdString(), txtName->text().toStdString(),
                                   selectedMode(), codes);
        if (check.advance) {
            QSignalBlocker block(List1);
            List1->clear();
            List1->addItem(QStringLiteral("none"));
            for (const kov::BdonListEntry& e : wizard_.bdon_items()) {
                List1->addItem(QStringLiteral("[") + q(e.code) + QStringLiteral("] ") + q(e.name));
            }
            List1->setCurrentRow(wizard_.selected_bdon_item());
        }
        break;
    }
    case 2:
        check = wizard_.next_page2(List1->currentRow(), selectedType(), Prk1->isChecked() ? 1 : 0);
        if (check.advance) {
            setTaskCaptions();
        }
        break;
    case 3:
        check = wizard_.next_page3();
        break;
    case 4:
        check = wizard_.next_page4();
        if (check.advance) {
            CB1->setChecked(false);
            objectModel_->reset();
        }
        break;
    case 5:
        check = wizard_.next_page5();
        pairModel_->reset();
        break;
    case 6:
        check = wizard_.next_page6();
        incomeModel_->reset();
        break;
    case 7:
        check = wizard_.next_page7();
        pointModel_->reset();
        break;
    case 8:
        check = wizard_.next_page8();
        break;
    case 9:
        check = wizard_.next_page9(selectedRounding());
        if (check.advance) {
            showSummary();
        }
        break;
    default:
        finish();
        return;
    }
    report(check);
}

void TfrmCreateTaskWin::btnPrevClick() {
    const int page = wizard_.back();
    showPage(page);
    if (page == 1) {
        (wizard_.mode() == kov::kWizardCorrection ? txtName : txtShifr)->setFocus();
    } else if (page == 3) {
        fields_.at(wizard_.header().prok == 1 ? "txtPs" : "txtNsg")->setFocus();
    }
}

void TfrmCreateTaskWin::btnCloseClick() {
    close();
}

void TfrmCreateTaskWin::RB1Click() {
    if (wizard_.mode() != kov::kWizardImport) {
        return;
    }
    wizard_.forget_import();
    fillImportList();
}

void TfrmCreateTaskWin::RB_1Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{cbImport, labels_.at("Label18"), btnImport,
                                                      labels_.at("StaticText1"), staticTask}) {
        w->setEnabled(true);
    }
    btnLoadOutData->setEnabled(false);
}

void TfrmCreateTaskWin::RB_2Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{cbImport, labels_.at("Label18"), btnImport,
                                                      labels_.at("StaticText1"), staticTask}) {
        w->setEnabled(false);
    }
    btnLoadOutData->setEnabled(true);
}

void TfrmCreateTaskWin::fillImportList() {
    std::vector<std::pair<std::string, std::string>> protocol;
    for (const kov::ProtocolEntry& e : state_.protocol) {
        protocol.emplace_back(e.code, kov::task_name_text(e, state_.workspace, state_.codepage()));
    }
    importItems_ = wizard_.import_list(protocol, selectedMode());
    cbImport->clear();
    cbImport->addItem(QStringLiteral("none"));
    for (const kov::ImportItem& item : importItems_) {
        cbImport->addItem(q(item.text));
    }
    cbImport->setCurrentIndex(0);
    staticTask->setText(t(kov::txt::NotChosen));
}

void TfrmCreateTaskWin::btnImportClick() {
    const QString code = txtShifr->text();
    const QString name = txtName->text();
    const int i = cbImport->currentIndex();
    if (i <= 0) {
        wizard_.import_task({});
        staticTask->setText(t(kov::txt::NotChosen));
    } else {
        const kov::ImportItem& item = importItems_[std::size_t(i - 1)];
        try {
            wizard_.import_task(item.code);
        } catch (const kov::FileError& error) {
            state_.messages->error(fileErrorText(state_, error));
            return;
        }
        setControlsFromHeader();
        staticTask->setText(q(item.text));
    }
    txtShifr->setText(code);
    txtName->setText(name);
}

void TfrmCreateTaskWin::btnLoadOutDataClick() {
    const QString code = txtShifr->text();
    const QString name = txtName->text();
    const QString file = host_.fileDialogs().openWorkbook(this, t(kov::txt::ImportWorkbookButton));
    if (file.isEmpty()) {
        return;
    }
    // The workbook is read whole into scratch data; the wizard takes it only when every check
    // passed, so a refused workbook changes nothing.
    kov::TaskWorkbook read;
    try {
        const auto book = kov::open_workbook(file.toStdString());
        read = kov::read_task_workbook(*book, selectedMode(), state_.regional.decimalChar,
                                       state_.codepage());
    } catch (const kov::FileError& error) {
        state_.messages->error(fileErrorText(state_, error));
        return;
    }
    if (!read.outcome.ok()) {
        const std::string text = read.outcome.compose(state_.shell);
        if (read.outcome.verdict == kov::Verdict::Warning) {
            state_.messages->warning(q(text));
        } else {
            state_.messages->error(fileErrorText(
                state_, kov::FileError(kov::FileError::Kind::Format, file.toStdString(), text)));
        }
        return;
    }
    wizard_.import_task_data(read.header, std::move(read.variants), std::move(read.row_marks));
    setControlsFromHeader();
    txtShifr->setText(code);
    txtName->setText(name);
    named<QLabel>("Label_ex1")->setText(t(kov::txt::WorkbookImported) + QLatin1Char(':'));
    named<QLabel>("Label_ex2")->setText(file);
}

void TfrmCreateTaskWin::List1Change() {
    wizard_.choose_bdon(List1->currentRow());
}

void TfrmCreateTaskWin::CB1Click() {
    wizard_.select_all(CB1->isChecked());
    objectModel_->reset();
    Table1->setFocus();
}

void TfrmCreateTaskWin::Table1KeyDown(int row) {
    if (row < 0) {
        return;
    }
    wizard_.toggle(std::size_t(row));
    const QModelIndex cell = objectModel_->index(row, 5);
    emit objectModel_->dataChanged(cell, cell);
}

// ---- Finishing ----------------------------------------------------------------------------------

void TfrmCreateTaskWin::finish() {
    const bool correction = wizard_.mode() == kov::kWizardCorrection;
    const kov::TaskHeader& h = wizard_.header();
    const std::vector<kov::ProtocolEntry> before = state_.protocol;
    try {
        wizard_.save();
    } catch (const kov::FileError& error) {
        state_.messages->error(fileErrorText(state_, error));
        return;
    }
    kov::record_saved_task(state_.protocol, h.shifr, h.name, state_.codepage(), correction,
                           kov::now_day_count());
    try {
        kov::write_protocol(state_.workspace, state_.protocol);
    } catch (const kov::FileError& error) {
        // A new task that cannot be recorded is not left half made.
        state_.protocol = before;
        if (!correction) {
            kov::remove_file(kov::task_file_path(state_.workspace, "Data", h.shifr, "_in"));
            kov::remove_file(kov::task_file_path(state_.workspace, "Data", h.shifr, ""));
        }
        state_.messages->error(fileErrorText(state_, error));
        return;
    }
    state_.solveNow = 0;
    if (Order1->isChecked()) {
        solveNow(h.shifr);
    }
    close();
}

void TfrmCreateTaskWin::solveNow(const std::string& code) {
    kov::ProtocolEntry* entry = nullptr;
    for (kov::ProtocolEntry& e : state_.protocol) {
        if (e.code == code) {
            entry = &e;
        }
    }
    if (!entry || entry->state == kov::TaskState::Solved) {
        return;
    }
    const auto reportFileError = [this](const std::function<void()>& work) {
        try {
            work();
            return true;
        } catch (const kov::FileError& error) {
            state_.messages->error(fileErrorText(state_, error));
            return false;
        }
    };
    bool queued = false;
    if (!reportFileError([&] { queued = kov::queue_task_input(state_.workspace, code); }) ||
        !queued) {
        return;
    }
    if (entry->state == kov::TaskState::Entered) {
        kov::mark_queued(*entry, kov::now_day_count());
    } else {
        entry->queued = kov::now_day_count();
    }

    // The optimisation window solves this one task while it opens, and closes itself.
    state_.solveNow = 1;
    state_.solveNowCode = code;
    setEnabled(false);
    {
        TForm1 form(host_);
        form.show();
        while (form.isVisible()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    setEnabled(true);
    state_.solveNow = 0;
    state_.solveNowCode.clear();

    kov::TakeBackResult result;
    reportFileError([&] {
        const QString today = state_.regional.dateText(kov::now_day_count());
        result = kov::take_back_solution(state_.workspace, code, state_.shell.suffix,
                                         state_.codepage(), today.toStdString());
    });
    if (result.taken) {
        kov::mark_solved(*entry, kov::now_day_count());
    }
    // The queueing and the solution live in the protocol file at once, whatever came of them.
    reportFileError([this] { kov::write_protocol(state_.workspace, state_.protocol); });
    if (result.corrected) {
        state_.messages->information(t(kov::txt::DatabaseCorrected) + QStringLiteral("."));
    }
}
