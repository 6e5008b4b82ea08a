// SPDX-License-Identifier: MIT
// Both windows keep their size whatever asks them to be maximised or shown full screen: they come
// back, normal, at their size, and hold it again. (Under a Wayland compositor the same requests
// ended the program: wayland_test.cpp.)
#include <QWindow>
#include <QtTest/QTest>

#include "window_fixture.h"

namespace kurvilo {
namespace {

struct StateRequest {
    const char* name;
    bool keypad;
    Qt::WindowState state;
};

void PrintTo(const StateRequest& row, std::ostream* os) {
    *os << row.name;
}

class LargerState : public WindowTest, public testing::WithParamInterface<StateRequest> {};

TEST_P(LargerState, TheWindowComesBackNormalAtItsSize) {
    const StateRequest& row = GetParam();
    form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1));
    QWidget* window = row.keypad ? static_cast<QWidget*>(form2) : form1;
    const QSize size = row.keypad ? QSize(456, 148) : QSize(777, 410);
    if (row.keypad) {
        form2->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form2));
    }
    window->windowHandle()->setWindowStates(row.state);
    const bool normal = QTest::qWaitFor(
        [&] {
            return window->windowHandle()->windowStates() == Qt::WindowNoState &&
                   window->size() == size && window->minimumSize() == size &&
                   window->maximumSize() == size;
        },
        3000);
    EXPECT_TRUE(normal) << "state " << int(window->windowHandle()->windowStates()) << ", size "
                        << window->width() << "x" << window->height();
    if (row.keypad) form2->hide();
}

INSTANTIATE_TEST_SUITE_P(
    EachWindow, LargerState,
    testing::Values(StateRequest{"MainWindowMaximised", false, Qt::WindowMaximized},
                    StateRequest{"MainWindowFullScreen", false, Qt::WindowFullScreen},
                    StateRequest{"KeypadMaximised", true, Qt::WindowMaximized},
                    StateRequest{"KeypadFullScreen", true, Qt::WindowFullScreen}),
    [](const testing::TestParamInfo<StateRequest>& info) { return std::string(info.param.name); });

TEST_F(WindowTest, TheKeypadIsATransientOfTheMainWindow) {
    form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1));
    withKeypad("Button3", [&] {
        ASSERT_NE(form2->windowHandle(), nullptr);
        EXPECT_EQ(form2->windowHandle()->transientParent(), form1->windowHandle());
        EXPECT_EQ(form2->windowHandle()->modality(), Qt::ApplicationModal);
    });
}

}  // namespace
}  // namespace kurvilo
