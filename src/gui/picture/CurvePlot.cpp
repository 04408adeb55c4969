#include "picture/CurvePlot.h"

#include "picture/axes.h"
#include "ui/caption.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {

const QColor kCurve(0, 0, 128);
const QColor kInvalid(200, 0, 0);
const QColor kSelected(0, 140, 0);

QList<QPointF> pointsOf(const QXYSeries* series) {
    return series->points();
}

std::optional<QPointF> onlyPoint(const QXYSeries* series) {
    return series->count() > 0 ? std::optional<QPointF>(series->at(0)) : std::nullopt;
}

} // namespace

CurvePlot::CurvePlot(QWidget* parent)
    : QWidget(parent) {
    chart_ = new QChart;
    chart_->setMargins(QMargins(2, 2, 2, 2));
    chart_->setBackgroundRoundness(0);

    curve_ = new QLineSeries(chart_);
    curve_->setPen(QPen(kCurve, 2));
    curve_->setPointsVisible(true);
    toFault_ = new QLineSeries(chart_);
    toFault_->setPen(QPen(kInvalid, 1.5, Qt::DashLine));
    selected_ = new QScatterSeries(chart_);
    selected_->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    selected_->setMarkerSize(13);
    selected_->setColor(Qt::transparent);
    selected_->setBorderColor(kSelected);
    selected_->setPen(QPen(kSelected, 2.5));
    fault_ = new QScatterSeries(chart_);
    fault_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    fault_->setMarkerSize(11);
    fault_->setColor(kInvalid);
    fault_->setBorderColor(kInvalid);

    axisX_ = new QValueAxis(chart_);
    axisY_ = new QValueAxis(chart_);
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    for (QXYSeries* s : std::initializer_list<QXYSeries*>{curve_, toFault_, selected_, fault_}) {
        chart_->addSeries(s);
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
    }
    chart_->legend()->hide();
    for (QValueAxis* axis : {axisX_, axisY_}) {
        QFont title = interfaceFont(11);
        title.setBold(true);
        axis->setTitleFont(title);
        axis->setLabelsFont(interfaceFont(11));
    }
    setRoundRange(*axisY_, 0, 1);

    auto* view = new QChartView(chart_, this);
    view->setObjectName(QStringLiteral("CurveChart"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(220, 220);
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("CurveFault"));
    caption_->setWordWrap(true);
    caption_->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0)"));
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(view, 1);
    box->addWidget(caption_);
    clearCurve();
}

void CurvePlot::setTexts(const QString& xAxis, const QString& yAxis) {
    axisX_->setTitleText(xAxis);
    axisY_->setTitleText(yAxis);
}

void CurvePlot::showCurve(const kov::CurvePicture& picture, const QString& faultCaption,
                          std::optional<std::size_t> selectedPoint) {
    QList<QPointF> points;
    for (const kov::DborPoint& p : picture.points) {
        points.append(QPointF(p.x, p.y));
    }
    curve_->replace(points);
    QList<QPointF> dashed, mark;
    if (picture.fault_point) {
        mark.append(QPointF(picture.fault_point->x, picture.fault_point->y));
        if (!points.isEmpty()) {
            dashed = {points.last(), mark.first()};
        }
    }
    toFault_->replace(dashed);
    fault_->replace(mark);
    QList<QPointF> ring;
    if (selectedPoint && *selectedPoint < std::size_t(points.size())) {
        ring.append(points[qsizetype(*selectedPoint)]);
    }
    selected_->replace(ring);

    // The axes hold every point drawn: arguments from 0, values over 0..1 at least.
    double xHigh = 0, yLow = 0, yHigh = 1;
    for (const QPointF& p : points + mark) {
        xHigh = std::max(xHigh, p.x());
        yLow = std::min(yLow, p.y());
        yHigh = std::max(yHigh, p.y());
    }
    double xLow = 0;
    for (const QPointF& p : mark) {
        xLow = std::min(xLow, p.x());
    }
    setRoundRange(*axisX_, xLow, xHigh > xLow ? xHigh : xLow + 1);
    setRoundRange(*axisY_, yLow, yHigh);
    caption_->setText(faultCaption);
    caption_->setVisible(!faultCaption.isEmpty());
}

void CurvePlot::clearCurve() {
    showCurve({}, {}, std::nullopt);
}

void CurvePlot::setDecimalChar(char decimalChar) {
    useDecimalChar(*chart_, decimalChar);
}

QList<QPointF> CurvePlot::drawnPoints() const {
    return pointsOf(curve_);
}

std::optional<QPointF> CurvePlot::markedPoint() const {
    return onlyPoint(fault_);
}

std::optional<QPointF> CurvePlot::selectedPoint() const {
    return onlyPoint(selected_);
}

QString CurvePlot::faultCaption() const {
    return caption_->text();
}
