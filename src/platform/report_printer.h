#pragma once

// Printing the reports: the pages of the core's print layout drawn on a paged device (a printer
// or a PDF) at 300 dots per inch in DejaVu Sans, on the default printer without a dialog, or into
// a PDF file when there is no printer.

#include "report/print_layout.h"

#include <functional>
#include <string>
#include <vector>

class QPagedPaintDevice;

// Lays a report out for the metrics of the device it is printed on.
using ReportLayout = std::function<std::vector<kov::PrintPage>(const kov::PrintMetrics&)>;

// The resolution every report device is set to.
inline constexpr int kReportDpi = 300;

// Lays the report out for `device` (already at kReportDpi) and draws its pages.
void paintReport(QPagedPaintDevice& device, const ReportLayout& layout);

// The report as the bytes of a PDF file.
std::vector<std::uint8_t> reportPdf(const ReportLayout& layout, const std::string& title);

// Where a report went.
struct PrintOutcome {
    bool printed = false; // on the default printer
    std::string pdf;      // else the PDF written
};

// Prints the report on the default printer without a dialog; with no printer, writes it whole as
// a PDF under `folder` named `base` + ".pdf" (or " (2).pdf", ...: never replacing a file).
// Throws std::runtime_error when the printer fails, kov::FileError when the PDF cannot be written.
PrintOutcome printReport(const ReportLayout& layout, const std::string& folder,
                         const std::string& base, const std::string& title);

// Where the program prints its reports, as printReport does; tests put a printer that fails in
// its place.
class ReportPrintService {
public:
    virtual ~ReportPrintService() = default;
    virtual PrintOutcome print(const ReportLayout& layout, const std::string& folder,
                               const std::string& base, const std::string& title) = 0;
};

// The default printer, or a PDF when there is none.
class DefaultReportPrintService final : public ReportPrintService {
public:
    PrintOutcome print(const ReportLayout& layout, const std::string& folder,
                       const std::string& base, const std::string& title) override {
        return printReport(layout, folder, base, title);
    }
};
