// SPDX-License-Identifier: MIT
// Every caption of both windows shown whole, in every graph mode: its advance fits the room its
// control gives it and no ink falls where the control clips; every glyph comes from the one
// face; the labels have the given pixel heights; and no control covers a sibling except where
// the window places them so.
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
#include <QStyleOptionGroupBox>
#include <QTextLayout>
#include <set>
#include <utility>

#include "window_fixture.h"

namespace kurvilo {
namespace {

// Where a control draws its caption, and how; found through the control's style.
struct CaptionPlace {
    QString text;
    QRect box;
    int flags = 0;
};

std::optional<CaptionPlace> captionPlace(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QRect box = label->contentsRect();
        box.adjust(label->margin(), label->margin(), -label->margin(), -label->margin());
        if (label->indent() > 0 && (label->alignment() & Qt::AlignLeft))
            box.setLeft(box.left() + label->indent());
        return CaptionPlace{label->text(), box, int(label->alignment())};
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
        return CaptionPlace{button->text(),
                            button->style()->subElementRect(element, &option, button), flags};
    }
    if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.lineWidth = 1;
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.textAlignment = box->alignment();
        // The style sizes the title to its text; its room reaches to the group's right edge.
        QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                   QStyle::SC_GroupBoxLabel, box);
        title.setRight(box->width() - 2);
        return CaptionPlace{box->title(), title, Qt::AlignLeft | Qt::AlignVCenter};
    }
    return std::nullopt;
}

// The number of ink pixels the text puts outside `box` when drawn there unclipped.
int inkOutside(const QFont& font, const CaptionPlace& place) {
    const int room = 48;
    const QRect inside(QPoint(room, room), place.box.size());
    QImage canvas(place.box.size() + QSize(2 * room, 2 * room), QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(inside, place.flags | Qt::TextDontClip, place.text);
    }
    int outside = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (qAlpha(canvas.pixel(x, y)) != 0 && !inside.contains(x, y)) ++outside;
        }
    }
    return outside;
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
            if (widget->window() != window) continue;
            const std::optional<CaptionPlace> place = captionPlace(widget);
            if (!place || place->text.isEmpty()) continue;
            ++captions;
            SCOPED_TRACE(widget->objectName().toStdString() + " \"" + place->text.toStdString() +
                         "\"");
            const QFont font = widget->font();
            EXPECT_LE(QFontMetricsF(font).horizontalAdvance(place->text), place->box.width());
            EXPECT_EQ(inkOutside(font, *place), 0);
            EXPECT_TRUE(widget->rect().contains(place->box))
                << "the caption's room reaches beyond the control";
            EXPECT_EQ(glyphFamilies(font, place->text), std::set<QString>{face});
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

TEST_P(CaptionLayout, LabelsAreAsHighAsTheirPixelSizeWhereTheyTakeTheirCaptionsSize) {
    for (const char* name : {"Label2", "Label1", "Label4", "Label5", "Label8", "Label9", "Label12",
                             "Label13", "Label14", "Label15"}) {
        SCOPED_TRACE(name);
        auto* label = inMain<QLabel>(name);
        EXPECT_EQ(label->height(), label->font().pixelSize());
    }
    for (const char* name : {"LabeledEdit12", "LabeledEdit13", "LabeledEdit15", "LabeledEdit16"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(inMain<LabeledEdit>(name)->editLabel()->height(), 16);
    }
}

INSTANTIATE_TEST_SUITE_P(EachGraphMode, CaptionLayout, testing::Range(0, 4), modeName);

}  // namespace
}  // namespace kurvilo
