#include "ui/caption.h"

#include "ui/fit_caption.h"

#include <QFontMetrics>
#include <QLabel>

QFont interfaceFont(int pixelSize) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    return font;
}

QString fitCaption(const QString& text, int width, const QFontMetrics& metrics) {
    const auto measure = [&metrics](std::u32string_view s) {
        return metrics.horizontalAdvance(QString::fromUcs4(s.data(), qsizetype(s.size())));
    };
    return QString::fromStdU32String(kov::fit_caption(text.toStdU32String(), width, measure));
}

void setFittedCaption(QLabel& label, const QString& text) {
    label.setTextFormat(Qt::PlainText);
    // The fitted text carries break opportunities (blanks) where the label wraps.
    label.setWordWrap(true);
    const QFontMetrics metrics(label.font(), &label);
    label.setText(fitCaption(text, label.width(), metrics));
    // A word cut inside a line gets its hyphen after the line was measured, so a line may be a
    // hyphen wider than the width it was fitted to; the label takes that room, or it would wrap
    // the line once more before the cut word.
    label.resize(label.width() + metrics.horizontalAdvance(QLatin1Char('-')), label.height());
}
