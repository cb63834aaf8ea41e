#include "devices/keyboard/pellix_keyboard_device.h"
#include "device/device_sync_thread.h"
#include "macro/macro_control_ui.h"
#include "profile/json_document.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_keyboard.h"
#include "tests/support/debug_capture.h"
#include "tests/support/page_host.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/controls/select_panel_ui.h"
#include "ui/toolkit/combo_ui.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/slider_ui.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

constexpr int kTab = 42;
constexpr int kEsc = 0;

std::string CommandPath(CSimHidBus& bus, uint16_t usagePage) {
    std::vector<platform::hid::HidEntryInfo> entries;
    bus.Enumerate(entries);
    for (const auto& entry : entries) {
        if (entry.collection.usage_page == usagePage) {
            return entry.path;
        }
    }
    return {};
}

// The main window's routing of the keyboard page's notifications, reduced to the page operations.
void RoutePageNotification(CPellixUSBDevice& page, ui::TNotifyUI& msg) {
    const std::string name = msg.pSender != nullptr ? msg.pSender->GetName() : "";
    const size_t split = name.rfind('_');
    const std::string prefix = split == std::string::npos ? "" : name.substr(0, split + 1);
    const int index = split == std::string::npos ? 0 : std::atoi(name.c_str() + split + 1);
    if (msg.sType == ui::kNotifySelectChanged && prefix == "polling_rate_option_") {
        page.PollingRateSelected(index);
    } else if (msg.sType == ui::kNotifySelectChanged && name.ends_with("_Op_tab")) {
        page.ShowTab(name);
    } else if ((msg.sType == ui::kNotifySelectChanged || msg.sType == ui::kNotifyValueChanged) &&
               (name.ends_with("flag_option") || prefix == "repeat_delay_check_" ||
                name == "repeat_rate_slider")) {
        page.KeyboardSettingChanged(name);
    } else if (msg.sType == ui::kNotifyClick && prefix == "key_") {
        page.KeyClicked(index);
    } else if (msg.sType == ui::kNotifyClick && prefix == "light_") {
        page.LightKeyClicked(index);
    } else if (msg.sType == ui::kNotifyItemSelect && name == "light_combo_custommodeSelect") {
        page.LightCustomGroupSelected();
    } else if (msg.sType == ui::kNotifyItemSelect && name == "light_combo_modeSelect") {
        page.LightControlChanged(name);
    } else if (msg.sType == ui::kNotifyClickSelectEnd && name == "device_key_light") {
        page.LightKeysSelected();
    }
}

// The page host with the program's own key controls, so that light buttons draw their colour.
class CKeyboardHostWindow : public CPageHostWindow {
public:
    using CPageHostWindow::CPageHostWindow;
    // The main window's small fonts, which the key captions use.
    std::string GetSkinFile() override {
        std::string skin = CPageHostWindow::GetSkinFile();
        const std::string anchor = "  <Font id=\"8\"";
        skin.insert(skin.find(anchor),
                    "  <Font id=\"9\" name=\"Noto Sans\" size=\"11\" shared=\"true\"/>\n"
                    "  <Font id=\"10\" name=\"Noto Sans\" size=\"10\" shared=\"true\"/>\n");
        return skin;
    }
    ui::CControlUI* CreateControl(const std::string& element) override {
        if (element == "SelectPanel") {
            return new ui::CSelectPanelUI;
        }
        if (element == "DeviceKeyButton") {
            return new ui::CDeviceKeyButtonUI;
        }
        return CPageHostWindow::CreateControl(element);
    }
};

}  // namespace

