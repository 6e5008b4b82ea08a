// SPDX-License-Identifier: MIT
#include "ui/failure_text.h"

#include <array>
#include <string_view>

#include "sim/tick.h"

namespace kurvilo {

namespace {

// A text quoted in a sentence shows at most this many characters.
constexpr qsizetype kQuotedLength = 40;

// The failures whose sentence needs nothing from the message.
struct KindSentence {
    std::string_view kind;
    const char* sentence;
};

constexpr std::array<KindSentence, 6> kSentences{{
    {"EZeroDivide", "0 で割りました。"},
    {"EInvalidOp", "値が扱える範囲を超えました。"},
    {"EOverflow", "値が大きくなりすぎて計算できません。"},
    {"EFormulaTooLong", "数式を展開すると長くなりすぎます。"},
    {"EOutOfMemory", "メモリが足りません。"},
    {"EStringListError", "値の一覧に必要な行がありません。"},
}};

// The text a conversion failure quotes: "'abc' is not a valid ... value" gives "abc".
bool quotedText(std::string_view message, std::string_view& text) {
    constexpr std::string_view kTail = "' is not a valid ";
    const std::size_t end = message.rfind(kTail);
    if (message.empty() || message.front() != '\'' || end == std::string_view::npos || end == 0)
        return false;
    text = message.substr(1, end - 1);
    return true;
}

// The text as a sentence can show it: one line, not longer than kQuotedLength characters.
QString shown(std::string_view text) {
    QString quoted = QString::fromUtf8(text.data(), qsizetype(text.size()));
    for (QChar& c : quoted) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char(' ');
    }
    if (quoted.size() > kQuotedLength) {
        qsizetype cut = kQuotedLength;
        if (quoted[cut - 1].isHighSurrogate()) --cut;  // never half a character
        quoted = quoted.left(cut) + QStringLiteral("…");
    }
    return quoted;
}

QString sentence(const TickFailure& failure) {
    if (failure.kind == "EConvertError") {
        std::string_view text;
        const std::string_view message = failure.message;
        if (quotedText(message, text)) {
            const bool integer = message.ends_with("integer value");
            return QStringLiteral("「%1」は%2として読めません。")
                .arg(shown(text), integer ? QStringLiteral("整数") : QStringLiteral("数値"));
        }
        return QStringLiteral("数値として読めない文字列があります。");
    }
    for (const KindSentence& known : kSentences) {
        if (failure.kind == known.kind) return QString::fromUtf8(known.sentence);
    }
    return QStringLiteral("計算できませんでした。");
}

}  // namespace

QString failureDetail(const TickFailure& failure) {
    QString detail =
        sentence(failure) + QLatin1Char('\n') +
        QStringLiteral("%1: %2 (tick %3")
            .arg(QString::fromStdString(failure.kind), QString::fromStdString(failure.message))
            .arg(failure.tick);
    if (!failure.t.empty()) detail += QStringLiteral(", t = ") + QString::fromStdString(failure.t);
    return detail + QLatin1Char(')');
}

}  // namespace kurvilo
