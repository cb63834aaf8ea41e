#include "app/main_wnd.h"
#include "app/control_factory_tables.h"
#include "app/registered_messages.h"
#include "app/set_wnd.h"
#include "platform/ipc/shell_messages.h"
#include "tests/support/debug_capture.h"
#include "tests/support/menu_choice.h"
#include "tests/support/modal_window.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "ui/toolkit/builtin_controls.h"
#include "ui/toolkit/menu_wnd.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/resource_manager.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace {

using app::CMainWnd;

class MainWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(LoadProgramSkin());
        app::RegisterProductMessage();
        app::RegisterShellMessages();
        ui::CPaintManagerUI::SetAllDPI(96);
    }
    void TearDown() override { ui::CResourceManager::GetInstance().Release(); }

    // Creates the window and waits until "windowinit" and the first re-fit ran.
    std::unique_ptr<CMainWnd> Open() {
        auto wnd = std::make_unique<CMainWnd>();
        wnd->SetBroadcaster([this](const std::string& name, std::uint64_t w, std::int64_t l) {
            broadcasts.push_back(name + ":" + std::to_string(w) + ":" + std::to_string(l));
        });
        EXPECT_NE(wnd->Create(nullptr, "Norvik 400100 Gaming Mouse", 0, 0, 0, 0, 1000, 640), nullptr);
        EXPECT_TRUE(WaitFor([&] { return wnd->IsVisible(); }));
        QCoreApplication::processEvents();
        return wnd;
    }

    void Save(CMainWnd& wnd, const std::string& name) {
        ASSERT_TRUE(SaveRender(wnd.GetPaintManager(), *wnd.GetWidget(), name));
    }

    std::vector<std::string> broadcasts;
};

TEST_F(MainWndTest, StartsCentredAt1000By640WithNoDeviceLinkAndAnnouncesLightControl) {
    auto wnd = Open();
    EXPECT_EQ(wnd->GetWidget()->size(), QSize(1000, 640));
    const QRect screen = wnd->GetWidget()->screen()->availableGeometry();
    const QRect frame = wnd->GetWidget()->frameGeometry();
    if (screen.width() >= frame.width() && screen.height() >= frame.height()) {
        EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1);
        EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1);
    } else {
        // A screen smaller than the window (the offscreen one is 800 x 800) keeps the caption on it.
        EXPECT_GE(frame.left(), screen.left());
        EXPECT_GE(frame.top(), screen.top());
    }
    EXPECT_TRUE(wnd->GetPaintManager().FindControl("No_device_Link")->IsVisible());
    auto* pages = static_cast<ui::CTabLayoutUI*>(
        wnd->GetPaintManager().FindControl("device_switch")->GetInterface("TabLayout"));
    EXPECT_EQ(pages->GetCurSel(), 0);
    EXPECT_EQ(broadcasts,
              std::vector<std::string>{std::string(platform::ipc::kLightControlAnnouncementName) + ":1:1"});
    EXPECT_EQ(wnd->GetTrayIcon().GetToolTip(), "Norvik 400100 Gaming Mouse");
    Save(*wnd, "main_window.png");
}

TEST_F(MainWndTest, EveryControlTheFrameLooksUpExistsInTheSkin) {
    CDebugCapture capture;
    auto wnd = Open();
    ui::SendMessage(wnd->GetHWND(), app::kMsgShowSettingProgress);
    ui::SendMessage(wnd->GetHWND(), app::kMsgClearUpdateBadge);
    ui::SendMessage(wnd->GetHWND(), app::RegisteredMessages().productMessage, 0, 1);
    ui::SendMessage(wnd->GetHWND(), app::RegisteredMessages().lightControlCommand, 1, 0);
    wnd->Refit();
    EXPECT_EQ(capture.Text().find("has no control named"), std::string::npos) << capture.Text();
    EXPECT_EQ(capture.Text().find("cannot load image"), std::string::npos) << capture.Text();
    EXPECT_TRUE(wnd->GetPaintManager().FindControl("setting_progress")->IsVisible());
}

TEST_F(MainWndTest, TheRefitChoosesTheDpiFromTheMonitorSize) {
    EXPECT_EQ(CMainWnd::DpiForMonitor(1920, 1080), 144);
    EXPECT_EQ(CMainWnd::DpiForMonitor(1500, 1080), 96);
    EXPECT_EQ(CMainWnd::DpiForMonitor(1920, 960), 96);
    EXPECT_EQ(CMainWnd::DpiForMonitor(1280, 1024), 96);
    auto wnd = Open();
    ui::CPaintManagerUI::SetAllDPI(144);
    EXPECT_EQ(wnd->GetWidget()->size(), QSize(1500, 960));
    Save(*wnd, "main_window_144dpi.png");
    wnd->Refit();
    EXPECT_EQ(wnd->GetPaintManager().GetDPI(),
              CMainWnd::DpiForMonitor(wnd->GetWidget()->screen()->geometry().width(),
                                      wnd->GetWidget()->screen()->geometry().height()));
}

TEST_F(MainWndTest, LightControlFollowsTheButtonAndTheCommandMessage) {
    auto wnd = Open();
    broadcasts.clear();
    ui::CControlUI* status = wnd->GetPaintManager().FindControl("control_light_status");
    status->Activate();
    EXPECT_FALSE(wnd->IsLightControlled());
    EXPECT_EQ(status->GetRawText(), "不控制灯光");
    EXPECT_EQ(broadcasts,
              std::vector<std::string>{std::string(platform::ipc::kLightControlAnnouncementName) + ":1:0"});
    const unsigned command = app::RegisteredMessages().lightControlCommand;
    ui::SendMessage(wnd->GetHWND(), command, 2, 1);
    EXPECT_FALSE(wnd->IsLightControlled());
    ui::SendMessage(wnd->GetHWND(), command, 1, 5);
    EXPECT_FALSE(wnd->IsLightControlled());
    ui::SendMessage(wnd->GetHWND(), command, 1, 1);
    EXPECT_TRUE(wnd->IsLightControlled());
    EXPECT_EQ(status->GetRawText(), "控制灯光");
    EXPECT_EQ(broadcasts.size(), 1u);
}

