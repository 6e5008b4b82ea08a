// SPDX-License-Identifier: MIT
// A tick whose formulas take long: the window stays painted, only "描写中止" and the close get
// through, and either ends the tick at once; the run then stops like a stop (no "エラー") and
// keeps what the tick before left. Failures of the evaluation still end the tick with "エラー".
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>

#include "ui/formula_worker.h"
#include "window_fixture.h"

namespace kurvilo {
namespace {

// A billion terms: minutes of work for the engine.
const char* const kBillionTerms = "Σ{n=1<>1000000000:1}";

// Counts the events of one kind that reach a widget, and notes when the last one came.
class EventWatch : public QObject {
  public:
    EventWatch(QWidget* widget, QEvent::Type type) : type_(type) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_) ++count;
        return false;
    }
    int count = 0;

  private:
    QEvent::Type type_;
};

class LongTick : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        // Should a stop not get through, closing the window ends the tick: the test then fails
        // on its timings instead of waiting minutes for the sum (long after any sound stop,
        // even in a sanitizer build).
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [this] { form1->close(); });
        watchdog.start(20000);
    }

    void TearDown() override {
        watchdog.stop();
        WindowTest::TearDown();
    }

    void typeRoad(const char* ay) {
        inMain<QLineEdit>("Edit1")->setText(QString::fromUtf8(ay));
        inMain<QLineEdit>("Edit2")->setText("-x");
        inMain<QLineEdit>("LabeledEdit16")->setText("5");
        inMain<QLineEdit>("LabeledEdit12")->setText("5");
    }

    // Presses "描写中止" the way a user does, with the mouse on the real button, and starts the
    // clock for the stop.
    void pressStop() {
        QTest::mouseClick(inMain<QPushButton>("Button2"), Qt::LeftButton);
        sincePress.start();
    }

    QElapsedTimer sincePress;
    QTimer watchdog;
};

TEST_F(LongTick, StopPressedDuringABillionTermSumStopsTheRunAtOnceWithoutError) {
    typeRoad(kBillionTerms);
    form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1));
    EventWatch paints(inMain<QWidget>("Image1"), QEvent::Paint);
    int paintsWhileWaiting = -1;
    qint64 stoppedAfter = -1;
    EventWatch saveEnabled(inMain<QWidget>("Button16"), QEvent::EnabledChange);

    click("Button1");
    // The first tick comes after 100 ms and waits for its formulas; meanwhile the window paints.
    QTimer::singleShot(150, form1, [&] { inMain<QWidget>("Image1")->update(); });
    QTimer::singleShot(200, form1, [&] {
        paintsWhileWaiting = paints.count;
        pressStop();
    });
    const bool stopped = QTest::qWaitFor(
        [&] {
            if (saveEnabled.count > 0 && stoppedAfter < 0) stoppedAfter = sincePress.elapsed();
            return saveEnabled.count > 0;
        },
        20000);

    ASSERT_TRUE(stopped) << "the run never stopped";
    EXPECT_GE(stoppedAfter, 0);
    EXPECT_LT(stoppedAfter, 100) << "the stop took " << stoppedAfter << " ms";
    EXPECT_GT(paintsWhileWaiting, 0) << "the surface was not painted while the tick waited";
    EXPECT_FALSE(timer()->isActive());
    EXPECT_TRUE(inMain<QLabel>("Label3")->text().isEmpty());
    EXPECT_TRUE(inMain<QLabel>("Label3")->toolTip().isEmpty());
    EXPECT_TRUE(inMain<QWidget>("Button1")->isEnabled());
    // The first tick seeded the state and drew the axes before it waited; nothing after.
    EXPECT_EQ(rows(inMain<ListBox>("ListBox1")),
              (std::vector<std::string>{"0", "5", "5", "0", "0"}));
    EXPECT_TRUE(rows(inMain<ListBox>("ListBox3")).empty());
    EXPECT_EQ(shownPicture().pixel(200, 37) | 0xFF000000u, qRgb(0, 0, 0));
}

TEST_F(LongTick, EscapePressedDuringABillionTermSumStopsTheRunAtOnce) {
    typeRoad(kBillionTerms);
    form1->show();
    QApplication::setActiveWindow(form1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form1));
    click("Button1");
    QTimer::singleShot(200, form1, [&] {
        ASSERT_TRUE(form1->formulaWorker().waitingLive());
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : form1, Qt::Key_Escape);
        sincePress.start();
    });
    form1->Timer1Timer();
    const qint64 stoppedAfter = sincePress.elapsed();

    EXPECT_TRUE(sincePress.isValid());
    EXPECT_LT(stoppedAfter, 100) << "the stop took " << stoppedAfter << " ms";
    EXPECT_FALSE(timer()->isActive());
    EXPECT_TRUE(inMain<QLabel>("Label3")->text().isEmpty());
    EXPECT_TRUE(inMain<QWidget>("Button16")->isEnabled());
}

