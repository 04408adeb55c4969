#include "dbor/TfrmCreateDBOR.h"

#include "host/WindowHost.h"
#include "host/file_services.h"
#include "host/work_guard.h"
#include "message_service.h"
#include "picture/CurvePlot.h"
#include "ui/caption.h"
#include "ui/enter_key.h"
#include "ui/key_filters.h"

#include "book/imports.h"
#include "book/workbook.h"
#include "dbor/bdon.h"
#include "dbor/curve_picture.h"
#include "io/numbers.h"
#include "shell/texts.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

// The cells of one of the wizard's grids as a table model: the view asks for the rows it shows,
// so a grid of 300,000 rows opens at once; an edit goes through the grid's cell rule.
class WizardGridModel final : public QAbstractTableModel {
public:
    WizardGridModel(kov::WizardGrid& grid, QObject* parent)
        : QAbstractTableModel(parent)
        , grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(grid_.row_count());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : grid_.column_count();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        // The tool tip shows the whole value of a cell its narrow column cuts.
        if (!index.isValid() ||
            (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole)) {
            return {};
        }
        return QString::fromStdString(grid_.cell(std::size_t(index.row()), index.column()));
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
        if (index.isValid() && editable(index)) {
            f |= Qt::ItemIsEditable;
        }
        return f;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || role != Qt::EditRole ||
            !grid_.set_cell(std::size_t(index.row()), index.column(),
                            value.toString().toStdString())) {
            return false;
        }
        emit dataChanged(index, index);
        return true;
    }

    bool editable(const QModelIndex& index) const {
        return grid_.rule(std::size_t(index.row()), index.column()).cell_class !=
               kov::CellClass::ReadOnly;
    }
    void changed(int row) { emit dataChanged(index(row, 0), index(row, columnCount() - 1)); }
    void reset() {
        beginResetModel();
        endResetModel();
    }

private:
    kov::WizardGrid& grid_;
};

namespace {

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
        if (event->type() == QEvent::KeyPress) {
            return hook_(static_cast<QKeyEvent*>(event));
        }
        return false;
    }

private:
    std::function<bool(QKeyEvent*)> hook_;
};

// A caption fitted into `width` pixels: it wraps at the breaks fit_caption puts into it.
void fitted(QLabel* label, const QString& text, int width) {
    label->setFixedWidth(width);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    const QFontMetrics metrics(label->font(), label);
    label->setText(fitCaption(text, width - metrics.horizontalAdvance(QLatin1Char('-')), metrics));
}

// The grids of pages 3 to 8: name, column widths and the names of the heading labels.
struct GridShape {
    const char* table;
    std::vector<int> widths;
    const char* headings; // prefix of the heading labels: T1_1, T1_2, ...
    int hidden;           // the description column shown in a memo, or -1
};

const GridShape& gridShape(int page) {
    static const std::map<int, GridShape> shapes = {
        {3, {"Table1", {36, 44, 67, 78, 57, 54}, "T1_", 6}},
        {4, {"Table2", {36, 44, 56, 63, 71, 66, 76}, "T2_", 7}},
        {5, {"Table31", {36, 44, 55, 54, 102, 139}, "T31_", -1}},
        {6, {"Table41", {36, 44, 55, 55, 56, 101, 102}, "T41_", -1}},
        {7, {"Table32", {36, 44, 55, 56, 113, 130}, "T32_", -1}},
        {8, {"Table42", {36, 44, 55, 53, 57, 102, 102}, "T42_", -1}},
    };
    return shapes.at(page);
}

constexpr int kRowHeight = 24;

} // namespace

TfrmCreateDBOR::TfrmCreateDBOR(WindowHost& host, QWidget* selection)
    : QDialog(nullptr)
    , host_(host)
    , state_(host.state())
    , wizard_(kov::WizardMode(std::clamp(host.state().windowMode, 1, 4)),
              kov::WizardContext{host.state().workspace, host.state().shell.suffix,
                                 host.state().codepage(), host.state().regional.decimalChar,
                                 [&s = host.state()] {
                                     return s.regional.dateText(kov::now_day_count()).toStdString();
                                 }})
    , selection_(selection) {
    setObjectName(QStringLiteral("TfrmCreateDBOR"));
    const kov::WizardMode mode = wizard_.mode();
    if (mode == kov::WizardMode::Correct || mode == kov::WizardMode::View) {
        // A database that cannot be read throws here: the window is not opened.
        wizard_.open(kov::read_bdon(state_.currentFileBase, state_.codepage()));
    }

    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("Pages"));
    pages_->addWidget(buildPage1());
    pages_->addWidget(buildPage2());
    for (int p = 3; p <= 8; ++p) {
        pages_->addWidget(buildGridPage(p));
    }
    pages_->addWidget(buildPage9());

    btnPrev = new QPushButton(this);
    btnPrev->setObjectName(QStringLiteral("btnPrev"));
    btnNext = new QPushButton(this);
    btnNext->setObjectName(QStringLiteral("btnNext"));
    btnNext->setDefault(true);
    btnClose = new QPushButton(this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnPrev);
    buttons->addWidget(btnNext);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);

    connectGuarded(btnNext, &QPushButton::clicked, this, &TfrmCreateDBOR::btnNextClick, state_);
    // Enter in a field or a grid goes to the next page, as Next does.
    installEnterKey(*this, {btnNext});
    connectGuarded(btnPrev, &QPushButton::clicked, this, &TfrmCreateDBOR::btnPrevClick, state_);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);

    setCaptions();
    if (mode == kov::WizardMode::Correct || mode == kov::WizardMode::View) {
        pushFields();
    } else {
        fillUnits(Unit_0, kov::cost_units(state_.shell), std::string());
        fillUnits(Unit_1, kov::time_units(state_.shell), std::string());
    }
    const bool view = mode == kov::WizardMode::View;
    const bool fixedIdentity = mode == kov::WizardMode::Correct || view;
    RBTypeA->setEnabled(!fixedIdentity);
    RBTypeB->setEnabled(!fixedIdentity);
    EditCode->setEnabled(!fixedIdentity);
    EditName->setEnabled(!view);
    Unit_0->setEnabled(!view);
    Unit_1->setEnabled(!view);
    EditM->setEnabled(!view);
    Memo1->setReadOnly(view);
    Memo22->setReadOnly(view);
    label(QStringLiteral("Label11"))->setVisible(!view);
    for (auto& [page, v] : views_) {
        if (view) {
            v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        }
    }
    setFixedSize(QSize(866, 431).expandedTo(minimumSizeHint()));
    showPage(1);
    if (fixedIdentity) {
        EditName->setFocus();
    } else {
        EditCode->setFocus();
    }
}

