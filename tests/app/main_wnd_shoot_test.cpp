#include "app/control_factory_tables.h"
#include "app/main_wnd.h"
#include "app/msg_wnd.h"
#include "app/registered_messages.h"
#include "devices/mouse/pellix_mouse_device.h"
#include "devices/mouse/shoot_control_ui.h"
#include "devices/mouse/shoot_pattern_ui.h"
#include "platform/hid/hid_backend.h"
#include "profile/data_folders.h"
#include "profile/json_document.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse.h"
#include "tests/support/modal_window.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/resource_manager.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <filesystem>
#include <fstream>

namespace {

using app::CFileDialogs;
using app::CMainWnd;

constexpr int kShootSubPage = 4;

std::string Text(const std::string& key) {
    const std::string* text = ui::CResourceManager::GetInstance().GetText(key);
    return text != nullptr ? *text : key;
}

// The main window on a simulated bus with one emulated mouse3389 and a fresh data folder, on the
// recoil sub-page; the file dialogs answer with `chosen`, every message window is answered and
// its text remembered. The tests use the panel's controls by name, as a user's clicks and typing
// reach them.
class MainWndShootTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        platform::hid::SetProcessBackend(bus);
        ASSERT_TRUE(LoadProgramSkin());
        app::RegisterControlClasses();
        app::RegisterProductMessage();
        app::RegisterShellMessages();
        ui::CPaintManagerUI::SetAllDPI(96);
        QObject::connect(&answerer, &QTimer::timeout, [this] {
            if (ui::CHostWidget* host = ShownWindow(app::kMsgWndClassName)) {
                messages.push_back(host->GetPaintManager()->FindControl("MessageText")->GetText());
                host->GetPaintManager()->FindControl("confirm_btn")->Activate();
            }
        });
        answerer.start(5);
        wnd = std::make_unique<CMainWnd>();
        ASSERT_NE(wnd->Create(nullptr, "Norvik 400100 Gaming Mouse", 0, 0, 0, 0, 1000, 640), nullptr);
        wnd->FileDialogs().SetChooser([this](CFileDialogs::Purpose, const std::string& filter) {
            filters.push_back(filter);
            return chosen;
        });
        mouse = std::make_shared<CSimulatedMouse>(MouseModel3389());
        bus->Plug("mouse3389", mouse);
        ASSERT_TRUE(WaitFor([&] { return Page() != nullptr && Page()->ShootPanel() != nullptr; }, 3000));
        Choose("mouse_device_seting_option_" + std::to_string(kShootSubPage));
    }
    void TearDown() override {
        answerer.stop();
        wnd.reset();
        platform::hid::SetProcessBackend(nullptr);
        ui::CResourceManager::GetInstance().Release();
    }

    CPellixMouseDevice* Page() {
        CPellixUSBDevice* page = wnd->DeviceBar().ActivePage();
        return page != nullptr ? static_cast<CPellixMouseDevice*>(page->GetInterface("PellixMouseDevice"))
                               : nullptr;
    }
    CShootControlUI& Panel() { return *Page()->ShootPanel(); }
    ui::CControlUI* Control(const std::string& name) {
        ui::CControlUI* control = wnd->GetPaintManager().FindSubControlByName(Page(), name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    ui::COptionUI* Option(const std::string& name) {
        return static_cast<ui::COptionUI*>(Control(name)->GetInterface("Option"));
    }
    void Send(const std::string& name, const char* type) {
        wnd->GetPaintManager().SendNotify(Control(name), type);
    }
    void Choose(const std::string& option) { Option(option)->Selected(true); }
    void Type(const std::string& edit, const std::string& text) {
        Control(edit)->SetText(text);
        Send(edit, "killfocus");
    }
    std::string Shown(const std::string& name) { return Control(name)->GetText(); }
    Json::Value Events(int gun) {
        return CJsonDocument().ReadJsonValue(CDataFolders::UserDataFolder("mouse3389") +
                                             CShootData::FileName(gun))["Events"];
    }
    std::vector<uint8_t> ShootImage(size_t bytes) {
        const std::vector<uint8_t> memory = mouse->ShootMemory();
        return {memory.begin(), memory.begin() + static_cast<long>(bytes)};
    }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedMouse> mouse;
    std::unique_ptr<CMainWnd> wnd;
    std::string chosen;
    std::vector<std::string> filters;
    std::vector<std::string> messages;
    QTimer answerer;
};

}  // namespace

