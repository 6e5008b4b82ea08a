// SPDX-License-Identifier: MIT
// Under a dark theme: the window takes the theme's button face, but where it fixes a background
// it fixes the text colour too, checked on the rendered pixels: black captions on white (grey
// when disabled), the red status, the white plot surface with its black frame.
#include <QLineEdit>
#include <QPalette>

#include "window_fixture.h"

namespace kurvilo {
namespace {

// What a rendered caption is made of.
struct Pixels {
    QColor corner;      // the background at the top left
    int darkest = 255;  // the lowest grey level
    int redText = 0;    // strongly red pixels
};

// The widget as its window shows it.
Pixels pixelsOf(QWidget* widget) {
    QWidget* window = widget->window();
    const QImage picture =
        window->grab(QRect(widget->mapTo(window, QPoint(0, 0)), widget->size())).toImage();
    Pixels pixels;
    pixels.corner = picture.pixelColor(0, 0);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor colour = picture.pixelColor(x, y);
            pixels.darkest = std::min(pixels.darkest, qGray(colour.rgb()));
            if (colour.red() > 200 && colour.green() < 80 && colour.blue() < 80) ++pixels.redText;
        }
    }
    return pixels;
}

class DarkTheme : public WindowTest {
  protected:
    void SetUp() override {
        light = QApplication::palette();
        QApplication::setPalette(darkPalette());
        WindowTest::SetUp();
    }
    void TearDown() override {
        WindowTest::TearDown();
        QApplication::setPalette(light);
    }

    // Every caption the window draws on white: the main window's and the keypad's.
    std::vector<QWidget*> captionsOnWhite() {
        std::vector<QWidget*> captions;
        for (const char* name : {"Label6", "Label7", "Label1", "Label2", "Label4", "Label5"})
            captions.push_back(inMain<QWidget>(name));
        for (const char* name :
             {"LabeledEdit12", "LabeledEdit13", "LabeledEdit15", "LabeledEdit16"})
            captions.push_back(inMain<LabeledEdit>(name)->editLabel());
        captions.push_back(inKeypad<QWidget>("Label1"));
        return captions;
    }

    QPalette light;
};

TEST_F(DarkTheme, CaptionsOnWhiteStayBlack) {
    for (QWidget* caption : captionsOnWhite()) {
        SCOPED_TRACE(caption->objectName().toStdString());
        const Pixels pixels = pixelsOf(caption);
        EXPECT_EQ(pixels.corner, QColor(Qt::white));
        EXPECT_LT(pixels.darkest, 60) << "the caption's text is not black";
    }
}

TEST_F(DarkTheme, DisabledCaptionsOnWhiteStayGrey) {
    inMain<RadioGroup>("RadioGroup1")->item(2)->click();  // CartesianCurve
    for (const char* name : {"LabeledEdit12", "LabeledEdit13"}) {
        SCOPED_TRACE(name);
        QWidget* caption = inMain<LabeledEdit>(name)->editLabel();
        ASSERT_FALSE(caption->isEnabled());
        const Pixels pixels = pixelsOf(caption);
        EXPECT_EQ(pixels.corner, QColor(Qt::white));
        EXPECT_LT(pixels.darkest, 215) << "the disabled caption vanished into the white";
        // Grey dark enough to read (contrast_test.cpp), but not the black of an enabled one.
        EXPECT_GT(pixels.darkest, 60) << "the disabled caption looks enabled";
    }
}

TEST_F(DarkTheme, TheStatusStaysRedOnTheThemesBackground) {
    inMain<QLineEdit>("Edit1")->setText("1/0");
    inMain<QLineEdit>("Edit2")->setText("0");
    click("Button1");
    form1->Timer1Timer();
    auto* status = inMain<QLabel>("Label3");
    ASSERT_EQ(status->text(), "エラー");
    const Pixels pixels = pixelsOf(status);
    EXPECT_GT(pixels.redText, 20);
    EXPECT_EQ(pixels.corner, darkPalette().color(QPalette::Button));
}

TEST_F(DarkTheme, TheWindowTakesTheThemesButtonFaceAndTheSurfaceStaysWhite) {
    const QImage window = form1->grab().toImage();
    EXPECT_EQ(window.pixelColor(1, 1), darkPalette().color(QPalette::Button));
    EXPECT_TRUE(pictureIs(shownPicture(), onFrame, qRgb(0, 0, 0)));
}

using ThemeChange = WindowTest;

TEST_F(ThemeChange, AWindowMadeInALightThemeFollowsASwitchToDark) {
    const QPalette light = QApplication::palette();
    QApplication::setPalette(darkPalette());
    const QImage window = form1->grab().toImage();
    const Pixels caption = pixelsOf(inMain<QWidget>("Label6"));
    const QImage keypad = form2->grab().toImage();
    QApplication::setPalette(light);

    EXPECT_EQ(window.pixelColor(1, 1), darkPalette().color(QPalette::Button));
    EXPECT_EQ(keypad.pixelColor(1, 1), darkPalette().color(QPalette::Button));
    EXPECT_EQ(caption.corner, QColor(Qt::white));
    EXPECT_LT(caption.darkest, 60);
}

}  // namespace
}  // namespace kurvilo
