#include "tests/support/qt_application.h"
#include "ui/toolkit/builtin_controls.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/window_impl_base.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace ui;

constexpr unsigned kTestMessage = WM_USER + 77;

class CTestWnd : public WindowImplBase {
public:
    std::string GetWindowClassName() const override { return "TestWnd"; }
    std::string GetSkinFile() override {
        return "<Window size=\"300,200\"><VerticalLayout name=\"root\"><Button name=\"btn\" height=\"30\"/>"
               "</VerticalLayout></Window>";
    }
    void InitWindow() override { initCalls++; }
    void Notify(TNotifyUI& msg) override {
        notes.push_back(msg.sType + ":" + (msg.pSender != nullptr ? msg.pSender->GetName() : ""));
        if (msg.sType == kNotifyTimer) {
            timerIds.push_back(static_cast<int>(msg.wParam));
        }
        WindowImplBase::Notify(msg);
    }
    LRESULT MessageHandler(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled) override {
        if (message == kTestMessage) {
            handled = true;
            received.push_back(static_cast<int>(wParam));
            return lParam * 2;
        }
        if (message == WM_TIMER) {
            windowTimers.push_back(static_cast<int>(wParam));
            KillTimer(static_cast<unsigned>(wParam));
        }
        if (message == WM_DESTROY) {
            destroyed = true;
        }
        return WindowImplBase::MessageHandler(message, wParam, lParam, handled);
    }

    int initCalls = 0;
    bool destroyed = false;
    std::vector<std::string> notes;
    std::vector<int> timerIds;
    std::vector<int> windowTimers;
    std::vector<int> received;
};

class MessageTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureQtApplication(); }
};

TEST_F(MessageTest, WindowInitComesAfterInitWindowFromTheLoop) {
    CTestWnd wnd;
    ASSERT_NE(wnd.Create(nullptr, "t", WS_POPUP, 0), nullptr);
    EXPECT_EQ(wnd.initCalls, 1);
    EXPECT_TRUE(wnd.notes.empty());
    ASSERT_TRUE(WaitFor([&] { return !wnd.notes.empty(); }));
    EXPECT_EQ(wnd.notes.front(), "windowinit:root");
    EXPECT_EQ(wnd.GetWidget()->size(), QSize(300, 200));
}

TEST_F(MessageTest, PostedAndSentMessagesReachTheHandlerOnTheUiThread) {
    CTestWnd wnd;
    HWND hwnd = wnd.Create(nullptr, "t", WS_POPUP, 0);
    EXPECT_EQ(SendMessage(hwnd, kTestMessage, 1, 21), 42);
    EXPECT_TRUE(PostMessage(hwnd, kTestMessage, 2, 0));
    EXPECT_EQ(wnd.received, std::vector<int>{1});
    LRESULT fromWorker = 0;
    std::thread worker([&] { fromWorker = SendMessage(hwnd, kTestMessage, 3, 50); });
    ASSERT_TRUE(WaitFor([&] { return wnd.received.size() == 3; }));
    worker.join();
    EXPECT_EQ(fromWorker, 100);
    EXPECT_EQ(wnd.received, (std::vector<int>{1, 2, 3}));
}

TEST_F(MessageTest, MessagesToAGoneWindowFailAndWaitingSendersAreReleased) {
    auto* wnd = new CTestWnd();
    HWND hwnd = wnd->Create(nullptr, "t", WS_POPUP, 0);
    std::atomic<bool> sent{false};
    LRESULT result = -1;
    // The worker blocks until destruction starts; the UI thread does not run the loop meanwhile.
    std::thread worker([&] {
        result = SendMessage(hwnd, kTestMessage, 9, 9);
        sent = true;
    });
    ASSERT_TRUE(WaitFor([&] { return true; }));
    wnd->DestroyWindow();
    worker.join();
    EXPECT_TRUE(sent);
    EXPECT_TRUE(result == 0 || result == 18);
    EXPECT_TRUE(wnd->destroyed);
    EXPECT_FALSE(PostMessage(hwnd, kTestMessage));
    EXPECT_EQ(SendMessage(hwnd, kTestMessage, 1, 1), 0);
    EXPECT_FALSE(IsWindow(hwnd));
    delete wnd;
}

TEST_F(MessageTest, RegisteredNamesGiveStableDistinctNumbers) {
    const unsigned a = RegisterWindowMessage("{4695579F-999A-41d4-9FAF-EFFCE93EBF15}");
    const unsigned b = RegisterWindowMessage("Norvik 400100 Gaming Mouse_001");
    EXPECT_NE(a, b);
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(RegisterWindowMessage("{4695579F-999A-41d4-9FAF-EFFCE93EBF15}"), a);
}

TEST_F(MessageTest, ControlTimersArriveAsTimerNotificationsAndWindowTimersAsWmTimer) {
    CTestWnd wnd;
    wnd.Create(nullptr, "t", WS_POPUP, 0);
    CControlUI* button = wnd.GetPaintManager().FindControl("btn");
    ASSERT_TRUE(button->SetTimer(7, 5));
    ASSERT_TRUE(WaitFor([&] { return wnd.timerIds.size() >= 2; }));
    button->KillTimer(7);
    const std::size_t count = wnd.timerIds.size();
    EXPECT_EQ(wnd.timerIds.front(), 7);
    EXPECT_FALSE(wnd.GetPaintManager().HasTimer(button, 7));
    EXPECT_TRUE(wnd.SetTimer(1011, 5));
    ASSERT_TRUE(WaitFor([&] { return !wnd.windowTimers.empty(); }));
    EXPECT_EQ(wnd.windowTimers, std::vector<int>{1011});
    EXPECT_EQ(wnd.timerIds.size(), count);
}

TEST_F(MessageTest, NotificationsGoAtOnceOrFromTheLoop) {
    CTestWnd wnd;
    wnd.Create(nullptr, "t", WS_POPUP, 0);
    ASSERT_TRUE(WaitFor([&] { return !wnd.notes.empty(); }));
    wnd.notes.clear();
    CControlUI* button = wnd.GetPaintManager().FindControl("btn");
    wnd.GetPaintManager().SendNotify(button, "later", 0, 0, true);
    wnd.GetPaintManager().SendNotify(button, "now");
    EXPECT_EQ(wnd.notes, std::vector<std::string>{"now:btn"});
    ASSERT_TRUE(WaitFor([&] { return wnd.notes.size() == 2; }));
    EXPECT_EQ(wnd.notes.back(), "later:btn");
}

TEST_F(MessageTest, ModalWindowsReturnTheirCloseCode) {
    CTestWnd wnd;
    wnd.Create(nullptr, "t", WS_POPUP, 0);
    wnd.Close(5);
    EXPECT_EQ(wnd.ShowModal(), 5);
    EXPECT_TRUE(wnd.destroyed);
}

}  // namespace