QLabel* TfrmCreateDBOR::label(const QString& name) const {
    return labels_.at(name);
}

QWidget* TfrmCreateDBOR::buildPage1() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Page1"));
    auto* box = new QVBoxLayout(page);
    auto add = [&](const char* name, QWidget* parent) {
        auto* l = new QLabel(parent);
        l->setObjectName(QString::fromLatin1(name));
        labels_[QString::fromLatin1(name)] = l;
        return l;
    };
    auto* heading = add("Label6_2", page);
    heading->setAlignment(Qt::AlignHCenter);
    box->addWidget(heading);
    RBTypeA = new QRadioButton(QStringLiteral("A"), page);
    RBTypeA->setObjectName(QStringLiteral("RBTypeA"));
    RBTypeB = new QRadioButton(QStringLiteral("B"), page);
    RBTypeB->setObjectName(QStringLiteral("RBTypeB"));
    auto* group = new QButtonGroup(page);
    group->addButton(RBTypeA);
    group->addButton(RBTypeB);
    auto* types = new QGridLayout;
    types->addWidget(RBTypeA, 0, 0);
    types->addWidget(add("Label4", page), 0, 1);
    types->addWidget(RBTypeB, 1, 0);
    types->addWidget(add("Label9", page), 1, 1);
    types->setColumnStretch(2, 1);
    box->addLayout(types);
    box->addSpacing(16);
    auto* fields = new QGridLayout;
    EditCode = new QLineEdit(page);
    EditCode->setObjectName(QStringLiteral("EditCode"));
    installIntegerFilter(*EditCode, kov::IntegerFieldRule{0, 999999});
    EditName = new QLineEdit(page);
    EditName->setObjectName(QStringLiteral("EditName"));
    EditName->setMaxLength(70); // the name the file keeps
    fields->addWidget(add("Lb1_1", page), 0, 0);
    fields->addWidget(EditCode, 0, 1, Qt::AlignLeft);
    fields->addWidget(add("Lb2_1", page), 1, 0);
    fields->addWidget(EditName, 1, 1);
    fields->setColumnStretch(1, 1);
    box->addLayout(fields);
    box->addStretch(1);
    RBTypeA->setChecked(wizard_.fields().type != 'B');
    RBTypeB->setChecked(wizard_.fields().type == 'B');
    connect(RBTypeA, &QRadioButton::clicked, this, &TfrmCreateDBOR::typeClick);
    connect(RBTypeB, &QRadioButton::clicked, this, &TfrmCreateDBOR::typeClick);
    return page;
}

// The identity of the database as page 1 gave it, on pages 2 to 9.
QWidget* TfrmCreateDBOR::infoBlock(int page) {
    auto* block = new QWidget;
    block->setObjectName(QStringLiteral("Info_%1").arg(page));
    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(0, 0, 0, 0);
    const char* names[] = {"LType", "LCode", "LName", "LMode", "Ldate"};
    for (int k = 0; k < 5; ++k) {
        const QString caption =
            QStringLiteral("%1_%2").arg(QString::fromLatin1(names[k])).arg(page);
        const QString value = QStringLiteral("%1V_%2").arg(QString::fromLatin1(names[k])).arg(page);
        auto* c = new QLabel(block);
        c->setObjectName(caption);
        labels_[caption] = c;
        auto* v = new QLabel(block);
        v->setObjectName(value);
        v->setStyleSheet(QStringLiteral("color: maroon"));
        labels_[value] = v;
        const int row = k < 2 ? 0 : (k == 4 ? 0 : 1);
        const int col = k == 0 ? 0 : k == 1 ? 2 : k == 4 ? 4 : (k == 2 ? 0 : 2);
        if (k == 2) {
            grid->addWidget(c, 1, 0);
            grid->addWidget(v, 1, 1);
        } else if (k == 3) {
            grid->addWidget(c, 1, 2);
            grid->addWidget(v, 1, 3, 1, 3);
        } else {
            grid->addWidget(c, row, col);
            grid->addWidget(v, row, col + 1);
        }
    }
    grid->setColumnStretch(5, 1);
    return block;
}

QWidget* TfrmCreateDBOR::separatorBox(int page) {
    auto* row = new QWidget;
    auto* box = new QHBoxLayout(row);
    box->setContentsMargins(0, 0, 0, 0);
    const QString name =
        page == 2 ? QStringLiteral("Label1") : QStringLiteral("Label1_%1").arg(page);
    auto* caption = new QLabel(row);
    caption->setObjectName(name);
    labels_[name] = caption;
    auto* sep = new QLineEdit(row);
    sep->setObjectName(QStringLiteral("Separator_%1").arg(page));
    sep->setReadOnly(true);
    sep->setFixedWidth(24);
    sep->setText(QString(QLatin1Char(state_.regional.decimalChar)));
    box->addStretch(1);
    box->addWidget(caption);
    box->addWidget(sep);
    return row;
}

