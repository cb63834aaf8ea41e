#include "devices/mouse/pellix_mouse_device.h"
#include "devices/mouse/mouse_protocol.h"
#include "devices/mouse/shoot_pattern_ui.h"
#include "macro/macro_control_ui.h"
#include "profile/data_folders.h"
#include "profile/json_document.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse.h"
#include "tests/support/debug_capture.h"
#include "tests/support/page_host.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/toolkit/resource_manager.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace mousewire;

namespace {

std::string Indexed(const char* prefix, int index) {
    return prefix + std::to_string(index);
}

// The main window's routing of the mouse page's notifications, reduced to the page operations.
void RoutePageNotification(CPellixUSBDevice& page, ui::TNotifyUI& msg) {
    const std::string name = msg.pSender != nullptr ? msg.pSender->GetName() : "";
    const size_t split = name.rfind('_');
    const std::string prefix = split == std::string::npos ? "" : name.substr(0, split + 1);
    const int index = split == std::string::npos ? 0 : std::atoi(name.c_str() + split + 1);
    if (msg.sType == ui::kNotifySelectChanged && prefix == "DPI_enable_check_") {
        page.StageEnabledChanged(index);
    } else if (msg.sType == ui::kNotifySelectChanged && prefix == "polling_rate_option_") {
        page.PollingRateSelected(index);
    } else if (msg.sType == ui::kNotifySelectChanged && prefix == "mouse_device_seting_option_") {
        page.SelectSettingsSubPage(index);
    } else if (msg.sType == ui::kNotifySelectChanged &&
               (name == "pointer_precision_check" || name == "scrolls_page_check")) {
        page.PointerSettingChanged(name);
    } else if (msg.sType == ui::kNotifyValueChanged && prefix == "DPI_slider_") {
        page.DpiSliderReleased(index);
    } else if (msg.sType == ui::kNotifyValueChanged) {
        page.PointerSettingChanged(name);
    } else if (msg.sType == ui::kNotifyMoveValueChanged && prefix == "DPI_slider_") {
        page.DpiSliderMoved(index);
    } else if (msg.sType == ui::kNotifyKillFocus && prefix == "DPI_edit_") {
        page.DpiEditLeft(index);
    } else if (msg.sType == ui::kNotifyItemSelect) {
        page.ComboSelected(name);
    } else if (msg.sType == ui::kNotifyClick && prefix == "key_") {
        page.KeyClicked(index);
    }
}

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

MouseModel Model3389Step50() {
    MouseModel model = MouseModel3389();
    model.dpiStep = 50;
    model.lowestDpi = 100;
    return model;
}

MouseModel Model3325Step100() {
    MouseModel model = MouseModel3325();
    model.dpiStep = 100;
    model.lowestDpi = 200;
    model.highestPosition = 100;
    return model;
}

}  // namespace

