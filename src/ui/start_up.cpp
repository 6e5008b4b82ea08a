#include "ui/start_up.h"

#include <QApplication>

#include "ui/Unit1.h"
#include "ui/components.h"
#include "ui/unit6.h"

namespace kurvilo {

void setUpApplication() {
    // Only the name, not the display name: Qt would append a display name to every caption.
    QApplication::setApplicationName(QStringLiteral("Kurvilo"));
    QApplication::setDesktopFileName(QStringLiteral("kurvilo"));
    // The windows' text face for every control that sets none of its own (the group boxes'
    // style sheet stops the windows' own font from reaching their children).
    QApplication::setFont(uiFont(12));
}

Windows createWindows() {
    Windows windows;
    windows.form1 = std::make_unique<TForm1>();
    windows.form2 = new TForm2(windows.form1.get());
    windows.form1->setKeypad(windows.form2);
    return windows;
}

}  // namespace kurvilo
