#include "host/file_services.h"

#include "host/shared_state.h"
#include "message_service.h"

#include "shell/texts.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QUrl>

bool DesktopFileOpenService::open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString QtFileDialogService::openWorkbook(QWidget* parent, const QString& caption) {
    return QFileDialog::getOpenFileName(parent, caption, QString(),
                                        QStringLiteral("Excel (*.xlsx *.xls)"));
}

void openWrittenFile(const SharedState& state, const QString& path) {
    if (state.fileOpener && state.fileOpener->open(path)) {
        return;
    }
    state.messages->information(state.text(kov::txt::FileNotOpened) + QStringLiteral(" \"") +
                                QDir::toNativeSeparators(path) + QStringLiteral("\"."));
}
