#include "open_file_service.h"

#include <QDesktopServices>
#include <QUrl>

bool DesktopOpenFileService::open(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}
