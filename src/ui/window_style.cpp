// SPDX-License-Identifier: MIT
#include "ui/window_style.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
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

// Narrower and narrower renderings of the one face, tried in this order until a caption fits:
// a little less room between the letters first, then the glyphs condensed.
struct Tightening {
    int stretch;    // percent of the face's width
    qreal spacing;  // pixels added after each letter
};

constexpr Tightening kTightenings[] = {
    {100, 0},   {100, -0.5}, {100, -1},  {95, -0.5}, {90, -0.5}, {85, -0.5},
    {80, -0.5}, {75, -0.5},  {70, -0.5}, {65, -0.5}, {60, -0.5},
};

// The font without any tightening of an earlier fit.
QFont untightened(QFont font) {
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    font.setStretch(QFont::AnyStretch);
    return font;
}

QFont tightened(const QFont& base, const Tightening& tightening) {
    QFont font = base;
    if (tightening.spacing != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, tightening.spacing);
    if (tightening.stretch != 100) font.setStretch(tightening.stretch);
    return font;
}

// Where a label may place its text: left (the designed place) or, when the face's glyphs reach a
// little beyond their advance, centred; top to bottom as the glyphs need it.
constexpr Qt::Alignment kHorizontalChoices[] = {Qt::AlignLeft, Qt::AlignHCenter};
constexpr Qt::Alignment kVerticalChoices[] = {Qt::AlignVCenter, Qt::AlignBottom, Qt::AlignTop};

// Where a label draws its text, and clips it: its contents inside the margin.
QRect labelTextBox(const QLabel* label, QSize size) {
    QRect box = QRect(QPoint(0, 0), size).marginsRemoved(label->contentsMargins());
    const int margin = label->margin();
    return box.adjusted(margin, margin, -margin, -margin);
}

void applyLabelFit(QLabel* label, const QFont& font, Qt::Alignment alignment) {
    if (label->font() != font) label->setFont(font);
    label->setIndent(0);
    label->setAlignment(alignment);
}

// The first placement of the caption in a label of `size` that shows it whole.
bool placeInLabel(QLabel* label, const QFont& font, QSize size) {
    const QRect box = labelTextBox(label, size);
    for (Qt::Alignment horizontal : kHorizontalChoices) {
        for (Qt::Alignment vertical : kVerticalChoices) {
            if (textFits(font, label->text(), box, int(horizontal | vertical))) {
                applyLabelFit(label, font, horizontal | vertical);
                return true;
            }
        }
    }
    return false;
}

// A fixed label keeps its size: the face narrows until the caption fits.
bool fitFixedLabel(QLabel* label, const QFont& base) {
    for (const Tightening& tightening : kTightenings) {
        if (placeInLabel(label, tightened(base, tightening), label->size())) return true;
    }
    return false;
}

// Any other label takes the size of its caption: the advance, with a pixel or two where the
// glyphs reach beyond it, and the face's pixel height where the glyphs leave room.
bool fitNaturalLabel(QLabel* label, const QFont& base) {
    const QFontMetricsF metrics(base);
    const QMargins margins = label->contentsMargins();
    const int frameWidth = margins.left() + margins.right() + 2 * label->margin();
    const int frameHeight = margins.top() + margins.bottom() + 2 * label->margin();
    const int advance = int(std::ceil(metrics.horizontalAdvance(label->text())));
    const int lowest = base.pixelSize() > 0 ? base.pixelSize() : int(std::ceil(metrics.height()));
    const int highest = int(std::ceil(metrics.height())) + 2;
    for (int height = lowest; height <= highest; ++height) {
        for (int extra = 0; extra <= 2; ++extra) {
            const QSize size(frameWidth + advance + extra, frameHeight + height);
            if (placeInLabel(label, base, size)) {
                label->resize(size);
                return true;
            }
        }
    }
    return false;
}

// Where a button draws its caption, and how.
QRect buttonTextBox(const QAbstractButton* button, int* flags) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    *flags = Qt::AlignCenter;
    if (qobject_cast<const QRadioButton*>(button) != nullptr) {
        element = QStyle::SE_RadioButtonContents;
        *flags = Qt::AlignLeft | Qt::AlignVCenter;
    } else if (qobject_cast<const QCheckBox*>(button) != nullptr) {
        element = QStyle::SE_CheckBoxContents;
        *flags = Qt::AlignLeft | Qt::AlignVCenter;
    }
    return button->style()->subElementRect(element, &option, button);
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

void setCaption(QLabel* label, const QString& caption) {
    label->setText(caption);
    fitCaption(label);
}

void setCaption(QAbstractButton* button, const QString& caption) {
    button->setText(caption);
    fitCaption(button);
}

void setCaption(QGroupBox* box, const QString& caption) {
    box->setTitle(caption);
    fitCaption(box);
}

void fitCaption(QLabel* label) {
    const QFont base = untightened(label->font());
    const bool fixedSize = label->minimumSize() == label->maximumSize();
    const bool fitted = fixedSize ? fitFixedLabel(label, base) : fitNaturalLabel(label, base);
    if (!fitted) {
        // Nothing fits: show it as it is; the layout tests name the caption.
        applyLabelFit(label, base, Qt::AlignLeft | Qt::AlignVCenter);
        if (!fixedSize) label->adjustSize();
    }
}

void fitCaption(QAbstractButton* button) {
    const QFont base = untightened(button->font());
    const QString text = button->text();
    for (const Tightening& tightening : kTightenings) {
        const QFont font = tightened(base, tightening);
        if (button->font() != font) button->setFont(font);
        int flags = 0;
        const QRect box = buttonTextBox(button, &flags);
        if (textFits(font, text, box, flags)) return;
    }
    button->setFont(base);
}

void fitCaption(QGroupBox* box) {
    // A group's font reaches every control inside it that has none of its own, so the title
    // keeps the face as it is; its captions are short enough for every group.
    box->setFont(untightened(box->font()));
}

bool textFits(const QFont& font, const QString& text, const QRect& box, int flags) {
    if (QFontMetricsF(font).horizontalAdvance(text) > box.width()) return false;
    if (text.isEmpty()) return true;
    // Draw it unclipped with room around it, then look for ink outside the box: there the
    // control would clip it.
    const int room = 2 * std::max(font.pixelSize(), 12);
    const QRect inside(QPoint(room, room), box.size());
    QImage canvas(box.size() + QSize(2 * room, 2 * room), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(inside, flags | Qt::TextDontClip, text);
    }
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        const bool rowInside = y >= inside.top() && y <= inside.bottom();
        for (int x = 0; x < canvas.width(); ++x) {
            if (qAlpha(row[x]) == 0) continue;
            if (!rowInside || x < inside.left() || x > inside.right()) return false;
        }
    }
    return true;
}

}  // namespace kurvilo
