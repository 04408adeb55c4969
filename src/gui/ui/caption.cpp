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
    // The fitted text carries its own line breaks; the label must not break it again.
    label.setWordWrap(false);
    label.setText(fitCaption(text, label.width(), QFontMetrics(label.font(), &label)));
}
