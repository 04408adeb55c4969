#include "report_printer.h"

#include "io/new_file.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <stdexcept>

namespace {

QFont reportFont(bool bold, QPaintDevice& device) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(8);
    f.setBold(bold);
    // Sizes in points follow the device's resolution.
    return QFont(f, &device);
}

kov::TextMeasure measure(const QFont& font, QPaintDevice& device) {
    const QFontMetrics metrics(font, &device);
    return [metrics](std::string_view s) {
        return metrics.horizontalAdvance(QString::fromUtf8(s.data(), qsizetype(s.size())));
    };
}

} // namespace

void paintReport(QPagedPaintDevice& device, const ReportLayout& layout) {
    const QFont regular = reportFont(false, device);
    const QFont bold = reportFont(true, device);
    const QFontMetrics regularMetrics(regular, &device);
    const QFontMetrics boldMetrics(bold, &device);
    const kov::PrintMetrics m{device.width(), device.height(), regularMetrics.height(),
                              measure(regular, device), measure(bold, device)};
    const std::vector<kov::PrintPage> pages = layout(m);
    QPainter painter;
    if (!painter.begin(&device)) {
        throw std::runtime_error("the report cannot be started on the device");
    }
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0 && !device.newPage()) {
            painter.end();
            throw std::runtime_error("the device refuses a new page");
        }
        painter.setPen(QPen(Qt::black, 2));
        for (const kov::PrintLine& l : pages[p].lines) {
            painter.drawLine(l.x1, l.y1, l.x2, l.y2);
        }
        for (const kov::PrintText& t : pages[p].texts) {
            painter.setFont(t.bold ? bold : regular);
            // The layout places a text by its top; Qt draws from the baseline.
            const int ascent = (t.bold ? boldMetrics : regularMetrics).ascent();
            painter.drawText(t.x, t.y + ascent, QString::fromStdString(t.text));
        }
    }
    if (!painter.end()) {
        throw std::runtime_error("the report cannot be finished on the device");
    }
}

std::vector<std::uint8_t> reportPdf(const ReportLayout& layout, const std::string& title) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(kReportDpi);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(QString::fromStdString(title));
        pdf.setCreator(QStringLiteral("Lite_TELM_KOV"));
        paintReport(pdf, layout);
    }
    const QByteArray& bytes = buffer.data();
    return {bytes.begin(), bytes.end()};
}

PrintOutcome printReport(const ReportLayout& layout, const std::string& folder,
                         const std::string& base, const std::string& title) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const std::vector<std::uint8_t> bytes = reportPdf(layout, title);
        return {false, kov::write_new_file(folder, base, ".pdf", bytes)};
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setResolution(kReportDpi);
    printer.setFullPage(true);
    printer.setDocName(QString::fromStdString(title));
    if (!printer.isValid()) {
        throw std::runtime_error("the printer \"" + info.printerName().toStdString() +
                                 "\" cannot be used");
    }
    paintReport(printer, layout);
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted) {
        throw std::runtime_error("the printer \"" + info.printerName().toStdString() + "\" failed");
    }
    return {true, {}};
}
