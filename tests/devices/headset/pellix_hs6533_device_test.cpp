#include "devices/headset/pellix_hs6533_device.h"

#include "devices/common/light_control_ui.h"
#include "devices/headset/magic_control_ui.h"
#include "devices/headset/voice6533_control_ui.h"
#include "profile/json_document.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_headset.h"
#include "tests/support/audio_library_env.h"
#include "tests/support/page_host.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/controls/mp_device_power_ui.h"
#include "ui/toolkit/combo_ui.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/slider_ui.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace {

using ::testing::ElementsAre;

constexpr size_t kHeadsetRow = 8;

bool IsHeadsetControl(const std::string& name) {
    for (const char* prefix : {"6533_", "magic_", "custom_eq_", "hs_EQ_"}) {
        if (name.rfind(prefix, 0) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

// The headset page built from the real skin in a host window, bound to the emulated headset on
// its own simulated bus, with the built audio library loaded through dlopen and a fresh data
// folder: what a new user sees.
class HeadsetPage : public ::testing::Test {
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

    ui::CControlUI* MakeControl(const std::string& element) {
        if (element == "PellixHS6533Device") {
            page = new CPellixHS6533Device;
            return page;
        }
        const char* file = element == "MagicSetControlUI" ? "XML\\CustomControlXML\\MagicControl.xml"
                           : element == "Voice6533SetControlUI"
                               ? "XML\\CustomControlXML\\Voice6533Control.xml"
                           : element == "LightSetControlUI" ? "XML\\CustomControlXML\\LightControl.xml"
                                                            : nullptr;
        if (file != nullptr) {
            return ui::CDialogBuilder().Create(file, window.get(), &window->GetPaintManager());
        }
        if (element == "LightControl") {
            return new CLightControlUI;
        }
        if (element == "MpDevicePower") {
            return new ui::CMpDevicePowerUI;
        }
        if (element == "Voice6533Control") {
            return new CVoice6533ControlUI;
        }
        if (element == "MagicControl") {
            return new CMagicControlUI;
        }
        return nullptr;
    }

    void Open() {
        bus->Plug("hs6533", headset);
        window = std::make_unique<CPageHostWindow>(
            "XML\\DeviceXml\\hs6533device.xml",
            [this](const std::string& element) { return MakeControl(element); });
        ASSERT_NE(window->Create(nullptr, "headset page", 0, 0, 0, 0, 1000, 542), nullptr);
        ASSERT_NE(page, nullptr);
        window->SetNotifier([this](ui::TNotifyUI& msg) {
            const std::string name = msg.pSender != nullptr ? msg.pSender->GetName() : "";
            if (msg.sType == ui::kNotifySelectChanged && name.find("_Op_tab") != std::string::npos) {
                page->ShowTab(name);
            } else if (name.rfind("deng_", 0) == 0 || name == "light_combo_modeSelect") {
                page->LightControlChanged(name);
            } else if (msg.sType != ui::kNotifyTimer && IsHeadsetControl(name)) {
                page->HeadsetControl(name);
            }
        });
        page->SetHidBackend(bus);
        page->SetMainWindow(window->GetHWND());
        page->SetLayoutPath("XML\\DeviceXml\\hs6533device.xml");
        page->SetDeviceName("HD");
        page->SetSlotRow(SupportedInterfaces()[kHeadsetRow]);
        page->SetConfigBaseName("quorl_light");
        page->SetTypeCode(3);
        page->SetMessageSink([this](const std::string& key) { messages.push_back(key); });
        page->InitPage();
        window->SetDevice(page);
        std::vector<platform::hid::HidEntryInfo> entries;
        bus->Enumerate(entries);
        InterfaceSlot slot = SupportedInterfaces()[kHeadsetRow];
        slot.path = entries.at(0).path;
        ASSERT_TRUE(page->Connection().OpenCommandChannel(slot));
        page->Connection().OpenNotificationChannel(slot.path);
        page->NotifyConnected();
        ASSERT_TRUE(WaitFor([&] { return page->IsLightThreadRunning(); }));
        window->ShowWindow(true, false);
        QCoreApplication::processEvents();
        library.ClearLog();
    }

    template <class T>
    T* Control(const std::string& name, const char* interfaceName) {
        ui::CControlUI* control = window->GetPaintManager().FindControl(name);
        return control != nullptr ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
    }
    ui::CSliderUI* Slider(const std::string& name) { return Control<ui::CSliderUI>(name, "Slider"); }
    ui::COptionUI* Option(const std::string& name) { return Control<ui::COptionUI>(name, "Option"); }
    void Send(const std::string& name, const char* type) {
        window->GetPaintManager().SendNotify(window->GetPaintManager().FindControl(name), type, 0, 0, false);
    }
    // What the user does: moves a slider and lets go, clicks an option or a button.
    void MoveSlider(const std::string& name, int value) {
        Slider(name)->SetValue(value);
        Send(name, ui::kNotifyValueChanged);
    }
    void Click(const std::string& name) {
        if (ui::COptionUI* option = Option(name)) {
            option->Selected(!option->IsSelected() || !option->GetGroup().empty());
            return;
        }
        Send(name, ui::kNotifyClick);
    }
    Json::Value SavedVoice() {
        return CJsonDocument().ReadJsonValue(page->ProfilePath())["Device"][0]["SystemSetStages"];
    }

    CTempDataHome home;
    CAudioLibraryEnv library;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedHeadset> headset = std::make_shared<CSimulatedHeadset>();
    std::unique_ptr<CPageHostWindow> window;
    CPellixHS6533Device* page = nullptr;
    std::vector<std::string> messages;
};

TEST_F(HeadsetPage, ANewUserSeesTheDefaultProfileAndTheLibrarysLevels) {
    std::ofstream(library.StatePath())
        << "1.VolumeScalarControl 0.57\n1.VolumeControl 11.94\n1.MuteControl 1\n";
    Open();
    EXPECT_TRUE(std::filesystem::exists(page->ProfilePath()));
    CVoice6533ControlUI& voice = *page->VoicePanel();
    EXPECT_EQ(voice.MicLevel(), 57);
    EXPECT_FALSE(voice.IsMicOn()) << "muted in the library";
    const int preset = page->Profile().GetVoiceSettings().eqType;
    EXPECT_EQ(voice.SelectedPreset(), preset);
    EXPECT_TRUE(Option("6533_eq_option_" + std::to_string(preset))->IsSelected());
    EXPECT_FALSE(Control<ui::CControlUI>("custom_eq_option_layout", "Container")->IsEnabled());
    EXPECT_EQ(voice.CustomCount(), 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(HeadsetPage, LevelsAndSwitchesReachTheLibraryAndTheProfile) {
    Open();
    MoveSlider("6533_MicIn_slider", 80);
    Click("6533_MicMoniter_option");
    EXPECT_EQ(library.StateValue("1.VolumeScalarControl"), "0.8");
    EXPECT_EQ(SavedVoice()["MicInValue"].asInt(), 80);
    const bool monitoring = page->VoicePanel()->IsMonitorOn();
    EXPECT_EQ(library.StateValue("1.AAMuteControl"), monitoring ? "0" : "1");
    EXPECT_EQ(SavedVoice()["MicMoniterSelect"].asInt(), monitoring ? 1 : 0);
    Click("magic_enable_option");
    Click("magic_option_3");
    EXPECT_EQ(library.StateValue("1.Enable_MAGICVOICE"), "1");
    EXPECT_EQ(library.StateValue("1.MagicVoice_Selection"), "2");
    EXPECT_EQ(SavedVoice()["MagicType"].asInt(), 3);
}

TEST_F(HeadsetPage, ABandMoveShowsTheCustomStateAndCustomEqualisersAreKeptByName) {
    Open();
    Click("6533_eq_option_4");
    EXPECT_EQ(SavedVoice()["EqType"].asInt(), 4);
    library.ClearLog();
    MoveSlider("6533_eq_hz_slider_2", 9);
    EXPECT_THAT(library.Writes(), ElementsAre("write 0 EQ_Slider3 9 index 0"));
    EXPECT_TRUE(Option("6533_eq_option_13")->IsSelected());
    EXPECT_TRUE(Control<ui::CControlUI>("custom_eq_option_layout", "Container")->IsEnabled());

    page->VoicePanel()->SetCustomNameText("Footsteps");
    Click("hs_EQ_btn_save");
    page->VoicePanel()->SetCustomNameText("FOOTSTEPS");
    Click("hs_EQ_btn_save");
    EXPECT_THAT(messages, ElementsAre("message_text_5"));
    EXPECT_EQ(page->VoicePanel()->CustomCount(), 1);
    EXPECT_EQ(page->VoicePanel()->SelectedCustom(), 0);
    const Json::Value device = CJsonDocument().ReadJsonValue(page->ProfilePath())["Device"][0];
    EXPECT_EQ(device["CustomEQNameInfo"][0]["Name"].asString(), "Footsteps");
    EXPECT_EQ(device["CustomEQHzValueInfo"][0][2]["value"].asInt(), 9);
    EXPECT_EQ(device["SystemSetStages"]["EqType"].asInt(), 13);

    Click("hs_EQ_btn_delete");
    EXPECT_EQ(page->VoicePanel()->CustomCount(), 0);
    EXPECT_TRUE(Option("6533_eq_option_1")->IsSelected());
    EXPECT_FALSE(Control<ui::CControlUI>("custom_eq_option_layout", "Container")->IsEnabled());
    EXPECT_EQ(SavedVoice()["EqType"].asInt(), 1);
}

TEST_F(HeadsetPage, WithoutAudioEndpointsThePageStillDrivesTheLighting) {
    CAudioLibraryEnv::Set("NORVIK_OSCONF_ENDPOINTS", "");
    Open();
    MoveSlider("6533_MicIn_slider", 30);
    EXPECT_TRUE(library.Writes().empty());
    EXPECT_NE(SavedVoice()["MicInValue"].asInt(), 30);
    Click("deng_Op_tab");
    ASSERT_NE(page->LightPanel(), nullptr);
    MoveSlider("deng_speed_slider", 4);
    MoveSlider("deng_light_slider", 1);
    EXPECT_EQ(headset->Memory()[2], 1);
    EXPECT_EQ(headset->Memory()[3], 0) << "speed 4 is stored as 0";
    const Json::Value light = CJsonDocument().ReadJsonValue(page->ProfilePath())["Device"][0]["LightInfo"];
    EXPECT_EQ(light["Speed"].asInt(), 4);
    EXPECT_EQ(light["Light"].asInt(), 1);

    LightInfo source;
    source.light = 3;
    source.speed = 2;
    source.red = 0xAB;
    page->ApplySyncLightMode(4, source);
    const std::vector<uint8_t> memory = headset->Memory();
    EXPECT_EQ((std::vector<uint8_t>(memory.begin() + 1, memory.begin() + 7)),
              (std::vector<uint8_t>{4, 3, 2, 0, 0, 0xAB}))
        << "the same light on all devices";
}

TEST_F(HeadsetPage, AResetKeepsTheCustomEqualisersAndRestoresTheRest) {
    Open();
    const int defaultPreset = SavedVoice()["EqType"].asInt();
    MoveSlider("6533_eq_hz_slider_0", -4);
    page->VoicePanel()->SetCustomNameText("Kept");
    Click("hs_EQ_btn_save");
    ASSERT_EQ(SavedVoice()["EqType"].asInt(), 13);
    page->ResetAndReload();
    EXPECT_EQ(SavedVoice()["EqType"].asInt(), defaultPreset);
    EXPECT_EQ(page->VoicePanel()->CustomCount(), 1);
    EXPECT_EQ(page->VoicePanel()->CustomName(0), "Kept");
    EXPECT_EQ(page->Profile().GetCustomGains(0)[0], -4);
}

TEST_F(HeadsetPage, ThePowerPollShowsTheEmulatedBattery) {
    Open();
    auto* power = static_cast<ui::CMpDevicePowerUI*>(
        ui::CDialogBuilder()
            .Create("XML\\CustomControlXML\\MpDevicePower.xml", window.get(), &window->GetPaintManager())
            ->GetInterface("MpDevicePower"));
    ASSERT_NE(power, nullptr);
    static_cast<ui::CContainerUI*>(window->GetPaintManager().GetRoot()->GetInterface("Container"))
        ->Add(power);
    page->SetPowerIndicator(power);
    headset->SetBatteryLevel(42);
    page->PeriodicPoll();
    ui::CControlUI* value = window->GetPaintManager().FindSubControlByName(power, "device_power_value");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->GetText(), "42%");
}

TEST_F(HeadsetPage, PanelsKeepOnlyChoicesTheyHaveAndSkipMissingControls) {
    Open();
    CVoice6533ControlUI& voice = *page->VoicePanel();
    voice.SelectPreset(3);
    voice.SelectPreset(14);
    EXPECT_EQ(voice.SelectedPreset(), 0);
    for (int n = 1; n <= CVoice6533ControlUI::kPresetCount; ++n) {
        EXPECT_FALSE(Option("6533_eq_option_" + std::to_string(n))->IsSelected()) << n;
    }
    voice.AddCustomName("a");
    voice.AddCustomName("b");
    voice.SelectCustom(1);
    voice.RemoveCustom(0);
    voice.RemoveCustom(5);
    EXPECT_EQ(voice.CustomCount(), 1);
    EXPECT_EQ(voice.CustomName(0), "b");
    EXPECT_EQ(voice.CustomName(1), "");
    CMagicControlUI& magic = *page->MagicPanel();
    magic.SelectVoice(2);
    magic.SelectVoice(0);
    EXPECT_EQ(magic.SelectedVoice(), 0);
    EXPECT_FALSE(Option("magic_option_2")->IsSelected());
    magic.SetVoiceChangerOn(false);
    EXPECT_FALSE(Control<ui::CControlUI>("magic_option_layout", "Container")->IsEnabled());

    CVoice6533ControlUI bare;
    EXPECT_EQ(bare.Band(0), -1);
    EXPECT_EQ(bare.MicLevel(), -1);
    EXPECT_EQ(bare.SelectedCustom(), -1);
    EXPECT_EQ(bare.CustomNameText(), "");
    bare.SelectPreset(2);
    EXPECT_EQ(bare.SelectedPreset(), 2);
}

TEST_F(HeadsetPage, TheHeadsetsOwnLightButtonIsReadBack) {
    Open();
    const uint8_t shown = page->LightState().selectItem;
    do {
        headset->PressLightButton();
    } while (headset->Memory()[1] == shown);
    EXPECT_TRUE(WaitFor([&] { return page->LightState().selectItem == headset->Memory()[1]; }));
}

TEST_F(HeadsetPage, RendersBothPanels) {
    Open();
    page->VoicePanel()->SetCustomNameText("Footsteps");
    EXPECT_TRUE(window->Save("headset_page_voice.png"));
    Click("magic_Op_tab");
    Click("magic_enable_option");
    Click("magic_option_2");
    EXPECT_TRUE(window->Save("headset_page_magic.png"));
    Click("deng_Op_tab");
    EXPECT_TRUE(window->Save("headset_page_light.png"));
}
