#pragma once

#include "dbor/curve_picture.h"

#include <QList>
#include <QPointF>
#include <QWidget>

#include <optional>

class QChart;
class QLabel;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

// The picture of one delay curve beside a curve grid: the distribution function drawn through its
// sound points, the first invalid point (when it has a place) marked in red at the end of a
// dashed piece, the point of the grid's selected row ringed in green, and under it, in red, the
// line that names the invalid point and its fault (so the picture needs no legend).
class CurvePlot final : public QWidget {
    Q_OBJECT

public:
    explicit CurvePlot(QWidget* parent = nullptr);

    // The axes' titles.
    void setTexts(const QString& xAxis, const QString& yAxis);
    // The axes' numbers with the user's decimal separator.
    void setDecimalChar(char decimalChar);
    // Shows a curve; `selectedPoint` is the 0-based point of the selected row, if any.
    void showCurve(const kov::CurvePicture& picture, const QString& faultCaption,
                   std::optional<std::size_t> selectedPoint);
    // No curve (no row selected).
    void clearCurve();

    // What is drawn.
    QList<QPointF> drawnPoints() const;
    std::optional<QPointF> markedPoint() const;
    std::optional<QPointF> selectedPoint() const;
    QString faultCaption() const;

private:
    QChart* chart_ = nullptr;
    QLineSeries* curve_ = nullptr;
    QLineSeries* toFault_ = nullptr;
    QScatterSeries* selected_ = nullptr;
    QScatterSeries* fault_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QLabel* caption_ = nullptr;
};
