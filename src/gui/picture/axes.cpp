#include "picture/axes.h"

#include <QChart>
#include <QValueAxis>

#include <cmath>

namespace {

// The round step (1, 2 or 5 times a power of ten) nearest above span / 5.
double roundStep(double span) {
    const double raw = span / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0}) {
        if (m * power >= raw) {
            return m * power;
        }
    }
    return 10 * power;
}

} // namespace

void setRoundRange(QValueAxis& axis, double low, double high) {
    if (!(high > low)) {
        const double pad = std::max(std::fabs(high), 1.0);
        low -= pad / 2;
        high += pad / 2;
    }
    const double step = roundStep(high - low);
    const double margin = (high - low) * 0.04;
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0);
    axis.setTickInterval(step);
    axis.setRange(low - margin, high + margin);
    const int decimals = std::max(0, int(-std::floor(std::log10(step))));
    axis.setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
}

void useDecimalChar(QChart& chart, char decimalChar) {
    QLocale locale = decimalChar == ',' ? QLocale(QLocale::German) : QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    chart.setLocale(locale);
    chart.setLocalizeNumbers(true);
}
