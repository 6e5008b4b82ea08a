// SPDX-License-Identifier: MIT
// The handful of controls the two windows are built from that Qt has no exact twin for: an edit
// with its own caption label, a list box with 12-pixel rows, a radio group that reports only a
// real change of selection, the plot surface view, and the round marker.
#pragma once

#include <QGlyphRun>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QRawFont>
#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QLabel;

namespace kurvilo {

// Formulas and value texts may be any text; a line edit would otherwise cut them at 32767.
inline constexpr int kFormulaMaxLength = 1 << 20;

class PlotSurface;

// A single-line edit with a caption label beside it, which follows the edit's enabled state.
class LabeledEdit : public QLineEdit {
  public:
    enum class LabelPosition { Above, Left };

    // The label sits 3 pixels above the edit (or to its left), as large as its caption.
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

// A list box that shows texts, one per row of 12 pixels; its items are the UTF-8 texts the core
// reads and writes, and only the rows whose text changes are redrawn. Nothing in it is chosen:
// no row is selected and the list takes no focus.
class ListBox : public QListWidget {
  public:
    static constexpr int kRowHeight = 12;

    ListBox(const QString& name, const QRect& geometry, QWidget* parent);

    void setTexts(const std::vector<std::string>& texts);
    const std::vector<std::string>& texts() const { return texts_; }
    // A screen reader hears each row with the text of the same row of `names` before it.
    void setRowNames(const ListBox* names) { names_ = names; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // The glyphs of the characters values are written with, shaped once for the list's font.
    struct ValueGlyphs {
        QFont font;
        QRawFont raw;
        std::array<quint32, 13> index{};
        std::array<qreal, 13> advance{};
    };

    // Where `row` lies in the viewport.
    QRect rowRect(int row) const;
    const ValueGlyphs& valueGlyphs();
    // The text as a run of the value glyphs, or false when it has another character.
    bool valueRun(const QString& text, QGlyphRun& run);

    std::vector<std::string> texts_;
    const ListBox* names_ = nullptr;
    std::unique_ptr<ValueGlyphs> valueGlyphs_;
    QList<quint32> runIndexes_;
    QList<QPointF> runPositions_;
};

// A group box that draws its own caption on its frame line, so that the caption can be fitted
// (ui/caption_fit.h): in the box's own font (every control inside has its own), its line's top
// moved where the face's ink would reach the controls below. The frame is the style's.
class GroupBox : public QGroupBox {
    Q_OBJECT
  public:
    GroupBox(const QString& name, const QRect& geometry, QWidget* parent);

    // Where the caption's line starts: its left, and its top (0: on the top edge, where the
    // style would put it).
    int captionLeft() const { return kCaptionLeft; }
    int captionTop() const { return captionTop_; }
    void setCaptionTop(int top);
    // Where the caption's ink may lie: beside the frame's sides and above the topmost control
    // inside.
    QRect captionRoom() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // The caption starts 10 pixels in (6 to its frame's gap and 2 on either side of it), where
    // the window's style sheet puts it.
    static constexpr int kCaptionLeft = 10;
    static constexpr int kCaptionPadding = 2;

    int captionTop_ = 0;
};

// A one-column group of radio buttons with an item index; clicked() is emitted only when the
// selection really changes, never for a click on the item already chosen. The arrow keys only
// move the focus from item to item; Space or a click chooses.
class RadioGroup : public GroupBox {
    Q_OBJECT
  public:
    RadioGroup(const QString& name, const QRect& geometry, const QString& caption,
               const QStringList& items, QWidget* parent);

    int itemIndex() const;
    void setItemIndex(int index);
    QAbstractButton* item(int index) const;

  signals:
    void clicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The focus to the next enabled item after `from` in `step`'s direction, round the group.
    void moveFocus(QObject* from, int step);

    QButtonGroup* buttons_;
};

// Shows the core's 401 × 401 surface buffer as it is, wrapped without a copy; paints only the
// part asked for.
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
