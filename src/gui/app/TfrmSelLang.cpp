#include "TfrmSelLang.h"

#include "TfrmMainWin.h"
#include "message_service.h"

#include "io/files.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmSelLang::TfrmSelLang(TfrmMainWin& main)
    : QDialog(nullptr,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
    , main_(main) {
    setObjectName(QStringLiteral("TfrmSelLang"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Selection of program interface language"));
    main_.setEnabled(false);

    auto* label = new QLabel(QStringLiteral("Select a language of your program:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("cbLanguage"));
    list_->setEditable(false);
    auto* ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TfrmSelLang::btnOkClick);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    setMinimumWidth(320);

    const std::string folder = main_.state().path("Shells");
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
}

void TfrmSelLang::btnOkClick() {
    MessageService& messages = *main_.state().messages;
    if (list_->currentIndex() < 0) {
        messages.warning(QStringLiteral("A shell language is not selected."));
        list_->setFocus();
        return;
    }
    const std::string title = list_->currentText().toStdString();
    const std::string suffix = kov::left_chars(title, 3);
    const std::string name = kov::shell_file_name(suffix);
    chosen_ = true;
    if (!kov::file_exists(main_.state().path("Shells/" + name))) {
        messages.warning(
            QStringLiteral("The chosen file \"%1\" of language shell is missing in the folder "
                           "\"Shells\". In this regard, there will an emergency exit from the "
                           "program.")
                .arg(QString::fromStdString(name)));
        close();
        main_.terminate();
        return;
    }
    main_.startWithShell(name);
    close();
}

void TfrmSelLang::closeEvent(QCloseEvent* event) {
    // The window's own close button is hidden; only a choice closes the dialog.
    if (chosen_) {
        event->accept();
    } else {
        event->ignore();
    }
}