// The mouse page built from the real skin in a host window, bound to an emulated mouse on its
// own simulated bus, with a fresh data folder.
class MousePage : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(LoadProgramSkin());
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
        ui::CPaintManagerUI::SetAllDPI(96);
    }
    void TearDown() override {
        window.reset();
        ui::CResourceManager::GetInstance().Release();
    }

    // The page and its panels, as the main window's element table makes them.
    ui::CControlUI* MakeElement(const std::string& element) {
        if (element == "PellixMouseDevice") {
            page = new CPellixMouseDevice;
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
        if (element == "ShootControl") {
            return new CShootControlUI;
        }
        if (element == "ShootPattern") {
            return new CShootPatternUI;
        }
        const char* file = element == "KeySetControlUI"        ? "XML\\CustomControlXML\\KeySetControl.xml"
                           : element == "LightSetControlUI"    ? "XML\\CustomControlXML\\LightControl.xml"
                           : element == "MacroSetControlUI"    ? "XML\\CustomControlXML\\MacroControl.xml"
                           : element == "ShootKeySetControlUI" ? "XML\\CustomControlXML\\ShootControl.xml"
                                                               : nullptr;
        return file != nullptr ? ui::CDialogBuilder().Create(file, window.get(), &window->GetPaintManager())
                               : nullptr;
    }

    // Builds the page and connects it to a mouse of the model, as start-up and discovery do.
    void Open(MouseModel model = MouseModel3389()) {
        mouse = std::make_shared<CSimulatedMouse>(std::move(model));
        bus->Plug(mouse->Model().name, mouse);
        window = std::make_unique<CPageHostWindow>(
            "XML\\DeviceXml\\mousedevice.xml",
            [this](const std::string& element) -> ui::CControlUI* { return MakeElement(element); });
        ASSERT_NE(window->Create(nullptr, "mouse page", 0, 0, 0, 0, 1000, 542), nullptr);
        ASSERT_NE(page, nullptr);
        window->SetNotifier([this](ui::TNotifyUI& msg) { RoutePageNotification(*page, msg); });
        page->SetHidBackend(bus);
        page->SetMainWindow(window->GetHWND());
        page->SetKeyCount(7);
        page->SetLedCount(6);
        page->SetLayoutPath("XML\\DeviceXml\\mousedevice.xml");
        page->SetDeviceName("mouse3389");
        page->SetSlotRow(SupportedInterfaces()[4]);
        page->SetTypeCode(1);
        page->SetConfigBaseName("quorl_light");
        page->SetMessageSink([this](const std::string& key) { messages.push_back(key); });
        page->InitPage();
        window->SetDevice(page);
        InterfaceSlot slot = SupportedInterfaces()[4];
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
    ui::CSliderUI* Slider(int stage) {
        return Control<ui::CSliderUI>(Indexed("DPI_slider_", stage), "Slider");
    }
    ui::CControlUI* Edit(int stage) { return Control<ui::CControlUI>(Indexed("DPI_edit_", stage), "Edit"); }
    // Whether slider n is drawn with the active stage's accent: the filled part of its track,
    // left of the thumb.
    bool LooksActive(int stage) {
        window->GetPaintManager().UpdateLayout();
        const QImage image = window->GetWidget()->grab().toImage();
        const QRect slider = Slider(stage)->GetPos();
        const QColor colour = image.pixelColor(slider.left() + 3, slider.center().y() + 1);
        return colour.blue() > 200 && colour.red() < 60;
    }
    ui::COptionUI* Check(int stage) {
        return Control<ui::COptionUI>(Indexed("DPI_enable_check_", stage), "Option");
    }

    void Send(ui::CControlUI* control, const char* type) {
        window->GetPaintManager().SendNotify(control, type, 0, 0, false);
    }
    void TypeDpi(int stage, const std::string& text) {
        Edit(stage)->SetText(text);
        Send(Edit(stage), ui::kNotifyKillFocus);
    }

    Json::Value ProfileStage(int stage) {
        const Json::Value document = CJsonDocument().ReadJsonValue(page->ProfilePath());
        return document["Device"][0]["DPIStages"]["StageDPIs"][stage];
    }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedMouse> mouse;
    std::unique_ptr<CPageHostWindow> window;
    CPellixMouseDevice* page = nullptr;
    std::vector<std::string> messages;
};

TEST_F(MousePage, AConnectedMouseShowsTheActiveProfileWithTheSensorsRanges) {
    Open();
    EXPECT_FALSE(page->ProfileBaseName().empty());
    EXPECT_TRUE(std::filesystem::exists(page->ProfilePath()));
    const std::vector<DpiStage> stages = page->Profile().GetStages();
    ASSERT_EQ(stages.size(), 7u);
    for (int stage = 0; stage < 7; ++stage) {
        EXPECT_EQ(Slider(stage)->GetMaxValue(), 159) << stage;
        EXPECT_EQ(Slider(stage)->GetValue(), stages[stage].DpiX()) << stage;
        EXPECT_EQ(Edit(stage)->GetText(), std::to_string(stages[stage].DpiX() * 100 + 100)) << stage;
        const bool active = stage == page->Profile().GetActiveStage();
        EXPECT_EQ(LooksActive(stage), active) << stage;
    }
    const int polling = page->SystemSettings().pollingRate;
    EXPECT_TRUE(Control<ui::COptionUI>(Indexed("polling_rate_option_", polling), "Option")->IsSelected());
    // Every host button of the key list gets a row; the rows of buttons the page shows are visible.
    auto* list = Control<ui::CContainerUI>("device_setkeyinfo_list", "Container");
    ASSERT_GE(list->GetCount(), 7);
    for (int key = 0; key < 7; ++key) {
        auto* row = static_cast<ui::CContainerUI*>(list->GetItemAt(key)->GetInterface("Container"));
        EXPECT_TRUE(row->IsVisible()) << key;
        EXPECT_FALSE(row->GetItemAt(1)->GetText().empty()) << key;
    }
    EXPECT_EQ(static_cast<ui::CContainerUI*>(list->GetItemAt(0)->GetInterface("Container"))
                  ->GetItemAt(0)
                  ->GetText(),
              "Left button");
    EXPECT_NE(page->KeyButton(0)->GetToolTip().find("Left button"), std::string::npos);
}

TEST_F(MousePage, ReleasingADpiSliderWritesTheRecordAndTheProfileWhileDraggingWritesNothing) {
    Open();
    mouse->ClearRequests();
    Slider(1)->SetValue(31);
    Send(Slider(1), ui::kNotifyMoveValueChanged);
    EXPECT_EQ(Edit(1)->GetText(), "3200");
    EXPECT_TRUE(mouse->Requests().empty());

    Send(Slider(1), ui::kNotifyValueChanged);

    const std::vector<uint8_t> memory = mouse->Memory();
    const auto expected = EncodeParameters(CMouseProtocol::ParametersFromProfile(page->Profile()), false);
    ASSERT_GE(memory.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), memory.begin()));
    EXPECT_EQ(memory[16], 31);
    EXPECT_EQ(ProfileStage(1)["StageDPIX"].asInt(), 31);
}