// The keyboard page built from the real skin in a host window, bound to the emulated keyboard
// on its own simulated bus, with a fresh data folder.
class KeyboardPage : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(LoadProgramSkin());
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
        ui::CPaintManagerUI::SetAllDPI(96);
    }
    void TearDown() override {
        window.reset();
        ui::CPaintManagerUI::SetAllDPI(96);
        ui::CResourceManager::GetInstance().Release();
        if (keyboard != nullptr) {
            EXPECT_EQ(keyboard->Refusals(), 0u);
        }
    }

    ui::CControlUI* MakeElement(const std::string& element) {
        if (element == "PellixKeyboardDevice") {
            page = new CPellixKeyboardDevice;
            return page;
        }
        if (element == "KeySetControl") {
            return new CKeySetControlUI;
        }
        if (element == "LightControl") {
            return new CLightControlUI;
        }
        if (element == "MacroControl") {
            return new CMacroControlUI;
        }
        const char* file =
            element == "KeyboardKeySetControlUI"     ? "XML\\CustomControlXML\\KeyboardKeySetControl.xml"
            : element == "KeyboardLightSetControlUI" ? "XML\\CustomControlXML\\KeyboardLightControl.xml"
            : element == "MacroSetControlUI"         ? "XML\\CustomControlXML\\MacroControl.xml"
                                                     : nullptr;
        return file != nullptr ? ui::CDialogBuilder().Create(file, window.get(), &window->GetPaintManager())
                               : nullptr;
    }

    // Builds the page and connects it to the keyboard, as start-up and discovery do.
    void Open() {
        keyboard = std::make_shared<CSimulatedKeyboard>();
        handle = bus->Plug(CSimulatedKeyboard::kName, keyboard);
        window = std::make_unique<CKeyboardHostWindow>(
            "XML\\DeviceXml\\keyboarddevice.xml",
            [this](const std::string& element) -> ui::CControlUI* { return MakeElement(element); });
        ASSERT_NE(window->Create(nullptr, "keyboard page", 0, 0, 0, 0, 1000, 542), nullptr);
        ASSERT_NE(page, nullptr);
        window->SetNotifier([this](ui::TNotifyUI& msg) { RoutePageNotification(*page, msg); });
        page->SetHidBackend(bus);
        page->SetMainWindow(window->GetHWND());
        page->SetKeyCount(126);
        page->SetLedCount(126);
        page->SetLayoutPath("XML\\DeviceXml\\keyboarddevice.xml");
        page->SetDeviceName("keyboard");
        page->SetSlotRow(SupportedInterfaces()[0]);
        page->SetTypeCode(0);
        page->SetConfigBaseName("quorl_light");
        page->SetMessageSink([this](const std::string& key) { messages.push_back(key); });
        page->InitPage();
        window->SetDevice(page);
        InterfaceSlot slot = SupportedInterfaces()[0];
        slot.path = CommandPath(*bus, 0xFF1C);
        ASSERT_TRUE(page->Connection().OpenCommandChannel(slot));
        page->Connection().OpenNotificationChannel(CommandPath(*bus, 0x0C));
        page->NotifyConnected();
        ASSERT_TRUE(WaitFor([&] { return page->IsLightThreadRunning(); }));
        window->ShowWindow(true, false);
        QCoreApplication::processEvents();
    }

    template <class T>
    T* Control(const std::string& name, const char* interfaceName) {
        ui::CControlUI* control = window->GetPaintManager().FindControl(name);
        return control != nullptr ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
    }
    ui::COptionUI* Option(const std::string& name) { return Control<ui::COptionUI>(name, "Option"); }
    ui::CDeviceKeyButtonUI* Button(const std::string& name) {
        return Control<ui::CDeviceKeyButtonUI>(name, "DeviceKeyButton");
    }
    void ChooseSubPage(const char* tab) { Option(tab)->Selected(true); }
    std::vector<uint8_t> Record() {
        const std::vector<uint8_t> memory = keyboard->Memory();
        return {memory.begin(), memory.begin() + 25};
    }
    Json::Value DeviceSection() { return CJsonDocument().ReadJsonValue(page->ProfilePath())["Device"][0]; }
    // A light mode with brightness 4, speed 2 and the single colour given.
    void RunLightMode(int mode, uint8_t red, uint8_t green, uint8_t blue) {
        LightInfo light;
        light.light = 4;
        light.speed = 2;
        light.red = red;
        light.green = green;
        light.blue = blue;
        page->ApplySyncLightMode(mode, light);
    }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedKeyboard> keyboard;
    uint64_t handle = 0;
    std::unique_ptr<CKeyboardHostWindow> window;
    CPellixKeyboardDevice* page = nullptr;
    std::vector<std::string> messages;
};

