// SPDX-License-Identifier: MIT
#include "ui/components.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

#include "sim/plot_surface.h"
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

// Rows 12 pixels high. A row that is neither selected nor current is only its text, drawn
// directly where the style would draw it: the values change every tick, and the style's way
// (a text layout per row, decorations, check marks) costs more than the rest of the tick.
class TwelvePixelRows : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 12};
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (option.state & (QStyle::State_Selected | QStyle::State_HasFocus)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QWidget* view = option.widget;
        const QStyle* style = view != nullptr ? view->style() : QApplication::style();
        // The style's margin around an item's text.
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        QPalette::ColorGroup group = QPalette::Disabled;
        if (option.state & QStyle::State_Enabled)
            group = (option.state & QStyle::State_Active) ? QPalette::Normal : QPalette::Inactive;
        // The style centres a line as high as the face's ascent and descent, rounded up, on whole
        // pixels.
        const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
        const int lineHeight = int(std::ceil(QFontMetricsF(option.font).height()));
        const QRect line(textRect.left(), textRect.top() + (textRect.height() - lineHeight) / 2,
                         textRect.width(), lineHeight);
        painter->save();
        painter->setClipRect(option.rect, Qt::IntersectClip);
        painter->setPen(option.palette.color(group, QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(line,
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
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
}

void ListBox::setTexts(const std::vector<std::string>& texts) {
    if (texts.size() != texts_.size()) {
        clear();
        for (const std::string& text : texts)
            addItem(QString::fromStdString(text));
        texts_ = texts;
        return;
    }
    // Same number of rows: only the rows whose text changed are redrawn. The model is not heard
    // meanwhile, since a list view lays out and repaints all its rows on any change of data;
    // rows of fixed height need no new layout for a new text.
    for (std::size_t row = 0; row < texts.size(); ++row) {
        if (texts[row] == texts_[row]) continue;
        QListWidgetItem* changed = item(int(row));
        {
            const QSignalBlocker quiet(model());
            changed->setText(QString::fromStdString(texts[row]));
        }
        viewport()->update(visualItemRect(changed));
        texts_[row] = texts[row];
    }
}

RadioGroup::RadioGroup(const QString& name, const QRect& geometry, const QString& caption,
                       const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
    setObjectName(name);
    setGeometry(geometry);
    // One column under the caption, the rows spread over the height that is left, as wide as
    // the frame allows.
    constexpr int kCaptionHeight = 14;
    constexpr int kLeft = 6;
    const int rowHeight = (geometry.height() - kCaptionHeight - 4) / std::max(1, int(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(name + QStringLiteral("Item%1").arg(i));
        button->setGeometry(kLeft, kCaptionHeight + i * rowHeight, geometry.width() - kLeft - 2,
                            rowHeight);
        buttons_->addButton(button, i);
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
