#pragma once

#include <string>

// Opens a written file (a report, a workbook) in the desktop's application for it, so tests can
// give a service that opens nothing.
class OpenFileService {
public:
    virtual ~OpenFileService() = default;
    // False when the desktop cannot open it.
    virtual bool open(const std::string& path) = 0;
};

// Opens files through the desktop's services.
class DesktopOpenFileService final : public OpenFileService {
public:
    bool open(const std::string& path) override;
};
