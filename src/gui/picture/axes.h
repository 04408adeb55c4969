#pragma once

#include <QLocale>

class QChart;
class QValueAxis;

// A value axis over [low, high] with a margin, its ticks at round steps from 0.
void setRoundRange(QValueAxis& axis, double low, double high);
// Numbers on a chart's axes written with the user's decimal separator and no thousands separator.
void useDecimalChar(QChart& chart, char decimalChar);
