#include "app/control_factory_tables.h"
#include "app/main_wnd.h"
#include "app/registered_messages.h"
#include "devices/mouse/pellix_mouse_device.h"
#include "macro/macro_list.h"
#include "platform/hid/hid_backend.h"
#include "profile/data_folders.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/toolkit/builtin_controls.h"
#include "ui/toolkit/color_palette_ui.h"
#include "ui/toolkit/resource_manager.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QKeyEvent>

#include <functional>

namespace {

using app::CMainWnd;
using Bytes = std::vector<uint8_t>;

constexpr int kButtonsSubPage = 1;
constexpr int kLightingSubPage = 2;
constexpr int kRightButton = 1;

std::string Resolve(const std::string& key) {
    const std::string* text = ui::CResourceManager::GetInstance().GetText(key);
    return text != nullptr ? *text : key;
}

// The main window on a simulated bus with one emulated mouse and a fresh data folder, its page
// filled; the tests act on the page's controls by name as a user's clicks do.
class MainWndPanelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        platform::hid::SetProcessBackend(bus);
        ASSERT_TRUE(LoadProgramSkin());
        app::RegisterControlClasses();
        app::RegisterProductMessage();
        app::RegisterShellMessages();
        ui::CPaintManagerUI::SetAllDPI(96);
        wnd = std::make_unique<CMainWnd>();
        ASSERT_NE(wnd->Create(nullptr, "Norvik 400100 Gaming Mouse", 0, 0, 0, 0, 1000, 640), nullptr);
        ASSERT_TRUE(WaitFor([&] { return wnd->IsVisible(); }));
        mouse = std::make_shared<CSimulatedMouse>(MouseModel3389());
        bus->Plug("mouse3389", mouse);
        ASSERT_TRUE(
            WaitFor([&] { return Page() != nullptr && !Control("DPI_edit_1")->GetText().empty(); }, 3000));
    }
    void TearDown() override {
        wnd.reset();
        platform::hid::SetProcessBackend(nullptr);
        ui::CResourceManager::GetInstance().Release();
    }

    CPellixMouseDevice* Page() { return static_cast<CPellixMouseDevice*>(wnd->DeviceBar().ActivePage()); }
    ui::CControlUI* Control(const std::string& name) {
        ui::CControlUI* control =
            Page() != nullptr ? wnd->GetPaintManager().FindSubControlByName(Page(), name) : nullptr;
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    template <class T>
    T* As(const std::string& name, const char* interfaceName) {
        ui::CControlUI* control = Control(name);
        return control != nullptr ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
    }
    void Send(const std::string& name, const char* type) {
        if (ui::CControlUI* control = Control(name)) {
            wnd->GetPaintManager().SendNotify(control, type);
        }
    }
    void SelectItem(const std::string& combo, int item) {
        As<ui::CComboUI>(combo, "Combo")->SelectItem(item);
    }
    void Type(const std::string& edit, const std::string& text) {
        Control(edit)->SetText(text);
        Send(edit, "killfocus");
    }
    void Choose(const std::string& option) { As<ui::COptionUI>(option, "Option")->Selected(true); }
    void OpenSubPage(int index) { Choose("mouse_device_seting_option_" + std::to_string(index)); }

    // A press and release on the window as the desktop delivers it: the evdev code + 8.
    void Press(int qtKey, uint16_t evdev) {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, qtKey, Qt::NoModifier, evdev + 8u, 0, 0);
            QApplication::sendEvent(wnd->GetWidget(), &event);
        }
    }

    // The firmware position that holds the right button's factory code, before any write.
    int RightButtonPosition() {
        const Bytes table = mouse->KeyTable();
        for (size_t at = 0; at + 3 <= table.size(); at += 3) {
            if (Bytes(table.begin() + static_cast<long>(at), table.begin() + static_cast<long>(at + 3)) ==
                Bytes{0x10, 0x02, 0x00}) {
                return static_cast<int>(at / 3);
            }
        }
        return -1;
    }
    Bytes KeyTableEntry(int position) {
        const Bytes table = mouse->KeyTable();
        return {table.begin() + position * 3, table.begin() + position * 3 + 3};
    }
    Bytes Record(size_t first, size_t count) {
        const Bytes memory = mouse->Memory();
        return {memory.begin() + static_cast<long>(first), memory.begin() + static_cast<long>(first + count)};
    }
    void Save(const std::string& name) {
        ASSERT_TRUE(SaveRender(wnd->GetPaintManager(), *wnd->GetWidget(), name)) << name;
    }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedMouse> mouse;
    std::unique_ptr<CMainWnd> wnd;
};

