// SPDX-License-Identifier: MIT
#include "ui/components.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

#include "sim/plot_surface.h"
#include "ui/caption_fit.h"
#include "ui/window_style.h"

namespace kurvilo {

LabeledEdit::LabeledEdit(const QString& name, const QRect& geometry, const QString& caption,
                         LabelPosition position, const QFont& labelFont, QWidget* parent)
    : QLineEdit(parent), label_(new QLabel(parent)), position_(position) {
    setObjectName(name);
    setGeometry(geometry);
    setMaxLength(kFormulaMaxLength);
    label_->setObjectName(name + QStringLiteral("Label"));
    label_->setFont(labelFont);
    label_->setBuddy(this);
    // Its room: above the field as wide as the field; to its left up to the parent's edge.
    constexpr int kEdge = 2;
    label_->setMaximumWidth(position == LabelPosition::Above ? geometry.width()
                                                             : geometry.x() - 3 - kEdge);
    setCaption(caption);
}

void LabeledEdit::setCaption(const QString& caption) {
    kurvilo::setCaption(label_, caption);
    placeLabel();
}

void LabeledEdit::placeLabel() {
    const QSize size = label_->size();
    constexpr int kSpacing = 3;
    if (position_ == LabelPosition::Above) {
        label_->move(x(), y() - kSpacing - size.height());
    } else {
        label_->move(x() - kSpacing - size.width(), y() + (height() - size.height()) / 2);
    }
}

void LabeledEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) label_->setEnabled(isEnabled());
    QLineEdit::changeEvent(event);
}

namespace {

// A row that a screen reader hears with its name: the text of the same row of the list of names,
// read when asked, so that a relabelling costs nothing here.
class NamedRow : public QListWidgetItem {
  public:
    NamedRow(const QString& text, const ListBox* names, int row)
        : QListWidgetItem(text), names_(names), row_(row) {}

    QVariant data(int role) const override {
        if (role == Qt::AccessibleTextRole && row_ < names_->count()) {
            return QString(names_->item(row_)->text().trimmed() + QLatin1Char(' ') +
                           QListWidgetItem::data(Qt::DisplayRole).toString());
        }
        return QListWidgetItem::data(role);
    }

  private:
    const ListBox* names_;
    int row_;
};

// The size of a row, for the view's layout: 12 pixels high.
class TwelvePixelRows : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 12};
    }
};

}  // namespace

ListBox::ListBox(const QString& name, const QRect& geometry, QWidget* parent)
    : QListWidget(parent) {
    setObjectName(name);
    setGeometry(geometry);
    setItemDelegate(new TwelvePixelRows(this));
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Shown, never chosen: no row is selected or current, and the list takes no focus.
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
}

QRect ListBox::rowRect(int row) const {
    return {0, row * kRowHeight - verticalOffset(), viewport()->width(), kRowHeight};
}

void ListBox::setTexts(const std::vector<std::string>& texts) {
    if (texts.size() != texts_.size()) {
        clear();
        for (const std::string& text : texts) {
            const QString row = QString::fromStdString(text);
            if (names_ != nullptr) {
                addItem(new NamedRow(row, names_, count()));
            } else {
                addItem(row);
            }
        }
        texts_ = texts;
        return;
    }
    // Same number of rows: only the rows whose text changed are redrawn. The model is not heard
    // meanwhile, since a list view lays out and repaints all its rows on any change of data;
    // rows of fixed height need no new layout for a new text.
    for (std::size_t row = 0; row < texts.size(); ++row) {
        if (texts[row] == texts_[row]) continue;
        {
            const QSignalBlocker quiet(model());
            item(int(row))->setText(QString::fromStdString(texts[row]));
        }
        viewport()->update(rowRect(int(row)));
        texts_[row] = texts[row];
    }
}

// The characters a value is written with: digits, sign and both decimal separators.
constexpr std::array<char16_t, 13> kValueCharacters{u'0', u'1', u'2', u'3', u'4', u'5', u'6',
                                                    u'7', u'8', u'9', u'-', u'.', u','};

void ListBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) valueGlyphs_.reset();
    QListWidget::changeEvent(event);
}

const ListBox::ValueGlyphs& ListBox::valueGlyphs() {
    if (valueGlyphs_ && valueGlyphs_->font == font()) return *valueGlyphs_;
    auto glyphs = std::make_unique<ValueGlyphs>();
    glyphs->font = font();
    glyphs->raw = QRawFont::fromFont(font());
    const QFontMetricsF metrics(font());
    for (std::size_t i = 0; i < kValueCharacters.size(); ++i) {
        const QString character{QChar(kValueCharacters[i])};
        const QList<quint32> index = glyphs->raw.glyphIndexesForString(character);
        glyphs->index[i] = index.size() == 1 ? index[0] : 0;
        // The advance the text layout gives the character, in its own units.
        glyphs->advance[i] = metrics.horizontalAdvance(character);
    }
    valueGlyphs_ = std::move(glyphs);
    return *valueGlyphs_;
}

bool ListBox::valueRun(const QString& text, QGlyphRun& run) {
    const ValueGlyphs& glyphs = valueGlyphs();
    if (!glyphs.raw.isValid()) return false;
    runIndexes_.clear();
    runPositions_.clear();
    qreal x = 0;
    for (QChar character : text) {
        const auto found =
            std::find(kValueCharacters.begin(), kValueCharacters.end(), character.unicode());
        if (found == kValueCharacters.end()) return false;
        const auto i = std::size_t(found - kValueCharacters.begin());
        if (glyphs.index[i] == 0) return false;
        runIndexes_.append(glyphs.index[i]);
        runPositions_.append(QPointF(x, 0));
        x += glyphs.advance[i];
    }
    run.setRawFont(glyphs.raw);
    run.setGlyphIndexes(runIndexes_);
    run.setPositions(runPositions_);
    return true;
}

// A row is only its text, drawn where the style would draw an item's text: the values change
// every tick, and the style's way (an item option, a text layout per row, decorations) costs
// more than the rest of the tick. A value is drawn from glyphs shaped once, the same glyphs at
// the same places as the text layout would give them.
void ListBox::paintEvent(QPaintEvent* event) {
    const int rows = count();
    if (rows == 0) return;
    const QRect exposed = event->rect();
    const int first = std::max(0, (exposed.top() + verticalOffset()) / kRowHeight);
    const int last = std::min(rows - 1, (exposed.bottom() + verticalOffset()) / kRowHeight);
    if (first > last) return;

    const QWidget* area = viewport();
    // The style's margin around an item's text, and a line as high as the face's ascent and
    // descent, rounded up, centred on whole pixels.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const QFontMetricsF metrics(font());
    const int lineHeight = int(std::ceil(metrics.height()));
    QPalette::ColorGroup group = QPalette::Disabled;
    if (isEnabled()) group = isActiveWindow() ? QPalette::Active : QPalette::Inactive;

    QPainter painter(viewport());
    painter.setFont(font());
    painter.setPen(palette().color(group, QPalette::Text));
    QGlyphRun run;
    for (int row = first; row <= last; ++row) {
        const QRect cell = rowRect(row);
        const QRect text = cell.adjusted(margin, 0, -margin, 0);
        const QRect line(text.left(), text.top() + (text.height() - lineHeight) / 2, text.width(),
                         lineHeight);
        painter.setClipRect(cell & area->rect());
        const QString rowText = item(row)->text();
        if (valueRun(rowText, run)) {
            painter.drawGlyphRun(QPointF(line.left(), line.top() + metrics.ascent()), run);
        } else {
            painter.drawText(line,
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                             rowText);
        }
    }
}

GroupBox::GroupBox(const QString& name, const QRect& geometry, QWidget* parent)
    : QGroupBox(parent) {
    setObjectName(name);
    setGeometry(geometry);
}

