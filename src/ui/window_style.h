// SPDX-License-Identifier: MIT
// The look both windows share: the text face at its pixel sizes, the fixed-size window hints, the
// button-face background with its group frames, the colours that never follow the theme (black
// captions on white, the red status) and disabled text that stays readable. Keeping each caption
// whole in its control is ui/caption_fit.h's.
#pragma once

#include <QFont>
#include <QString>
#include <Qt>

class QColor;
class QWidget;

namespace kurvilo {

// Captions: the face the windows were designed with first, then its metric twin IPAPGothic, then
// other Japanese faces; every glyph from the one face found (no per-script fallback).
QFont uiFont(int pixelSize, bool bold = false);
// Fields the user types into: the same face, but a character it lacks may come from another.
QFont fieldFont(int pixelSize, bool bold = false);

// A title bar with the system menu and the close box only.
inline constexpr Qt::WindowFlags kFixedWindowHints = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                     Qt::WindowSystemMenuHint |
                                                     Qt::WindowCloseButtonHint;

// The window's font, its background in the theme's button face and the group frames.
void applyWindowStyle(QWidget* window);
// The button face again, after the theme changed (a window's palette changed with it), and the
// theme's disabled text made readable in every control of the window; sets nothing that is
// already right. Called once more when the window's controls are made.
void applyButtonFace(QWidget* window);

// A caption drawn on white: the text is black (grey when disabled) whatever the theme.
void paintBlackOnWhite(QWidget* label);

// Disabled text reads at this contrast to its background at least: WCAG AA asks 4.5 : 1, and a
// thin antialiased stroke at 11 to 16 pixels reaches clearly less than its colour.
inline constexpr double kDisabledContrast = 6.0;
// The contrast ratio of two colours (WCAG: 1 to 21).
double contrastRatio(const QColor& a, const QColor& b);
// `disabled`, or where it reads too faintly on `background`, the first mix of it toward
// `enabled` that reads at kDisabledContrast.
QColor readableDisabled(const QColor& disabled, const QColor& enabled, const QColor& background);
// The status label: red text whatever the theme.
void paintRedText(QWidget* label);

}  // namespace kurvilo