// Each category's editors, saved and applied, give the right button a function; the bytes are
// worked out from the USB HID usage tables (consumer Play/Pause 0xCD, keyboard A 0x04, C 0x06)
// and the function code layout, not by the encoder.
TEST_F(MainWndPanelsTest, EveryFunctionCategoryReachesTheKeyTableTheListAndTheTooltip) {
    const std::optional<size_t> macro = CMacroList(CDataFolders::UserDataFolder("mouse3389")).Create();
    ASSERT_TRUE(macro.has_value());
    ASSERT_EQ(CMacroList(CDataFolders::UserDataFolder("mouse3389")).Save(*macro, {}), 0);
    Page()->CheckMacroReferences();
    OpenSubPage(kButtonsSubPage);
    const int position = RightButtonPosition();
    ASSERT_GE(position, 0);
    ASSERT_EQ(KeyTableEntry(position), (Bytes{0x10, 0x02, 0x00}));

    struct Case {
        int category;
        std::function<void()> edit;
        Bytes bytes;
        std::string name;
    };
    const Case cases[] = {
        {1, [&] { SelectItem("keyset_mousekey_combo", 1); }, {0x10, 0x04, 0x00}, Resolve("mouse_key_middle")},
        {2,
         [&] {
             SelectItem("keyset_mouseswing_combo", 1);
             Type("keyset_mouseswing_num_edit", "5");
             Type("keyset_mouseswing_delay_edit", "2");
             Type("keyset_mouseswing_speed_edit", "3");
         },
         {0x11, 0x23, 0x85},
         Resolve("mouse_key_right_Swing")},
        {3,
         [&] {
             SelectItem("keyset_mousewheel_combo", 1);
             Type("keyset_mousewheel_num_edit", "5");
             Type("keyset_mousewheel_delay_edit", "0");
             Type("keyset_mousewheel_speed_edit", "1");
         },
         {0x12, 0x01, 0xFB},
         Resolve("mouse_key_down_Swing")},
        {4,
         [&] { SelectItem("keyset_mousedpi_combo", 2); },
         {0x13, 0x03, 0x00},
         Resolve("mouse_key_DPI_loop")},
        {5,
         [&] {
             Type("keyset_mousefire_interval_edit", "10");
             Type("keyset_mousefire_num_edit", "3");
         },
         {0x14, 0x0A, 0x03},
         Resolve("mouse_key_fire_key")},
        {6,
         [&] {
             Choose("key_ComBox_check_1");
             Send("keyset_keyboard_text_edit", "setfocus");
             Press(Qt::Key_A, KEY_A);
             Send("keyset_keyboard_text_edit", "killfocus");
         },
         {0x20, 0x01, 0x04},
         Resolve("keyboard_key_LCtrl") + "+" + Resolve("keyboard_key_A")},
        {7, [&] { SelectItem("keyset_media_combo", 1); }, {0x30, 0xCD, 0x00}, Resolve("media_play")},
        {8, [&] { SelectItem("keyset_system_combo", 1); }, {0x40, 0x02, 0x00}, Resolve("system_sleep")},
        {9,
         [&] {
             SelectItem("keyset_macro_combo", 0);
             SelectItem("keyset_macro_over_combo", 4);
             Type("keyset_macro_cycle_edit", "300");
         },
         {0x71, 0x00, 0xFF},
         "macro_1"},
        {10, [&] { SelectItem("keyset_gunkey_combo", 1); }, {0x72, 0x01, 0x00}, Resolve("gun_2_txt")},
        {11,
         [&] { SelectItem("keyset_combokey_combo", 4); },
         {0x20, 0x01, 0x06},
         Resolve("keyboard_key_LCtrl") + "+" + Resolve("keyboard_key_C")},
        {0, [] {}, {0x10, 0x02, 0x00}, Resolve("mouse_key_right")},
    };
    for (const Case& c : cases) {
        Send("key_" + std::to_string(kRightButton), "click");
        ASSERT_TRUE(Control("KeySetControlItem")->IsVisible());
        SelectItem("keyset_function_combo", c.category);
        c.edit();
        Send("key_butt_keysave", "click");
        EXPECT_NE(Page()->KeyButton(kRightButton)->GetToolTip().find(c.name), std::string::npos)
            << c.category << ": " << Page()->KeyButton(kRightButton)->GetToolTip();
        Send("key_butt_prosave", "click");
        ASSERT_TRUE(WaitFor([&] { return KeyTableEntry(position) == c.bytes; })) << "category " << c.category;
        const auto* list = As<ui::CContainerUI>("device_setkeyinfo_list", "Container");
        const auto* row =
            static_cast<ui::CContainerUI*>(list->GetItemAt(kRightButton)->GetInterface("Container"));
        EXPECT_EQ(row->GetItemAt(1)->GetText(), c.name) << c.category;
    }
    EXPECT_EQ(Control("keyset_macro_cycle_edit")->GetText(), "255");
}