void GroupBox::setCaptionTop(int top) {
    if (captionTop_ == top) return;
    captionTop_ = top;
    update();
}

QRect GroupBox::captionRoom() const {
    int bottom = height();
    for (const QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!control->isWindow() && !control->isHidden()) bottom = std::min(bottom, control->y());
    }
    return {kCaptionLeft - kCaptionPadding, 0, width() - 2 * (kCaptionLeft - kCaptionPadding),
            bottom};
}

void GroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The style draws the frame, with its gap for the caption, and the caption unseen.
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    option.textColor = Qt::transparent;
    style()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, this);
    if (title().isEmpty()) return;

    const QFontMetricsF metrics(font());
    QPalette::ColorGroup group = QPalette::Disabled;
    if (isEnabled()) group = isActiveWindow() ? QPalette::Active : QPalette::Inactive;
    painter.setFont(font());
    painter.setPen(palette().color(group, QPalette::WindowText));
    painter.drawText(
        QRect(kCaptionLeft, captionTop_, int(std::ceil(metrics.horizontalAdvance(title()))),
              int(std::ceil(metrics.height()))),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, title());
}

RadioGroup::RadioGroup(const QString& name, const QRect& geometry, const QString& caption,
                       const QStringList& items, QWidget* parent)
    : GroupBox(name, geometry, parent), buttons_(new QButtonGroup(this)) {
    setTitle(caption);
    // One column under the caption, the rows spread over the height that is left, as wide as
    // the frame allows.
    constexpr int kCaptionHeight = 14;
    constexpr int kLeft = 6;
    const int rowHeight = (geometry.height() - kCaptionHeight - 4) / std::max(1, int(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(name + QStringLiteral("Item%1").arg(i));
        button->setFont(uiFont(12));  // its own: the group's font is its caption's
        button->setGeometry(kLeft, kCaptionHeight + i * rowHeight, geometry.width() - kLeft - 2,
                            rowHeight);
        buttons_->addButton(button, i);
        button->installEventFilter(this);
    }
    connect(buttons_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) emit clicked();
    });
}

int RadioGroup::itemIndex() const {
    return buttons_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (QAbstractButton* button = buttons_->button(index)) button->setChecked(true);
}

QAbstractButton* RadioGroup::item(int index) const {
    return buttons_->button(index);
}

bool RadioGroup::eventFilter(QObject* watched, QEvent* event) {
    // Seen before the button's own handling, which would choose the item the focus moves to:
    // a stray arrow key would erase both formulas.
    if (event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Left:
                moveFocus(watched, -1);
                return true;
            case Qt::Key_Down:
            case Qt::Key_Right:
                moveFocus(watched, 1);
                return true;
            default:
                break;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void RadioGroup::moveFocus(QObject* from, int step) {
    const QList<QAbstractButton*> items = buttons_->buttons();
    const int count = int(items.size());
    const int start = int(items.indexOf(qobject_cast<QAbstractButton*>(from)));
    if (start < 0) return;
    for (int i = 1; i < count; ++i) {
        QAbstractButton* next = items[((start + step * i) % count + count) % count];
        if (next->isEnabled()) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

SurfaceView::SurfaceView(const QString& name, const PlotSurface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
    setObjectName(name);
    setFixedSize(PlotSurface::kSize, PlotSurface::kSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage SurfaceView::image() const {
    return QImage(reinterpret_cast<const uchar*>(surface_.data()), PlotSurface::kSize,
                  PlotSurface::kSize, PlotSurface::bytesPerLine(), QImage::Format_RGB32);
}

void SurfaceView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), image(), area);
}

ShapeCircle::ShapeCircle(const QString& name, const QRect& geometry, QWidget* parent)
    : QWidget(parent) {
    setObjectName(name);
    setGeometry(geometry);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeCircle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::red);
    painter.setBrush(Qt::red);
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace kurvilo
