// SPDX-License-Identifier: MIT
// Every caption of both windows shown whole, in every graph mode and in whichever Japanese face
// is installed (CI runs these tests once with each of IPAPGothic, Noto Sans CJK JP and VL
// PGothic as the only one): where the control draws it, its advance fits and no ink falls where
// the control clips; drawn, its ink is as high and as wide as the caption's own and in as many
// pieces ("・・・" shows three dots); every glyph comes from the one face; the labels keep their
// pixel heights; and no control covers a sibling, or a group's caption, except where the window
// places them so.
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGroupBox>
#include <QPainter>
#include <QRadioButton>
#include <QRawFont>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextLayout>
#include <set>
#include <utility>

#include "window_fixture.h"

namespace kurvilo {
namespace {

// Where a label or a button draws its caption, and how; found through the control and its
// style. `clip` is what the control shows of it.
struct CaptionPlace {
    QString text;
    QRect box;
    int flags = 0;
    QRect clip;
};

std::optional<CaptionPlace> captionPlace(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QRect box = label->contentsRect();
        box.adjust(label->margin(), label->margin(), -label->margin(), -label->margin());
        if (label->indent() > 0 && (label->alignment() & Qt::AlignLeft))
            box.setLeft(box.left() + label->indent());
        // A moved line: the contents may reach beyond the label, which shows only its own.
        return CaptionPlace{label->text(), box, int(label->alignment()), box & label->rect()};
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        QStyle::SubElement element = QStyle::SE_PushButtonContents;
        int flags = Qt::AlignCenter;
        if (qobject_cast<QRadioButton*>(button) != nullptr) {
            element = QStyle::SE_RadioButtonContents;
            flags = Qt::AlignLeft | Qt::AlignVCenter;
        } else if (qobject_cast<QCheckBox*>(button) != nullptr) {
            element = QStyle::SE_CheckBoxContents;
            flags = Qt::AlignLeft | Qt::AlignVCenter;
        }
        const QRect box = button->style()->subElementRect(element, &option, button);
        return CaptionPlace{button->text(), box, flags, box & button->rect()};
    }
    return std::nullopt;
}

// The number of ink pixels the text puts outside `clip` when drawn into `box` unclipped.
int inkOutside(const QFont& font, const CaptionPlace& place) {
    const int room = 48;
    const QPoint shift = QPoint(room, room) - place.box.topLeft();
    QImage canvas(place.box.size() + QSize(2 * room, 2 * room), QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(place.box.translated(shift), place.flags | Qt::TextDontClip, place.text);
    }
    const QRect shown = place.clip.translated(shift);
    int outside = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (qAlpha(canvas.pixel(x, y)) != 0 && !shown.contains(x, y)) ++outside;
        }
    }
    return outside;
}

// Drawn four times as large, a text's thinnest stroke is several pixels wide: where it lies no
// longer depends on where a pixel's edge falls.
constexpr int kScale = 4;

// Ink as drawn, magnified: where a text covers at least half a pixel.
struct Ink {
    QRect bounds;    // in magnified pixels
    int pieces = 0;  // runs of columns with ink: glyphs, or groups of touching glyphs
};

Ink inkOf(const std::vector<std::vector<bool>>& covered) {
    Ink ink;
    int left = INT_MAX, right = -1, top = INT_MAX, bottom = -1;
    std::vector<bool> column(covered.empty() ? 0 : covered[0].size(), false);
    for (std::size_t y = 0; y < covered.size(); ++y) {
        for (std::size_t x = 0; x < covered[y].size(); ++x) {
            if (!covered[y][x]) continue;
            column[x] = true;
            left = std::min(left, int(x));
            right = std::max(right, int(x));
            top = std::min(top, int(y));
            bottom = std::max(bottom, int(y));
        }
    }
    for (std::size_t x = 0; x < column.size(); ++x) {
        if (column[x] && (x == 0 || !column[x - 1])) ++ink.pieces;
    }
    if (right >= 0) ink.bounds = QRect(QPoint(left, top), QPoint(right, bottom));
    return ink;
}

// The caption alone, in the control's font, drawn unclipped.
Ink ownInk(const QFont& font, const QString& text) {
    const QFontMetricsF metrics(font);
    const QSize size((int(metrics.horizontalAdvance(text)) + 48) * kScale,
                     (int(metrics.height()) + 48) * kScale);
    QImage canvas(size, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.scale(kScale, kScale);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(24, 24 + metrics.ascent()), text);
    }
    std::vector<std::vector<bool>> covered(std::size_t(size.height()),
                                           std::vector<bool>(std::size_t(size.width())));
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            covered[std::size_t(y)][std::size_t(x)] = qAlpha(canvas.pixel(x, y)) >= 128;
    }
    return inkOf(covered);
}