TEST_F(KeyboardPage, AKeyPressOnTheKeyboardLightsThatKeyInTheReactivePreview) {
    Open();
    ChooseSubPage("deng_Op_tab");
    RunLightMode(19, 255, 0, 0);
    // The buttons are painted once the page has been drawn; a press before that fades unseen.
    ASSERT_TRUE(WaitFor([&] { return Button("light_42")->IsLightImageOn(); }));
    const int firmwareKey = page->Protocol()->Maps().keyCode[kTab];
    ASSERT_TRUE(keyboard->PressKey(static_cast<unsigned>(firmwareKey)));

    // The light thread paints the key, and only the key, in the single colour.
    ASSERT_TRUE(WaitFor([&] { return Button("light_42")->GetLightColor() == 0xFF0000; }));
    EXPECT_GT(Button("light_42")->GetLightAlpha(), 0);
    EXPECT_EQ(page->GetLedColour(kEsc) >> 24, 0u);
    // Released, it fades out.
    ASSERT_TRUE(WaitFor([&] { return page->KeyGlow(kTab) == 0; }));
    ASSERT_TRUE(WaitFor([&] { return Button("light_42")->GetLightAlpha() == 0; }));

    // Outside the reactive modes a key press leaves the preview alone, and a firmware key that no
    // position maps to lights nothing.
    RunLightMode(3, 0, 0, 255);
    page->KeyEvent(firmwareKey, CDeviceSyncThread::kKeyPressed);
    EXPECT_EQ(page->KeyGlow(kTab), 0);
    RunLightMode(19, 255, 0, 0);
    page->KeyEvent(CKeyboardFirmware::kForeignKey, CDeviceSyncThread::kKeyPressed);
    for (int position = 0; position < 126; ++position) {
        EXPECT_EQ(page->KeyGlow(position), 0) << position;
    }
}

TEST_F(KeyboardPage, SettingChangesReachTheRecordOfSlotZeroByteForByte) {
    Open();
    Option("winlockflag_option")->Selected(true);
    Option("6flag_option")->Selected(true);
    Option("polling_rate_option_3")->Selected(true);
    // A custom effect list goes out as mode 0; speed 0 is stored as 4.
    LightInfo light;
    light.light = 2;
    light.speed = 0;
    light.fx = 1;
    light.red = 10;
    light.green = 20;
    light.blue = 30;
    page->ApplySyncLightMode(27, light);

    const std::vector<uint8_t> expected{0, 0, 2, 4, 1, 0, 10, 20, 30, 0, 0, 0, 0,
                                        0, 0, 0, 0, 0, 0, 0,  1,  1,  3, 0, 0};
    EXPECT_EQ(Record(), expected);
    EXPECT_EQ(page->LightMode(), 27);
    const Json::Value stages = DeviceSection()["SystemStages"];
    EXPECT_EQ(stages["WinFlag"].asInt(), 1);
    EXPECT_EQ(stages["Key6Flag"].asInt(), 1);
    EXPECT_EQ(stages["PollingRate"].asInt(), 3);

    // The repeat settings stay on the host: saved, nothing sent.
    keyboard->ClearRequests();
    Control<ui::CSliderUI>("repeat_rate_slider", "Slider")->SetValue(17);
    window->GetPaintManager().SendNotify(window->GetPaintManager().FindControl("repeat_rate_slider"),
                                         ui::kNotifyValueChanged, 0, 0, false);
    Option("repeat_delay_check_2")->Selected(true);
    EXPECT_TRUE(keyboard->Requests().empty());
    EXPECT_EQ(DeviceSection()["SystemStages"]["Repeat"].asInt(), 17);
    EXPECT_EQ(DeviceSection()["SystemStages"]["RepeatDelay"].asInt(), 2);
    EXPECT_EQ(Control<ui::CControlUI>("repeat_delay_time_label1", "Label")->GetText(), "Repeat delay: 750ms");
    EXPECT_EQ(Record(), expected);
}

TEST_F(KeyboardPage, AChangeMadeOnTheKeyboardComesBackThroughTheResyncTimer) {
    Open();
    RunLightMode(3, 1, 2, 3);
    keyboard->ChangeLightOnKeyboard();
    ASSERT_TRUE(WaitFor([&] { return page->LightMode() == 4; }));
    EXPECT_EQ(DeviceSection()["LightInfo"]["SelectItem"].asInt(), 4);
    EXPECT_EQ(Control<ui::CComboUI>("light_combo_modeSelect", "Combo")->GetCurSel(), 4);
}