TEST_F(MainWndShootTest, TheFirstPageRestoresTheGunsAndShowsBulletOneOfGunOne) {
    ASSERT_TRUE(Panel().IsReady());
    for (int gun = 0; gun < CShootData::kGunCount; ++gun) {
        EXPECT_EQ(Events(gun).size(), 180u) << gun;
    }
    EXPECT_TRUE(Option("shoot_gun_op_0")->IsSelected());
    EXPECT_TRUE(Option("bullet_op_0")->IsSelected());
    EXPECT_EQ(Shown("bullet_select_index"), "1");
    const ShootBullet first = Panel().Data().Bullet(0, 0);
    EXPECT_EQ(Shown("bullet_x_eidt"), std::to_string(first.x));
    EXPECT_EQ(Shown("bullet_delay_eidt"), std::to_string(first.delay));
    EXPECT_EQ(Panel().Pattern()->Path().size(), 30u);
}

TEST_F(MainWndShootTest, BulletSelectionStaysWithinTheThirtyBullets) {
    struct Case {
        const char* control;
        const char* type;
        int times;
        int bullet;
    };
    for (const Case& c :
         {Case{"bullet_selected_prev", "click", 1, 0}, Case{"bullet_selected_next", "click", 3, 3},
          Case{"bullet_op_29", "", 0, 29}, Case{"bullet_selected_next", "click", 2, 29},
          Case{"bullet_op_12", "", 0, 12}, Case{"bullet_selected_prev", "click", 1, 11}}) {
        if (c.times == 0) {
            Choose(c.control);
        }
        for (int i = 0; i < c.times; ++i) {
            Send(c.control, c.type);
        }
        EXPECT_EQ(Panel().CurrentBullet(), c.bullet) << c.control;
        EXPECT_EQ(Shown("bullet_select_index"), std::to_string(c.bullet + 1)) << c.control;
        EXPECT_TRUE(Option("bullet_op_" + std::to_string(c.bullet))->IsSelected());
        EXPECT_EQ(Panel().Pattern()->Selected(), c.bullet);
    }
    Panel().SelectBullet(31);
    EXPECT_EQ(Shown("bullet_select_index"), "30");
    Panel().SelectBullet(-1);
    EXPECT_EQ(Shown("bullet_select_index"), "1");
}

