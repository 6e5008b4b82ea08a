// SPDX-License-Identifier: MIT
// Start, stop and the ticks through the window: the Idle and Running states, the picture the
// start paints, the typical road through Timer1Timer, the failure path and the zoom centres.
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest/QTest>

#include "window_fixture.h"

namespace kurvilo {
namespace {

class Run : public WindowTest {
  protected:
    // The settings that start disables and stop enables again.
    std::vector<QWidget*> settings() {
        return {inMain<QWidget>("GroupBox1"),   inMain<QWidget>("GroupBox2"),
                inMain<QWidget>("GroupBox3"),   inMain<QWidget>("GroupBox5"),
                inMain<QWidget>("RadioGroup1"), inMain<QWidget>("Button1")};
    }

    void expectIdle(bool saveEnabled) {
        for (QWidget* setting : settings()) {
            SCOPED_TRACE(setting->objectName().toStdString());
            EXPECT_TRUE(setting->isEnabled());
        }
        EXPECT_FALSE(timer()->isActive());
        EXPECT_EQ(inMain<QWidget>("Button16")->isEnabled(), saveEnabled);
        EXPECT_TRUE(inMain<QWidget>("Button2")->isEnabled());
    }

    void expectRunning() {
        for (QWidget* setting : settings()) {
            SCOPED_TRACE(setting->objectName().toStdString());
            EXPECT_FALSE(setting->isEnabled());
        }
        // Disabling a group disables what is inside it.
        EXPECT_FALSE(inMain<QWidget>("Edit1")->isEnabled());
        EXPECT_FALSE(inMain<QWidget>("SpinEdit1")->isEnabled());
        EXPECT_TRUE(timer()->isActive());
        EXPECT_FALSE(inMain<QWidget>("Button16")->isEnabled());
        EXPECT_TRUE(inMain<QWidget>("Button2")->isEnabled());
    }

    void typeTypicalRoad() {
        inMain<QLineEdit>("Edit1")->setText("-y");
        inMain<QLineEdit>("Edit2")->setText("-x");
        inMain<QLineEdit>("LabeledEdit16")->setText("5");
        inMain<QLineEdit>("LabeledEdit12")->setText("5");
    }

    std::vector<std::string> values() { return rows(inMain<ListBox>("ListBox1")); }
    std::vector<std::string> pixel() { return rows(inMain<ListBox>("ListBox3")); }
};

TEST_F(Run, StartEntersRunningAndStopReturnsToIdleWithSaveEnabled) {
    expectIdle(false);
    click("Button1");
    expectRunning();
    click("Button2");
    expectIdle(true);
}

TEST_F(Run, StopWithoutARunEnablesSave) {
    click("Button2");
    expectIdle(true);
}

TEST_F(Run, StartPaintsTheGridAndClearsTheLastRun) {
    inMain<QLabel>("Label3")->setText("エラー");
    inMain<ListBox>("ListBox1")->setTexts({"1", "2", "3", "4", "5"});
    inMain<ListBox>("ListBox3")->setTexts({"10", "20"});
    inMain<QWidget>("Shape1")->show();
    click("Button1");
    EXPECT_TRUE(pictureIs(shownPicture(), onGrid, qRgb(192, 192, 192)));
    EXPECT_TRUE(inMain<QLabel>("Label3")->text().isEmpty());
    EXPECT_TRUE(values().empty());
    EXPECT_TRUE(pixel().empty());
    EXPECT_TRUE(inMain<QWidget>("Shape1")->isHidden());
    EXPECT_EQ(tagOf(timer()), 0);
    // Start reads nothing it would check: the first tick has not come yet.
    EXPECT_EQ(timer()->interval(), 100);
}

TEST_F(Run, TypicalRoadFirstTickSeedsStepsAndPlacesTheMarker) {
    typeTypicalRoad();
    click("Button1");
    form1->Timer1Timer();
    EXPECT_EQ(values(), (std::vector<std::string>{"-0.05", "4.9995", "5", "0.05", "0.01"}));
    EXPECT_EQ(pixel(), (std::vector<std::string>{"251", "201"}));
    EXPECT_EQ(tagOf(timer()), 2);
    EXPECT_EQ(timer()->interval(), 10);  // "1/100s"
    EXPECT_TRUE(timer()->isActive());
    auto* marker = inMain<QWidget>("Shape1");
    EXPECT_FALSE(marker->isHidden());
    EXPECT_EQ(marker->pos(), QPoint(251, 201));
    // The axes lie at pixel 200; the first segment has zero length.
    const QImage picture = shownPicture();
    EXPECT_EQ(picture.pixel(200, 37) | 0xFF000000u, qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(37, 200) | 0xFF000000u, qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(251, 201) | 0xFF000000u, qRgb(255, 255, 255));
    EXPECT_TRUE(inMain<QLabel>("Label3")->text().isEmpty());
}

TEST_F(Run, TypicalRoadSecondTickStartsFromTheListedValues) {
    typeTypicalRoad();
    click("Button1");
    form1->Timer1Timer();
    form1->Timer1Timer();
    const std::vector<std::string> second = values();
    ASSERT_EQ(second.size(), 5u);
    EXPECT_EQ(second[4], "0.02");
    // The segment from the start pixel now reaches the pixel of (4.9995, 0.05).
    EXPECT_EQ(shownPicture().pixel(251, 201) | 0xFF000000u, qRgb(0, 0, 0));
}

TEST_F(Run, TheTimerDrivesTheTicks) {
    typeTypicalRoad();
    click("Button1");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return values().size() == 5 && values()[4] == "0.02"; }, 5000));
    click("Button2");
    const std::vector<std::string> stopped = values();
    QTest::qWait(50);
    EXPECT_EQ(values(), stopped);  // no tick after the stop
    expectIdle(true);
}

