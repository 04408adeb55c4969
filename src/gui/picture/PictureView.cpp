#include "picture/PictureView.h"

#include "picture/axes.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// Sixteen colours told apart at a glance, one per investment variant.
const QColor kColours[] = {
    {31, 119, 180},  {214, 39, 40},  {44, 160, 44},   {255, 127, 14},
    {148, 103, 189}, {140, 86, 75},  {227, 119, 194}, {127, 127, 127},
    {188, 189, 34},  {23, 190, 207}, {0, 0, 128},     {128, 0, 0},
    {0, 100, 0},     {255, 0, 255},  {0, 0, 0},       {205, 133, 63},
};

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// The x of a bar as its label: a whole number as it stands.
QString barLabel(double x) {
    return std::floor(x) == x ? QString::number(qlonglong(x)) : QString::number(x);
}

} // namespace

PictureView::PictureView(const kov::ViewPicture& picture, Kind kind, char decimalChar,
                         QWidget* parent)
    : QWidget(parent) {
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    if (picture.empty()) {
        auto* label = new QLabel(q(picture.empty_text), this);
        label->setObjectName(QStringLiteral("PictureEmpty"));
        label->setAlignment(Qt::AlignCenter);
        box->addWidget(label);
        return;
    }
    chart_ = new QChart;
    chart_->setBackgroundRoundness(0);
    chart_->setMargins(QMargins(4, 4, 4, 4));
    useDecimalChar(*chart_, decimalChar);
    auto* axisY = new QValueAxis(chart_);
    axisY->setTitleText(q(picture.y_axis));
    double low = 0, high = 0;
    for (const kov::PictureSeries& s : picture.series) {
        for (double y : s.y) {
            low = std::min(low, y);
            high = std::max(high, y);
        }
    }
    setRoundRange(*axisY, low, high);

    if (kind == Kind::Bars) {
        auto* series = new QBarSeries(chart_);
        auto* axisX = new QBarCategoryAxis(chart_);
        axisX->setTitleText(q(picture.x_axis));
        for (const kov::PictureSeries& s : picture.series) {
            auto* set = new QBarSet(q(s.name));
            set->setColor(kColours[0]);
            for (std::size_t i = 0; i < s.x.size() && i < s.y.size(); ++i) {
                set->append(s.y[i]);
                axisX->append(barLabel(s.x[i]));
            }
            series->append(set);
        }
        chart_->addSeries(series);
        chart_->addAxis(axisX, Qt::AlignBottom);
        chart_->addAxis(axisY, Qt::AlignLeft);
        series->attachAxis(axisX);
        series->attachAxis(axisY);
        chart_->legend()->hide(); // one series, named by the axis
    } else {
        auto* axisX = new QValueAxis(chart_);
        axisX->setTitleText(q(picture.x_axis));
        double xLow = 0, xHigh = 0;
        for (const kov::PictureSeries& s : picture.series) {
            for (double x : s.x) {
                xLow = std::min(xLow, x);
                xHigh = std::max(xHigh, x);
            }
        }
        setRoundRange(*axisX, xLow, xHigh);
        chart_->addAxis(axisX, Qt::AlignBottom);
        chart_->addAxis(axisY, Qt::AlignLeft);
        std::size_t n = 0;
        for (const kov::PictureSeries& s : picture.series) {
            auto* line = new QLineSeries(chart_);
            line->setName(q(s.name));
            // Colours and dashes both differ, so a line that covers another lets it show.
            const Qt::PenStyle dashes[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                           Qt::DashDotLine};
            QPen pen(kColours[n % std::size(kColours)], n == 0 ? 2.5 : 2);
            pen.setStyle(dashes[n % std::size(dashes)]);
            line->setPen(pen);
            ++n;
            line->setPointsVisible(true);
            for (std::size_t i = 0; i < s.x.size() && i < s.y.size(); ++i) {
                line->append(s.x[i], s.y[i]);
            }
            chart_->addSeries(line);
            line->attachAxis(axisX);
            line->attachAxis(axisY);
        }
        chart_->legend()->setAlignment(Qt::AlignRight);
    }
    auto* view = new QChartView(chart_, this);
    view->setObjectName(QStringLiteral("PictureChart"));
    view->setRenderHint(QPainter::Antialiasing);
    box->addWidget(view);
}

QTabWidget* tableAndPictureTabs(QWidget* table, const QString& tableTab, PictureView* picture,
                                const QString& pictureTab) {
    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("ViewTabs"));
    tabs->setDocumentMode(true);
    tabs->addTab(table, tableTab);
    tabs->addTab(picture, pictureTab);
    return tabs;
}