TEST_F(LongTick, AStoppedLongTickKeepsTheListsAndThePictureOfTheTickBefore) {
    typeRoad("-y");
    click("Button1");
    form1->Timer1Timer();
    form1->Timer1Timer();
    const std::vector<std::string> values = rows(inMain<ListBox>("ListBox1"));
    const std::vector<std::string> pixel = rows(inMain<ListBox>("ListBox3"));
    const QImage picture = shownPicture();
    const QPoint marker = inMain<QWidget>("Shape1")->pos();

    inMain<QLineEdit>("Edit1")->setText(QString::fromUtf8(kBillionTerms));
    QTimer::singleShot(200, form1, [&] { pressStop(); });
    form1->Timer1Timer();
    const qint64 stoppedAfter = sincePress.elapsed();

    EXPECT_LT(stoppedAfter, 100) << "the stop took " << stoppedAfter << " ms";
    EXPECT_EQ(rows(inMain<ListBox>("ListBox1")), values);
    EXPECT_EQ(rows(inMain<ListBox>("ListBox3")), pixel);
    EXPECT_EQ(shownPicture(), picture);
    EXPECT_EQ(inMain<QWidget>("Shape1")->pos(), marker);
    EXPECT_TRUE(inMain<QLabel>("Label3")->text().isEmpty());
    EXPECT_TRUE(inMain<QLabel>("Label3")->toolTip().isEmpty());  // a stop is no failure
    EXPECT_FALSE(timer()->isActive());
    EXPECT_TRUE(inMain<QWidget>("Button16")->isEnabled());
}

TEST_F(LongTick, WhileATickWaitsOtherInputAndFurtherTicksGoNowhere) {
    typeRoad(kBillionTerms);
    click("Button1");
    auto* values = inMain<QListWidget>("ListBox2");
    bool nestedTickReturned = false;
    QTimer::singleShot(120, form1, [&] {
        // Neither a click on a list nor a key reaches it, and a tick arriving now is dropped.
        const QRect row = values->visualItemRect(values->item(2));
        QTest::mouseClick(values->viewport(), Qt::LeftButton, {}, row.center());
        QTest::keyClick(values, Qt::Key_Down);
        form1->Timer1Timer();
        nestedTickReturned = true;
    });
    QTimer::singleShot(200, form1, [&] {
        EXPECT_TRUE(nestedTickReturned);
        pressStop();
    });
    form1->Timer1Timer();
    EXPECT_TRUE(nestedTickReturned);
    EXPECT_LT(sincePress.elapsed(), 100);
    EXPECT_EQ(values->currentRow(), -1);
    EXPECT_TRUE(inMain<QLabel>("Label3")->text().isEmpty());
}

TEST_F(LongTick, ClosingTheWindowDuringALongTickEndsTheProgramPromptly) {
    typeRoad(kBillionTerms);
    form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1));
    click("Button1");
    QElapsedTimer sinceClose;
    QTimer::singleShot(250, form1, [&] {
        form1->close();
        sinceClose.start();
    });
    // The program's own event loop, which the last window's close ends.
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(20000);
    const int result = QApplication::exec();
    const qint64 endedAfter = sinceClose.elapsed();
    guard.stop();

    EXPECT_EQ(result, 0) << "the program did not end with the window";
    EXPECT_TRUE(sinceClose.isValid());
    EXPECT_LT(endedAfter, 100) << "the program ended " << endedAfter << " ms after the close";
    EXPECT_FALSE(timer()->isActive());
}

TEST_F(LongTick, AFailureDeepInALongSumEndsTheTickWithErrorAndItsDetail) {
    // Long enough to outlast the plain wait on most machines, then a division by zero.
    typeRoad("Σ{n=1<>1000000000:1/(n-400000)}");
    click("Button1");
    form1->Timer1Timer();
    EXPECT_EQ(inMain<QLabel>("Label3")->text(), "エラー");
    EXPECT_EQ(inMain<QLabel>("Label3")->toolTip().toStdString(),
              "0 で割りました。\nEZeroDivide: Floating point division by zero (tick 1, t = 0)");
    EXPECT_FALSE(timer()->isActive());
}

TEST_F(LongTick, ALocaleChangeDuringALongTickTakesEffectAfterIt) {
    typeRoad(kBillionTerms);
    click("Button1");
    char32_t separatorWhileWaiting = 0;
    QTimer::singleShot(150, form1, [&] {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QEvent change(QEvent::LocaleChange);
        QApplication::sendEvent(form1, &change);
        separatorWhileWaiting = decimalSeparator();
    });
    QTimer::singleShot(200, form1, [&] { pressStop(); });
    form1->Timer1Timer();
    EXPECT_EQ(separatorWhileWaiting, U'.');
    EXPECT_EQ(decimalSeparator(), U',');
}

}  // namespace
}  // namespace kurvilo
