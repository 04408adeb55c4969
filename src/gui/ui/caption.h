#pragma once

#include <QFont>
#include <QString>

class QFontMetrics;
class QLabel;

// The font of the labels of every window: DejaVu Sans at a pixel size (a layout's font height
// -11 is 11 pixels). The build installs this font, so caption fitting gives the same breaks on
// every machine.
QFont interfaceFont(int pixelSize);

// The pixel size of the column headings above the grids (13 in the statistics creation window).
inline constexpr int kHeadingPixelSize = 11;

// fit_caption measured with `metrics`.
QString fitCaption(const QString& text, int width, const QFontMetrics& metrics);

// Sets the caption of a column heading: word wrap on, and the text fitted to the label's width
// as it is before the caption is set, measured in the label's own font on the label itself. The
// label then grows by the width of a hyphen, the most a fitted line can exceed its width by.
void setFittedCaption(QLabel& label, const QString& text);
