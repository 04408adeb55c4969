#include "stats/TfrmCreateStat.h"

#include "host/WindowHost.h"
#include "host/file_error_text.h"
#include "host/run_guard.h"
#include "host/work_guard.h"
#include "message_service.h"
#include "ui/caption.h"
#include "ui/enter_key.h"
#include "ui/key_filters.h"

#include "io/files.h"
#include "shell/texts.h"
#include "stats/modelling.h"
#include "task/task_files.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kClientWidth = 512;
constexpr int kClientHeight = 215;
constexpr int kFontPixels = 13;
constexpr int kLabel2Width = 265;
constexpr int kNoticeCentre = 260;

QLabel* label(const char* name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setFont(interfaceFont(kFontPixels));
    return l;
}

QPushButton* button(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TfrmCreateStat::TfrmCreateStat(WindowHost& host)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint)
    , state_(host.state()) {
    setObjectName(QStringLiteral("TfrmCreateStat"));
    setWindowTitle(state_.text(kov::txt::StatCaption));

    Label1 = label("Label1", this);
    Label1->setText(state_.text(kov::txt::EnterSolvedTask) + QStringLiteral(":"));
    Label1->adjustSize();
    Label1->move(16, 24);

    ME1 = new QLineEdit(this);
    ME1->setObjectName(QStringLiteral("ME1"));
    installCodeField(*ME1);
    const int fieldLeft = Label1->width() + 117;
    ME1->setGeometry(fieldLeft, 20, 80, 24);

    Label2 = label("Label2", this);
    Label2->setGeometry(16, 60, kLabel2Width, 40);
    setFittedCaption(*Label2, state_.text(kov::txt::TrialsPrompt) + QStringLiteral(" (>=100 ") +
                                  state_.trimmed(kov::txt::And) + QStringLiteral(" <=100000):"));
    Label2->setFixedSize(Label2->width(), std::max(Label2->heightForWidth(Label2->width()), 20));

    ME2 = new QLineEdit(this);
    ME2->setObjectName(QStringLiteral("ME2"));
    // Six optional digits; a blank position shows as a space and stays in the text.
    ME2->setInputMask(QStringLiteral("000000; "));
    ME2->setText(QStringLiteral("10000 "));
    ME2->setGeometry(fieldLeft, Label2->y() + (Label2->height() - 24) / 2, 80, 24);

    Label0 = label("Label0", this);
    Label0->setStyleSheet(QStringLiteral("color: red;"));
    Label0->setText(state_.text(kov::txt::ModellingRunning) + QStringLiteral(" ..."));
    Label0->adjustSize();
    const int noticeTop = Label2->geometry().bottom() + 24;
    Label0->move(int(std::lround(kNoticeCentre - Label0->width() / 2.0)), noticeTop);
    Label0->hide();

    BStart = button("BStart", state_.trimmed(kov::txt::Start), this);
    BEnd = button("BEnd", state_.text(kov::txt::Exit), this);
    const int buttonTop = noticeTop + Label0->height() + 24;
    for (QPushButton* b : {BStart, BEnd}) {
        b->adjustSize();
        b->resize(std::max(b->width(), 100), std::max(b->height(), 28));
    }
    BStart->move(kNoticeCentre - 40 - BStart->width(), buttonTop);
    BEnd->move(kNoticeCentre + 40, buttonTop);

    // Longer texts of other languages widen the window rather than being cut.
    int right = 0;
    int bottom = 0;
    for (QWidget* w :
         {static_cast<QWidget*>(Label1), static_cast<QWidget*>(ME1), static_cast<QWidget*>(Label2),
          static_cast<QWidget*>(ME2), static_cast<QWidget*>(Label0), static_cast<QWidget*>(BStart),
          static_cast<QWidget*>(BEnd)}) {
        right = std::max(right, w->geometry().right());
        bottom = std::max(bottom, w->geometry().bottom());
    }
    setFixedSize(std::max(kClientWidth, right + 17), std::max(kClientHeight, bottom + 17));

    connectGuarded(BStart, &QPushButton::clicked, this, &TfrmCreateStat::BStartClick, state_);
    connectGuarded(BEnd, &QPushButton::clicked, this, &TfrmCreateStat::BEndClick, state_);
    // Enter in the fields starts the run.
    installEnterKey(*this, {BStart});
    ME1->setFocus();
}

void TfrmCreateStat::BEndClick() {
    close();
}

void TfrmCreateStat::showNotice(bool visible) {
    Label0->setVisible(visible);
    // A hidden label leaves its place to the window, which is painted at once too.
    if (visible) {
        Label0->repaint();
    } else {
        repaint(Label0->geometry());
    }
}

void TfrmCreateStat::BStartClick() {
    BStart->setText(state_.trimmed(kov::txt::Start));
    const std::string code = ME1->text().toStdString();
    MessageService& messages = *state_.messages;
    kov::StatRequest request;
    try {
        request = kov::check_stat_request(state_.workspace, code, ME2->displayText().toStdString(),
                                          state_.codepage());
    } catch (const kov::FileError& error) {
        messages.error(fileErrorText(state_, error));
        ME1->setFocus();
        return;
    }
    if (request.refusal != kov::StatRefusal::None) {
        if (request.refusal != kov::StatRefusal::TrialsNotNumber) {
            messages.warning(QString::fromStdString(
                kov::stat_refusal_text(state_.shell, request.refusal, code)));
        }
        const bool trialsField = request.refusal == kov::StatRefusal::TrialsNotNumber ||
                                 request.refusal == kov::StatRefusal::TrialsOutOfRange;
        (trialsField ? ME2 : ME1)->setFocus();
        return;
    }

    const std::string statFile = kov::task_file_path(state_.workspace, "Data", code, "_stat");
    if (kov::file_exists(statFile)) {
        try {
            const kov::TStatHeader old = kov::read_stat_header(statFile, state_.codepage());
            if (!messages.confirm(QString::fromStdString(
                    kov::stat_replace_question(state_.shell, code, old.trials)))) {
                ME1->setFocus();
                return;
            }
        } catch (const kov::FileError& error) {
            messages.error(fileErrorText(state_, error));
            ME1->setFocus();
            return;
        }
    }

    // The run holds the window: input given meanwhile is dropped, a close waits for its end.
    RunGuard guard(*this);
    const auto endRun = [&] {
        Label0->hide();
        BStart->setText(state_.trimmed(kov::txt::Start));
        guard.finish();
    };
    BStart->setText(state_.text(kov::txt::Running));
    BStart->repaint();
    state_.currentFileBase = state_.path("Data/kov_" + code);
    showNotice(true);
    kov::ModellingOptions options;
    options.notice = [this](bool visible) { showNotice(visible); };
    const auto elapsedText = [this](double seconds) {
        return state_.regional.durationText(seconds).toStdString();
    };
    try {
        kov::create_statistics(state_.workspace, code, state_.shell.suffix, state_.codepage(),
                               request.trials, elapsedText, options);
    } catch (...) {
        endRun();
        messages.error(workErrorText(state_, std::current_exception()));
        ME1->setFocus();
        return;
    }
    endRun();
    messages.warning(QString::fromStdString(kov::stat_done_text(state_.shell, code)));
    ME1->setFocus();
}
