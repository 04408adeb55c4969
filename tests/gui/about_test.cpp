#include "app/TfrmHelp.h"
#include "app/TfrmMainWin.h"
#include "jpeg_image.h"

#include "scripted_messages.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

namespace {

// A Workspace with one test shell and the main window on it; `open` runs a help menu item and
// returns the about window it opened.
class AboutTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("LC_ALL", "C.UTF-8"); }

    void start(const kov::ShellImage& shell = numbered_shell("eng English")) {
        write_shell(ws.path() + "/Shells", "eng", shell);
        main = std::make_unique<TfrmMainWin>(messages, ws.path());
        ASSERT_TRUE(main->state().shellLoaded);
    }

    // Runs a help menu item; returns the about window it opened after checking its caption and
    // that it shows only the frame of its mode.
    TfrmHelp* open(const char* item) {
        main->action(QString::fromLatin1(item))->trigger();
        TfrmHelp* help = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* h = qobject_cast<TfrmHelp*>(w); h && h->isVisible()) {
                help = h;
            }
        }
        if (!help) {
            ADD_FAILURE() << "no about window for " << item;
            return nullptr;
        }
        const bool system = std::string_view(item) == "N101";
        EXPECT_EQ(help->windowTitle(), system ? " T270" : " T268");
        EXPECT_EQ(help->findChild<QFrame*>("GroupBox1")->isVisibleTo(help), system);
        EXPECT_EQ(help->findChild<QFrame*>("GroupBox2")->isVisibleTo(help), !system);
        return help;
    }

    // The window follows the command discipline: it is enabled over a disabled main window,
    // and closing it frees it and enables the main window again.
    void expectCommandDiscipline(TfrmHelp* help) {
        EXPECT_TRUE(help->isEnabled());
        EXPECT_FALSE(main->isEnabled());
        QPointer<TfrmHelp> guard(help);
        help->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(guard.isNull());
        EXPECT_TRUE(main->isEnabled());
    }

    QLabel* label(QWidget* help, const char* name) {
        auto* l = help->findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(l, nullptr) << name;
        return l;
    }

    TempWorkspace ws;
    ScriptedMessageService messages;
    std::unique_ptr<TfrmMainWin> main;
};

// Checks the labels of the system window: texts, left edge, width, stacking; returns the sum of
// their heights.
int expectSystemLabels(TfrmHelp* help, const QStringList& texts) {
    const char* names[] = {"Label11", "Label12", "Label13", "Label14", "Label15"};
    int sum = 0;
    const QLabel* previous = nullptr;
    for (int i = 0; i < 5; ++i) {
        const auto* l = help->findChild<QLabel*>(QString::fromLatin1(names[i]));
        if (!l) {
            ADD_FAILURE() << names[i];
            return 0;
        }
        EXPECT_EQ(l->text(), texts[i]) << names[i];
        EXPECT_EQ(l->x(), 17) << names[i];
        EXPECT_EQ(l->width(), 792) << names[i];
        EXPECT_GE(l->height(), l->heightForWidth(792)) << names[i];
        EXPECT_TRUE(l->isVisibleTo(help)) << names[i];
        if (i == 1) {
            EXPECT_EQ(l->y(), previous->height() + 15);
        } else if (i > 1) {
            EXPECT_EQ(l->y(), previous->y() + previous->height() + 3) << names[i];
        }
        sum += l->height();
        previous = l;
    }
    EXPECT_EQ(help->findChild<QLabel*>("Label11")->font().pixelSize(), 16);
    EXPECT_EQ(help->findChild<QLabel*>("Label12")->font().pixelSize(), 13);
    EXPECT_EQ(help->findChild<QLabel*>("Label13")->font().pixelSize(), 13);
    EXPECT_EQ(help->findChild<QLabel*>("Label15")->font().pixelSize(), 16);
    return sum;
}

QImage pictureOf(QWidget* help, const char* name) {
    const auto* image = help->findChild<QLabel*>(QString::fromLatin1(name));
    return image ? image->pixmap().toImage() : QImage();
}

} // namespace