TEST_F(MainWndTest, ActivationAndHoverFlagsAndSuspensionGateTheTray) {
    auto wnd = Open();
    ui::SendMessage(wnd->GetHWND(), ui::WM_ACTIVATE, 0);
    ui::SendMessage(wnd->GetHWND(), ui::WM_MOUSEHOVER);
    EXPECT_TRUE(wnd->IsHovered());
    ui::SendMessage(wnd->GetHWND(), ui::WM_ACTIVATE, 1);
    ui::SendMessage(wnd->GetHWND(), ui::WM_MOUSELEAVE);
    EXPECT_TRUE(wnd->IsHovered());
    EXPECT_TRUE(wnd->IsWindowActive());
    ui::SendMessage(wnd->GetHWND(), ui::WM_POWERBROADCAST, 4);
    EXPECT_FALSE(wnd->IsRunning());
    ui::SendMessage(wnd->GetHWND(), app::kTrayMessage, 0, ui::WM_LBUTTONUP);
    EXPECT_TRUE(wnd->IsVisible());
    ui::SendMessage(wnd->GetHWND(), ui::WM_POWERBROADCAST, 18);
    ui::SendMessage(wnd->GetHWND(), app::kTrayMessage, 0, ui::WM_LBUTTONUP);
    EXPECT_FALSE(wnd->IsVisible());
    ui::SendMessage(wnd->GetHWND(), app::kTrayMessage, 0, ui::WM_LBUTTONUP);
    EXPECT_TRUE(wnd->IsVisible());
}

TEST_F(MainWndTest, HidingWithoutATrayMinimisesSoTheWindowIsNeverLost) {
    auto wnd = Open();
    ASSERT_FALSE(wnd->GetTrayIcon().IsShown());  // the offscreen desktop has no tray host
    wnd->GetPaintManager().FindControl("nodevice_ok_btn")->Activate();
    ASSERT_TRUE(WaitFor([&] { return wnd->IsMinimized(); }));
    EXPECT_TRUE(wnd->IsVisible());
}

TEST_F(MainWndTest, TrayMenuExitShutsDownInOrder) {
    auto wnd = Open();
    CDebugCapture capture;
    ui::SendMessage(wnd->GetHWND(), app::kTrayMessage, 0, ui::WM_RBUTTONUP);
    ASSERT_TRUE(WaitFor([] { return !ui::CMenuWnd::GetOpenMenus().empty(); }));
    ASSERT_TRUE(ChooseMenuItem(*ui::CMenuWnd::GetOpenMenus().back(), "exit"));
    ASSERT_TRUE(WaitFor([&] { return !ui::IsWindow(wnd->GetHWND()); }));
    EXPECT_FALSE(wnd->GetTrayIcon().IsCreated());
    const std::string text = capture.Text();
    const size_t leaving = text.find("退出测试");
    ASSERT_NE(leaving, std::string::npos) << text;
    // The workers the window started stop after it announced the exit.
    for (const char* exitText :
         {"抓取设备线程设定退出", "同步灯光线程设定退出", platform::CWorkerThread::kEndedText}) {
        EXPECT_LT(leaving, text.find(exitText)) << exitText;
    }
    EXPECT_EQ(text.find("错误"), std::string::npos) << text;
}

TEST_F(MainWndTest, TheCloseButtonEndsTheProcessWithCodeZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            auto wnd = Open();
            wnd->GetPaintManager().FindControl("closebtn")->Activate();
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(MainWndTest, AnUpdateRoundMarksTheSettingsButtonOnlyWhenSomethingIsNew) {
    auto wnd = Open();
    bool settingsAsked = false;
    WhenShown(app::kSetWndClassName, [&](ui::CHostWidget& host) {
        settingsAsked = true;
        host.GetPaintManager()->FindControl("closebtn")->Activate();
    });
    auto* setbtn =
        static_cast<ui::CButtonUI*>(wnd->GetPaintManager().FindControl("setbtn")->GetInterface("Button"));
    // The update thread reports from its own thread; the window takes it over on the UI thread.
    std::thread([&] { wnd->UpdateRoundFinished(true); }).join();
    ASSERT_TRUE(WaitFor([&] { return settingsAsked; }));
    EXPECT_EQ(setbtn->GetForeImage(), "file='sysbtn/haveNewInfo.png'");
    std::thread([&] { wnd->UpdateRoundFinished(false); }).join();
    ASSERT_TRUE(WaitFor([&] { return setbtn->GetForeImage().empty(); }));
    Save(*wnd, "main_window.png");
}

TEST_F(MainWndTest, SubTreeElementsOfTheTableAreBuiltFromTheirFilesIgnoringCase) {
    CDebugCapture capture;
    ui::CPaintManagerUI manager;
    // The layout files of later pieces are not in the skin yet: the table asks for exactly them.
    EXPECT_EQ(app::CreateMainWindowControl("virtualsetcontrolui", nullptr, &manager), nullptr);
    EXPECT_NE(capture.Text().find("XML/CustomControlXML/VirtualSet.xml"), std::string::npos);
    EXPECT_EQ(app::CreateMainWindowControl("Button", nullptr, &manager), nullptr);
}

}  // namespace