TEST_F(MainWndPanelsTest, CapturedKeysFollowTheModifierRulesAndUnknownKeysAreIgnored) {
    const int position = RightButtonPosition();
    OpenSubPage(kButtonsSubPage);
    Send("key_" + std::to_string(kRightButton), "click");
    SelectItem("keyset_function_combo", 6);
    Send("keyset_keyboard_text_edit", "setfocus");
    Press(Qt::Key_Shift, KEY_RIGHTSHIFT);
    EXPECT_TRUE(As<ui::COptionUI>("key_ComBox_check_2", "Option")->IsSelected());
    EXPECT_TRUE(Control("keyset_keyboard_text_edit")->GetText().empty());
    Press(Qt::Key_F, KEY_F12);
    EXPECT_EQ(Control("keyset_keyboard_text_edit")->GetText(), Resolve("keyboard_key_F12"));
    Press(Qt::Key_VolumeUp, KEY_VOLUMEUP);
    EXPECT_EQ(Control("keyset_keyboard_text_edit")->GetText(), Resolve("keyboard_key_F12"));
    Send("keyset_keyboard_text_edit", "killfocus");
    Send("key_butt_keysave", "click");
    Send("key_butt_prosave", "click");
    ASSERT_TRUE(WaitFor([&] { return KeyTableEntry(position) == Bytes{0x20, 0x02, 0x45}; }));
    auto* button = As<ui::CDeviceKeyButtonUI>("key_" + std::to_string(kRightButton), "DeviceKeyButton");
    EXPECT_FALSE(button->IsShowKeySetImage());
    EXPECT_TRUE(As<ui::CDeviceKeyButtonUI>("key_0", "DeviceKeyButton")->IsShowKeySetImage());
    Save("keyset_reassigned_button.png");
    // With the capture off, keys reach the window's controls again.
    Press(Qt::Key_A, KEY_A);
    EXPECT_EQ(Control("keyset_keyboard_text_edit")->GetText(), Resolve("keyboard_key_F12"));
}

TEST_F(MainWndPanelsTest, TheEditingLockMarksTheKeyPanelBusy) {
    wnd->EditingLock().Take(false);
    for (const char* button : {"key_butt_keysave", "key_butt_keycancel", "key_butt_prosave"}) {
        EXPECT_FALSE(Control(button)->IsEnabled()) << button;
    }
    wnd->EditingLock().Release(false);
    for (const char* button : {"key_butt_keysave", "key_butt_keycancel", "key_butt_prosave"}) {
        EXPECT_TRUE(Control(button)->IsEnabled()) << button;
    }
}