QWidget* TfrmCreateDBOR::buildPage2() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Page2"));
    auto* box = new QVBoxLayout(page);
    box->addWidget(infoBlock(2));
    auto add = [&](const char* name, QWidget* parent) {
        auto* l = new QLabel(parent);
        l->setObjectName(QString::fromLatin1(name));
        labels_[QString::fromLatin1(name)] = l;
        return l;
    };
    auto* fields = new QGridLayout;
    Unit_0 = new QComboBox(page);
    Unit_0->setObjectName(QStringLiteral("Unit_0"));
    Unit_1 = new QComboBox(page);
    Unit_1->setObjectName(QStringLiteral("Unit_1"));
    EditM = new QLineEdit(page);
    EditM->setObjectName(QStringLiteral("EditM"));
    EditM->setFixedWidth(60);
    installIntegerFilter(*EditM, kov::kObjectCountField);
    fields->addWidget(add("Label3", page), 0, 0);
    fields->addWidget(Unit_0, 0, 1);
    fields->addWidget(add("Label30", page), 1, 0);
    fields->addWidget(Unit_1, 1, 1);
    fields->addWidget(add("Lm", page), 2, 0);
    fields->addWidget(EditM, 2, 1, Qt::AlignLeft);
    fields->setColumnStretch(2, 1);
    box->addLayout(fields);

    // The import panel of a new database by import.
    pnlImp = new QWidget(page);
    pnlImp->setObjectName(QStringLiteral("pnlImp"));
    auto* imp = new QGridLayout(pnlImp);
    auto* kind = add("Label3_2", pnlImp);
    kind->setAlignment(Qt::AlignHCenter);
    imp->addWidget(kind, 0, 0, 1, 4);
    RB_1 = new QRadioButton(QStringLiteral("DAT"), pnlImp);
    RB_1->setObjectName(QStringLiteral("RB_1"));
    RB_2 = new QRadioButton(QStringLiteral("XLS"), pnlImp);
    RB_2->setObjectName(QStringLiteral("RB_2"));
    RB_1->setChecked(true);
    imp->addWidget(RB_1, 1, 0);
    imp->addWidget(RB_2, 1, 2);
    imp->addWidget(add("Label4_2", pnlImp), 2, 0);
    cbImport = new QComboBox(pnlImp);
    cbImport->setObjectName(QStringLiteral("cbImport"));
    imp->addWidget(cbImport, 3, 0);
    btnImport = new QPushButton(pnlImp);
    btnImport->setObjectName(QStringLiteral("btnImport"));
    imp->addWidget(btnImport, 3, 1);
    btnLoadOutData = new QPushButton(pnlImp);
    btnLoadOutData->setObjectName(QStringLiteral("btnLoadOutData"));
    btnLoadOutData->setEnabled(false);
    imp->addWidget(btnLoadOutData, 3, 2);
    imp->addWidget(add("Label5_2", pnlImp), 4, 0);
    imp->addWidget(add("staticBase", pnlImp), 4, 1);
    imp->addWidget(add("Label_ex1", pnlImp), 5, 2);
    imp->addWidget(add("Label_ex2", pnlImp), 5, 3);
    imp->setColumnStretch(3, 1);
    pnlImp->hide();
    box->addWidget(pnlImp);
    box->addStretch(1);
    box->addWidget(separatorBox(2));

    const auto choose = [this] {
        const bool dat = RB_1->isChecked();
        for (QWidget* w : {static_cast<QWidget*>(label(QStringLiteral("Label4_2"))),
                           static_cast<QWidget*>(cbImport), static_cast<QWidget*>(btnImport),
                           static_cast<QWidget*>(label(QStringLiteral("Label5_2"))),
                           static_cast<QWidget*>(label(QStringLiteral("staticBase")))}) {
            w->setEnabled(dat);
        }
        btnLoadOutData->setEnabled(!dat);
    };
    connect(RB_1, &QRadioButton::toggled, this, choose);
    connectGuarded(btnImport, &QPushButton::clicked, this, &TfrmCreateDBOR::btnImportClick, state_);
    connectGuarded(btnLoadOutData, &QPushButton::clicked, this,
                   &TfrmCreateDBOR::btnLoadOutDataClick, state_);
    return page;
}

kov::WizardGrid& TfrmCreateDBOR::grid(int page) {
    switch (page) {
    case 3:
        return wizard_.objects_grid();
    case 4:
        return wizard_.variants_grid();
    case 5:
        return wizard_.income_grid(kov::Income::Sale);
    case 6:
        return wizard_.curve_grid(kov::Income::Sale);
    case 7:
        return wizard_.income_grid(kov::Income::Expl);
    default:
        return wizard_.curve_grid(kov::Income::Expl);
    }
}

QTableView* TfrmCreateDBOR::view(int page) const {
    return views_.at(page);
}

