#include "app/main_wnd.h"
#include "app/registered_messages.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/controls/skin_change_observer.h"
#include "ui/toolkit/control_ui.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/resource_manager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

SkinChangedParam Image(const std::string& image) {
    return SkinChangedParam{false, 0, image};
}

class MainWndReceiverTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(LoadProgramSkin());
        app::RegisterProductMessage();
        app::RegisterShellMessages();
        ui::CPaintManagerUI::SetAllDPI(96);
    }
    void TearDown() override { ui::CResourceManager::GetInstance().Release(); }

    std::unique_ptr<app::CMainWnd> Open() {
        auto wnd = std::make_unique<app::CMainWnd>();
        EXPECT_NE(wnd->Create(nullptr, "Norvik 400100 Gaming Mouse", 0, 0, 0, 0, 1000, 640), nullptr);
        EXPECT_TRUE(WaitFor([&] { return wnd->IsVisible(); }));
        return wnd;
    }

    CTempDataHome home;
};

TEST_F(MainWndReceiverTest, TheMainWindowRepaintsItsRootWithEachSkinChange) {
    const std::size_t before = GetSkinChangeObserver().ListenerCount();
    auto wnd = Open();
    EXPECT_EQ(GetSkinChangeObserver().ListenerCount(), before + 1);
    ui::CControlUI* root = wnd->GetPaintManager().FindControl("root");
    EXPECT_EQ(wnd->OnPublish(Image("skin/1.png")), 1);
    GetSkinChangeObserver().Publish(Image("main/pattern.png"));
    EXPECT_EQ(root->GetBkImage(), "main/pattern.png");
    EXPECT_EQ(root->GetBkColor(), 0u);
    GetSkinChangeObserver().Publish(SkinChangedParam{true, 0xFF202830, "ignored.png"});
    EXPECT_EQ(root->GetBkColor(), 0xFF202830u);
    EXPECT_EQ(root->GetBkImage(), "");
    wnd.reset();
    // The window left the observer when it went: a later publication reaches nobody.
    EXPECT_EQ(GetSkinChangeObserver().ListenerCount(), before);
    EXPECT_EQ(GetSkinChangeObserver().Publish(Image("after.png")), 0);
}

TEST_F(MainWndReceiverTest, TheStoredLanguageIsAppliedAtStartAndOnTheLanguageMessage) {
    CSettingsStore store;
    ASSERT_TRUE(store.CreateKey(kProductSettingsKey));
    ASSERT_TRUE(store.SetValue(kProductSettingsKey, kLanguageValueName, "1033"));
    auto wnd = Open();
    EXPECT_EQ(wnd->LanguageIndex(), 1);
    ui::CControlUI* title = wnd->GetPaintManager().FindControl("nodevice_title");
    EXPECT_EQ(title->GetText(), "No device connected");
    ui::SendMessage(wnd->GetHWND(), app::kMsgLanguageChanged, 0);
    EXPECT_EQ(wnd->LanguageIndex(), 0);
    EXPECT_EQ(title->GetText(), "未检测到设备");
    EXPECT_EQ(store.QueryValue(kProductSettingsKey, kLanguageValueName), "2052");
    // While the system is suspended the message is not handled.
    ui::SendMessage(wnd->GetHWND(), ui::WM_POWERBROADCAST, 4);
    ui::SendMessage(wnd->GetHWND(), app::kMsgLanguageChanged, 1);
    EXPECT_EQ(wnd->LanguageIndex(), 0);
}

}  // namespace