// The keyboard's panel offers no DPI and gun key categories, yet a stored DPI code still shows
// under its own.
TEST_F(MainWndPanelsTest, AKeyboardPanelHidesDpiAndGunKeysButStillShowsAStoredDpiCode) {
    OpenSubPage(kButtonsSubPage);
    Send("key_" + std::to_string(kRightButton), "click");
    CKeySetControlUI* panel = Page()->KeySetPanel();
    panel->SetDeviceKind(CKeySetControlUI::kKindKeyboard);
    auto* function = As<ui::CComboUI>("keyset_function_combo", "Combo");
    for (int category = 0; category < function->GetCount(); ++category) {
        EXPECT_EQ(function->GetItemAt(category)->IsEnabled(), category != 4 && category != 10) << category;
    }
    KeyAssignment key;
    key.code1 = 0x13, key.code2 = 0x02;
    key.defaultCode1 = 0x20, key.defaultCode3 = 0x04;
    panel->ShowKey(key);
    EXPECT_EQ(function->GetCurSel(), 4);
    EXPECT_EQ(As<ui::CComboUI>("keyset_mousedpi_combo", "Combo")->GetCurSel(), 1);
    panel->SetDeviceKind(CKeySetControlUI::kKindMouse);
}

TEST_F(MainWndPanelsTest, CancelAndDefaultShowTheStoredAndTheFactoryFunction) {
    OpenSubPage(kButtonsSubPage);
    Send("key_" + std::to_string(kRightButton), "click");
    SelectItem("keyset_function_combo", 7);
    SelectItem("keyset_media_combo", 2);
    Send("key_butt_keydefalut", "click");
    EXPECT_EQ(As<ui::CComboUI>("keyset_function_combo", "Combo")->GetCurSel(), 0);
    Send("key_butt_keycancel", "click");
    EXPECT_EQ(As<ui::CComboUI>("keyset_function_combo", "Combo")->GetCurSel(), 7);
    EXPECT_EQ(As<ui::CComboUI>("keyset_media_combo", "Combo")->GetCurSel(), 2);
}

// Each lighting control writes the parameter record at once: byte 1 mode, 2 brightness,
// 3 = 4 - speed, 4 direction, 5 multicolour, 6-8 red, green, blue.
TEST_F(MainWndPanelsTest, EveryLightingControlReachesTheParameterRecordAtOnce) {
    OpenSubPage(kLightingSubPage);
    struct Case {
        const char* what;
        std::function<void()> edit;
        size_t first;
        Bytes bytes;
    };
    const Case cases[] = {
        {"mode", [&] { SelectItem("light_combo_modeSelect", 7); }, 1, {7}},
        {"brightness",
         [&] {
             As<ui::CProgressUI>("deng_light_slider", "Progress")->SetValue(2);
             Send("deng_light_slider", "valuechanged");
         },
         2,
         {2}},
        {"speed",
         [&] {
             As<ui::CProgressUI>("deng_speed_slider", "Progress")->SetValue(1);
             Send("deng_speed_slider", "valuechanged");
         },
         3,
         {3}},
        {"multicolour", [&] { Choose("deng_7color_check"); }, 5, {1}},
        {"palette",
         [&] {
             As<ui::CColorPaletteUI>("deng_Color_Pallet", "ColorPalette")->SetSelectColor(0xFF00FF00);
             Send("deng_Color_Pallet", "colorchanged");
         },
         5,
         {0, 0x00, 0xFF, 0x00}},
        {"red edit", [&] { Type("deng_edit_R", "18"); }, 5, {0, 18, 0xFF, 0x00}},
        {"green above 255", [&] { Type("deng_edit_G", "300"); }, 6, {18, 255}},
        {"green empty", [&] { Type("deng_edit_G", ""); }, 6, {18, 0}},
        {"blue letters", [&] { Type("deng_edit_B", "abc"); }, 8, {0}},
        {"preset", [&] { Send("color_option_2", "click"); }, 5, {0, 0xFF, 0xFF, 0x00}},
    };
    for (const Case& c : cases) {
        c.edit();
        ASSERT_TRUE(WaitFor([&] { return Record(c.first, c.bytes.size()) == c.bytes; })) << c.what;
    }
    EXPECT_EQ(Control("deng_edit_G")->GetText(), "255");
    EXPECT_FALSE(As<ui::COptionUI>("deng_7color_check", "Option")->IsSelected());
    // The mode with a direction: both ways reach byte 4.
    SelectItem("light_combo_modeSelect", 0);
    Choose("deng_FXR_check");
    ASSERT_TRUE(WaitFor([&] { return Record(4, 1) == Bytes{0}; }));
    Choose("deng_FXL_check");
    ASSERT_TRUE(WaitFor([&] { return Record(4, 1) == Bytes{1}; }));
}

