#include "app/TfrmSelLang.h"

#include "host/WindowHost.h"
#include "host/work_guard.h"
#include "message_service.h"

#include "io/files.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

TfrmSelLang::TfrmSelLang(WindowHost& host, Choice chosen)
    : QDialog(nullptr,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
    , host_(host)
    , chosen_(std::move(chosen)) {
    setObjectName(QStringLiteral("TfrmSelLang"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Selection of program interface language"));

    auto* label = new QLabel(QStringLiteral("Select a language of your program:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("cbLanguage"));
    list_->setEditable(false);
    auto* ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    connectGuarded(ok, &QPushButton::clicked, this, &TfrmSelLang::btnOkClick, host.state());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    // The caption is a long fixed text; window managers draw it in a font up to a third wider
    // than the dialog's, beside the window's icon and buttons.
    const int captionWidth = fontMetrics().horizontalAdvance(windowTitle());
    setMinimumWidth(std::max(320, captionWidth * 4 / 3 + 120));

    const std::string folder = host_.state().path("Shells");
    for (const auto& name : kov::find_files(folder, std::string(kov::kShellPattern))) {
        try {
            list_->addItem(QString::fromStdString(kov::read_shell_title(folder + "/" + name)));
        } catch (const kov::FileError&) {
            // A file whose title cannot be read is offered under its name; choosing it leads to
            // the loader's own message.
            list_->addItem(QString::fromStdString(kov::suffix_of_file_name(name)));
        }
    }
    list_->setCurrentIndex(-1);

    // The main window is not on the screen yet: the dialog stands in the screen's centre.
    // A dialog of fixed size: no resize handle on its frame.
    adjustSize();
    setFixedSize(size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect client = geometry();
        client.moveCenter(screen->availableGeometry().center());
        setGeometry(client);
    }
}

void TfrmSelLang::btnOkClick() {
    if (list_->currentIndex() < 0) {
        host_.messages().warning(QStringLiteral("A shell language is not selected."));
        list_->setFocus();
        return;
    }
    const std::string title = list_->currentText().toStdString();
    closing_ = true;
    close();
    chosen_(kov::shell_file_name(kov::left_chars(title, 3)));
}

void TfrmSelLang::closeEvent(QCloseEvent* event) {
    // The window's own close button is hidden; only a choice closes the dialog.
    if (closing_) {
        event->accept();
    } else {
        event->ignore();
    }
}