TEST_F(MousePage, PollingOptionThreeGoesToByteFourteen) {
    Open();
    Control<ui::COptionUI>("polling_rate_option_3", "Option")->Selected(true);
    EXPECT_EQ(mouse->Memory()[14], 3);
    const Json::Value document = CJsonDocument().ReadJsonValue(page->ProfilePath());
    EXPECT_EQ(document["Device"][0]["ReportStages"]["StageActive"].asInt(), 3);
    for (int option = 0; option < 5; ++option) {
        EXPECT_EQ(Control<ui::COptionUI>(Indexed("polling_rate_option_", option), "Option")->IsSelected(),
                  option == 3);
    }
}

struct EntryCase {
    const char* name;
    MouseModel (*model)();
    int position;       // shown by the slider
    const char* dpi;    // shown by the entry at that position
    const char* typed;  // typed into the entry
    int typedPosition;  // where the slider ends
    const char* shown;  // what the entry shows afterwards
};

void PrintTo(const EntryCase& entry, std::ostream* out) {
    *out << entry.name;
}

class MousePageEntry : public MousePage, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(MousePageEntry, ConvertsBetweenPositionAndDpiForTheSensor) {
    const EntryCase& entry = GetParam();
    Open(entry.model());
    Slider(2)->SetValue(entry.position);
    Send(Slider(2), ui::kNotifyMoveValueChanged);
    EXPECT_EQ(Edit(2)->GetText(), entry.dpi);

    TypeDpi(2, entry.typed);
    EXPECT_EQ(Slider(2)->GetValue(), entry.typedPosition);
    EXPECT_EQ(Edit(2)->GetText(), entry.shown);
    EXPECT_EQ(mouse->Memory()[17], entry.typedPosition);
    EXPECT_EQ(ProfileStage(2)["StageDPIX"].asInt(), entry.typedPosition);
}

