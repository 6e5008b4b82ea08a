// SPDX-License-Identifier: MIT
// The status tooltip of a failed tick: a Japanese sentence for each kind of failure first, the
// failure's kind, message, tick and t after it; through the window, the sentence of what really
// failed.
#include "ui/failure_text.h"

#include <QLineEdit>

#include "sim/tick.h"
#include "window_fixture.h"

namespace kurvilo {
namespace {

struct DetailCase {
    TickFailure failure;
    std::string detail;
};

void PrintTo(const DetailCase& row, std::ostream* os) {
    *os << row.failure.kind << " " << row.failure.message;
}

class FailureDetail : public testing::TestWithParam<DetailCase> {};

TEST_P(FailureDetail, BeginsWithASentenceForTheKindAndKeepsKindTickAndT) {
    EXPECT_EQ(failureDetail(GetParam().failure).toStdString(), GetParam().detail);
}

const std::string kLongText(60, 'x');

INSTANTIATE_TEST_SUITE_P(
    EachKind, FailureDetail,
    testing::Values(
        DetailCase{{"EConvertError", "'0.5' is not a valid floating point value", 1, "0"},
                   "「0.5」は数値として読めません。\n"
                   "EConvertError: '0.5' is not a valid floating point value (tick 1, t = 0)"},
        DetailCase{{"EConvertError", "'3000000000' is not a valid integer value", 7, "0.06"},
                   "「3000000000」は整数として読めません。\n"
                   "EConvertError: '3000000000' is not a valid integer value (tick 7, t = 0.06)"},
        // A quote inside the text, and a text that is empty.
        DetailCase{{"EConvertError", "'it's' is not a valid floating point value", 1, "0"},
                   "「it's」は数値として読めません。\n"
                   "EConvertError: 'it's' is not a valid floating point value (tick 1, t = 0)"},
        DetailCase{{"EConvertError", "'' is not a valid floating point value", 1, ""},
                   "「」は数値として読めません。\n"
                   "EConvertError: '' is not a valid floating point value (tick 1)"},
        // A long text is cut in the sentence, and a line break shown as a blank; the message
        // keeps it all.
        DetailCase{
            {"EConvertError", "'" + kLongText + "' is not a valid floating point value", 2, "0.01"},
            "「xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx…」は数値として読めません。\n"
            "EConvertError: '" +
                kLongText + "' is not a valid floating point value (tick 2, t = 0.01)"},
        DetailCase{{"EConvertError", "'1\n2' is not a valid floating point value", 1, "0"},
                   "「1 2」は数値として読めません。\n"
                   "EConvertError: '1\n2' is not a valid floating point value (tick 1, t = 0)"},
        DetailCase{{"EZeroDivide", "Floating point division by zero", 3, "0.02"},
                   "0 で割りました。\nEZeroDivide: Floating point division by zero (tick 3, t = "
                   "0.02)"},
        DetailCase{{"EInvalidOp", "Invalid floating point operation", 12, "0.11"},
                   "値が扱える範囲を超えました。\nEInvalidOp: Invalid floating point operation "
                   "(tick 12, t = 0.11)"},
        DetailCase{{"EOverflow", "Floating point overflow", 1, "0"},
                   "値が大きくなりすぎて計算できません。\nEOverflow: Floating point overflow "
                   "(tick 1, t = 0)"},
        DetailCase{{"EFormulaTooLong", "Formula text longer than 16777216 characters", 1, "0"},
                   "数式を展開すると長くなりすぎます。\nEFormulaTooLong: Formula text longer than "
                   "16777216 characters (tick 1, t = 0)"},
        DetailCase{{"EOutOfMemory", "Out of memory", 5, "0.04"},
                   "メモリが足りません。\nEOutOfMemory: Out of memory (tick 5, t = 0.04)"},
        DetailCase{{"EStringListError", "List index out of bounds (1)", 2, "0.01"},
                   "値の一覧に必要な行がありません。\nEStringListError: List index out of bounds "
                   "(1) (tick 2, t = 0.01)"}));

// Through the window: the formulas fail the way the engine fails them.
struct WindowCase {
    const char* name;
    const char* ay;
    const char* vx;  // LabeledEdit15
    const char* firstLine;
};

void PrintTo(const WindowCase& row, std::ostream* os) {
    *os << row.name;
}

class StatusTooltip : public WindowTest, public testing::WithParamInterface<WindowCase> {};

TEST_P(StatusTooltip, TellsInJapaneseWhatFailed) {
    const WindowCase& row = GetParam();
    inMain<QLineEdit>("Edit1")->setText(QString::fromUtf8(row.ay));
    inMain<QLineEdit>("Edit2")->setText("0");
    inMain<QLineEdit>("LabeledEdit15")->setText(QString::fromUtf8(row.vx));
    click("Button1");
    form1->Timer1Timer();
    auto* status = inMain<QLabel>("Label3");
    ASSERT_EQ(status->text(), "エラー");
    const QStringList lines = status->toolTip().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2) << status->toolTip().toStdString();
    EXPECT_EQ(lines[0].toStdString(), row.firstLine);
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("(tick 1, t = 0)")));
    EXPECT_EQ(status->accessibleDescription(), status->toolTip());
}

INSTANTIATE_TEST_SUITE_P(
    EachFailure, StatusTooltip,
    testing::Values(WindowCase{"ConvertError", "0", "0,5", "「0,5」は数値として読めません。"},
                    WindowCase{"ZeroDivide", "1/0", "0", "0 で割りました。"},
                    WindowCase{"LogarithmOfZero", "log(0)", "0", "0 で割りました。"},
                    WindowCase{"OutOfRange", "exp(800)", "0", "値が扱える範囲を超えました。"},
                    WindowCase{"Overflow", "exp(11357)", "0",
                               "値が大きくなりすぎて計算できません。"}),
    [](const testing::TestParamInfo<WindowCase>& info) { return std::string(info.param.name); });

using StatusMarkup = WindowTest;

TEST_F(StatusMarkup, ATextThatLooksLikeMarkupIsShownAsWritten) {
    inMain<QLineEdit>("Edit1")->setText("0");
    inMain<QLineEdit>("Edit2")->setText("0");
    inMain<QLineEdit>("LabeledEdit15")->setText("<b>5</b>");
    click("Button1");
    form1->Timer1Timer();
    auto* status = inMain<QLabel>("Label3");
    EXPECT_TRUE(status->toolTip().contains(QStringLiteral("&lt;b&gt;5&lt;/b&gt;")))
        << status->toolTip().toStdString();
    EXPECT_TRUE(status->accessibleDescription().startsWith(QStringLiteral("「<b>5</b>」")));
}

}  // namespace
}  // namespace kurvilo