TEST_F(KeyboardPage, FnCanBeLitButNotReassigned) {
    Open();
    ChooseSubPage("key_Op_tab");
    EXPECT_TRUE(page->InKeyView());
    EXPECT_FALSE(Button("key_110")->IsEnabled());
    EXPECT_TRUE(Button("key_109")->IsEnabled());
    // Another tab type leaves the key as it is; the system tab enables it again.
    ChooseSubPage("deng_Op_tab");
    EXPECT_FALSE(Button("key_110")->IsEnabled());
    EXPECT_TRUE(Button("light_110")->IsEnabled());
    ChooseSubPage("system_Op_tab");
    EXPECT_TRUE(Button("key_110")->IsEnabled());

    // A key of the key view opens the key panel with its function.
    ChooseSubPage("key_Op_tab");
    window->GetPaintManager().SendNotify(Button("key_42"), ui::kNotifyClick, 0, 0, false);
    EXPECT_EQ(page->SelectedKey(), 42);
    EXPECT_TRUE(Button("key_42")->IsSelected());
    EXPECT_TRUE(Control<ui::CControlUI>("KeySetControlItem", "Container")->IsVisible());
}

TEST_F(KeyboardPage, AKeyGivenAnotherFunctionReachesItsFirmwareKeyOnlyWhenApplied) {
    Open();
    ChooseSubPage("key_Op_tab");
    window->GetPaintManager().SendNotify(Button("key_0"), ui::kNotifyClick, 0, 0, false);
    Control<ui::CComboUI>("keyset_function_combo", "Combo")->SelectItem(7);
    page->KeySetFunctionSelected();
    Control<ui::CComboUI>("keyset_media_combo", "Combo")->SelectItem(1);
    const std::vector<uint8_t> before = keyboard->KeyTable();
    page->SaveKeyAssignment();
    EXPECT_EQ(keyboard->KeyTable(), before);
    EXPECT_FALSE(Button("key_0")->IsShowKeySetImage());

    EXPECT_EQ(page->WriteSettings(), 0);
    const size_t esc = page->Protocol()->Maps().keyCode[kEsc];
    const std::vector<uint8_t> table = keyboard->KeyTable();
    EXPECT_EQ(std::vector<uint8_t>(table.begin() + 3 * esc, table.begin() + 3 * esc + 3),
              (std::vector<uint8_t>{0x30, 0xCD, 0x00}));
    // The key whose code is no position's default keeps it.
    const size_t foreign = CKeyboardFirmware::kForeignKey;
    EXPECT_EQ(std::vector<uint8_t>(table.begin() + 3 * foreign, table.begin() + 3 * foreign + 3),
              (std::vector<uint8_t>{0x30, 0xE9, 0x00}));
    EXPECT_EQ(DeviceSection()["KeyList"][kEsc]["Assignment"].asInt(), 0x30CD00);
}

TEST_F(KeyboardPage, TheCustomModeColoursKeysAndStoresTheGroup) {
    Open();
    ChooseSubPage("deng_Op_tab");
    RunLightMode(3, 0, 255, 0);
    Control<ui::CComboUI>("light_combo_modeSelect", "Combo")->SelectItem(8);
    EXPECT_EQ(page->LightMode(), 8);
    EXPECT_TRUE(Control<ui::CControlUI>("lightcustom_layout", "Container")->IsVisible());
    Control<ui::CComboUI>("light_combo_custommodeSelect", "Combo")->SelectItem(2);
    EXPECT_EQ(DeviceSection()["CustomLightMode"]["CustomLightModeGroupIndex"].asInt(), 2);

    // A click, then a band over two keys.
    window->GetPaintManager().SendNotify(Button("light_42"), ui::kNotifyClick, 0, 0, false);
    Button("light_0")->SetSelected(true);
    Button("light_1")->SetSelected(true);
    window->GetPaintManager().SendNotify(Control<ui::CControlUI>("device_key_light", "SelectPanel"),
                                         ui::kNotifyClickSelectEnd, 0, 0, false);
    const Json::Value group = DeviceSection()["CustomLightMode"]["LightColorInfo"][2];
    ASSERT_EQ(group.size(), 126u);
    for (int position : {0, 1, 42}) {
        EXPECT_EQ(group[position]["Green"].asInt(), 255) << position;
        EXPECT_EQ(group[position]["Red"].asInt(), 0) << position;
    }
    EXPECT_EQ(group[2]["Green"].asInt(), 0);
    EXPECT_FALSE(Button("light_0")->IsSelected());
    ASSERT_TRUE(WaitFor([&] { return Button("light_42")->GetLightColor() == 0x00FF00; }));
    EXPECT_EQ(Button("light_2")->GetLightColor(), 0x000000u);
    ASSERT_TRUE(window->Save("keyboard_page_custom_light.png"));

    page->LightCustomColourAll(false);
    EXPECT_EQ(DeviceSection()["CustomLightMode"]["LightColorInfo"][2][42]["Green"].asInt(), 0);
    // Colours the custom mode does not run in are not key colours.
    RunLightMode(3, 255, 0, 0);
    window->GetPaintManager().SendNotify(Button("light_42"), ui::kNotifyClick, 0, 0, false);
    EXPECT_EQ(DeviceSection()["CustomLightMode"]["LightColorInfo"][2][42]["Red"].asInt(), 0);
}

