// The handful of controls the two windows are built from that Qt has no exact twin for: an edit
// with its own caption label, a list box with 12-pixel rows, a radio group that reports only a
// real change of selection, the plot surface view, and the round marker. Plus the fonts and the
// integer Tag that several components carry.
#pragma once

#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QStringList>
#include <QWidget>
#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QLabel;

namespace kurvilo {

// Formulas and value texts may be any text; a line edit would otherwise cut them at 32767.
inline constexpr int kFormulaMaxLength = 1 << 20;

class PlotSurface;

// The user-interface face at a pixel size: the face the windows were designed with first, then
// its metric twin IPAPGothic, then any Japanese sans-serif face.
QFont uiFont(int pixelSize, bool bold = false);

// A small integer riding on a component, read and written under the property name "Tag".
int tagOf(const QObject* component);
void setTag(QObject* component, int tag);

// A label with a white background, as the captions beside the fields are drawn.
void paintWhiteBackground(QWidget* label);

// A single-line edit with a caption label beside it, which follows the edit's enabled state.
class LabeledEdit : public QLineEdit {
  public:
    enum class LabelPosition { Above, Left };

    // The label sits 3 pixels above the edit (or to its left) at its own natural size.
    LabeledEdit(const QString& name, const QRect& geometry, const QString& caption,
                LabelPosition position, const QFont& labelFont, QWidget* parent);

    QLabel* editLabel() const { return label_; }
    void setCaption(const QString& caption);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void placeLabel();

    QLabel* label_;
    LabelPosition position_;
};

// A list box whose rows are 12 pixels high; items are held as UTF-8 texts by the core.
class ListBox : public QListWidget {
  public:
    ListBox(const QString& name, const QRect& geometry, QWidget* parent);

    void setTexts(const std::vector<std::string>& texts);
    std::vector<std::string> texts() const;
};

// A one-column group of radio buttons with an item index; clicked() is emitted only when the
// selection really changes, never for a click on the item already chosen.
class RadioGroup : public QGroupBox {
    Q_OBJECT
  public:
    RadioGroup(const QString& name, const QRect& geometry, const QString& caption,
               const QStringList& items, QWidget* parent);

    int itemIndex() const;
    void setItemIndex(int index);
    QAbstractButton* item(int index) const;

  signals:
    void clicked();

  private:
    QButtonGroup* buttons_;
};

// Shows the core's 401 × 401 surface buffer as it is, wrapped without a copy.
class SurfaceView : public QWidget {
  public:
    SurfaceView(const QString& name, const PlotSurface& surface, QWidget* parent);

    // The picture as shown: a QImage over the surface's own pixels (valid while it lives).
    QImage image() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const PlotSurface& surface_;
};

// The marker: a circle filled and outlined in red.
class ShapeCircle : public QWidget {
  public:
    ShapeCircle(const QString& name, const QRect& geometry, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kurvilo
