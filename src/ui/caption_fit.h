// SPDX-License-Identifier: MIT
// Every caption whole in its control, in whichever Japanese face is installed: its ink never
// falls where the control clips it or where another control covers it. Where the face at hand is
// too wide, the caption is drawn with its letters closer (as far as they stay apart) or
// condensed; where it is too tall, its baseline moves (a label's, a group's caption's) or, as the
// last resort, it is drawn a pixel or more smaller. In the face the windows were designed for,
// nothing changes.
#pragma once

#include <QString>

class QAbstractButton;
class QLabel;
class QWidget;

namespace kurvilo {

class GroupBox;

// Sets the caption and fits it. A label of fixed size keeps its size; any other label takes the
// size of its caption, as high as its face's pixel size and no wider than its maximum width (the
// room up to the control beside it).
void setCaption(QLabel* label, const QString& caption);
void setCaption(QAbstractButton* button, const QString& caption);
void setCaption(GroupBox* box, const QString& caption);
// Fits the caption the control already has; a group's caption fits above the controls inside
// it, so it is fitted again once they are made.
void fitCaption(QLabel* label);
void fitCaption(QAbstractButton* button);
void fitCaption(GroupBox* box);
// Every group's caption of the window, once its controls are made.
void fitGroupCaptions(QWidget* window);

}  // namespace kurvilo