QWidget* TfrmCreateDBOR::buildGridPage(int p) {
    const GridShape& shape = gridShape(p);
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Page%1").arg(p));
    auto* box = new QVBoxLayout(page);
    box->setSpacing(4);
    box->addWidget(infoBlock(p));
    const QString headingName = QStringLiteral("Heading_%1").arg(p);
    auto* heading = new QLabel(page);
    heading->setObjectName(headingName);
    heading->setAlignment(Qt::AlignHCenter);
    heading->setWordWrap(true);
    labels_[headingName] = heading;
    box->addWidget(heading);

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    auto* strip = new QHBoxLayout;
    strip->setSpacing(0);
    strip->setContentsMargins(1, 0, 0, 0);
    // The object number and the object code columns are widened where the grid font needs more
    // than their design width for the largest number (1000) and a six-digit code.
    const QFont gridFont = interfaceFont(12);
    const QFontMetrics metrics(gridFont);
    std::vector<int> widths = shape.widths;
    widths[0] = std::max(widths[0], metrics.horizontalAdvance(QStringLiteral("1000")) + 8);
    widths[1] = std::max(widths[1], metrics.horizontalAdvance(QStringLiteral("999999")) + 8);
    int total = 0;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        const QString name =
            QStringLiteral("%1%2").arg(QString::fromLatin1(shape.headings)).arg(c + 1);
        auto* l = new QLabel(page);
        l->setObjectName(name);
        l->setFont(interfaceFont(kHeadingPixelSize));
        l->setFixedWidth(widths[c]);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        l->setFrameShape(QFrame::Box);
        labels_[name] = l;
        strip->addWidget(l);
        total += widths[c];
    }
    strip->addStretch(1);
    left->addLayout(strip);

    auto* v = new QTableView(page);
    v->setObjectName(QString::fromLatin1(shape.table));
    auto* model = new WizardGridModel(grid(p), v);
    v->setModel(model);
    // The narrow columns of the grids are made for the small interface font; a cell wider than
    // its column is cut, not shortened with an ellipsis.
    v->setFont(gridFont);
    v->setTextElideMode(Qt::ElideNone);
    v->setWordWrap(false);
    v->horizontalHeader()->hide();
    v->verticalHeader()->hide();
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->verticalHeader()->setDefaultSectionSize(kRowHeight);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setSelectionBehavior(QAbstractItemView::SelectItems);
    v->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    v->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                       QAbstractItemView::EditKeyPressed);
    for (std::size_t c = 0; c < widths.size(); ++c) {
        v->setColumnWidth(int(c), widths[c]);
    }
    if (shape.hidden >= 0) {
        v->setColumnHidden(shape.hidden, true);
    }
    v->setFixedWidth(total + 2 + v->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    left->addWidget(v, 1);
    body->addLayout(left);
    views_[p] = v;
    models_[p] = model;
    memoRow_[p] = -1;

    kov::WizardGrid* g = &grid(p);
    installGridCellFilter(
        *v,
        [g](const QModelIndex& index) { return g->rule(std::size_t(index.row()), index.column()); },
        state_.regional.decimalChar);
    new KeyHook(v, [this, p, v, model](QKeyEvent* e) {
        if (e->matches(QKeySequence::Paste)) {
            runGuarded(state_, [&] { pasteBlock(p); });
            return true;
        }
        if (p == 3 && e->key() == Qt::Key_Space && e->modifiers() == Qt::NoModifier) {
            // Space sets or removes a mark without opening an editor.
            const QModelIndex index = v->currentIndex();
            if (index.isValid() &&
                wizard_.objects_grid().toggle_mark(std::size_t(index.row()), index.column())) {
                model->changed(index.row());
            }
            return true;
        }
        return false;
    });
    connect(v->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, p](const QModelIndex& current) { rowChanged(p, current.row()); });

    // The description memos beside the grid.
    auto* memos = new QVBoxLayout;
    const auto memo = [&](const QString& caption, const QString& name, bool readOnly) {
        auto* c = new QLabel(page);
        c->setObjectName(caption);
        c->setFixedWidth(350);
        labels_[caption] = c;
        auto* m = new QPlainTextEdit(page);
        m->setObjectName(name);
        m->setReadOnly(readOnly);
        memos->addWidget(c);
        memos->addWidget(m, 1);
        return m;
    };
    if (p == 3) {
        Memo1 = memo(QStringLiteral("TM1"), QStringLiteral("Memo1"), false);
    } else if (p == 4) {
        Memo21 = memo(QStringLiteral("TM21"), QStringLiteral("Memo21"), true);
        Memo22 = memo(QStringLiteral("TM22"), QStringLiteral("Memo22"), false);
    } else {
        auto* first =
            memo(QStringLiteral("TM%1_1").arg(p), QStringLiteral("Memo%1_1").arg(p), true);
        auto* second =
            memo(QStringLiteral("TM%1_2").arg(p), QStringLiteral("Memo%1_2").arg(p), true);
        readMemos_[p] = {first, second};
    }
    if (p == 6 || p == 8) {
        // The curve of the selected row under the memos, drawn again at every edit.
        for (QPlainTextEdit* m : {readMemos_[p].first, readMemos_[p].second}) {
            m->setMaximumHeight(46);
        }
        auto* plot = new CurvePlot(page);
        plot->setObjectName(QStringLiteral("%1_plot").arg(QString::fromLatin1(shape.table)));
        plot->setMinimumHeight(250);
        plot->setDecimalChar(state_.regional.decimalChar);
        memos->addWidget(plot, 3);
        plots_[p] = plot;
        connect(model, &QAbstractItemModel::dataChanged, this, [this, p] { updatePlot(p); });
    }
    body->addLayout(memos, 1);
    box->addLayout(body, 1);

    auto* bottom = new QHBoxLayout;
    const QString count = QStringLiteral("LObjects_%1").arg(p);
    auto* countCaption = new QLabel(page);
    countCaption->setObjectName(count);
    labels_[count] = countCaption;
    bottom->addWidget(countCaption);
    const QString note = p == 3   ? QStringLiteral("Label11")
                         : p == 5 ? QStringLiteral("Label38")
                         : p == 7 ? QStringLiteral("Label40")
                                  : QString();
    if (!note.isEmpty()) {
        auto* n = new QLabel(page);
        n->setObjectName(note);
        labels_[note] = n;
        bottom->addWidget(n, 1);
    } else {
        bottom->addStretch(1);
    }
    bottom->addWidget(separatorBox(p));
    box->addLayout(bottom);
    return page;
}

QWidget* TfrmCreateDBOR::buildPage9() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Page9"));
    auto* box = new QVBoxLayout(page);
    auto add = [&](const QString& name) {
        auto* l = new QLabel(page);
        l->setObjectName(name);
        labels_[name] = l;
        return l;
    };
    auto* heading = add(QStringLiteral("Label1_7"));
    heading->setAlignment(Qt::AlignHCenter);
    box->addWidget(heading);
    box->addWidget(infoBlock(9));
    auto* grid = new QGridLayout;
    const QString rows[] = {
        QStringLiteral("Label6_7"), QStringLiteral("Label6"), QStringLiteral("Label8_7"),
        QStringLiteral("Label36"),  QStringLiteral("Count1"), QStringLiteral("Count2"),
        QStringLiteral("Count3"),   QStringLiteral("Count4"), QStringLiteral("Label10_7")};
    int r = 0;
    for (const QString& name : rows) {
        grid->addWidget(add(name), r, 0);
        auto* value = add(name + QStringLiteral("V"));
        value->setStyleSheet(QStringLiteral("color: maroon"));
        grid->addWidget(value, r, 1);
        ++r;
    }
    grid->setColumnStretch(2, 1);
    box->addLayout(grid);
    box->addStretch(1);
    return page;
}

