#include "message_service.h"

#include <QApplication>
#include <QMessageBox>

namespace {

int show(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, QString::fromUtf8(kApplicationTitle), text, buttons,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec();
}

} // namespace

void BoxMessageService::error(const QString& text) {
    show(QMessageBox::Critical, text, QMessageBox::Ok);
}

void BoxMessageService::warning(const QString& text) {
    show(QMessageBox::Warning, text, QMessageBox::Ok);
}

void BoxMessageService::information(const QString& text) {
    show(QMessageBox::Information, text, QMessageBox::Ok);
}

bool BoxMessageService::confirm(const QString& text) {
    return show(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}