TEST_F(MainWndPanelsTest, LightButtonsCarryTheColourTheLightThreadPaints) {
    OpenSubPage(kLightingSubPage);
    SelectItem("light_combo_modeSelect", 4);
    As<ui::CProgressUI>("deng_light_slider", "Progress")->SetValue(4);
    Send("deng_light_slider", "valuechanged");
    Send("color_option_0", "click");
    auto* light = As<ui::CDeviceKeyButtonUI>("light_0", "DeviceKeyButton");
    ASSERT_NE(light, nullptr);
    ASSERT_TRUE(WaitFor([&] { return light->IsLightImageOn() && light->GetLightColor() == 0xFF0000; }));
    EXPECT_GT(light->GetLightAlpha(), 0);
    Save("light_mouse_static_red.png");
}

TEST_F(MainWndPanelsTest, ModesOfferOnlyTheirParameterGroups) {
    OpenSubPage(kLightingSubPage);
    struct Case {
        int mode;
        bool colour, speed, direction, brightness;
    };
    for (const Case& c : {Case{0, false, true, true, true}, Case{4, true, false, false, true},
                          Case{11, false, false, false, false}}) {
        SelectItem("light_combo_modeSelect", c.mode);
        EXPECT_EQ(Control("deng_color_layout")->IsEnabled(), c.colour) << c.mode;
        EXPECT_EQ(Control("deng_speed_layout")->IsEnabled(), c.speed) << c.mode;
        EXPECT_EQ(Control("deng_fx_layout")->IsEnabled(), c.direction) << c.mode;
        EXPECT_EQ(Control("deng_light_layout")->IsEnabled(), c.brightness) << c.mode;
        EXPECT_TRUE(Control("lighteffect_layout")->IsEnabled());
    }
}

TEST_F(MainWndPanelsTest, RendersTheKeySetPageOfEveryCategoryAndTheLightingPanelInItsModes) {
    OpenSubPage(kButtonsSubPage);
    Send("key_" + std::to_string(kRightButton), "click");
    for (int category = 0; category < 12; ++category) {
        SelectItem("keyset_function_combo", category);
        Save("keyset_category_" + std::to_string(category) + ".png");
    }
    OpenSubPage(kLightingSubPage);
    for (int mode : {0, 1, 2, 4, 8, 11}) {
        SelectItem("light_combo_modeSelect", mode);
        Save("light_mouse_mode_" + std::to_string(mode) + ".png");
    }
    // The keyboard's modes on the same panel.
    CLightControlUI* panel = Page()->LightPanel();
    panel->SetDeviceKind(1);
    for (int mode : {1, 3, 8, 24}) {
        panel->ShowGroups(static_cast<uint8_t>(mode));
        Save("light_keyboard_mode_" + std::to_string(mode) + ".png");
    }
    panel->SetDeviceKind(2);
    SelectItem("light_combo_modeSelect", 2);
    ui::CPaintManagerUI::SetAllDPI(144);
    Save("light_mouse_mode_2_144dpi.png");
    OpenSubPage(kButtonsSubPage);
    Save("keyset_category_11_144dpi.png");
}

}  // namespace