TEST_F(Run, AFailingFirstTickShowsErrorAndStops) {
    typeTypicalRoad();
    inMain<QLineEdit>("Edit1")->setText("1/0");
    click("Button1");
    form1->Timer1Timer();
    EXPECT_EQ(inMain<QLabel>("Label3")->text(), "エラー");
    expectIdle(true);
    EXPECT_EQ(values(), (std::vector<std::string>{"0", "5", "5", "0", "0"}));
    EXPECT_TRUE(pixel().empty());
    EXPECT_EQ(shownPicture().pixel(200, 37) | 0xFF000000u, qRgb(0, 0, 0));  // axes stay

    // The next start clears the message.
    inMain<QLineEdit>("Edit1")->setText("-y");
    click("Button1");
    EXPECT_TRUE(inMain<QLabel>("Label3")->text().isEmpty());
}

TEST_F(Run, AFailedTickTellsWhyInTheStatusTooltipUntilTheNextStart) {
    typeTypicalRoad();
    inMain<QLineEdit>("Edit2")->setText("1/(t-0.02)");
    click("Button1");
    for (int tick = 0; tick < 3; ++tick)
        form1->Timer1Timer();
    auto* status = inMain<QLabel>("Label3");
    EXPECT_EQ(status->text(), "エラー");
    const std::string why =
        "0 で割りました。\nEZeroDivide: Floating point division by zero (tick 3, t = 0.02)";
    EXPECT_EQ(status->toolTip().toStdString(), why);
    EXPECT_EQ(status->accessibleDescription().toStdString(), why);

    click("Button1");
    EXPECT_TRUE(status->toolTip().isEmpty());
    EXPECT_TRUE(status->accessibleDescription().isEmpty());
}

TEST_F(Run, AFailureOfTheStartValuesNamesItsTextInTheTooltip) {
    inMain<QLineEdit>("LabeledEdit15")->setText("abc");
    inMain<QLineEdit>("Edit1")->setText("0");
    inMain<QLineEdit>("Edit2")->setText("0");
    click("Button1");
    form1->Timer1Timer();
    EXPECT_EQ(
        inMain<QLabel>("Label3")->toolTip().toStdString(),
        "「abc」は数値として読めません。\nEConvertError: 'abc' is not a valid floating point value "
        "(tick 1, t = 0)");
}