TEST_F(AboutTest, SystemWindowStacksTheShellListsOverThePicture) {
    start();
    TfrmHelp* help = open("N101");
    ASSERT_NE(help, nullptr);
    const int sum = expectSystemLabels(
        help, {"L0.0L0.1L0.2L0.3L0.4L0.5", "L1.0L1.1", "L2.0L2.1L2.2L2.3", "L3.0", "L4.0"});
    EXPECT_EQ(help->width(), 830);
    EXPECT_EQ(help->height(), sum + 62);

    const QImage image = pictureOf(help, "Image1");
    ASSERT_EQ(image.size(), QSize(835, 570));
    for (QPoint p : {QPoint(0, 0), QPoint(417, 285), QPoint(834, 569)}) {
        const QColor c = image.pixelColor(p);
        // Light cyan: bright, blue and green well above red.
        EXPECT_GT(c.red(), 170) << p.x();
        EXPECT_GT(c.green(), c.red() + 20) << p.x();
        EXPECT_GT(c.blue(), c.red() + 20) << p.x();
    }
    expectCommandDiscipline(help);
}

TEST_F(AboutTest, DeveloperWindowShowsWhiteTextOverTheGradient) {
    start();
    TfrmHelp* help = open("N102");
    ASSERT_NE(help, nullptr);
    QLabel* text = label(help, "Label2");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), "L5.0L5.1");
    EXPECT_EQ(text->pos(), QPoint(19, 13));
    EXPECT_EQ(text->width(), 505);
    EXPECT_EQ(text->font().pixelSize(), 19);
    EXPECT_EQ(text->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(help->width(), 543 + 3);
    EXPECT_EQ(help->height(), text->height() + 53);

    const QImage image = pictureOf(help, "Image2");
    ASSERT_EQ(image.size(), QSize(543, 270));
    const QColor left = image.pixelColor(0, 135);
    const QColor right = image.pixelColor(542, 135);
    EXPECT_GT(left.green(), left.red());
    EXPECT_GT(left.green(), left.blue());
    EXPECT_GT(right.red(), right.green());
    EXPECT_GT(right.green(), right.blue());
    // Slightly diagonal: lower down, the same column is further towards orange-brown.
    EXPECT_GT(image.pixelColor(271, 269).red(), image.pixelColor(271, 0).red());
    // White text stays readable on both ends: no channel near white.
    EXPECT_LT(std::max({left.red(), left.green(), left.blue()}), 160);
    EXPECT_LT(std::max({right.red(), right.green(), right.blue()}), 200);
    expectCommandDiscipline(help);
}

TEST_F(AboutTest, LongerTextsMakeTheWindowTallerAndStayPlain) {
    kov::ShellImage shell = numbered_shell("eng English");
    // Items as long as a shell slot holds, with markup and '&' that must show as they stand.
    QString item = QStringLiteral("<b>words</b> & ");
    while (item.size() + 6 <= 255) {
        item += QStringLiteral("words ");
    }
    for (auto& list : shell.lists) {
        for (auto& text : list) {
            text = item.toStdString();
        }
    }
    start(shell);

    TfrmHelp* help = open("N101");
    ASSERT_NE(help, nullptr);
    const int sum = expectSystemLabels(
        help, {item.repeated(6), item.repeated(2), item.repeated(4), item, item});
    QLabel* first = label(help, "Label11");
    EXPECT_GT(first->height(), 4 * first->fontMetrics().height());
    EXPECT_EQ(help->height(), sum + 62);
    EXPECT_GT(help->height(), 570);
    EXPECT_EQ(pictureOf(help, "Image1").size(), QSize(835, 570));
    expectCommandDiscipline(help);

    help = open("N102");
    ASSERT_NE(help, nullptr);
    QLabel* text = label(help, "Label2");
    EXPECT_GT(text->height(), 2 * text->fontMetrics().height());
    EXPECT_EQ(help->height(), text->height() + 53);
    expectCommandDiscipline(help);
}

TEST(JpegImage, DataThatIsNoJpegGivesANullImage) {
    const unsigned char noise[] = {0xFF, 0xD8, 0x00, 0x12, 0x34, 0x56, 0x78, 0x9A};
    EXPECT_TRUE(decodeJpeg(noise).isNull());
    EXPECT_TRUE(decodeJpeg({}).isNull());
    const auto picture = aboutPictureJpeg(AboutPicture::Developer);
    EXPECT_TRUE(decodeJpeg(picture.first(picture.size() / 8)).isNull());
}
