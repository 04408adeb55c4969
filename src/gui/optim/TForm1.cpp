#include "optim/TForm1.h"

#include "host/WindowHost.h"
#include "host/file_error_text.h"
#include "host/run_guard.h"
#include "host/work_guard.h"
#include "message_service.h"
#include "ui/caption.h"
#include "ui/enter_key.h"
#include "ui/key_filters.h"

#include "io/files.h"
#include "io/numbers.h"
#include "optim/info_file.h"
#include "optim/scheme_parameters.h"
#include "optim/solve_task.h"
#include "road/task_road.h"
#include "shell/texts.h"
#include "task/task_code.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QTimer>

#include <optional>

namespace {

constexpr int kClientWidth = 614;
constexpr int kClientHeight = 428;
// The lines of a run stand under the buttons, one under the other, in the interface font.
constexpr int kRunTop = 232;
constexpr int kRunMargin = 10;
constexpr int kRunLineSpacing = 2;
constexpr int kRunLinePixels = 12;

// A label whose centre stands at x.
void centreAt(QLabel* label, int x, int y) {
    label->adjustSize();
    label->move(x - label->width() / 2, y);
}

// A label at (x, y), moved left as far as its text needs to stay inside the window: the
// summary's places suit short texts, and other languages' texts are longer.
void moveInside(QLabel* label, int x, int y) {
    label->adjustSize();
    label->move(std::min(x, kClientWidth - 8 - label->width()), y);
}

void setColour(QLabel* label, const char* colour) {
    label->setStyleSheet(colour ? QStringLiteral("color: %1;").arg(QLatin1String(colour))
                                : QString());
}

} // namespace