TEST_F(Run, AStopWithoutAFailureLeavesNoTooltip) {
    typeTypicalRoad();
    click("Button1");
    form1->Timer1Timer();
    click("Button2");
    EXPECT_TRUE(inMain<QLabel>("Label3")->toolTip().isEmpty());
}

TEST_F(Run, AnInitialValueThatIsNoNumberFailsTheFirstTick) {
    inMain<QLineEdit>("LabeledEdit15")->setText("abc");
    inMain<QLineEdit>("Edit1")->setText("0");
    inMain<QLineEdit>("Edit2")->setText("0");
    click("Button1");
    form1->Timer1Timer();
    EXPECT_EQ(inMain<QLabel>("Label3")->text(), "エラー");
    EXPECT_EQ(values(), (std::vector<std::string>{"abc", "0", "0", "0", "0"}));
    expectIdle(true);
}

TEST_F(Run, ConstantsOfTheKeypadFeedEveryTick) {
    form2->LabeledEdit1->setText("2");  // a
    inMain<QLineEdit>("Edit1")->setText("a");
    inMain<QLineEdit>("Edit2")->setText("0");
    click("Button1");
    form1->Timer1Timer();
    ASSERT_EQ(values().size(), 5u);
    EXPECT_EQ(values()[2], "0.02");  // vy = 0 + a * dt
    form2->LabeledEdit1->setText("-4");
    form1->Timer1Timer();
    EXPECT_EQ(values()[2], "-0.02");
}

struct ZoomCase {
    bool zoomX;
    bool zoomY;
    int centreX, halfX, centreY, halfY;  // after the start
};

void PrintTo(const ZoomCase& zoom, std::ostream* os) {
    *os << "zoom X " << (zoom.zoomX ? "on" : "off") << ", zoom Y " << (zoom.zoomY ? "on" : "off");
}

std::string zoomName(const testing::TestParamInfo<ZoomCase>& info) {
    return std::string(info.param.zoomX ? "ZoomX" : "NoZoomX") +
           (info.param.zoomY ? "ZoomY" : "NoZoomY");
}

class ZoomCentres : public Run, public testing::WithParamInterface<ZoomCase> {};

TEST_P(ZoomCentres, StartZeroesTheCentreOfEachAxisWhoseZoomIsOff) {
    const ZoomCase& expected = GetParam();
    inMain<QCheckBox>("CheckBox1")->setChecked(expected.zoomX);
    inMain<QCheckBox>("CheckBox2")->setChecked(expected.zoomY);
    inMain<QSpinBox>("SpinEdit1")->setValue(7);
    inMain<QSpinBox>("SpinEdit2")->setValue(3);
    inMain<QSpinBox>("SpinEdit3")->setValue(-9);
    inMain<QSpinBox>("SpinEdit4")->setValue(4);
    click("Button1");
    EXPECT_EQ(inMain<QSpinBox>("SpinEdit1")->value(), expected.centreX);
    EXPECT_EQ(inMain<QSpinBox>("SpinEdit2")->value(), expected.halfX);
    EXPECT_EQ(inMain<QSpinBox>("SpinEdit3")->value(), expected.centreY);
    EXPECT_EQ(inMain<QSpinBox>("SpinEdit4")->value(), expected.halfY);
}

INSTANTIATE_TEST_SUITE_P(EachZoomSetting, ZoomCentres,
                         testing::Values(ZoomCase{false, false, 0, 3, 0, 4},
                                         ZoomCase{true, false, 7, 3, 0, 4},
                                         ZoomCase{false, true, 0, 3, -9, 4},
                                         ZoomCase{true, true, 7, 3, -9, 4}),
                         zoomName);

TEST_F(Run, TheDecimalSeparatorFollowsTheLocale) {
    EXPECT_EQ(decimalSeparator(), U'.');
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(form1, &change);
    EXPECT_EQ(decimalSeparator(), U',');
    QLocale::setDefault(QLocale::c());
    QApplication::sendEvent(form1, &change);
    EXPECT_EQ(decimalSeparator(), U'.');
}

}  // namespace
}  // namespace kurvilo