TEST_F(KeyboardPage, AKeyboardThatWentAwayLeavesThePageUsableAndTheProfileSaved) {
    Open();
    ASSERT_TRUE(bus->Unplug(handle));
    Option("6flag_option")->Selected(true);
    EXPECT_EQ(DeviceSection()["SystemStages"]["Key6Flag"].asInt(), 1);
    EXPECT_EQ(page->WriteSettings(), -1);  // saved, and said not to have reached the keyboard
    page->Resync();
    RunLightMode(19, 255, 0, 0);
    EXPECT_EQ(page->LightMode(), 19);
    EXPECT_EQ(DeviceSection()["LightInfo"]["SelectItem"].asInt(), 19);
}

TEST_F(KeyboardPage, TheLightThreadEndsWithTheKeyboardsExitText) {
    Open();
    CDebugCapture capture;
    page->StopLightThread();
    EXPECT_FALSE(page->IsLightThreadRunning());
    EXPECT_NE(capture.Text().find("KB灯光线程设定退出"), std::string::npos);
}

TEST_F(KeyboardPage, EveryControlThePageLooksUpExistsInTheSkin) {
    CDebugCapture capture;
    Open();
    page->Resync();
    for (const char* tab : {"system_Op_tab", "key_Op_tab", "deng_Op_tab", "macro_Op_tab"}) {
        ChooseSubPage(tab);
    }
    for (int position = 0; position < 126; ++position) {
        EXPECT_NE(page->KeyButton(position), nullptr) << position;
        EXPECT_NE(page->LightButton(position), nullptr) << position;
    }
    page->KeyboardSettingChanged("reset_repeat_btn");
    page->HideKeyEditor();
    EXPECT_EQ(capture.Text().find("has no control named"), std::string::npos) << capture.Text();
    EXPECT_EQ(capture.Text().find("cannot load image"), std::string::npos) << capture.Text();
}

TEST_F(KeyboardPage, RendersEverySubPageAndAt144Dpi) {
    Open();
    RunLightMode(3, 0, 153, 255);
    Control<ui::CComboUI>("light_combo_modeSelect", "Combo")->SelectItem(8);
    const std::pair<const char*, const char*> pages[] = {{"system_Op_tab", "system"},
                                                         {"key_Op_tab", "keys"},
                                                         {"deng_Op_tab", "light"},
                                                         {"macro_Op_tab", "macro"}};
    for (const auto& [tab, name] : pages) {
        ChooseSubPage(tab);
        EXPECT_TRUE(window->Save(std::string("keyboard_page_") + name + ".png"));
    }
    ChooseSubPage("key_Op_tab");
    window->GetPaintManager().SendNotify(Button("key_42"), ui::kNotifyClick, 0, 0, false);
    EXPECT_TRUE(window->Save("keyboard_page_key_chosen.png"));
    // The tallest editors: a swing with its three entries, a shortcut with its modifiers.
    for (int category : {2, 11}) {
        Control<ui::CComboUI>("keyset_function_combo", "Combo")->SelectItem(category);
        page->KeySetFunctionSelected();
        EXPECT_TRUE(window->Save("keyboard_page_key_category_" + std::to_string(category) + ".png"));
    }
    ui::CPaintManagerUI::SetAllDPI(144);
    EXPECT_TRUE(window->Save("keyboard_page_keys_144dpi.png"));
    ChooseSubPage("deng_Op_tab");
    EXPECT_TRUE(window->Save("keyboard_page_light_144dpi.png"));
    ChooseSubPage("system_Op_tab");
    EXPECT_TRUE(window->Save("keyboard_page_system_144dpi.png"));
}
