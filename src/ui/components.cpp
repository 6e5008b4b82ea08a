#include "ui/components.h"

#include <QButtonGroup>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QStyledItemDelegate>

#include "sim/plot_surface.h"

namespace kurvilo {

QFont uiFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                      QStringLiteral("TakaoPGothic")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

int tagOf(const QObject* component) {
    return component->property("Tag").toInt();
}

void setTag(QObject* component, int tag) {
    component->setProperty("Tag", tag);
}

void paintWhiteBackground(QWidget* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

LabeledEdit::LabeledEdit(const QString& name, const QRect& geometry, const QString& caption,
                         LabelPosition position, const QFont& labelFont, QWidget* parent)
    : QLineEdit(parent), label_(new QLabel(caption, parent)), position_(position) {
    setObjectName(name);
    setGeometry(geometry);
    setMaxLength(kFormulaMaxLength);
    label_->setObjectName(name + QStringLiteral("Label"));
    label_->setFont(labelFont);
    label_->setBuddy(this);
    placeLabel();
}

void LabeledEdit::setCaption(const QString& caption) {
    label_->setText(caption);
    placeLabel();
}

void LabeledEdit::placeLabel() {
    label_->adjustSize();
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
}

void ListBox::setTexts(const std::vector<std::string>& texts) {
    if (texts == this->texts()) return;
    clear();
    for (const std::string& text : texts)
        addItem(QString::fromStdString(text));
}

std::vector<std::string> ListBox::texts() const {
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(count()));
    for (int row = 0; row < count(); ++row)
        result.push_back(item(row)->text().toStdString());
    return result;
}

RadioGroup::RadioGroup(const QString& name, const QRect& geometry, const QString& caption,
                       const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
    setObjectName(name);
    setGeometry(geometry);
    // One column under the caption, the rows spread over the height that is left.
    constexpr int kCaptionHeight = 14;
    const int rowHeight = (geometry.height() - kCaptionHeight - 4) / std::max(1, int(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(name + QStringLiteral("Item%1").arg(i));
        button->setGeometry(8, kCaptionHeight + i * rowHeight, geometry.width() - 12, rowHeight);
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

void SurfaceView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image());
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
