#include "app/TfrmHelp.h"

#include "host/WindowHost.h"
#include "jpeg_image.h"
#include "shell/texts.h"
#include "ui/caption.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>

#include <vector>

namespace {

// The picture at its natural size in the top left corner of its frame. Where the window is
// wider or taller than the picture, the frame continues in the colour of the picture's bottom
// right corner.
QLabel* picture(QFrame* frame, const char* name, AboutPicture which) {
    const QImage decoded = decodeJpeg(aboutPictureJpeg(which));
    auto* image = new QLabel(frame);
    image->setObjectName(QLatin1String(name));
    image->setPixmap(QPixmap::fromImage(decoded));
    image->move(0, 0);
    image->adjustSize();
    if (!decoded.isNull()) {
        QPalette palette = frame->palette();
        palette.setColor(QPalette::Window,
                         decoded.pixelColor(decoded.width() - 1, decoded.height() - 1));
        frame->setPalette(palette);
        frame->setAutoFillBackground(true);
    }
    return image;
}

// A transparent word-wrapping label over the picture, `width` pixels wide and as tall as its
// text needs in that width.
QLabel* textLabel(QWidget* parent, const char* name, int pixelSize, const QColor& colour, int width,
                  const QString& text) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(interfaceFont(pixelSize));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(text);
    label->resize(width, label->heightForWidth(width));
    return label;
}

// The items of a shell list joined without separator.
QString joinedItems(const SharedState& state, kov::ShellList list) {
    QString text;
    for (int i = 0; i < list.items; ++i) {
        text += state.listItem(list.number, i);
    }
    return text;
}

} // namespace

TfrmHelp::TfrmHelp(WindowHost& host)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    const SharedState& state = host.state();
    setObjectName(QStringLiteral("TfrmHelp"));
    GroupBox1 = new QFrame(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox2 = new QFrame(this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    if (state.windowMode == 2) {
        showDeveloper(state);
    } else {
        showSystem(state);
    }
}

void TfrmHelp::showSystem(const SharedState& state) {
    constexpr int kLeft = 17;
    constexpr int kTop = 8;
    constexpr int kWidth = 792;
    GroupBox2->hide();
    GroupBox1->show();
    picture(GroupBox1, "Image1", AboutPicture::System);

    const struct {
        const char* name;
        int pixelSize;
        QString text;
    } texts[] = {
        {"Label11", 16, joinedItems(state, kov::txt_list::AboutLabel11)},
        {"Label12", 13, joinedItems(state, kov::txt_list::AboutLabel12)},
        {"Label13", 13, joinedItems(state, kov::txt_list::AboutLabel13)},
        {"Label14", 16, joinedItems(state, kov::txt_list::AboutLabel14)},
        {"Label15", 16, joinedItems(state, kov::txt_list::AboutLabel15)},
    };
    std::vector<QLabel*> labels;
    int heights = 0;
    for (const auto& t : texts) {
        labels.push_back(textLabel(GroupBox1, t.name, t.pixelSize, Qt::black, kWidth, t.text));
        heights += labels.back()->height();
    }
    // The second label starts 15 pixels below the first one's height, each further label 3
    // pixels below the bottom of the one before.
    labels[0]->move(kLeft, kTop);
    labels[1]->move(kLeft, labels[0]->height() + 15);
    for (std::size_t i = 2; i < labels.size(); ++i) {
        labels[i]->move(kLeft, labels[i - 1]->y() + labels[i - 1]->height() + 3);
    }
    setFixedSize(830, heights + 62);
    GroupBox1->setGeometry(0, 0, width(), height());
    setWindowTitle(QStringLiteral(" ") + state.text(kov::txt::AboutSystem));
}

void TfrmHelp::showDeveloper(const SharedState& state) {
    GroupBox1->hide();
    GroupBox2->show();
    QLabel* image = picture(GroupBox2, "Image2", AboutPicture::Developer);
    QLabel* label = textLabel(GroupBox2, "Label2", 19, Qt::white, 505,
                              joinedItems(state, kov::txt_list::AboutDeveloperLabel2));
    label->move(19, 13);
    setFixedSize(image->width() + 3, label->height() + 53);
    GroupBox2->setGeometry(0, 0, width(), height());
    setWindowTitle(QStringLiteral(" ") + state.text(kov::txt::AboutDeveloper));
}
