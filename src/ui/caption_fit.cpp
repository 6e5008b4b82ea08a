// SPDX-License-Identifier: MIT
#include "ui/caption_fit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QLabel>
#include <QMargins>
#include <QPainter>
#include <QRadioButton>
#include <QRawFont>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "ui/components.h"

namespace kurvilo {

namespace {

// One rendering of a caption's face: narrower, with its letters closer, or smaller.
struct Tightening {
    int stretch;    // percent of the face's width
    qreal spacing;  // pixels added after each letter
};

// Narrower and narrower, tried in this order until a caption fits: a little less room between
// the letters first, then the glyphs condensed.
constexpr Tightening kTightenings[] = {
    {100, 0},   {100, -0.5}, {100, -1},  {95, -0.5}, {90, -0.5}, {85, -0.5},
    {80, -0.5}, {75, -0.5},  {70, -0.5}, {65, -0.5}, {60, -0.5},
};

// Smaller pixel sizes are tried down to this share of the designed one.
constexpr double kSmallestSize = 0.75;

// The designed face without any fitting of an earlier caption.
QFont untightened(QFont font, int pixelSize) {
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    font.setStretch(QFont::AnyStretch);
    font.setPixelSize(pixelSize);
    return font;
}

QFont tightened(const QFont& base, const Tightening& tightening) {
    QFont font = base;
    if (tightening.spacing != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, tightening.spacing);
    if (tightening.stretch != 100) font.setStretch(tightening.stretch);
    return font;
}

// The designed pixel size of a control's caption, kept across fittings that made it smaller.
constexpr char kDesignedSize[] = "kurvilo.captionPixelSize";

int designedPixelSize(QWidget* control) {
    const QVariant kept = control->property(kDesignedSize);
    if (kept.isValid()) return kept.toInt();
    const int size = control->font().pixelSize() > 0 ? control->font().pixelSize() : 12;
    control->setProperty(kDesignedSize, size);
    return size;
}

// The letters of the caption may come closer by this much at most (a negative spacing) and stay
// a pixel apart, or as close as the face sets them where that is closer: the narrowest gap
// between the ink of two neighbouring glyphs, less one pixel.
qreal closestSpacing(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    std::vector<std::pair<qreal, qreal>> inks;  // left and right of each glyph's ink, in order
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const QRectF ink = raw.boundingRect(glyphs[i]);
            if (ink.isEmpty()) continue;  // a blank
            inks.emplace_back(positions[i].x() + ink.left(), positions[i].x() + ink.right());
        }
    }
    std::sort(inks.begin(), inks.end());
    qreal narrowest = 1e9;
    for (std::size_t i = 1; i < inks.size(); ++i)
        narrowest = std::min(narrowest, inks[i].first - inks[i - 1].second);
    if (narrowest > 1e8) return 0;  // one glyph or none: no gaps to close
    return -std::max<qreal>(0, narrowest - 1);
}

// Tries the renderings of `base` in order until `fits` accepts one: at the designed size the
// tightenings, then the letters closer still where their ink stays apart; then the same a pixel
// smaller, and so on. A size whose ink is taller than `height` is passed over at once: no
// tightening makes it lower. Returns whether one was accepted.
template <class Fits>
bool tryRenderings(const QFont& base, const QString& text, int height, Fits fits);

