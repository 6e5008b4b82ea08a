// SPDX-License-Identifier: MIT
#include "ui/formula_marker.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <string>

#include "numbers/separator.h"

namespace kurvilo {

namespace {

// Texts up to this many characters get their marker at every keystroke.
constexpr qsizetype kReadAtOnce = 20000;

// At most this many notes are listed; the rest are counted.
constexpr std::size_t kListedNotes = 8;

QString q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// 「text」
QString quoted(const std::string& utf8) {
    return QStringLiteral("「") + q(utf8) + QStringLiteral("」");
}

std::string utf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

QString unknownNameText(const FormulaNote& note) {
    if (!note.stopsReading) {
        return quoted(note.text) + QStringLiteral(
                                       "という関数はありません。名前と関数の積として読まれます"
                                       "（「arcsin(x)」は a*r*c*sin(x)）");
    }
    if (note.suggestion == "*10^") {
        return quoted(note.text) +
               QStringLiteral(
                   "は指数ではありません。ここで読み取りが止まります（「1e3」は 1）。"
                   "「*10^」と書いてください（「1*10^3」）");
    }
    QString text = quoted(note.text) +
                   QStringLiteral("という名前や関数はありません。ここで読み取りが止まります");
    if (note.suggestion.empty()) return text;
    if (note.fixable) {
        return text + QStringLiteral("。") + quoted(note.suggestion) + QStringLiteral("と書きます");
    }
    return text + QStringLiteral("。近いものは") + quoted(note.suggestion) + QStringLiteral("です");
}

QString unknownCharacterText(const FormulaNote& note) {
    QString text =
        quoted(note.text) + QStringLiteral("は数式に使えない文字です。ここで読み取りが止まります");
    if (note.text == "=") return text + QStringLiteral("。「=」より右だけを書いてください");
    if (note.text.find_first_of("{}<>:") != std::string::npos) {
        return text + QStringLiteral("。Σ{n=…<>…:…} の中でだけ使えます");
    }
    return text;
}

QString missingOperandText(const FormulaNote& note) {
    if (note.stopsReading) {
        return quoted(note.text) +
               QStringLiteral("の前に値がありません。ここで読み取りが止まります");
    }
    if (note.text == "^") return QStringLiteral("「^」の後に指数がありません");
    return quoted(note.text) +
           (note.detail == "before" ? QStringLiteral("の前") : QStringLiteral("の後")) +
           QStringLiteral("に値がなく、0 と読まれます（「*2」は 0）");
}

QString summationText(const FormulaNote& note) {
    const QString bound = note.problem == SummationProblem::LowerBound ? QStringLiteral("下限")
                                                                       : QStringLiteral("上限");
    switch (note.problem) {
        case SummationProblem::Opening:
            return QStringLiteral("「Σ」の後の3文字は読まれません。「Σ{n=」と書いてください");
        case SummationProblem::Index:
            return QStringLiteral("Σ の添字はいつも n です。本体の") + quoted(note.detail) +
                   QStringLiteral("は名前になりません。「Σ{n=」と書いてください");
        case SummationProblem::LowerBound:
        case SummationProblem::UpperBound:
            if (note.detail.empty()) {
                return QStringLiteral("Σ の") + bound +
                       QStringLiteral("がありません。計算が失敗します");
            }
            return QStringLiteral("Σ の") + bound + quoted(note.detail) +
                   QStringLiteral("は整数ではありません。計算が失敗します");
        case SummationProblem::Range:
            return QStringLiteral("Σ の下限と上限の間に「<>」がありません。計算が失敗します");
        case SummationProblem::Colon:
            return QStringLiteral("Σ の本体の前に「:」がありません。計算が失敗します");
        case SummationProblem::Close:
            return QStringLiteral("Σ を閉じる「}」がありません。計算が失敗します");
        case SummationProblem::EmptyRange:
            return QStringLiteral("範囲") + quoted(note.detail) +
                   QStringLiteral("は下限が上限より大きく、和は 0 です");
        case SummationProblem::EmptyBody:
            return QStringLiteral("Σ の本体が空で、和は 0 です");
        case SummationProblem::None:
            break;
    }
    return QStringLiteral("Σ の書き方が違います");
}

QString valueText(const std::string& text, ValueProblem problem) {
    const QString separator = QString::fromStdString(std::string(decimalSeparatorUtf8()));
    const QString expects =
        QStringLiteral("この欄の小数点は「") + separator + QStringLiteral("」です");
    switch (problem) {
        case ValueProblem::Empty:
            return QStringLiteral("値が空で、描写が失敗します。") + expects;
        case ValueProblem::ForeignSeparator:
            return quoted(text) + QStringLiteral("は値として読めません。") + expects;
        case ValueProblem::NotANumber:
            break;
    }
    return quoted(text) + QStringLiteral("は数値として読めません。") + expects;
}

// The characters and words that end the reading.
QString readingText(const FormulaNote& note) {
    const QString text = quoted(note.text);
    const QString meant = quoted(note.suggestion);
    switch (note.kind) {
        case NoteKind::Blank:
            return (note.fullWidth ? QStringLiteral("全角の空白") : QStringLiteral("空白")) +
                   QStringLiteral(
                       "で読み取りが止まり、その後ろは無視されます（「x + 1」は x）。"
                       "数式に空白は書けません");
        case NoteKind::LookAlike:
            if (note.fullWidth) {
                return text + QStringLiteral("は全角です。半角の") + meant +
                       QStringLiteral("と読まれず、ここで読み取りが止まります");
            }
            return text + QStringLiteral("は") + meant + QStringLiteral("に似た別の文字です。") +
                   meant + QStringLiteral("と読まれず、ここで読み取りが止まります");
        case NoteKind::DecimalComma:
            if (note.fixable) {
                return text +
                       QStringLiteral("の「,」で読み取りが止まります。数式の小数点は「.」です（") +
                       meant + QStringLiteral("）");
            }
            return text + QStringLiteral(
                              "の「,」で読み取りが止まります。数式の数に桁区切りはなく、"
                              "小数点は「.」です");
        case NoteKind::UnknownCharacter:
            return unknownCharacterText(note);
        case NoteKind::UnknownName:
            return unknownNameText(note);
        default:
            break;
    }
    return text;
}

// The marker's icon: the theme's warning, or the style's where the theme has none.
QIcon warningIcon() {
    return QIcon::fromTheme(QStringLiteral("dialog-warning"),
                            QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
}

}  // namespace

QString japaneseNoteText(const FormulaNote& note) {
    const QString text = quoted(note.text);
    const QString meant = quoted(note.suggestion);
    switch (note.kind) {
        case NoteKind::Blank:
        case NoteKind::LookAlike:
        case NoteKind::DecimalComma:
        case NoteKind::UnknownCharacter:
        case NoteKind::UnknownName:
            return readingText(note);
        case NoteKind::DoubleStar:
            return QStringLiteral(
                "「**」は「*」と読まれ、二つ目の「*」は無視されます（「2**3」は 6）。"
                "累乗は「^」です");
        case NoteKind::SignAfterPower:
            return text + QStringLiteral(
                              "：「^」の後では、数の直前の「-」一つだけが指数の符号になり、"
                              "ほかの符号は無視されるか項を区切ります（「2^-x」は 2^x）。"
                              "「2^(-x)」のように括弧で囲んでください");
        case NoteKind::ExtraSign:
            return text + QStringLiteral(
                              "は最後の符号だけと読まれます（「--x」は -x）。"
                              "符号は一つにしてください");
        case NoteKind::MissingOperand:
            return missingOperandText(note);
        case NoteKind::LostOperand:
            return quoted(note.detail) +
                   QStringLiteral(
                       "は失われます。累乗される名前や関数の直前の数は上書きされます"
                       "（「2x^2」は x^2）。") +
                   quoted(note.detail) + QStringLiteral("の後に「*」を書いてください（「2*x^2」）");
        case NoteKind::SignAfterProduct:
            return quoted(note.detail) + QStringLiteral("の「") +
                   q(note.detail.substr(note.detail.empty() ? 0 : 1)) +
                   QStringLiteral(
                       "」は因数の符号になりません。積を区切って足し引きします"
                       "（「2*-3」は 2-2*3 = -4）。「2*(-3)」のように括弧で囲んでください");
        case NoteKind::PowerChain:
            return QStringLiteral("底") + quoted(note.detail) +
                   QStringLiteral(
                       "は捨てられます。累乗は連ねられません（「3^2^2」は 16）。"
                       "「(3^2)^2」か「3^(2^2)」のように括弧で囲んでください");
        case NoteKind::LoneBracket:
            return QStringLiteral("閉じていない「(」は 0 と読まれます。「)」で閉じてください");
        case NoteKind::NegativeBaseFraction:
            return text + QStringLiteral("は負の底と小数の指数（") + q(note.detail) +
                   QStringLiteral("）で、その括弧全体（または数式）が 0 になります");
        case NoteKind::UnpairedBracket:
            return QStringLiteral("「)」に対応する「(」がありません。ここで読み取りが止まります");
        case NoteKind::EmptyBrackets:
            return QStringLiteral("「()」は空で、0 と読まれます（「sin()」は 0）");
        case NoteKind::SquareBracket:
            return text + QStringLiteral(
                              "：「[」「]」は計算途中の値の印で、括弧ではありません。"
                              "「(」「)」を使ってください");
        case NoteKind::FunctionWithoutBracket:
            if (note.suggestion.starts_with("ln(")) {
                return text + QStringLiteral("という関数はありません。log は自然対数です。") +
                       meant + QStringLiteral("と書いてください");
            }
            return text + QStringLiteral("の引数は括弧で囲みます（") + meant +
                   QStringLiteral("）。このままでは計算が失敗します");
        case NoteKind::MalformedNumber:
            if (note.text == ".") return QStringLiteral("「.」だけでは数にならず、0 と読まれます");
            return text + QStringLiteral("は小数点が二つ以上あり、計算が失敗します");
        case NoteKind::Summation:
            return summationText(note);
    }
    return text;
}

FieldMarker::FieldMarker(QLineEdit* field, Field kind)
    : QObject(field),
      field_(field),
      kind_(kind),
      action_(new QAction(field)),
      delay_(new QTimer(this)) {
    const bool formula = kind == Field::Formula;
    setObjectName(formula ? QStringLiteral("FormulaMarkerWatch")
                          : QStringLiteral("ValueMarkerWatch"));
    action_->setObjectName(formula ? QStringLiteral("FormulaMarker")
                                   : QStringLiteral("ValueMarker"));
    action_->setIcon(warningIcon());
    action_->setText(formula ? QStringLiteral("数式の注意") : QStringLiteral("値の注意"));
    // A long text is read again once the typing pauses, so that typing into it stays quick.
    delay_->setSingleShot(true);
    delay_->setInterval(150);
    connect(delay_, &QTimer::timeout, this, &FieldMarker::refresh);
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.size() > kReadAtOnce) {
            delay_->start();
        } else {
            delay_->stop();
            refresh();
        }
    });
    if (formula) connect(action_, &QAction::triggered, this, &FieldMarker::applyFixes);
    refresh();
}

