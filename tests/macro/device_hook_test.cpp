#include "macro/device_hook.h"
#include "tests/support/qt_application.h"
#include "ui/toolkit/builtin_controls.h"
#include "ui/toolkit/window_impl_base.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <vector>

namespace {

struct Received {
    unsigned message;
    ui::WPARAM keyMessage;
    uint32_t scanCode;
    uint32_t flags;
};

// Each test runs in its own process under CTest, so this one sees no application yet.
TEST(DeviceHookWithoutApplication, TheOwnHookFailsAndNothingElseChanges) {
    if (QCoreApplication::instance() != nullptr) {
        GTEST_SKIP() << "an application exists in this process";
    }
    CDeviceHook hook;
    ASSERT_EQ(hook.InstallHooks(1, nullptr, false, true), 1);
    EXPECT_EQ(hook.InstallHooks(4, nullptr, true, true), 0);
    EXPECT_EQ(hook.Mode(), 1);
    EXPECT_FALSE(hook.IsInstalled());
}

// A window with one edit that records the hook messages it is sent.
class CHookTargetWnd : public ui::WindowImplBase {
public:
    std::string GetWindowClassName() const override { return "HookTarget"; }
    std::string GetSkinFile() override {
        return R"(<Window size="200,80"><VerticalLayout><Edit name="edit" height="30"/></VerticalLayout></Window>)";
    }
    ui::LRESULT MessageHandler(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam,
                               bool& handled) override {
        for (int mode : {4, 8, 16, 32}) {
            if (message == CDeviceHook::MouseMessageOfMode(mode)) {
                const auto* mouse = reinterpret_cast<const MouseHookEvent*>(lParam);
                clicks.push_back({message, wParam, mouse->mouseData, QPoint(mouse->x, mouse->y)});
                handled = true;
                return 0;
            }
        }
        for (int mode : {1, 4, 32}) {
            if (message == CDeviceHook::MessageOfMode(mode)) {
                const auto* key = reinterpret_cast<const KeyboardHookEvent*>(lParam);
                received.push_back({message, wParam, key->scanCode, key->flags});
                handled = true;
                return 0;
            }
        }
        return WindowImplBase::MessageHandler(message, wParam, lParam, handled);
    }
    QLineEdit* Edit() {
        return static_cast<ui::CEditUI*>(m_pm.FindControl("edit")->GetInterface("Edit"))->GetNativeEdit();
    }

    std::vector<Received> received;
    struct Click {
        unsigned message;
        ui::WPARAM mouseMessage;
        uint32_t mouseData;
        QPoint point;
    };
    std::vector<Click> clicks;
};

// Counts the key events that reach a widget after the application's filters.
class CKeyCounter : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        presses += event->type() == QEvent::KeyPress ? 1 : 0;
        return false;
    }
};

class DeviceHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_NE(wnd.Create(nullptr, "hook", 0, 0, 0, 0, 200, 80), nullptr);
        wnd.ShowWindow(true);
        ASSERT_TRUE(WaitFor([&] { return wnd.Edit() != nullptr; }));
        wnd.Edit()->installEventFilter(&counter);
    }
    void TearDown() override { wnd.Close(0); }

    // A press and a release of the key with this evdev code, as X11 and Wayland deliver them.
    void Type(int qtKey, uint16_t evdev, const QString& text = {}) {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, qtKey, Qt::NoModifier, evdev + 8u, 0, 0, text);
            QApplication::sendEvent(wnd.Edit(), &event);
        }
    }

    CHookTargetWnd wnd;
    CKeyCounter counter;
    CDeviceHook hook;
};

TEST_F(DeviceHookTest, WhileInstalledKeysGoToTheTargetAsSetOneCodesAndReachNoControl) {
    ASSERT_EQ(hook.InstallHooks(1, wnd.GetHWND(), true, true), 1);
    EXPECT_TRUE(hook.IsInstalled());
    struct Case {
        int qtKey;
        uint16_t evdev;
        uint32_t scanCode;
        uint32_t flags;
        bool reachesTheEdit;
    };
    const Case cases[] = {
        {Qt::Key_A, KEY_A, 0x1E, 0, false},
        {Qt::Key_Shift, KEY_RIGHTSHIFT, 0x36, 1, false},
        {Qt::Key_Control, KEY_RIGHTCTRL, 0x1D, 1, false},
        {Qt::Key_Enter, KEY_KPENTER, 0x1C, 1, false},
        {Qt::Key_Pause, KEY_PAUSE, 0x45, 0, false},
        {Qt::Key_VolumeUp, KEY_VOLUMEUP, 0, 0, false},  // not a key of the table: no scan code
        {Qt::Key_CapsLock, KEY_CAPSLOCK, 0x3A, 0, true},
        {Qt::Key_NumLock, KEY_NUMLOCK, 0x45, 1, true},
        {Qt::Key_ScrollLock, KEY_SCROLLLOCK, 0x46, 0, true},
    };
    for (const Case& c : cases) {
        wnd.received.clear();
        counter.presses = 0;
        Type(c.qtKey, c.evdev, c.reachesTheEdit ? QString() : QString("a"));
        ASSERT_EQ(wnd.received.size(), 2u) << c.evdev;
        EXPECT_EQ(wnd.received[0].message, CDeviceHook::MessageOfMode(1));
        EXPECT_EQ(wnd.received[0].keyMessage, CDeviceHook::kKeyDown);
        EXPECT_EQ(wnd.received[1].keyMessage, CDeviceHook::kKeyUp);
        EXPECT_EQ(wnd.received[0].scanCode, c.scanCode) << c.evdev;
        EXPECT_EQ(wnd.received[0].flags, c.flags) << c.evdev;
        EXPECT_EQ(counter.presses, c.reachesTheEdit ? 1 : 0) << c.evdev;
    }
    EXPECT_TRUE(wnd.Edit()->text().isEmpty());
}