// The ink of `text` drawn in `font` with `flags` into `box`, unclipped: its bounding rectangle,
// or nothing for a caption without ink.
std::optional<QRect> inkOf(const QFont& font, const QString& text, const QRect& box, int flags) {
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
    int left = canvas.width(), right = -1, top = canvas.height(), bottom = -1;
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            if (qAlpha(row[x]) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return std::nullopt;
    return QRect(QPoint(left, top), QPoint(right, bottom))
        .translated(box.topLeft() - inside.topLeft());
}

template <class Fits>
bool tryRenderings(const QFont& base, const QString& text, int height, Fits fits) {
    const int designed = base.pixelSize();
    const int smallest = std::max(1, int(std::ceil(designed * kSmallestSize)));
    for (int size = designed; size >= smallest; --size) {
        QFont sized = base;
        sized.setPixelSize(size);
        const std::optional<QRect> ink =
            inkOf(sized, text, QRect(0, 0, 1, 1), Qt::AlignLeft | Qt::AlignTop);
        if (ink && ink->height() > height) continue;
        for (const Tightening& tightening : kTightenings) {
            if (fits(tightened(sized, tightening))) return true;
        }
        const qreal closest = closestSpacing(sized, text);
        for (qreal spacing = -1.5; spacing >= closest; spacing -= 0.5) {
            if (fits(tightened(sized, {100, spacing}))) return true;
        }
    }
    return false;
}

// Whether the caption's advance fits the box's width and its ink lies within `allowed`.
bool fitsIn(const QFont& font, const QString& text, const QRect& box, int flags,
            const QRect& allowed) {
    if (QFontMetricsF(font).horizontalAdvance(text) > box.width()) return false;
    const std::optional<QRect> ink = inkOf(font, text, box, flags);
    return !ink || allowed.contains(*ink);
}

// ---- Labels ----

// Where a label may place its text: left (the designed place) or, when the face's glyphs reach a
// little beyond their advance, centred; top to bottom as the glyphs need it.
constexpr Qt::Alignment kHorizontalChoices[] = {Qt::AlignLeft, Qt::AlignHCenter};

// How a label shows its caption: the font, the alignment, and the contents margins that move the
// line: with AlignTop a top margin moves it down, with AlignBottom a bottom margin moves it up
// (the label draws its line inside its contents, and clips it there).
struct LabelFit {
    QFont font;
    Qt::Alignment alignment;
    QMargins margins;
};

void apply(QLabel* label, const LabelFit& fit) {
    if (label->font() != fit.font) label->setFont(fit.font);
    label->setIndent(0);
    label->setMargin(0);
    label->setAlignment(fit.alignment);
    if (label->contentsMargins() != fit.margins) label->setContentsMargins(fit.margins);
}

// The first placement of the caption in a label of `size` that shows it whole: one of the
// alignments, else the line moved up or down just enough, as near the middle as it goes.
std::optional<LabelFit> placeInLabel(const QString& text, const QFont& font, QSize size) {
    if (QFontMetricsF(font).horizontalAdvance(text) > size.width()) return std::nullopt;
    const QRect whole(QPoint(0, 0), size);
    for (Qt::Alignment horizontal : kHorizontalChoices) {
        // The line's top and bottom as the two ends: the vertical place moves the ink only up and
        // down, by whole pixels.
        const std::optional<QRect> atTop = inkOf(font, text, whole, int(horizontal | Qt::AlignTop));
        if (!atTop) return LabelFit{font, horizontal | Qt::AlignVCenter, {}};
        if (atTop->height() > size.height()) return std::nullopt;
        if (atTop->left() < 0 || atTop->right() >= size.width()) continue;
        if (fitsIn(font, text, whole, int(horizontal | Qt::AlignVCenter), whole))
            return LabelFit{font, horizontal | Qt::AlignVCenter, {}};
        const std::optional<QRect> atBottom =
            inkOf(font, text, whole, int(horizontal | Qt::AlignBottom));
        if (whole.contains(*atBottom)) return LabelFit{font, horizontal | Qt::AlignBottom, {}};
        if (whole.contains(*atTop)) return LabelFit{font, horizontal | Qt::AlignTop, {}};
        // A margin moves the line by whole pixels: with AlignTop a top margin moves it down, with
        // AlignBottom a bottom margin up; the label clips to what lies inside the margins.
        std::optional<LabelFit> best;
        int bestDistance = 0;
        for (const bool top : {true, false}) {
            const QRect& ink = top ? *atTop : *atBottom;
            for (int margin = 1; margin < size.height(); ++margin) {
                const QRect contents =
                    top ? whole.adjusted(0, margin, 0, 0) : whole.adjusted(0, 0, 0, -margin);
                const QRect moved = ink.translated(0, top ? margin : -margin);
                if (!contents.contains(moved)) continue;
                const int distance = std::abs(moved.top() + moved.bottom() - (size.height() - 1));
                if (best && distance >= bestDistance) continue;
                bestDistance = distance;
                best = LabelFit{font, horizontal | (top ? Qt::AlignTop : Qt::AlignBottom),
                                top ? QMargins(0, margin, 0, 0) : QMargins(0, 0, 0, margin)};
            }
        }
        if (best) return best;
    }
    return std::nullopt;
}

// A label of fixed size keeps it: the face narrows, or as the last resort shrinks, until the
// caption fits.
bool fitFixedLabel(QLabel* label, const QFont& base) {
    return tryRenderings(base, label->text(), label->height(), [label](const QFont& font) {
        const std::optional<LabelFit> fit = placeInLabel(label->text(), font, label->size());
        if (fit) apply(label, *fit);
        return fit.has_value();
    });
}

// Any other label takes the size of its caption: its advance, with a pixel or two where the
// glyphs reach beyond it, up to its maximum width; as high as the face's pixel size.
bool fitNaturalLabel(QLabel* label, const QFont& base) {
    const int height = base.pixelSize();
    const int widest = label->maximumWidth();
    return tryRenderings(base, label->text(), height, [&](const QFont& font) {
        const int advance = int(std::ceil(QFontMetricsF(font).horizontalAdvance(label->text())));
        for (int extra = 0; extra <= 2 && advance + extra <= widest; ++extra) {
            const QSize size(std::max(advance + extra, 1), height);
            if (const std::optional<LabelFit> fit = placeInLabel(label->text(), font, size)) {
                apply(label, *fit);
                label->resize(size);
                return true;
            }
        }
        return false;
    });
}

// ---- Buttons ----

// Where a button's style draws its caption, and how.
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

void setCaption(QLabel* label, const QString& caption) {
    label->setText(caption);
    fitCaption(label);
}

void setCaption(QAbstractButton* button, const QString& caption) {
    button->setText(caption);
    fitCaption(button);
}

void setCaption(GroupBox* box, const QString& caption) {
    box->setTitle(caption);
    fitCaption(box);
}

void fitCaption(QLabel* label) {
    const QFont base = untightened(label->font(), designedPixelSize(label));
    const bool fixedSize = label->minimumSize() == label->maximumSize();
    const bool fitted = fixedSize ? fitFixedLabel(label, base) : fitNaturalLabel(label, base);
    if (!fitted) {
        // Nothing fits: show it as it is; the layout tests name the caption.
        apply(label, LabelFit{base, Qt::AlignLeft | Qt::AlignVCenter, {}});
        if (!fixedSize) label->resize(label->sizeHint().boundedTo(label->maximumSize()));
    }
}

void fitCaption(QAbstractButton* button) {
    const QFont base = untightened(button->font(), designedPixelSize(button));
    const QString text = button->text();
    int flags = 0;
    const int height = buttonTextBox(button, &flags).height();
    const bool fitted = tryRenderings(base, text, height, [button, &text](const QFont& font) {
        if (button->font() != font) button->setFont(font);
        int flags = 0;
        const QRect box = buttonTextBox(button, &flags);
        return fitsIn(font, text, box, flags, box);
    });
    if (!fitted) button->setFont(base);
}

void fitCaption(GroupBox* box) {
    const QFont base = untightened(box->font(), designedPixelSize(box));
    const QString text = box->title();
    const QRect room = box->captionRoom();
    const auto fits = [box, &text, &room](const QFont& font) {
        const QRect line(box->captionLeft(), 0, room.right() + 1 - box->captionLeft(),
                         int(std::ceil(QFontMetricsF(font).height())));
        if (QFontMetricsF(font).horizontalAdvance(text) > line.width()) return false;
        const std::optional<QRect> ink = inkOf(font, text, line, Qt::AlignLeft | Qt::AlignTop);
        if (!ink || ink->left() < room.left() || ink->right() > room.right() ||
            ink->height() > room.height())
            return false;
        // Where the style would put it, moved just enough to keep off the controls below.
        if (box->font() != font) box->setFont(font);
        box->setCaptionTop(std::clamp(0, room.top() - ink->top(), room.bottom() - ink->bottom()));
        return true;
    };
    if (text.isEmpty() || room.height() <= 0 || !tryRenderings(base, text, room.height(), fits)) {
        if (box->font() != base) box->setFont(base);
        box->setCaptionTop(0);
    }
}

void fitGroupCaptions(QWidget* window) {
    for (GroupBox* box : window->findChildren<GroupBox*>()) {
        if (box->window() == window) fitCaption(box);
    }
}

}  // namespace kurvilo
