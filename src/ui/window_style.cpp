// SPDX-License-Identifier: MIT
#include "ui/window_style.h"

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace kurvilo {

namespace {

const QStringList& faceFamilies() {
    static const QStringList families{
        QStringLiteral("ＭＳ Ｐゴシック"),  QStringLiteral("MS PGothic"),
        QStringLiteral("IPAPGothic"),       QStringLiteral("IPAGothic"),
        QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
        QStringLiteral("TakaoPGothic"),
    };
    return families;
}

QFont face(int pixelSize, bool bold, QFont::StyleStrategy strategy) {
    QFont font;
    font.setFamilies(faceFamilies());
    font.setStyleHint(QFont::SansSerif, strategy);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

}  // namespace

QFont uiFont(int pixelSize, bool bold) {
    return face(pixelSize, bold, QFont::NoFontMerging);
}

QFont fieldFont(int pixelSize, bool bold) {
    return face(pixelSize, bold, QFont::PreferDefault);
}

void applyWindowStyle(QWidget* window) {
    window->setFont(uiFont(12));
    window->setAutoFillBackground(true);
    applyButtonFace(window);
}

namespace {

// Group captions sit on the frame line, so the controls fit at their places below it. A control
// styled here takes its colours from the sheet, not from its palette: their disabled text is
// given here too.
QString windowStyleSheet(const QColor& disabledCaption, const QColor& disabledButtonText) {
    return QStringLiteral(
               "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
               "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"
               "QGroupBox:disabled { color: %1; }"
               "QPushButton { padding: 0px; }"
               "QPushButton:disabled { color: %2; }")
        .arg(disabledCaption.name(), disabledButtonText.name());
}

}  // namespace

namespace {

// Set on a control whose colours are its own whatever the theme (black on white, red).
constexpr char kFixedColours[] = "kurvilo.fixedColours";

// The control's disabled text made readable on what it is drawn on: a caption on its own
// background or else the window's face, a button's text on the button, a field's on its base.
// The theme's colours come from the application, as the control would have them.
void makeDisabledTextReadable(QWidget* control, const QColor& face) {
    if (control->property(kFixedColours).toBool()) return;
    const QPalette theme = QApplication::palette(control);
    const QColor captionGround =
        control->autoFillBackground()
            ? control->palette().color(QPalette::Disabled, QPalette::Window)
            : face;
    const std::pair<QPalette::ColorRole, QColor> texts[] = {
        {QPalette::WindowText, captionGround},
        {QPalette::ButtonText, theme.color(QPalette::Disabled, QPalette::Button)},
        {QPalette::Text, theme.color(QPalette::Disabled, QPalette::Base)}};
    QPalette palette = control->palette();
    bool changed = false;
    for (const auto& [role, ground] : texts) {
        const QColor readable = readableDisabled(theme.color(QPalette::Disabled, role),
                                                 theme.color(QPalette::Active, role), ground);
        if (palette.color(QPalette::Disabled, role) == readable) continue;
        palette.setColor(QPalette::Disabled, role, readable);
        changed = true;
    }
    if (changed) control->setPalette(palette);
}

}  // namespace

void applyButtonFace(QWidget* window) {
    QPalette palette = window->palette();
    const QPalette theme = QPalette();  // the application's, without this window's own colours
    bool changed = false;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor face = theme.color(group, QPalette::Button);
        if (palette.color(group, QPalette::Window) == face) continue;
        palette.setColor(group, QPalette::Window, face);
        changed = true;
    }
    // Setting the palette announces a change of it again: only a real change is set.
    if (changed) window->setPalette(palette);

    const QColor face = theme.color(QPalette::Disabled, QPalette::Button);
    const QString sheet = windowStyleSheet(
        readableDisabled(theme.color(QPalette::Disabled, QPalette::WindowText),
                         theme.color(QPalette::Active, QPalette::WindowText), face),
        readableDisabled(theme.color(QPalette::Disabled, QPalette::ButtonText),
                         theme.color(QPalette::Active, QPalette::ButtonText), face));
    if (window->styleSheet() != sheet) window->setStyleSheet(sheet);

    // A control under a style sheet takes no colours from its parent: each is told its own.
    makeDisabledTextReadable(window, face);
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() == window) makeDisabledTextReadable(control, face);
    }
}

void paintBlackOnWhite(QWidget* label) {
    QPalette palette = label->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, Qt::white);
        palette.setColor(group, QPalette::WindowText, Qt::black);
    }
    // The grey of a disabled caption on white, as the light theme has it, dark enough to read.
    palette.setColor(QPalette::Disabled, QPalette::WindowText,
                     readableDisabled(QColor(190, 190, 190), Qt::black, Qt::white));
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    label->setProperty(kFixedColours, true);
}

namespace {

// WCAG's relative luminance of an sRGB colour.
double luminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableDisabled(const QColor& disabled, const QColor& enabled, const QColor& background) {
    // Toward the enabled colour in steps of 1/64, in whole 8-bit levels as it will be drawn:
    // still unlike the enabled colour, but readable.
    const auto channel = [](int from, int to, int step) { return from + (to - from) * step / 64; };
    for (int step = 0; step <= 64; ++step) {
        const QColor mix(channel(disabled.red(), enabled.red(), step),
                         channel(disabled.green(), enabled.green(), step),
                         channel(disabled.blue(), enabled.blue(), step));
        if (contrastRatio(mix, background) >= kDisabledContrast) return mix;
    }
    return enabled;
}

void paintRedText(QWidget* label) {
    QPalette palette = label->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::WindowText, Qt::red);
    label->setPalette(palette);
    label->setProperty(kFixedColours, true);
}

}  // namespace kurvilo