TForm1::TForm1(WindowHost& host)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint)
    , state_(host.state()) {
    setObjectName(QStringLiteral("TForm1"));
    setFixedSize(kClientWidth, kClientHeight);

    Label0 = label("Label0", this);
    Label0_1 = label("Label0_1", this);
    Label0_2 = label("Label0_2", this);
    RB1 = new QRadioButton(this);
    RB1->setObjectName(QStringLiteral("RB1"));
    RB2 = new QRadioButton(this);
    RB2->setObjectName(QStringLiteral("RB2"));
    RB1->setChecked(true);
    connectGuarded(RB1, &QRadioButton::clicked, this, &TForm1::RB1Click, state_);
    connectGuarded(RB2, &QRadioButton::clicked, this, &TForm1::RB2Click, state_);
    BNext1 = button("BNext1", state_.text(kov::txt::Next));
    BNext2 = button("BNext2", state_.text(kov::txt::Next));
    BNext3 = button("BNext3", state_.text(kov::txt::Next));
    Label1 = label("Label1", this);
    MaskEdit1_3 = new QLineEdit(this);
    MaskEdit1_3->setObjectName(QStringLiteral("MaskEdit1_3"));
    installCodeField(*MaskEdit1_3);
    LOPRM = label("LOPRM", this);
    static const char* const promptNames[4] = {"LOPT1", "LOPT2", "LOPT3", "LOPT4"};
    static const char* const editNames[4] = {"ME1", "ME2", "ME3", "ME4"};
    static const int maxLength[4] = {4, 5, 2, 6};
    const QString decimal =
        QRegularExpression::escape(QString(QLatin1Char(state_.regional.decimalChar)));
    for (int i = 0; i < 4; ++i) {
        LOPT[i] = label(promptNames[i], this);
        ME[i] = new QLineEdit(this);
        ME[i]->setObjectName(QString::fromLatin1(editNames[i]));
        ME[i]->setMaxLength(maxLength[i]);
        // ОКР and КО take digits and the DecimalChar, КР and ЛЧИ digits only.
        const QString chars =
            i < 2 ? QStringLiteral("[0-9%1]*").arg(decimal) : QStringLiteral("[0-9]*");
        ME[i]->setValidator(new QRegularExpressionValidator(QRegularExpression(chars), ME[i]));
    }
    BStart = button("BStart", state_.trimmed(kov::txt::Start));
    BReset = button("BReset", state_.text(kov::txt::Reset));
    BEnd = button("BEnd", state_.text(kov::txt::Exit));
    connectGuarded(BNext1, &QPushButton::clicked, this, &TForm1::BNext1Click, state_);
    connectGuarded(BNext2, &QPushButton::clicked, this, &TForm1::BNext2Click, state_);
    connectGuarded(BNext3, &QPushButton::clicked, this, &TForm1::BNext3Click, state_);
    connectGuarded(BStart, &QPushButton::clicked, this, &TForm1::BStartClick, state_);
    connectGuarded(BReset, &QPushButton::clicked, this, &TForm1::BResetClick, state_);
    connectGuarded(BEnd, &QPushButton::clicked, this, &TForm1::BEndClick, state_);
    // Enter in a field or on a radio button presses the Next of the step shown.
    installEnterKey(*this, {BNext1, BNext2, BNext3});

    // The lines of the run, each wrapping within the window.
    Label_Start = label("Label_Start", this);
    for (int i = 0; i < 6; ++i) {
        Lines[i] = label(QStringLiteral("Label%1").arg(i + 2).toLatin1().constData(), this);
    }
    Label8 = label("Label8", this);
    setColour(Label8, "red");
    Label_End = label("Label_End", this);
    QFont bold = interfaceFont(kRunLinePixels);
    bold.setBold(true);
    for (QLabel* l : runLines()) {
        l->setFont(l == Label_Start || l == Label_End ? bold : interfaceFont(kRunLinePixels));
        l->setWordWrap(true);
        l->setTextFormat(Qt::PlainText);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    placeRunLines();

    BNext1->setGeometry(267, 120, 80, 25);
    BNext2->setGeometry(267, 150, 80, 25);
    BNext3->setGeometry(267, 176, 80, 25);
    BStart->setGeometry(146, 200, 100, 25);
    BReset->setGeometry(257, 200, 100, 25);
    BEnd->setGeometry(368, 200, 100, 25);
}

QLabel* TForm1::label(const char* name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QPushButton* TForm1::button(const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

void TForm1::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (initialised_) {
        return;
    }
    runGuarded(state_, [this] { initialise(); });
    if (state_.solveNow == 1) {
        // The whole procedure runs once the window is on the screen.
        QTimer::singleShot(0, this, [this] { runGuarded(state_, [this] { solveNow(); }); });
    }
}

void TForm1::placePromptTexts() {
    const QString and0 = state_.trimmed(kov::txt::And);
    LOPRM->setText(state_.text(kov::txt::EnterParameters) + QStringLiteral(":"));
    LOPT[0]->setText(state_.text(kov::txt::OmegaPrompt) + QStringLiteral(" (>=0,1 ") + and0 +
                     QStringLiteral(" <1,0)"));
    LOPT[1]->setText(state_.text(kov::txt::ThresholdPrompt) + QStringLiteral(" (>=0,001 ") + and0 +
                     QStringLiteral(" <=0,1)"));
    LOPT[2]->setText(state_.text(kov::txt::CheckEveryPrompt) + QStringLiteral(" (>=1)"));
    LOPT[3]->setText(state_.text(kov::txt::MaxCyclesPrompt) + QStringLiteral(" (>=10)"));
    setColour(LOPRM, nullptr);
    LOPRM->adjustSize();
    LOPRM->move(144, 41);
    for (int i = 0; i < 4; ++i) {
        setColour(LOPT[i], nullptr);
        LOPT[i]->adjustSize();
        LOPT[i]->move(64, 72 + 24 * i);
        // Each field stands 79 pixels right of its prompt's width, kept inside the window.
        const int width =
            ME[i]->fontMetrics().horizontalAdvance(QLatin1Char('0')) * (ME[i]->maxLength() + 2) + 8;
        ME[i]->setGeometry(std::min(LOPT[i]->width() + 79, kClientWidth - 8 - width), 70 + 24 * i,
                           width, 21);
    }
}

void TForm1::initialise() {
    initialised_ = true;
    setWindowTitle(state_.text(kov::txt::OptimCaption));
    info_ = kov::read_info_file(state_.workspace, state_.shell);
    Label0->setText(state_.text(kov::txt::ChooseMode) + QStringLiteral(":"));
    centreAt(Label0, 311, 40);
    Label0_1->setText(state_.text(kov::txt::Batch));
    centreAt(Label0_1, 240, 68);
    Label0_2->setText(state_.text(kov::txt::Individual));
    centreAt(Label0_2, 363, 68);
    RB1->adjustSize();
    RB2->adjustSize();
    RB1->move(240 - RB1->width() / 2, 90);
    RB2->move(363 - RB2->width() / 2, 90);
    Label1->setText(state_.text(kov::txt::EnterTaskToSolve) + QStringLiteral(":"));
    setColour(Label1, nullptr);
    Label1->adjustSize();
    Label1->move(174, 120);
    MaskEdit1_3->setGeometry(Label1->x() + Label1->width() + 10, 117, 70, 21);
    placePromptTexts();
    const QString dc(QLatin1Char(state_.regional.decimalChar));
    ME[0]->setText(QStringLiteral("0") + dc + QStringLiteral("9"));
    ME[1]->setText(QStringLiteral("0") + dc + QStringLiteral("001"));
    ME[2]->setText(QStringLiteral("5"));
    ME[3]->setText(QStringLiteral("3000"));
    RB1->setChecked(true);
    batch_ = true;
    showOnly({Label0, Label0_1, Label0_2, RB1, RB2, BNext1});
}

void TForm1::showOnly(const std::vector<QWidget*>& visible) {
    QWidget* const all[] = {Label0,  Label0_1, Label0_2, RB1,         RB2,   BNext1,
                            BNext2,  BNext3,   Label1,   MaskEdit1_3, LOPRM, LOPT[0],
                            LOPT[1], LOPT[2],  LOPT[3],  ME[0],       ME[1], ME[2],
                            ME[3],   BStart,   BReset,   BEnd};
    for (QWidget* w : all) {
        w->setVisible(std::find(visible.begin(), visible.end(), w) != visible.end());
    }
}

void TForm1::setMessage(const QString& text) {
    showRunLine(kov::RunLine::Message, text);
}

std::array<QLabel*, 9> TForm1::runLines() const {
    return {Label_Start, Lines[0], Lines[1], Lines[2], Lines[3],
            Lines[4],    Lines[5], Label8,   Label_End};
}

void TForm1::placeRunLines() {
    // Every line takes the height its wrapped text needs; the window grows when all of them
    // together need more room than it has.
    const int width = kClientWidth - 2 * kRunMargin;
    int y = kRunTop;
    for (QLabel* l : runLines()) {
        const int h = l->text().isEmpty() ? 0 : l->heightForWidth(width);
        l->setGeometry(kRunMargin, y, width, h);
        if (h > 0) {
            y += h + kRunLineSpacing;
        }
    }
    setFixedSize(kClientWidth, std::max(kClientHeight, y + kRunMargin));
}

void TForm1::showRunLine(kov::RunLine line, const QString& text) {
    QLabel* label = line == kov::RunLine::Start     ? Label_Start
                    : line == kov::RunLine::Message ? Label8
                    : line == kov::RunLine::End     ? Label_End
                                                : Lines[int(line) - int(kov::RunLine::Progress1)];
    label->setText(text);
    placeRunLines();
    // The run holds the window: the lines are painted at once.
    repaint(QRect(0, kRunTop, width(), height() - kRunTop));
}

void TForm1::RB1Click() {
    RB1->setChecked(true);
    RB2->setChecked(false);
    batch_ = true;
}

void TForm1::RB2Click() {
    RB2->setChecked(true);
    RB1->setChecked(false);
    batch_ = false;
}

void TForm1::BNext1Click() {
    batch_ = RB1->isChecked();
    tasks_.clear();
    if (!batch_) {
        tasks_.emplace_back();
        showOnly({Label1, MaskEdit1_3, BNext2});
        MaskEdit1_3->setFocus();
        return;
    }
    tasks_ = kov::queued_task_codes(state_.workspace);
    if (tasks_.empty()) {
        setMessage(state_.text(kov::txt::BatchImpossible) + QStringLiteral(". ") +
                   state_.text(kov::txt::NoQueuedInputFiles) + QStringLiteral("."));
        showOnly({BEnd});
        return;
    }
    showOnly({LOPRM, LOPT[0], LOPT[1], LOPT[2], LOPT[3], ME[0], ME[1], ME[2], ME[3], BNext3});
    ME[0]->setFocus();
}

void TForm1::BNext2Click() {
    const std::string code =
        state_.solveNow == 1 ? state_.solveNowCode : MaskEdit1_3->text().toStdString();
    tasks_ = {code};
    Label1->setText(state_.text(kov::txt::TaskToSolve) + QStringLiteral(" - \"") +
                    QString::fromStdString(code) + QStringLiteral("\"."));
    setColour(Label1, "green");
    Label1->adjustSize();
    Label1->move(10, 16);
    const std::string input = "Solving/kov_" + code + "_in.dat";
    if (kov::is_task_code(code) && kov::file_exists(state_.path(input))) {
        showOnly({Label1, LOPRM, LOPT[0], LOPT[1], LOPT[2], LOPT[3], ME[0], ME[1], ME[2], ME[3],
                  BNext3});
        ME[0]->setFocus();
        return;
    }
    setMessage(state_.text(kov::txt::TaskCannotBeSolved) + QStringLiteral(". ") +
               state_.text(kov::txt::NoInputFile) + QStringLiteral(" \"kov_") +
               QString::fromStdString(code) + QStringLiteral("_in.dat\"."));
    showOnly({Label1, BEnd});
}

void TForm1::BNext3Click() {
    const char dc = state_.regional.decimalChar;
    // Each field in turn: a text that is no number puts the focus back without a message, a
    // value outside its range with the field's warning.
    std::optional<double> values[4];
    for (int i = 0; i < 4; ++i) {
        const std::string text = ME[i]->text().toStdString();
        if (i < 2) {
            values[i] = kov::parse_real(text, dc);
        } else if (const auto v = kov::parse_int(text)) {
            values[i] = *v;
        }
        const auto field = static_cast<kov::SchemeField>(i);
        const bool admitted = values[i] && kov::scheme_value_admitted(field, *values[i]);
        if (values[i] && !admitted) {
            state_.messages->warning(
                QString::fromStdString(kov::scheme_warning(state_.shell, field)));
        }
        if (!admitted) {
            ME[i]->setFocus();
            return;
        }
    }
    const double omega = *values[0];
    const double threshold = *values[1];
    const int checkEvery = static_cast<int>(*values[2]);
    const int maxCycles = static_cast<int>(*values[3]);
    parameters_ = {omega, threshold, checkEvery, maxCycles};

    LOPRM->setText(state_.text(kov::txt::SchemeParametersHeading) + QStringLiteral(":"));
    LOPRM->adjustSize();
    moveInside(LOPRM, 396, 5);
    const QString summary[4] = {
        state_.shortText(kov::short_txt::Omega) + QStringLiteral(" = ") +
            QString::fromStdString(kov::format_fixed(omega, 2, dc)),
        state_.shortText(kov::short_txt::Threshold) + QStringLiteral(" = ") +
            QString::fromStdString(kov::format_fixed(threshold, 3, dc)),
        state_.shortText(kov::short_txt::CheckEvery) + QStringLiteral(" = ") +
            QString::number(checkEvery),
        state_.shortText(kov::short_txt::MaxCycles) + QStringLiteral(" = ") +
            QString::number(maxCycles),
    };
    setColour(LOPRM, "blue");
    for (int i = 0; i < 4; ++i) {
        LOPT[i]->setText(summary[i]);
        setColour(LOPT[i], "blue");
        LOPT[i]->adjustSize();
        moveInside(LOPT[i], 538, 23 + 16 * i);
    }
    std::vector<QWidget*> visible = {LOPRM, LOPT[0], LOPT[1], LOPT[2], LOPT[3], BStart, BEnd};
    if (!batch_) {
        visible.push_back(Label1);
        visible.push_back(BReset);
    }
    showOnly(visible);
    BStart->setFocus();
}

void TForm1::BStartClick() {
    // A click or key given while the run holds the window is dropped, not acted on afterwards.
    RunGuard guard(*this);
    BStart->setText(state_.text(kov::txt::Running));
    BStart->repaint();
    for (QLabel* l : Lines) {
        l->clear();
    }
    Label8->clear();
    Label_End->clear();
    placeRunLines();
    for (const auto& code : tasks_) {
        runTask(code);
    }
    BStart->setText(state_.trimmed(kov::txt::Start));
    guard.finish();
}

void TForm1::BResetClick() {
    Label1->setText(state_.text(kov::txt::EnterTaskToSolve) + QStringLiteral(":"));
    setColour(Label1, nullptr);
    Label1->adjustSize();
    Label1->move(174, 120);
    placePromptTexts();
    Label_Start->clear();
    for (QLabel* l : Lines) {
        l->clear();
    }
    Label8->clear();
    Label_End->clear();
    placeRunLines();
    BStart->setText(state_.trimmed(kov::txt::Start));
    showOnly({Label1, MaskEdit1_3, BNext2});
    MaskEdit1_3->setFocus();
}

void TForm1::BEndClick() {
    close();
}

void TForm1::solveNow() {
    RB2Click();
    BNext1Click();
    BNext2Click();
    BNext3Click();
    if (BStart->isVisible()) {
        BStartClick();
    }
    close();
}

namespace {

// The lines of a run, shown by the window as they come.
class LineProgress final : public kov::RunProgress {
public:
    explicit LineProgress(std::function<void(kov::RunLine, const QString&)> show)
        : show_(std::move(show)) {}
    void show(kov::RunLine line, const std::string& text) override {
        show_(line, QString::fromStdString(text));
    }

private:
    std::function<void(kov::RunLine, const QString&)> show_;
};

} // namespace

void TForm1::runTask(const std::string& code) {
    const kov::SolveSetup setup{state_.workspace, state_.shell, state_.regional.decimalChar,
                                parameters_,      info_,        runClock(state_.regional)};
    LineProgress progress(
        [this](kov::RunLine line, const QString& text) { showRunLine(line, text); });
    state_.currentFileBase.clear();
    try {
        const kov::TaskRun run = kov::solve_task(code, setup, progress);
        state_.currentFileBase = run.bdon_base;
    } catch (const kov::FileError& error) {
        setMessage(fileErrorText(state_, error));
    } catch (const std::exception& error) {
        // The task cannot be solved; the red line says why and the batch goes on.
        setMessage(state_.text(kov::txt::MessagePrefix) + QStringLiteral(" \"") +
                   QString::fromStdString(code) + QStringLiteral("\". ") +
                   QString::fromStdString(error.what()));
    }
}