void FieldMarker::refresh() {
    const std::string text = utf8(field_->text());
    if (kind_ != Field::Formula) {
        std::optional<ValueProblem> problem = valueTextProblem(text, decimalSeparator());
        // An empty constant becomes "0" when the keypad closes.
        if (problem == ValueProblem::Empty && kind_ == Field::Constant) problem.reset();
        if (problem) {
            show(valueText(text, *problem));
        } else {
            hide();
        }
        return;
    }
    notes_ = formulaNotes(text);
    if (notes_.empty()) {
        hide();
        return;
    }
    QStringList lines;
    QStringList fixes;
    for (const FormulaNote& note : notes_) {
        if (std::size_t(lines.size()) < kListedNotes)
            lines << QStringLiteral("・") + japaneseNoteText(note);
        if (note.fixable)
            fixes << quoted(note.text) + QStringLiteral("→") + quoted(note.suggestion);
    }
    if (notes_.size() > kListedNotes) {
        lines << QStringLiteral("ほかに %1 件あります").arg(notes_.size() - kListedNotes);
    }
    if (!fixes.isEmpty()) {
        lines << QStringLiteral("クリックすると直します：") + fixes.join(QStringLiteral("、"));
    }
    show(lines.join(QLatin1Char('\n')));
}

void FieldMarker::show(const QString& toolTip) {
    action_->setToolTip(toolTip);
    if (!shown_) {
        field_->addAction(action_, QLineEdit::TrailingPosition);
        shown_ = true;
    }
    // The button the field shows for the action, named for screen readers.
    for (QToolButton* button : field_->findChildren<QToolButton*>()) {
        if (button->defaultAction() != action_) continue;
        button->setAccessibleName(action_->text());
        button->setAccessibleDescription(toolTip);
    }
}

void FieldMarker::hide() {
    if (!shown_) return;
    field_->removeAction(action_);
    shown_ = false;
}

void FieldMarker::applyFixes() {
    const QString before = field_->text();
    const QString after = QString::fromStdString(kurvilo::applyFixes(utf8(before), notes_));
    if (after == before) return;
    // The smallest stretch that changes, replaced as one edit, so that one undo restores it.
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    field_->setSelection(int(prefix), int(before.size() - prefix - suffix));
    field_->insert(after.mid(prefix, after.size() - prefix - suffix));
}

FieldMarker* attachFormulaMarker(QLineEdit* field) {
    return new FieldMarker(field, FieldMarker::Field::Formula);
}

FieldMarker* attachValueMarker(QLineEdit* field, FieldMarker::Field kind) {
    return new FieldMarker(field, kind);
}

void refreshMarkers(QObject* window) {
    for (FieldMarker* marker : window->findChildren<FieldMarker*>())
        marker->refresh();
}

}  // namespace kurvilo