void TfrmCreateDBOR::setCaptions() {
    const auto t = [this](int k) { return state_.text(k); };
    const auto tt = [this](int k) { return state_.trimmed(k); };
    btnPrev->setText(t(kov::txt::Back));
    btnNext->setText(t(kov::txt::Forward));
    btnClose->setText(t(kov::txt::Cancel));
    label(QStringLiteral("Label6_2"))
        ->setText(t(kov::txt::ChooseDatabaseType) + QStringLiteral(":"));
    fitted(label(QStringLiteral("Label4")),
           QStringLiteral("(") + t(kov::txt::TypeAExplanation) + QStringLiteral(")"), 640);
    fitted(label(QStringLiteral("Label9")),
           QStringLiteral("(") + t(kov::txt::TypeBExplanation) + QStringLiteral(")"), 640);
    label(QStringLiteral("Lb2_1"))->setText(t(kov::txt::EnterDatabaseName) + QStringLiteral(":"));
    typeClick();
    if (wizard_.mode() == kov::WizardMode::Correct) {
        label(QStringLiteral("Lb1_1"))
            ->setText(tt(kov::txt::CodeBeingCorrected) + QStringLiteral(":"));
    } else if (wizard_.mode() == kov::WizardMode::View) {
        label(QStringLiteral("Lb1_1"))->setText(t(kov::txt::CodeBeingViewed) + QStringLiteral(":"));
    }
    for (int p = 2; p <= 9; ++p) {
        const auto set = [&](const char* name, const QString& text) {
            label(QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(p))->setText(text);
        };
        set("LType", tt(kov::txt::TypeOfTheDatabase) + QStringLiteral(":"));
        set("LCode", tt(kov::txt::DatabaseCode) + QStringLiteral(":"));
        set("LName", t(kov::txt::DatabaseName) + QStringLiteral(":"));
        set("LMode", t(kov::txt::InvestmentMode) + QStringLiteral(":"));
        set("Ldate", tt(kov::txt::DatabaseDate) + QStringLiteral(":"));
        if (p <= 8) {
            label(p == 2 ? QStringLiteral("Label1") : QStringLiteral("Label1_%1").arg(p))
                ->setText(t(kov::txt::DecimalSeparator) + QStringLiteral(" -"));
        }
        if (p >= 3 && p <= 8) {
            set("LObjects", t(kov::txt::NumberOfObjects) + QStringLiteral(":"));
        }
    }
    label(QStringLiteral("Label3"))->setText(t(kov::txt::UnitsOfCost));
    label(QStringLiteral("Label30"))->setText(t(kov::txt::UnitsOfTime));
    label(QStringLiteral("Lm"))
        ->setText(t(kov::txt::ObjectsInDatabase) + QStringLiteral(", (>0 ") + tt(kov::txt::And) +
                  QStringLiteral(" <=1000):"));
    const int headingWidth = 820;
    label(QStringLiteral("Heading_3"))
        ->setText(t(kov::txt::ObjectsPageHeading) + QStringLiteral(":"));
    label(QStringLiteral("Heading_4"))
        ->setText(t(kov::txt::ModernisationsPageHeading) + QStringLiteral(":"));
    label(QStringLiteral("Heading_5"))
        ->setText(t(kov::txt::SalesPageHeading) + QStringLiteral(":"));
    fitted(label(QStringLiteral("Heading_6")),
           t(kov::txt::SaleCurvesPageHeading) + QStringLiteral(":"), headingWidth);
    label(QStringLiteral("Heading_7"))
        ->setText(t(kov::txt::ExploitationsPageHeading) + QStringLiteral(":"));
    fitted(label(QStringLiteral("Heading_8")),
           t(kov::txt::ExploitationCurvesPageHeading) + QStringLiteral(":"), headingWidth);
    fitted(label(QStringLiteral("Label1_7")),
           t(kov::txt::DatabaseSummaryHeading) + QStringLiteral(":"), headingWidth);
    label(QStringLiteral("Label6_7"))->setText(t(kov::txt::UnitOfCost) + QStringLiteral(":"));
    label(QStringLiteral("Label6"))->setText(t(kov::txt::UnitOfTime) + QStringLiteral(":"));
    label(QStringLiteral("Label8_7"))->setText(t(kov::txt::NumberOfObjects) + QStringLiteral(" -"));
    label(QStringLiteral("Label36"))
        ->setText(QStringLiteral(" , ") + tt(kov::txt::UsableForTypes) + QStringLiteral(":"));
    for (int k = 0; k < 4; ++k) {
        label(QStringLiteral("Count%1").arg(k + 1))
            ->setText(QStringLiteral("- ") + t(kov::txt::UsableType1 + k) + QStringLiteral(" - "));
    }
    label(QStringLiteral("Label10_7"))
        ->setText(t(kov::txt::DateOfThisSaving) + QStringLiteral(":"));
    label(QStringLiteral("Label11"))
        ->setText(QStringLiteral("<SpaceBar> - ") + t(kov::txt::SpaceBarMarksHint));
    label(QStringLiteral("Label38"))->setText(t(kov::txt::SaleZeroPointsNote));
    label(QStringLiteral("Label40"))->setText(t(kov::txt::ExploitationZeroPointsNote));
    label(QStringLiteral("Label3_2"))->setText(t(kov::txt::ChooseImportKind) + QStringLiteral(":"));
    label(QStringLiteral("Label4_2"))
        ->setText(t(kov::txt::ChooseDatabaseToImport) + QStringLiteral(":"));
    btnImport->setText(t(kov::txt::ImportButton));
    btnLoadOutData->setText(t(kov::txt::ImportWorkbookButton));
    label(QStringLiteral("Label5_2"))
        ->setText(t(kov::txt::DatabaseChosenForImport) + QStringLiteral(":"));
    label(QStringLiteral("staticBase"))->setText(t(kov::txt::NotChosen) + QStringLiteral("."));
    label(QStringLiteral("Label11"))->setWordWrap(true);
    label(QStringLiteral("Label38"))->setWordWrap(true);
    label(QStringLiteral("Label40"))->setWordWrap(true);
}