// The control drawn by itself, its children left out, on the window's face, magnified.
QImage drawnAlone(QWidget* control) {
    QImage image(control->size() * kScale, QImage::Format_RGB32);
    image.fill(control->window()->palette().color(QPalette::Window));
    QPainter painter(&image);
    painter.scale(kScale, kScale);
    control->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

// The caption's ink as the control shows it: drawn with the caption and without it, a pixel is
// ink where it moved at least half of the way from the background to the text's colour.
Ink shownInk(QWidget* control, const CaptionSwitch& caption, const QColor& textColour) {
    const QImage with = drawnAlone(control);
    caption(false);
    const QImage without = drawnAlone(control);
    caption(true);
    std::vector<std::vector<bool>> covered(std::size_t(with.height()),
                                           std::vector<bool>(std::size_t(with.width())));
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            const QColor ground = without.pixelColor(x, y);
            const QColor drawn = with.pixelColor(x, y);
            const auto channel = [](int a, int b) { return std::abs(a - b); };
            const int full = std::max({channel(ground.red(), textColour.red()),
                                       channel(ground.green(), textColour.green()),
                                       channel(ground.blue(), textColour.blue())});
            const int moved = std::max({channel(ground.red(), drawn.red()),
                                        channel(ground.green(), drawn.green()),
                                        channel(ground.blue(), drawn.blue())});
            covered[std::size_t(y)][std::size_t(x)] = full > 0 && 2 * moved >= full;
        }
    }
    return inkOf(covered);
}

// Every pixel the caption changes, as the control draws it on screen (not magnified).
QRect changedPixels(QWidget* control, const CaptionSwitch& caption) {
    const auto drawn = [control] {
        QImage image(control->size(), QImage::Format_RGB32);
        image.fill(control->window()->palette().color(QPalette::Window));
        QPainter painter(&image);
        control->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        return image;
    };
    const QImage with = drawn();
    caption(false);
    const QImage without = drawn();
    caption(true);
    QRect changed;
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            if (with.pixel(x, y) != without.pixel(x, y)) changed |= QRect(x, y, 1, 1);
        }
    }
    return changed;
}

QColor textColour(QWidget* control) {
    const QPalette::ColorRole role = qobject_cast<QAbstractButton*>(control) != nullptr
                                         ? QPalette::ButtonText
                                         : QPalette::WindowText;
    return control->palette().color(control->isEnabled() ? QPalette::Active : QPalette::Disabled,
                                    role);
}

// The families the glyphs of `text` come from.
std::set<QString> glyphFamilies(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    std::set<QString> families;
    for (const QGlyphRun& run : layout.glyphRuns())
        families.insert(run.rawFont().familyName());
    return families;
}

// Pairs of siblings that the window places over one another on purpose: the marker over the
// surface, the one-pixel seams of the value lists, of the zoom group under the mode group, of the
// formula fields under their "・・・" buttons and of the constants under their keys.
const std::set<std::pair<QString, QString>> kPlacedOver{
    {"Image1", "Shape1"},         {"ListBox1", "ListBox2"},     {"GroupBox5", "RadioGroup1"},
    {"Button3", "Edit1"},         {"Button4", "Edit2"},         {"Button35", "LabeledEdit1"},
    {"Button36", "LabeledEdit2"}, {"Button37", "LabeledEdit3"}, {"Button38", "LabeledEdit4"},
};

class CaptionLayout : public WindowTest, public testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        face = QFontInfo(uiFont(12)).family();
        inMain<RadioGroup>("RadioGroup1")->item((GetParam() + 1) % 4)->click();
        inMain<RadioGroup>("RadioGroup1")->item(GetParam())->click();
    }

    void expectWholeCaptions(QWidget* window) {
        int captions = 0;
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (widget->window() != window || !widget->isVisibleTo(window)) continue;
            const CaptionSwitch caption = captionSwitch(widget);
            if (!caption) continue;
            ++captions;
            const QString text = captionOf(widget);
            SCOPED_TRACE(widget->objectName().toStdString() + " \"" + text.toStdString() + "\"");
            const QFont font = widget->font();
            if (const std::optional<CaptionPlace> place = captionPlace(widget)) {
                EXPECT_LE(QFontMetricsF(font).horizontalAdvance(text), place->box.width());
                EXPECT_EQ(inkOutside(font, *place), 0);
            }
            // Drawn: all of it, as high and as wide as the caption's own ink, less than a pixel
            // apart.
            const Ink own = ownInk(font, text);
            const Ink shown = shownInk(widget, caption, textColour(widget));
            EXPECT_NEAR(shown.bounds.height(), own.bounds.height(), kScale - 1);
            EXPECT_NEAR(shown.bounds.width(), own.bounds.width(), kScale - 1);
            EXPECT_EQ(glyphFamilies(font, text), std::set<QString>{face});
        }
        EXPECT_GT(captions, 20);
    }

    void expectNoSiblingsOverlap(QWidget* window) {
        std::vector<QWidget*> parents{window};
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (widget->window() == window) parents.push_back(widget);
        }
        for (QWidget* parent : parents) {
            std::vector<QWidget*> shown;
            for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (!child->isWindow() && !child->isHidden() && !child->objectName().isEmpty())
                    shown.push_back(child);
            }
            for (std::size_t i = 0; i < shown.size(); ++i) {
                for (std::size_t j = i + 1; j < shown.size(); ++j) {
                    const QString a = shown[i]->objectName();
                    const QString b = shown[j]->objectName();
                    if (kPlacedOver.count(std::minmax(a, b)) != 0) continue;
                    EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                        << a.toStdString() << " " << shown[i]->geometry().x() << ","
                        << shown[i]->geometry().y() << " " << shown[i]->width() << "x"
                        << shown[i]->height() << " covers " << b.toStdString() << " "
                        << shown[j]->geometry().x() << "," << shown[j]->geometry().y() << " "
                        << shown[j]->width() << "x" << shown[j]->height();
                }
            }
        }
    }

    // A group's caption, as drawn, lies clear of every control inside the group.
    void expectGroupCaptionsUncovered(QWidget* window) {
        int groups = 0;
        for (auto* box : window->findChildren<QGroupBox*>()) {
            if (box->window() != window || box->title().isEmpty()) continue;
            ++groups;
            SCOPED_TRACE(box->objectName().toStdString());
            const QRect caption = changedPixels(box, captionSwitch(box));
            ASSERT_FALSE(caption.isEmpty());
            for (QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (child->isHidden()) continue;
                EXPECT_FALSE(child->geometry().intersects(caption))
                    << child->objectName().toStdString() << " covers the caption's ink at "
                    << caption.x() << "," << caption.y() << " " << caption.width() << "x"
                    << caption.height();
            }
        }
        EXPECT_GT(groups, 0);
    }

    // The keypad as each "・・・" button of this mode opens it.
    void inEachKeypad(const std::function<void()>& check) {
        const bool motion = GetParam() < 2;
        for (const char* opener : {"Button3", "Button4"}) {
            if (std::string(opener) == "Button4" && !motion) continue;
            SCOPED_TRACE(opener);
            withKeypad(opener, [&] {
                (void)form2->grab();  // the paint that relabels the variable keys
                check();
            });
        }
    }

    QString face;
};

