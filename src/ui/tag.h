// SPDX-License-Identifier: MIT
// The small integer that several components carry as their Tag (Timer1's run phase, the keypad's
// graph mode and target formula), held as the Qt property "Tag".
#pragma once

#include <QObject>
#include <QVariant>

namespace kurvilo {

inline int tagOf(const QObject* component) {
    return component->property("Tag").toInt();
}

inline void setTag(QObject* component, int tag) {
    component->setProperty("Tag", tag);
}

}  // namespace kurvilo