// The column captions that name the units (when page 2 is passed), and the fixed ones.
void TfrmCreateDBOR::setUnitCaptions() {
    const auto t = [this](int k) { return state_.text(k); };
    const auto tt = [this](int k) { return state_.trimmed(k); };
    const QString cost = q(wizard_.current().header.cost_unit);
    const QString time = q(wizard_.current().header.time_unit);
    const QString range = QStringLiteral(" <=5)");
    const QString points =
        QStringLiteral("  (0, >=2 ") + tt(kov::txt::And) + QStringLiteral(" <=10)");
    const std::map<QString, QString> captions = {
        {QStringLiteral("T1_1"), tt(kov::txt::ObjectNumberTrimmed)},
        {QStringLiteral("T1_2"), tt(kov::txt::ObjectCode)},
        {QStringLiteral("T1_3"),
         wizard_.current().header.type == "B"
             ? QString()
             : t(kov::txt::ObjectCost) + QStringLiteral(" (") + cost + QStringLiteral(")")},
        {QStringLiteral("T1_4"),
         t(kov::txt::ModernisationsNumber) + QStringLiteral("(>=0 ") + tt(kov::txt::And) + range},
        {QStringLiteral("T1_5"), t(kov::txt::CurrentlyAbsentColumn) + QStringLiteral(" (*)")},
        {QStringLiteral("T1_6"), tt(kov::txt::DeleteColumn) + QStringLiteral(" (*)")},
        {QStringLiteral("T2_1"), tt(kov::txt::ObjectNumberTrimmed)},
        {QStringLiteral("T2_2"), tt(kov::txt::ObjectCode)},
        {QStringLiteral("T2_3"), t(kov::txt::ModernisationNumberColumn)},
        {QStringLiteral("T2_4"),
         t(kov::txt::ModernisationCost) + QStringLiteral(" (") + cost + QStringLiteral(")")},
        {QStringLiteral("T2_5"),
         t(kov::txt::ModernisationDuration) + QStringLiteral(" (") + time + QStringLiteral(")")},
        {QStringLiteral("T2_6"),
         t(kov::txt::SalesNumber) + QStringLiteral(" (>=0 ") + tt(kov::txt::And) + range},
        {QStringLiteral("T2_7"),
         tt(kov::txt::ExploitationsNumber) + QStringLiteral(" (>=0 ") + tt(kov::txt::And) + range},
        {QStringLiteral("T31_5"),
         t(kov::txt::ExpectedSaleRevenue) + QStringLiteral(" (") + cost + QStringLiteral(")")},
        {QStringLiteral("T32_5"), t(kov::txt::SteadyExploitationIncome) + QStringLiteral(" (") +
                                      cost + QStringLiteral("/") + time + QStringLiteral(")")},
        {QStringLiteral("T31_6"), t(kov::txt::SalePointsNumber) + points},
        {QStringLiteral("T32_6"), t(kov::txt::ExploitationPointsNumber) + points},
        {QStringLiteral("T41_6"),
         t(kov::txt::SaleDelay) + QStringLiteral(" (") + time + QStringLiteral(")")},
        {QStringLiteral("T42_6"),
         t(kov::txt::ExploitationDelay) + QStringLiteral(" (") + time + QStringLiteral(")")},
        {QStringLiteral("T41_7"), t(kov::txt::SaleProbability)},
        {QStringLiteral("T42_7"), t(kov::txt::ExploitationProbability)},
    };
    for (const auto& [name, text] : captions) {
        QLabel* l = label(name);
        fitted(l, text, l->width());
    }
    for (const char* prefix : {"T31_", "T41_", "T32_", "T42_"}) {
        const QString p = QString::fromLatin1(prefix);
        fitted(label(p + QStringLiteral("1")), tt(kov::txt::ObjectNumberTrimmed),
               label(p + QStringLiteral("1"))->width());
        fitted(label(p + QStringLiteral("2")), tt(kov::txt::ObjectCode),
               label(p + QStringLiteral("2"))->width());
        fitted(label(p + QStringLiteral("3")), t(kov::txt::ModernisationNumberColumn),
               label(p + QStringLiteral("3"))->width());
        const bool expl = p == QStringLiteral("T32_") || p == QStringLiteral("T42_");
        fitted(label(p + QStringLiteral("4")),
               t(expl ? kov::txt::ExploitationNumberColumn : kov::txt::SaleNumberColumn),
               label(p + QStringLiteral("4"))->width());
    }
    fitted(label(QStringLiteral("T41_5")), t(kov::txt::PointNumberColumn),
           label(QStringLiteral("T41_5"))->width());
    fitted(label(QStringLiteral("T42_5")), t(kov::txt::PointNumberColumn),
           label(QStringLiteral("T42_5"))->width());
}

void TfrmCreateDBOR::typeClick() {
    const bool b = RBTypeB->isChecked();
    if (wizard_.mode() == kov::WizardMode::New || wizard_.mode() == kov::WizardMode::Import) {
        label(QStringLiteral("Lb1_1"))
            ->setText(state_.text(b ? kov::txt::DatabaseCodeTypeB : kov::txt::DatabaseCodeTypeA) +
                      QStringLiteral(":"));
        EditCode->setMaxLength(b ? 6 : 3);
        EditCode->setFixedWidth(b ? 60 : 40);
        EditCode->clear();
    } else {
        EditCode->setFixedWidth(b ? 60 : 40);
    }
    const QString maroon = QStringLiteral("color: rgb(128, 0, 0)");
    RBTypeA->setStyleSheet(b ? QString() : maroon);
    label(QStringLiteral("Label4"))->setStyleSheet(b ? QString() : maroon);
    RBTypeB->setStyleSheet(b ? maroon : QString());
    label(QStringLiteral("Label9"))->setStyleSheet(b ? maroon : QString());
}

void TfrmCreateDBOR::fillUnits(QComboBox* list, std::vector<std::string> items,
                               const std::string& stored) {
    const int selected = kov::select_unit(items, stored);
    list->clear();
    for (const std::string& item : items) {
        list->addItem(q(item));
    }
    list->setCurrentIndex(selected);
}

// The fields of pages 1 and 2 into the wizard.
void TfrmCreateDBOR::pullFields() {
    kov::HeaderFields& f = wizard_.fields();
    if (RBTypeA->isEnabled()) {
        f.type = RBTypeB->isChecked() ? 'B' : 'A';
        f.code = EditCode->text().toStdString();
    }
    f.name = EditName->text().toStdString();
    f.cost_unit = Unit_0->currentIndex() >= 0 ? Unit_0->currentText().toStdString() : "";
    f.time_unit = Unit_1->currentIndex() >= 0 ? Unit_1->currentText().toStdString() : "";
    f.count = EditM->text().toStdString();
}

// The wizard's fields into pages 1 and 2 (a stored or imported database).
void TfrmCreateDBOR::pushFields() {
    const kov::HeaderFields& f = wizard_.fields();
    RBTypeA->setChecked(f.type != 'B');
    RBTypeB->setChecked(f.type == 'B');
    if (!RBTypeA->isEnabled() || wizard_.mode() == kov::WizardMode::Correct ||
        wizard_.mode() == kov::WizardMode::View) {
        typeClick();
        EditCode->setMaxLength(f.type == 'B' ? 6 : 3);
        EditCode->setText(q(f.code));
        EditName->setText(q(f.name));
    }
    fillUnits(Unit_0, kov::cost_units(state_.shell), f.cost_unit);
    fillUnits(Unit_1, kov::time_units(state_.shell), f.time_unit);
    EditM->setText(q(f.count));
}

QString TfrmCreateDBOR::composed(const kov::NextOutcome& outcome) const {
    return q(outcome.compose(state_.shell));
}

void TfrmCreateDBOR::btnNextClick() {
    storeMemos();
    pullFields();
    const int before = wizard_.page();
    kov::NextOutcome outcome = wizard_.next();
    if (outcome.verdict == kov::Verdict::Confirm) {
        const bool yes = host_.messages().confirm(composed(outcome));
        outcome = wizard_.confirm_deletion(yes);
        // The marks are gone (No) or the marked rows were dropped (Yes).
        models_.at(3)->reset();
    }
    if (wizard_.finished()) {
        close();
        return;
    }
    report(outcome);
    if (wizard_.page() != before) {
        if (before == 2) {
            setUnitCaptions();
        }
        showPage(wizard_.page());
    }
}

void TfrmCreateDBOR::btnPrevClick() {
    storeMemos();
    pullFields();
    wizard_.back();
    if (wizard_.page() == 1 &&
        (wizard_.mode() == kov::WizardMode::New || wizard_.mode() == kov::WizardMode::Import)) {
        // The units, the count and an import are forgotten.
        pushFields();
        Unit_0->setCurrentIndex(-1);
        Unit_1->setCurrentIndex(-1);
        EditM->clear();
        label(QStringLiteral("staticBase"))
            ->setText(state_.text(kov::txt::NotChosen) + QStringLiteral("."));
    }
    showPage(wizard_.page());
}