INSTANTIATE_TEST_SUITE_P(
    Sensors, MousePageEntry,
    ::testing::Values(EntryCase{"s3389_exact", Model3389Step50, 31, "1650", "1650", 31, "1650"},
                      EntryCase{"s3389_below_lowest", Model3389Step50, 31, "1650", "75", 0, "100"},
                      EntryCase{"s3389_empty", Model3389Step50, 31, "1650", "", 0, "100"},
                      // The entry allows 16000, the slider ends at 159 (8050 DPI at step 50).
                      EntryCase{"s3389_over_slider", Model3389Step50, 31, "1650", "16000", 159, "8050"},
                      EntryCase{"s3325_high", Model3325Step100, 60, "7400", "7400", 60, "7400"},
                      EntryCase{"s3325_split", Model3325Step100, 60, "7400", "5000", 48, "5000"},
                      // Integer division: 9900 lands on the position of 9800.
                      EntryCase{"s3325_truncates", Model3325Step100, 60, "7400", "9900", 72, "9800"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MousePage, TheLastCheckedStageCannotBeSwitchedOff) {
    Open();
    for (int stage = 6; stage >= 1; --stage) {
        Check(stage)->Selected(false);
        EXPECT_FALSE(Slider(stage)->IsEnabled()) << stage;
        EXPECT_TRUE(Check(stage)->IsEnabled()) << stage;  // the box stays usable
        EXPECT_EQ(ProfileStage(stage)["StageActive"].asInt(), 0) << stage;
    }
    EXPECT_TRUE(Check(0)->IsSelected());
    EXPECT_FALSE(Check(0)->IsEnabled());
    EXPECT_TRUE(Slider(0)->IsEnabled());

    Check(3)->Selected(true);
    EXPECT_TRUE(Check(0)->IsEnabled());
    EXPECT_TRUE(Slider(3)->IsEnabled());

    // A refresh shows what the profile holds.
    page->Refresh();
    EXPECT_FALSE(Check(5)->IsSelected());
    EXPECT_FALSE(Slider(5)->IsEnabled());
    EXPECT_TRUE(Check(3)->IsSelected());
}

TEST_F(MousePage, PointerSettingsAreSavedButNotSent) {
    Open();
    mouse->ClearRequests();
    auto* scroll = Control<ui::CSliderUI>("scroll_speed_slider", "Slider");
    Control<ui::COptionUI>("scrolls_page_check", "Option")->Selected(true);
    scroll->SetValue(7);
    Send(scroll, ui::kNotifyValueChanged);
    Control<ui::CComboUI>("MSH_set_comboSelect", "Combo")->SelectItem(2);

    EXPECT_EQ(page->SystemSettings().scrollSpeed, 7);
    EXPECT_EQ(page->SystemSettings().scrollByPage, 0);  // moving the slider ends page scrolling
    EXPECT_FALSE(Control<ui::COptionUI>("scrolls_page_check", "Option")->IsSelected());
    EXPECT_EQ(page->SystemSettings().msh, 2);
    const Json::Value system =
        CJsonDocument().ReadJsonValue(page->ProfilePath())["Device"][0]["SystemStages"];
    EXPECT_EQ(system["WheelScorlllinse"].asInt(), 7);
    EXPECT_EQ(system["MSHSelectItem"].asInt(), 2);
    // MSH is written with the record (it is not part of it); the pointer settings send nothing.
    size_t transfers = 0;
    for (const auto& request : mouse->Requests()) {
        transfers += request[3] == 0x01 ? 1 : 0;
    }
    EXPECT_EQ(transfers, 1u);
}

TEST_F(MousePage, ARefreshSendsNothing) {
    Open();
    mouse->ClearRequests();
    page->Profile().SetSystemSettings({1, 2, 0, 0, 3, 2, 1, 1, 2});
    page->LoadActiveProfile();
    page->Refresh();
    EXPECT_TRUE(mouse->Requests().empty());
}

struct TabCase {
    int type;
    int kind;
    int function;  // expected "device_function_switch" selection
    int key;       // expected "device_key_function_switch" selection
};

TEST_F(MousePage, FunctionTabsFollowTheTypeTable) {
    Open();
    auto* function = Control<ui::CTabLayoutUI>("device_function_switch", "TabLayout");
    auto* key = Control<ui::CTabLayoutUI>("device_key_function_switch", "TabLayout");
    // Each row starts from function tab 0 / key tab 0 unless it follows the row before.
    const TabCase cases[] = {{2, 2, 0, 1}, {6, 2, 0, 1}, {3, 2, 1, 1}, {8, 2, 1, 1}, {4, 2, 3, 1},
                             {7, 2, 0, 2}, {5, 2, 2, 2}, {9, 2, 0, 0}, {4, 3, 0, 2}, {0, 2, 0, 0}};
    for (const TabCase& row : cases) {
        page->SetDeviceKind(row.kind, 0);
        page->SetFunctionTab(row.type);
        EXPECT_EQ(function->GetCurSel(), row.function) << row.type << "/" << row.kind;
        EXPECT_EQ(key->GetCurSel(), row.key) << row.type << "/" << row.kind;
        EXPECT_EQ(page->GetFunctionTab(), row.type);
    }
    EXPECT_FALSE(window->GetPaintManager().FindControl("device_tishi_info")->IsVisible());
}

TEST_F(MousePage, TheOnlyLeftButtonCannotBeChosenForReassignment) {
    Open();
    page->KeyClicked(1);
    EXPECT_EQ(page->SelectedKey(), -1);  // not in the key view

    page->SelectSettingsSubPage(1);
    ASSERT_TRUE(page->InKeyView());
    page->KeyClicked(0);
    EXPECT_EQ(messages, std::vector<std::string>{"message_text_6"});
    EXPECT_EQ(page->SelectedKey(), -1);

    page->KeyClicked(1);
    EXPECT_EQ(page->SelectedKey(), 1);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(MousePage, AChangeMadeOnTheMouseReachesThePageThroughTheResyncTimer) {
    Open();
    const int before = page->Profile().GetActiveStage();
    mouse->PressDpiButton();
    ASSERT_TRUE(WaitFor([&] { return page->Profile().GetActiveStage() != before; }, 5000));
    const int now = page->Profile().GetActiveStage();
    EXPECT_TRUE(LooksActive(now));
    EXPECT_FALSE(LooksActive(before));
}

TEST_F(MousePage, WritingTheSettingsSendsKeysRecordAndMacros) {
    Open();
    mouse->ClearRequests();
    EXPECT_EQ(page->WriteSettings(), 0);
    std::vector<uint8_t> commands;
    for (const auto& request : mouse->Requests()) {
        commands.push_back(request[3]);
    }
    EXPECT_NE(std::find(commands.begin(), commands.end(), 0x09), commands.end());
    EXPECT_NE(std::find(commands.begin(), commands.end(), 0x06), commands.end());
}

TEST_F(MousePage, TheSameLightModeIsSavedAndSent) {
    Open();
    LightInfo source;
    source.light = 3;
    source.speed = 1;
    source.red = 10;
    source.green = 20;
    source.blue = 30;
    page->ApplySyncLightMode(7, source);
    EXPECT_EQ(page->LightMode(), 7);
    EXPECT_EQ(mouse->Memory()[1], 7);
    EXPECT_EQ(mouse->Memory()[6], 10);
    const Json::Value light = CJsonDocument().ReadJsonValue(page->ProfilePath())["Device"][0]["LightInfo"];
    EXPECT_EQ(light["SelectItem"].asInt(), 7);
}

// Nothing but the light buttons shows the host-side effect: it runs while one of them is on
// screen and stands still (its thread blocked) while the window or the page is hidden.
TEST_F(MousePage, TheLightEffectRunsOnlyWhileItsButtonsAreShown) {
    Open();
    LightInfo spectrum;
    spectrum.light = 4;
    spectrum.speed = 4;
    page->ApplySyncLightMode(1, spectrum);
    // The paint timer notices the buttons leaving and stops.
    const auto ledChanges = [&] {
        const bool shown = page->LightButtonsShown();
        EXPECT_TRUE(WaitFor(
            [&] { return page->GetManager()->HasTimer(page, CPellixUSBDevice::kLightPaintTimer) == shown; }));
        const uint32_t before = page->GetLedColour(0);
        return WaitFor([&] { return page->GetLedColour(0) != before; }, 600);
    };
    ASSERT_TRUE(page->LightButtonsShown());
    EXPECT_TRUE(ledChanges());
    EXPECT_NE(page->GetLedColour(0) >> 24, 0u);  // lit at the chosen brightness

    window->ShowWindow(false, false);
    EXPECT_FALSE(page->LightButtonsShown());
    EXPECT_FALSE(ledChanges());
    window->ShowWindow(true, false);
    EXPECT_TRUE(ledChanges());

    page->SetVisible(false);
    EXPECT_FALSE(page->LightButtonsShown());
    EXPECT_FALSE(ledChanges());
    page->SetVisible(true);
    EXPECT_TRUE(ledChanges());

    CDebugCapture capture;
    page->StopLightThread();
    EXPECT_FALSE(page->IsLightThreadRunning());
    EXPECT_NE(capture.Text().find("MS灯光线程设定退出"), std::string::npos);
    EXPECT_NE(capture.Text().find("线程退出：：对象处于激发状态"), std::string::npos);
}

TEST_F(MousePage, EveryControlThePageLooksUpExistsInTheSkin) {
    CDebugCapture capture;
    Open();
    page->Resync();
    for (int index = 0; index < CPellixMouseDevice::kSubPageCount; ++index) {
        page->SelectSettingsSubPage(index);
    }
    for (int stage = 0; stage < 7; ++stage) {
        page->DpiSliderMoved(stage);
        page->ShowStageEnabled(stage, true);
    }
    page->PointerSettingChanged("scroll_speed_slider");
    page->HideKeyEditor();
    EXPECT_EQ(capture.Text().find("has no control named"), std::string::npos) << capture.Text();
    EXPECT_EQ(capture.Text().find("cannot load image"), std::string::npos) << capture.Text();
}

TEST_F(MousePage, RendersEverySettingsSubPage) {
    Open();
    const char* names[] = {"performance", "keys", "light", "macro", "shoot", "pointer"};
    for (int index = 0; index < CPellixMouseDevice::kSubPageCount; ++index) {
        Control<ui::COptionUI>(Indexed("mouse_device_seting_option_", index), "Option")->Selected(true);
        EXPECT_EQ(page->GetFunctionTab(), CPellixMouseDevice::SubPageFunctionTab(index));
        EXPECT_TRUE(window->Save(std::string("mouse_page_") + names[index] + ".png"));
    }
}