TEST_F(MainWndShootTest, EditsAreStoredClampedRedrawnAndUploadedAsTheirEvents) {
    Choose("shoot_gun_op_2");
    Choose("bullet_op_2");
    Choose("bullet_x_check");
    EXPECT_EQ(Control("bullet_x_check")->GetText(), Text("mouse_move_to_left_text"));
    Type("bullet_x_eidt", "12");
    Type("bullet_y_eidt", "7");
    Type("bullet_delay_eidt", "90");
    Json::Value events = Events(2);
    const std::vector<std::tuple<std::string, int, int, int>> expected = {
        {"down", 1, 10, 1}, {"up", 1, 0, 1},   {"down", 12, 5, 4},
        {"up", 7, 90, 5},   {"down", 0, 0, 4}, {"up", 0, 0, 5}};
    for (int i = 0; i < 6; ++i) {
        const Json::Value& e = events[12 + i];
        EXPECT_EQ(std::make_tuple(e["Action"].asString(), e["Button"].asInt(), e["Delay"].asInt(),
                                  e["Type"].asInt()),
                  expected[static_cast<size_t>(i)])
            << "event " << 12 + i;
    }
    // The preview follows the edit: bullet 2's point moved 12 left and 7 down from bullet 1's.
    const auto& path = Panel().Pattern()->Path();
    EXPECT_EQ(path[2].first - path[1].first, -12);
    EXPECT_EQ(path[2].second - path[1].second, 7);

    Type("bullet_y_eidt", "");
    Type("bullet_delay_eidt", "999999");
    EXPECT_EQ(Shown("bullet_y_eidt"), "0");
    EXPECT_EQ(Shown("bullet_delay_eidt"), "65535");
    Choose("bullet_y_check");
    EXPECT_EQ(Control("bullet_y_check")->GetText(), Text("mouse_move_to_up_text"));
    EXPECT_EQ(Events(2)[15]["Action"].asString(), "down");

    // Another gun and back: the edit is in the file, not only on the screen.
    Choose("shoot_gun_op_0");
    Choose("shoot_gun_op_2");
    EXPECT_EQ(Shown("bullet_x_eidt"), "12");
    EXPECT_EQ(Shown("bullet_delay_eidt"), "65535");

    Send("shootdate_save_btn", "click");
    // Gun 2's bullet 2 in the shoot memory: its vertical move at offset 0x5C0 + 4 + 12 x 4 + 12.
    const std::vector<uint8_t> memory = ShootImage(2920);
    const size_t vertical = 0x5C0 + 4 + 12 * 4 + 3 * 4;
    EXPECT_EQ(std::vector<uint8_t>(memory.begin() + vertical - 4, memory.begin() + vertical + 4),
              (std::vector<uint8_t>{5, 0, 0x84, 12, 0xFF, 0xFF, 0x85, 0}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWndShootTest, ResetImportAndExportGoThroughTheShootDialogsAndSayWhatFailed) {
    Choose("shoot_gun_op_3");
    const ShootBullet shipped = Panel().Data().Bullet(3, 0);
    Type("bullet_x_eidt", "200");
    const std::string exported = home.Path("gun3.shoot");
    chosen = exported;
    Send("shootdate_export_btn", "click");
    Send("shootdate_reset_btn", "click");
    EXPECT_EQ(Panel().Data().Bullet(3, 0), shipped);
    EXPECT_EQ(Shown("bullet_x_eidt"), std::to_string(shipped.x));
    Send("shootdate_import_btn", "click");
    EXPECT_EQ(Shown("bullet_x_eidt"), "200");
    EXPECT_EQ(filters, std::vector<std::string>(2, CFileDialogs::Filter(CFileDialogs::Kind::Shoot)));
    EXPECT_TRUE(messages.empty());

    chosen = home.Path("not.shoot");
    std::ofstream(chosen) << "{\"MacroName\": \"m\", \"Events\": []}";
    Send("shootdate_import_btn", "click");
    ASSERT_TRUE(WaitFor([&] { return messages.size() == 1; }));
    EXPECT_EQ(messages[0], Text("shoot_import_not_shoot"));
    EXPECT_EQ(Shown("bullet_x_eidt"), "200");
    chosen = home.Path("no/such/folder/gun.shoot");
    Send("shootdate_export_btn", "click");
    ASSERT_TRUE(WaitFor([&] { return messages.size() == 2; }));
    EXPECT_EQ(messages[1], Text("shoot_copy_failed"));
    chosen.clear();
    Send("shootdate_import_btn", "click");
    EXPECT_EQ(Shown("bullet_x_eidt"), "200");
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(MainWndShootTest, RendersThePanelWithItsPattern) {
    Choose("shoot_gun_op_1");
    Choose("bullet_op_9");
    ASSERT_TRUE(SaveRender(wnd->GetPaintManager(), *wnd->GetWidget(), "mouse_shoot_panel.png"));
    ui::CPaintManagerUI::SetAllDPI(144);
    ASSERT_TRUE(SaveRender(wnd->GetPaintManager(), *wnd->GetWidget(), "mouse_shoot_panel_144dpi.png"));
}