// The message box of a failed check and the focus it names; the page and its entries stay.
void TfrmCreateDBOR::report(const kov::NextOutcome& outcome) {
    switch (outcome.verdict) {
    case kov::Verdict::Warning:
        host_.messages().warning(composed(outcome));
        break;
    case kov::Verdict::Error:
        host_.messages().error(composed(outcome));
        break;
    default:
        break;
    }
    switch (outcome.focus) {
    case kov::Focus::Code:
        EditCode->setFocus();
        break;
    case kov::Focus::Name:
        EditName->setFocus();
        break;
    case kov::Focus::ObjectCount:
        EditM->setFocus();
        break;
    case kov::Focus::Grid:
    case kov::Focus::Memo:
        focusGrid(wizard_.page(), outcome.row, outcome.column, outcome.focus == kov::Focus::Memo);
        break;
    case kov::Focus::None:
        break;
    }
}

void TfrmCreateDBOR::focusGrid(int page, std::size_t row, int column, bool memo) {
    if (page < 3 || page > 8) {
        return;
    }
    QTableView* v = view(page);
    if (v->model()->rowCount() == 0) {
        v->setFocus();
        return;
    }
    const int r = std::min(int(row), v->model()->rowCount() - 1);
    int c = std::clamp(column, 0, v->model()->columnCount() - 1);
    if (v->isColumnHidden(c)) {
        c = 1;
    }
    const QModelIndex index = v->model()->index(r, c);
    v->scrollTo(index, QAbstractItemView::PositionAtTop);
    v->setCurrentIndex(index);
    if (memo) {
        (page == 3 ? Memo1 : Memo22)->setFocus();
    } else {
        v->setFocus();
    }
}

// The editable memo's text into the row it belongs to.
void TfrmCreateDBOR::storeMemos() {
    if (wizard_.mode() == kov::WizardMode::View) {
        return;
    }
    const int page = wizard_.page();
    const int row = page == 3 || page == 4 ? memoRow_[page] : -1;
    if (row < 0 || std::size_t(row) >= grid(page).row_count()) {
        return;
    }
    if (page == 3) {
        wizard_.objects_grid().set_description(std::size_t(row),
                                               Memo1->toPlainText().toStdString());
    } else {
        wizard_.variants_grid().set_description(std::size_t(row),
                                                Memo22->toPlainText().toStdString());
    }
}

void TfrmCreateDBOR::updatePlot(int page) {
    CurvePlot* plot = plots_.at(page);
    const kov::CurveGrid& g = wizard_.curve_grid(page == 6 ? kov::Income::Sale : kov::Income::Expl);
    // The axes are titled as the argument and value columns are (T41_6, T41_7; T42_6, T42_7).
    const auto t = [this](int k) { return state_.text(k); };
    const bool sale = page == 6;
    plot->setTexts(t(sale ? kov::txt::SaleDelay : kov::txt::ExploitationDelay) +
                       QStringLiteral(" (") + q(wizard_.current().header.time_unit) +
                       QStringLiteral(")"),
                   t(kov::txt::DistributionFunction));
    const int row = memoRow_[page];
    if (row < 0 || std::size_t(row) >= g.row_count()) {
        plot->clearCurve();
        return;
    }
    const kov::CurvePicture picture = kov::curve_picture(g, std::size_t(row));
    plot->showCurve(picture, q(kov::curve_fault_caption(picture, state_.shell)),
                    g.rows()[std::size_t(row)].point);
}

void TfrmCreateDBOR::rowChanged(int page, int row) {
    if (page == wizard_.page() && row != memoRow_[page]) {
        storeMemos();
    }
    memoRow_[page] = row;
    if (page == 6 || page == 8) {
        updatePlot(page);
    }
    const auto& shell = state_.shell;
    const auto fit = [](QLabel* l, const std::string& text) { fitted(l, q(text), l->width()); };
    const kov::BdonModel& current = wizard_.current();
    if (row < 0 || std::size_t(row) >= grid(page).row_count()) {
        return;
    }
    const auto r = std::size_t(row);
    const auto objectText = [&](std::size_t i) {
        return i < current.objects.size() ? q(current.objects[i].description) : QString();
    };
    const auto variantText = [&](std::size_t i, std::size_t j) {
        return i < current.objects.size() && j < current.objects[i].variants.size()
                   ? q(current.objects[i].variants[j].description)
                   : QString();
    };
    switch (page) {
    case 3:
        fit(label(QStringLiteral("TM1")), kov::object_memo_caption(shell, r + 1));
        Memo1->setPlainText(q(wizard_.objects_grid().description(r)));
        break;
    case 4: {
        const kov::VariantRow& v = wizard_.variants_grid().rows()[r];
        fit(label(QStringLiteral("TM21")), kov::object_memo_caption(shell, v.object + 1u));
        fit(label(QStringLiteral("TM22")), kov::variant_memo_caption(shell, v.variant));
        Memo21->setPlainText(objectText(v.object));
        Memo22->setPlainText(q(wizard_.variants_grid().description(r)));
        break;
    }
    case 5:
    case 7: {
        const kov::IncomeRow& v =
            wizard_.income_grid(page == 5 ? kov::Income::Sale : kov::Income::Expl).rows()[r];
        fit(label(QStringLiteral("TM%1_1").arg(page)),
            kov::object_memo_caption(shell, v.object + 1u));
        fit(label(QStringLiteral("TM%1_2").arg(page)), kov::variant_memo_caption(shell, v.variant));
        readMemos_[page].first->setPlainText(objectText(v.object));
        readMemos_[page].second->setPlainText(variantText(v.object, v.variant));
        break;
    }
    default: {
        const kov::PointRow& v =
            wizard_.curve_grid(page == 6 ? kov::Income::Sale : kov::Income::Expl).rows()[r];
        fit(label(QStringLiteral("TM%1_1").arg(page)),
            kov::object_memo_caption(shell, v.object + 1u));
        fit(label(QStringLiteral("TM%1_2").arg(page)), kov::variant_memo_caption(shell, v.variant));
        readMemos_[page].first->setPlainText(objectText(v.object));
        readMemos_[page].second->setPlainText(variantText(v.object, v.variant));
        break;
    }
    }
}