TEST_F(DeviceHookTest, TheModeChoosesTheMessageAndReinstallingReplacesTheHook) {
    ASSERT_EQ(hook.InstallHooks(4, wnd.GetHWND(), true, false), 1);
    ASSERT_EQ(hook.InstallHooks(32, wnd.GetHWND(), true, false), 1);
    Type(Qt::Key_B, KEY_B);
    ASSERT_EQ(wnd.received.size(), 2u);
    EXPECT_EQ(wnd.received[0].message, CDeviceHook::MessageOfMode(32));
    EXPECT_EQ(wnd.received[0].scanCode, 0x30u);
    EXPECT_EQ(hook.Mode(), 32);
    EXPECT_EQ(CDeviceHook::MessageOfMode(64), 0u);
}

TEST_F(DeviceHookTest, AfterUninstallingKeysReachTheControlsAgain) {
    ASSERT_EQ(hook.InstallHooks(1, wnd.GetHWND(), true, true), 1);
    EXPECT_EQ(hook.UninstallHooks(), 1);
    EXPECT_EQ(hook.UninstallHooks(), 0);
    EXPECT_FALSE(hook.IsInstalled());
    Type(Qt::Key_A, KEY_A, "a");
    EXPECT_TRUE(wnd.received.empty());
    EXPECT_EQ(counter.presses, 1);
}

TEST_F(DeviceHookTest, WithoutItsOwnHookNothingIsCaptured) {
    ASSERT_EQ(hook.InstallHooks(1, wnd.GetHWND(), false, true), 1);
    EXPECT_FALSE(hook.IsInstalled());
    EXPECT_EQ(hook.Mode(), 1);
    Type(Qt::Key_A, KEY_A, "a");
    EXPECT_TRUE(wnd.received.empty());
    EXPECT_EQ(counter.presses, 1);
}

// With the library hook, the mouse buttons pressed on the program's widgets go to the target as
// the recording mode's mouse message, once per click however far the event travels up the
// widgets, with the screen point and the extra button in the mouse data's high word; the widget
// still gets the click. Without the library hook, or in single-key mode, no mouse message is sent.
TEST_F(DeviceHookTest, MouseButtonsAreSentInTheRecordingModesAndStillReachTheWidget) {
    struct Case {
        Qt::MouseButton button;
        unsigned down;
        unsigned up;
        uint32_t mouseData;
    };
    const Case cases[] = {
        {Qt::LeftButton, 0x201, 0x202, 0},           {Qt::RightButton, 0x204, 0x205, 0},
        {Qt::MiddleButton, 0x207, 0x208, 0},         {Qt::BackButton, 0x20B, 0x20C, 1u << 16},
        {Qt::ForwardButton, 0x20B, 0x20C, 2u << 16},
    };
    QWidget* edit = wnd.Edit();
    const QPoint local(5, 5);
    const QPoint global(305, 205);
    const auto press = [&](Qt::MouseButton button) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, QPointF(local), QPointF(local), QPointF(global), button,
                              type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
            event.setAccepted(false);
            QApplication::sendEvent(edit, &event);
        }
    };
    for (int mode : {4, 8, 16, 32}) {
        ASSERT_EQ(hook.InstallHooks(mode, wnd.GetHWND(), true, true), 1);
        for (const Case& c : cases) {
            wnd.clicks.clear();
            press(c.button);
            ASSERT_EQ(wnd.clicks.size(), 2u) << mode << " " << c.button;
            EXPECT_EQ(wnd.clicks[0].message, CDeviceHook::MouseMessageOfMode(mode));
            EXPECT_EQ(wnd.clicks[0].mouseMessage, c.down);
            EXPECT_EQ(wnd.clicks[1].mouseMessage, c.up);
            EXPECT_EQ(wnd.clicks[0].mouseData, c.mouseData);
            EXPECT_EQ(wnd.clicks[0].point, global);
        }
    }
    for (const auto& [mode, library] : {std::pair{4, false}, std::pair{1, true}}) {
        ASSERT_EQ(hook.InstallHooks(mode, wnd.GetHWND(), true, library), 1);
        wnd.clicks.clear();
        press(Qt::LeftButton);
        EXPECT_TRUE(wnd.clicks.empty()) << mode;
    }
    hook.InstallHooks(4, wnd.GetHWND(), true, true);
    wnd.Edit()->clear();
    wnd.clicks.clear();
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(local), QPointF(edit->mapToGlobal(local)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &event);
    EXPECT_TRUE(event.isAccepted());  // the edit took the press: the hook only watched it
}

}  // namespace
