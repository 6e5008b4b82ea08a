// SPDX-License-Identifier: MIT
// Disabled text reads at WCAG AA contrast (4.5 : 1) on what it is drawn on, measured on the
// rendered pixels of every control a run disables, under a light and a dark theme; the captions
// on white stay black on white.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <functional>

#include "window_fixture.h"

namespace kurvilo {
namespace {

// The control as drawn, four times as large: the strokes of its text, a pixel wide at their
// size, are drawn whole there, in the colour the text has.
QImage magnified(QWidget* control) {
    constexpr int kScale = 4;
    QImage image(control->size() * kScale, QImage::Format_RGB32);
    image.fill(control->window()->palette().color(QPalette::Window));
    QPainter painter(&image);
    painter.scale(kScale, kScale);
    control->render(&painter, QPoint(), QRegion(),
                    QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return image;
}

// The highest contrast between a pixel of the text and the background under that same pixel:
// the control drawn with its text and drawn once more without it.
double textContrast(QWidget* control, const std::function<void(bool withText)>& show) {
    const QImage with = magnified(control);
    show(false);
    const QImage without = magnified(control);
    show(true);
    double best = 0;
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            const QRgb ink = with.pixel(x, y);
            const QRgb ground = without.pixel(x, y);
            if (ink != ground) best = std::max(best, contrastRatio(QColor(ink), QColor(ground)));
        }
    }
    return best;
}

// Hides and shows again the text a control draws; false when it draws none.
std::function<void(bool)> textOf(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->text().isEmpty()) return nullptr;
        return [label, text = label->text()](bool on) { label->setText(on ? text : QString()); };
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        return [button, text = button->text()](bool on) { button->setText(on ? text : QString()); };
    }
    if (auto* box = qobject_cast<QGroupBox*>(control)) {
        if (box->title().isEmpty()) return nullptr;
        return [box, text = box->title()](bool on) { box->setTitle(on ? text : QString()); };
    }
    if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        return [spin, value = spin->value()](bool on) {
            spin->findChild<QLineEdit*>()->setText(on ? QString::number(value) : QString());
            if (on) spin->setValue(value);
        };
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (edit->text().isEmpty() || qobject_cast<QSpinBox*>(edit->parentWidget())) return nullptr;
        return [edit, text = edit->text()](bool on) { edit->setText(on ? text : QString()); };
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const int item = combo->currentIndex();
        return [combo, item, text = combo->currentText()](bool on) {
            combo->setItemText(item, on ? text : QString());
        };
    }
    return nullptr;
}

class DisabledText : public WindowTest, public testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        theme = QApplication::palette();
        if (GetParam()) QApplication::setPalette(darkPalette());
        WindowTest::SetUp();
        inMain<QLineEdit>("Edit1")->setText("-y");
        inMain<QLineEdit>("Edit2")->setText("-x");
        click("Button1");  // a run disables the settings
    }
    void TearDown() override {
        WindowTest::TearDown();
        QApplication::setPalette(theme);
    }

    QPalette theme;
};

TEST_P(DisabledText, ReadsAtLeastAtFourAndAHalfToOneOnItsBackground) {
    int checked = 0;
    for (QWidget* control : form1->findChildren<QWidget*>()) {
        if (control->window() != form1 || control->isEnabled() || !control->isVisibleTo(form1))
            continue;
        const std::function<void(bool)> show = textOf(control);
        if (!show) continue;
        ++checked;
        const double contrast = textContrast(control, show);
        EXPECT_GE(contrast, 4.5) << control->objectName().toStdString() << " "
                                 << control->metaObject()->className();
    }
    // Labels, fields, combo boxes, spin boxes, buttons, check boxes, radio items, group titles.
    EXPECT_GT(checked, 30);
}

TEST_P(DisabledText, TheKeypadsDisabledKeysReadToo) {
    click("Button2");
    inMain<RadioGroup>("RadioGroup1")->item(3)->click();  // PolarCurve: four variable keys off
    int checked = 0;
    withKeypad("Button3", [&] {
        (void)form2->grab();  // the paint that disables the variable keys
        for (QPushButton* key :
             {form2->Button12, form2->Button13, form2->Button14, form2->Button16}) {
            ASSERT_FALSE(key->isEnabled());
            ++checked;
            EXPECT_GE(textContrast(key, textOf(key)), 4.5) << key->objectName().toStdString();
        }
    });
    EXPECT_EQ(checked, 4);
}

TEST_P(DisabledText, CaptionsOnWhiteKeepTheirWhiteBackground) {
    for (const char* name : {"Label6", "Label2", "Label4"}) {
        auto* label = inMain<QLabel>(name);
        ASSERT_FALSE(label->isEnabled());
        EXPECT_EQ(label->grab().toImage().pixelColor(0, 0), QColor(Qt::white)) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(EachTheme, DisabledText, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Dark" : "Light");
                         });

}  // namespace
}  // namespace kurvilo