// A block of cells from the clipboard (rows by line, cells by tab) from the current cell on;
// every cell goes through the grid's cell rule as a typed text would, and a refused one keeps
// its text.
void TfrmCreateDBOR::pasteBlock(int page) {
    QTableView* v = view(page);
    const QModelIndex start = v->currentIndex();
    if (!start.isValid() || grid(page).read_only()) {
        return;
    }
    QString text = QApplication::clipboard()->text();
    text.remove(QLatin1Char('\r'));
    if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    QAbstractItemModel* model = v->model();
    for (int i = 0; i < lines.size(); ++i) {
        const int row = start.row() + i;
        if (row >= model->rowCount()) {
            break;
        }
        const QStringList cells = lines[i].split(QLatin1Char('\t'));
        for (int k = 0; k < cells.size(); ++k) {
            const int column = start.column() + k;
            if (column >= model->columnCount()) {
                break;
            }
            model->setData(model->index(row, column), cells[k], Qt::EditRole);
        }
    }
}

void TfrmCreateDBOR::showInfo() {
    const kov::DborHeader& h = wizard_.current().header;
    const bool dated = !h.saved.empty();
    for (int p = 2; p <= 9; ++p) {
        const auto set = [&](const char* name, const QString& text) {
            label(QStringLiteral("%1V_%2").arg(QString::fromLatin1(name)).arg(p))->setText(text);
        };
        set("LType", q(h.type));
        set("LCode", q(h.code));
        set("LName", q(h.name));
        set("LMode",
            state_.text(h.type == "B" ? kov::txt::ModernisationMode : kov::txt::PurchaseMode));
        set("Ldate", q(h.saved));
        label(QStringLiteral("Ldate_%1").arg(p))->setVisible(dated);
        label(QStringLiteral("LdateV_%1").arg(p))->setVisible(dated);
        if (p >= 3 && p <= 8) {
            label(QStringLiteral("LObjects_%1").arg(p))
                ->setText(state_.text(kov::txt::NumberOfObjects) + QStringLiteral(": ") +
                          QString::number(p == 3 ? wizard_.objects_grid().row_count()
                                                 : wizard_.current().objects.size()));
        }
    }
}

void TfrmCreateDBOR::showSummary() {
    const kov::DborHeader& h = wizard_.current().header;
    const auto set = [&](const QString& name, const QString& text) {
        label(name + QStringLiteral("V"))->setText(text);
    };
    set(QStringLiteral("Label6_7"), q(h.cost_unit));
    set(QStringLiteral("Label6"), q(h.time_unit));
    set(QStringLiteral("Label8_7"), QString::number(wizard_.current().objects.size()));
    set(QStringLiteral("Count1"), QString::number(h.sale_objects));
    set(QStringLiteral("Count2"), QString::number(h.sale_curve_objects));
    set(QStringLiteral("Count3"), QString::number(h.expl_objects));
    set(QStringLiteral("Count4"), QString::number(h.expl_curve_objects));
    set(QStringLiteral("Label10_7"), state_.regional.dateText(kov::now_day_count()));
    const bool saving = wizard_.mode() != kov::WizardMode::View;
    label(QStringLiteral("Label10_7"))->setVisible(saving);
    label(QStringLiteral("Label10_7V"))->setVisible(saving);
}

void TfrmCreateDBOR::showPage(int page) {
    setWindowTitle(q(kov::wizard_title(state_.shell, wizard_.mode(), page)));
    if (page >= 3 && page <= 8) {
        models_.at(page)->reset();
        memoRow_[page] = -1;
        QTableView* v = view(page);
        if (v->model()->rowCount() > 0) {
            v->setCurrentIndex(v->model()->index(0, 1));
            v->scrollToTop();
        }
        rowChanged(page, v->model()->rowCount() > 0 ? 0 : -1);
    }
    if (page == 9) {
        showSummary();
    }
    if (page >= 2) {
        showInfo();
    }
    if (page == 2 && wizard_.mode() == kov::WizardMode::Import) {
        choices_ = kov::import_choices(state_.bdonList, wizard_.fields().type);
        cbImport->clear();
        for (const kov::ImportChoice& c : choices_) {
            cbImport->addItem(c.code.empty() ? state_.text(kov::txt::NotChosen) : q(c.label));
        }
        cbImport->setCurrentIndex(0);
        pnlImp->show();
    }
    pages_->setCurrentIndex(page - 1);
    btnPrev->setEnabled(wizard_.back_enabled());
    if (page == 2 && EditM->isEnabled()) {
        EditM->setFocus();
    } else if (page == 1) {
        (EditCode->isEnabled() ? EditCode : EditName)->setFocus();
    } else if (page >= 3 && page <= 8) {
        view(page)->setFocus();
    }
}

void TfrmCreateDBOR::btnImportClick() {
    const int k = cbImport->currentIndex();
    if (k < 0 || std::size_t(k) >= choices_.size()) {
        return;
    }
    const kov::ImportChoice& choice = choices_[std::size_t(k)];
    if (choice.code.empty()) {
        wizard_.import_none();
        label(QStringLiteral("staticBase"))
            ->setText(state_.text(kov::txt::NotChosen) + QStringLiteral("."));
    } else {
        wizard_.import_database(kov::read_bdon(
            kov::bdon_base(state_.workspace, choice.code, state_.shell.suffix), state_.codepage()));
        label(QStringLiteral("staticBase"))
            ->setText(QStringLiteral("[") + q(choice.code) + QStringLiteral("]"));
    }
    pushFields();
}

void TfrmCreateDBOR::btnLoadOutDataClick() {
    const QString path =
        host_.fileDialogs().openWorkbook(this, state_.text(kov::txt::ImportWorkbookButton));
    if (path.isEmpty()) {
        return;
    }
    const auto book = kov::open_workbook(path.toStdString());
    const kov::DatabaseWorkbook read =
        kov::read_database_workbook(*book, state_.shell.suffix, wizard_.fields().type,
                                    state_.regional.decimalChar, state_.codepage());
    if (!read.outcome.ok()) {
        report(read.outcome);
        return;
    }
    wizard_.import_database(read.data);
    pushFields();
    label(QStringLiteral("Label_ex1"))
        ->setText(state_.text(kov::txt::WorkbookImported) + QStringLiteral(":"));
    label(QStringLiteral("Label_ex2"))->setText(path);
}

void TfrmCreateDBOR::closeEvent(QCloseEvent* event) {
    if (selection_) {
        selection_->close();
    }
    QDialog::closeEvent(event);
}
