#pragma once

#include "view/view_content.h"

#include <QWidget>

class QChart;

// A viewer's picture beside its table: a line per series (the risk picture) or one series of
// bars labelled by their x (the expected incomes of the variants), with the axes' titles, in
// distinct colours with a legend; a picture without any point shows its empty text instead.
class PictureView final : public QWidget {
    Q_OBJECT

public:
    enum class Kind { Lines, Bars };

    PictureView(const kov::ViewPicture& picture, Kind kind, char decimalChar,
                QWidget* parent = nullptr);

    // The chart drawn, or null when the picture is empty.
    QChart* chart() const { return chart_; }

private:
    QChart* chart_ = nullptr;
};

class QTabWidget;

// The tabs under a viewer's parameter list: its table (`table`, captioned `tableTab`) first,
// then its picture.
QTabWidget* tableAndPictureTabs(QWidget* table, const QString& tableTab, PictureView* picture,
                                const QString& pictureTab);