std::string modeName(const testing::TestParamInfo<int>& mode) {
    static const char* const names[] = {"CartesianMotion", "PolarMotion", "CartesianCurve",
                                        "PolarCurve"};
    return names[mode.param];
}

TEST_P(CaptionLayout, EveryCaptionOfTheMainWindowShowsWholeInTheOneFace) {
    expectWholeCaptions(form1);
}

TEST_P(CaptionLayout, EveryCaptionOfTheKeypadShowsWholeInTheOneFace) {
    inEachKeypad([&] { expectWholeCaptions(form2); });
}

TEST_P(CaptionLayout, NoControlOfTheMainWindowCoversAnother) {
    expectNoSiblingsOverlap(form1);
}

TEST_P(CaptionLayout, NoControlOfTheKeypadCoversAnother) {
    inEachKeypad([&] { expectNoSiblingsOverlap(form2); });
}

TEST_P(CaptionLayout, NoControlCoversAGroupsCaption) {
    expectGroupCaptionsUncovered(form1);
    inEachKeypad([&] { expectGroupCaptionsUncovered(form2); });
}

TEST_P(CaptionLayout, EachKeypadButtonShowsThreeDots) {
    for (const char* name : {"Button3", "Button4"}) {
        SCOPED_TRACE(name);
        auto* button = inMain<QAbstractButton>(name);
        EXPECT_EQ(shownInk(button, captionSwitch(button), textColour(button)).pieces, 3);
    }
}

TEST_P(CaptionLayout, LabelsAreAsHighAsTheirPixelSizeWhereTheyTakeTheirCaptionsSize) {
    const std::pair<const char*, int> labels[] = {
        {"Label2", 16},  {"Label1", 16},  {"Label4", 16},  {"Label5", 16},
        {"Label8", 16},  {"Label9", 16},  {"Label12", 12}, {"Label13", 12},
        {"Label14", 12}, {"Label15", 12}, {"Label10", 12}, {"Label11", 12}};
    for (const auto& [name, height] : labels) {
        SCOPED_TRACE(name);
        EXPECT_EQ(inMain<QLabel>(name)->height(), height);
    }
    for (const char* name : {"LabeledEdit12", "LabeledEdit13", "LabeledEdit15", "LabeledEdit16"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(inMain<LabeledEdit>(name)->editLabel()->height(), 16);
    }
}

INSTANTIATE_TEST_SUITE_P(EachGraphMode, CaptionLayout, testing::Range(0, 4), modeName);

// In CI these tests run once per Japanese face, with a fontconfig file that leaves only that one
// (tests/ui/fonts/): the face the windows use must then be that one.
TEST(CaptionFace, IsTheOnlyJapaneseFaceLeftWhereOneIsNamed) {
    const QByteArray expected = qgetenv("KURVILO_EXPECTED_FACE");
    if (expected.isEmpty()) GTEST_SKIP() << "no face named (KURVILO_EXPECTED_FACE)";
    EXPECT_EQ(QFontInfo(uiFont(12)).family().toStdString(), expected.toStdString());
    EXPECT_EQ(QFontInfo(uiFont(21, true)).family().toStdString(), expected.toStdString());
}

}  // namespace
}  // namespace kurvilo
