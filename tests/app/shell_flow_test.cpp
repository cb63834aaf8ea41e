#include "app/control_factory_tables.h"
#include "app/main_wnd.h"
#include "app/registered_messages.h"
#include "app/set_wnd.h"
#include "platform/settings/settings_store.h"
#include "tests/net/environment_guard.h"
#include "tests/support/modal_window.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/toolkit/combo_ui.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/resource_manager.h"

#include <gtest/gtest.h>

#include <QWidget>

namespace {

using app::CMainWnd;

// A new user's first start: nothing stored, the locale names the language.
class ShellFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(LoadProgramSkin());
        app::RegisterShellMessages();
        app::RegisterControlClasses();
        ui::CPaintManagerUI::SetAllDPI(96);
        // What the application's first start does before the window exists.
        ASSERT_TRUE(CSettingsStore().CreateKey(kProductSettingsKey));
    }
    void TearDown() override { ui::CResourceManager::GetInstance().Release(); }

    std::unique_ptr<CMainWnd> Open() {
        auto wnd = std::make_unique<CMainWnd>();
        EXPECT_NE(wnd->Create(nullptr, "Norvik 400100 Gaming Mouse", 0, 0, 0, 0, 1000, 640), nullptr);
        EXPECT_TRUE(WaitFor([&] { return wnd->IsVisible(); }));
        QCoreApplication::processEvents();
        return wnd;
    }
    static std::string Stored() {
        return CSettingsStore().QueryValue(kProductSettingsKey, kLanguageValueName).value_or("none");
    }
    static std::string Text(CMainWnd& wnd, const std::string& name) {
        return wnd.GetPaintManager().FindControl(name)->GetText();
    }

    CEnvironmentGuard environment{{"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG", "NORVIK_UPDATE_URL"}};
    CTempDataHome home;
};

TEST_F(ShellFlowTest, AnEnglishLocaleStartsInEnglishAndTheChoiceIsKept) {
    setenv("LANG", "en_GB.UTF-8", 1);
    {
        auto wnd = Open();
        EXPECT_EQ(wnd->LanguageIndex(), 1);
        EXPECT_EQ(Text(*wnd, "nodevice_title"), "No device connected");
        EXPECT_EQ(Stored(), "1033");
        EXPECT_TRUE(SaveRender(wnd->GetPaintManager(), *wnd->GetWidget(), "main_window_en.png"));
    }
    // The stored choice wins over the locale at the next start.
    setenv("LANG", "zh_TW.UTF-8", 1);
    auto wnd = Open();
    EXPECT_EQ(wnd->LanguageIndex(), 1);
}

TEST_F(ShellFlowTest, TheSettingsButtonOpensBesideTheWindowAndItsListSwitchesTheLanguage) {
    setenv("LANG", "zh_CN.UTF-8", 1);
    auto wnd = Open();
    ASSERT_EQ(wnd->LanguageIndex(), 0);
    wnd->Refit();  // where the start-up's own re-fit puts it, so the settings window's place is known
    EXPECT_TRUE(SaveRender(wnd->GetPaintManager(), *wnd->GetWidget(), "main_window_cn.png"));
    bool ran = false;
    WhenShown(app::kSetWndClassName, [&](ui::CHostWidget& host) {
        const QRect owner = wnd->GetWidget()->frameGeometry();
        EXPECT_EQ(host.x(), owner.right() + 1 - host.width() - 30);
        EXPECT_EQ(host.y(), owner.top() + 60);
        auto* list = static_cast<ui::CComboUI*>(
            host.GetPaintManager()->FindControl("Language_combox_info")->GetInterface("Combo"));
        ASSERT_EQ(list->GetCount(), 3);
        EXPECT_EQ(list->GetCurSel(), 0);
        EXPECT_EQ(list->GetItemAt(2)->GetText(), "繁體中文");
        EXPECT_EQ(host.GetPaintManager()->FindControl("set_title")->GetText(), "设置");
        list->SelectItem(2);
        EXPECT_EQ(wnd->LanguageIndex(), 2);
        EXPECT_EQ(Stored(), "1028");
        EXPECT_EQ(host.GetPaintManager()->FindControl("set_title")->GetText(), "設定");
        EXPECT_EQ(Text(*wnd, "nodevice_ok_btn"), "隱藏到系統匣");
        EXPECT_TRUE(SaveRender(host, "settings_window_tw.png"));
        ran = true;
        host.GetPaintManager()->FindControl("closebtn")->Activate();
    });
    wnd->GetPaintManager().FindControl("setbtn")->Activate();
    EXPECT_TRUE(WaitFor([&] { return ran && app::CSetWnd::OpenWindow() == nullptr; }, 8000));
}

// The tray icon's click closes the settings window that the update round opened.
TEST_F(ShellFlowTest, ATrayClickClosesTheSettingsWindowOpenedFromTheMenu) {
    auto wnd = Open();
    bool shown = false;
    WhenShown(app::kSetWndClassName, [&](ui::CHostWidget&) {
        shown = true;
        ui::SendMessage(wnd->GetHWND(), app::kTrayMessage, 0, ui::WM_LBUTTONUP);
    });
    ui::SendMessage(wnd->GetHWND(), app::kMsgOpenSettings);
    EXPECT_TRUE(shown);
    EXPECT_EQ(app::CSetWnd::OpenWindow(), nullptr);
}

TEST_F(ShellFlowTest, TheSettingsWindowOpensAtTheMainWindowsDpi) {
    auto wnd = Open();
    // The start's refit, due 100 ms after it, runs now: on a slow machine it would otherwise
    // fall inside the settings window's opening and set 96 back.
    ui::SendMessage(wnd->GetHWND(), ui::WM_TIMER, app::kTimerRefit);
    ui::CPaintManagerUI::SetAllDPI(144);
    bool shown = false;
    WhenShown(app::kSetWndClassName, [&](ui::CHostWidget& host) {
        shown = true;
        EXPECT_EQ(host.GetPaintManager()->GetDPI(), 144);
        EXPECT_EQ(host.size(), QSize(945, 750));
        EXPECT_TRUE(SaveRender(host, "settings_window_144dpi.png"));
        host.GetPaintManager()->FindControl("closebtn")->Activate();
    });
    wnd->OpenSettingsWindow(false);
    EXPECT_TRUE(shown);
    ui::CPaintManagerUI::SetAllDPI(96);
}

}  // namespace
