// SPDX-License-Identifier: MIT
// The warning marker inside a field: the theme's warning icon at the field's trailing end while
// its text would be read differently from how it looks. In a formula field it shows the
// formula's notes (formula/notes.h) in Japanese and, on a click, makes the fixes nobody would
// make otherwise (full-width to ASCII, '**' to "^", 'pi' to "π", a decimal comma to ".") as one
// edit that Ctrl+Z undoes. In a value field (an initial value, a constant a to d) it shows when
// the text will not parse as a value, and which decimal separator the field expects.
//
// The marker only informs: no control moves, no caption changes, and a formula with a note runs
// exactly as it would without the marker.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "formula/notes.h"

class QAction;
class QLineEdit;
class QTimer;

namespace kurvilo {

class FieldMarker : public QObject {
    Q_OBJECT
  public:
    enum class Field {
        Formula,       // Edit1, Edit2, the keypad's Edit1
        InitialValue,  // the four initial values: an empty one fails the run
        Constant,      // a to d: an empty one becomes "0" when the keypad closes
    };

    // A marker for the field, owned by it; it follows the field's text from now on.
    FieldMarker(QLineEdit* field, Field kind);

    // The marker's action: in the field's actions while it shows. Its object name is
    // "FormulaMarker" or "ValueMarker".
    QAction* action() const { return action_; }
    bool shown() const { return shown_; }

    // Reads the field again (its text, or the decimal separator the value fields expect).
    void refresh();
    // The fixes of the formula's notes, as one edit of the field; nothing when it has none.
    void applyFixes();

  private:
    void show(const QString& toolTip);
    void hide();

    QLineEdit* field_;
    Field kind_;
    QAction* action_;
    QTimer* delay_;
    bool shown_ = false;
    std::vector<FormulaNote> notes_;
};

// A marker for a formula field and for a value field.
FieldMarker* attachFormulaMarker(QLineEdit* field);
FieldMarker* attachValueMarker(QLineEdit* field, FieldMarker::Field kind);

// Every marker of the window and of the windows it owns reads its field again: after the
// decimal separator changed.
void refreshMarkers(QObject* window);

// The Japanese wording of a note, quoting its characters.
QString japaneseNoteText(const FormulaNote& note);

}  // namespace kurvilo
