#include "devices/pad/pellix_mouse_pad_device.h"

#include "devices/common/light_control_ui.h"
#include "profile/json_document.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse_pad.h"
#include "tests/support/debug_capture.h"
#include "tests/support/page_host.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/toolkit/combo_ui.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/slider_ui.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kLayout = "XML\\DeviceXml\\mousepaddevice.xml";

}  // namespace

// The pad page built from the real skin in a host window, bound to the emulated pad on its own
// simulated bus, with a fresh data folder: what a new user sees.
class MousePadPage : public ::testing::Test {
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
        EXPECT_EQ(pad->Refusals(), 0u);
    }

    ui::CControlUI* MakeControl(const std::string& element) {
        if (element == "PellixMousePadDevice") {
            page = new CPellixMousePadDevice;
            return page;
        }
        if (element == "LightSetControlUI") {
            return ui::CDialogBuilder().Create("XML\\CustomControlXML\\LightControl.xml", window.get(),
                                               &window->GetPaintManager());
        }
        if (element == "LightControl") {
            return new CLightControlUI;
        }
        return nullptr;
    }

    void Open() {
        bus->Plug(CSimulatedMousePad::kName, pad);
        window = std::make_unique<CPageHostWindow>(kLayout,
                                                   [this](const std::string& e) { return MakeControl(e); });
        ASSERT_NE(window->Create(nullptr, "pad page", 0, 0, 0, 0, 1000, 542), nullptr);
        ASSERT_NE(page, nullptr);
        window->SetNotifier([this](ui::TNotifyUI& msg) {
            const std::string name = msg.pSender != nullptr ? msg.pSender->GetName() : "";
            if (msg.sType == ui::kNotifyTimer) {
                return;
            }
            if (name == "deng_Color_Pallet") {
                page->LightPaletteChanged();
            } else if (name.rfind("deng_", 0) == 0 || name == "light_combo_modeSelect") {
                page->LightControlChanged(name);
            }
        });
        const int row = FindSlot(SupportedInterfaces(), 0, 0, kKindMousePad, kSubKindCommand);
        ASSERT_GE(row, 0);
        page->SetHidBackend(bus);
        page->SetMainWindow(window->GetHWND());
        page->SetLayoutPath(kLayout);
        page->SetDeviceName("MousePad");
        page->SetSlotRow(SupportedInterfaces()[static_cast<size_t>(row)]);
        page->SetConfigBaseName("quorl_light");
        page->SetTypeCode(2);
        page->SetLedCount(15);
        page->SetKeyCount(0);
        page->SetMessageSink([this](const std::string& key) { messages.push_back(key); });
        page->InitPage();
        window->SetDevice(page);
        std::vector<platform::hid::HidEntryInfo> entries;
        bus->Enumerate(entries);
        InterfaceSlot command = SupportedInterfaces()[static_cast<size_t>(row)];
        for (const auto& entry : entries) {
            if (entry.collection.usage_page == 0xFF1C) {
                command.path = entry.path;
            } else if (entry.collection.usage_page == 0x0C) {
                consumerPath = entry.path;
            }
        }
        ASSERT_TRUE(page->Connection().OpenCommandChannel(command));
        page->Connection().OpenNotificationChannel(consumerPath);
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
    void MoveSlider(const std::string& name, int value) {
        Control<ui::CSliderUI>(name, "Slider")->SetValue(value);
        window->GetPaintManager().SendNotify(window->GetPaintManager().FindControl(name),
                                             ui::kNotifyValueChanged, 0, 0, false);
    }
    Json::Value SavedLight() {
        return CJsonDocument().ReadJsonValue(page->ProfilePath())["Device"][0]["LightInfo"];
    }
    std::vector<uint8_t> Record() const {
        const std::vector<uint8_t> memory = pad->Memory();
        return {memory.begin(), memory.begin() + 25};
    }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedMousePad> pad = std::make_shared<CSimulatedMousePad>();
    std::unique_ptr<CPageHostWindow> window;
    CPellixMousePadDevice* page = nullptr;
    std::string consumerPath;
    std::vector<std::string> messages;
};

TEST_F(MousePadPage, PluggedInThePageShowsTheDefaultProfileAndBindsItsFifteenLights) {
    CDebugCapture capture;
    Open();
    for (int led = 0; led < 15; ++led) {
        EXPECT_NE(page->LightButton(led), nullptr) << led;
    }
    EXPECT_EQ(page->LightButton(15), nullptr);
    CLightControlUI* panel = page->LightPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(Control<ui::CComboUI>("light_combo_modeSelect", "Combo")->GetCount(), 9);
    EXPECT_EQ(panel->SelectedMode(), SavedLight()["SelectItem"].asInt());
    EXPECT_EQ(panel->Brightness(), SavedLight()["Light"].asInt());
    EXPECT_TRUE(Control<ui::COptionUI>("deng_Op_tab", "Option")->IsSelected());
    EXPECT_EQ(Record(), CSimulatedMousePad().ActiveRecord()) << "connecting writes nothing";
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(capture.Text().find("has no control named"), std::string::npos) << capture.Text();
    EXPECT_EQ(capture.Text().find("cannot load image"), std::string::npos) << capture.Text();
}

TEST_F(MousePadPage, ALightChangeOnThePageReachesThePadsRecordAndTheProfile) {
    Open();
    Control<ui::CComboUI>("light_combo_modeSelect", "Combo")->SelectItem(3);
    MoveSlider("deng_light_slider", 1);
    MoveSlider("deng_speed_slider", 4);
    // Static (3), brightness 1, inverted speed 0; bytes 4 and 9..24 as the pad had them.
    std::vector<uint8_t> expected = CSimulatedMousePad().ActiveRecord();
    expected[1] = 0x03;
    expected[2] = 0x01;
    expected[3] = 0x00;
    EXPECT_EQ(Record(), expected);
    EXPECT_EQ(SavedLight()["SelectItem"].asInt(), 3);
    EXPECT_EQ(SavedLight()["Speed"].asInt(), 4);
}

TEST_F(MousePadPage, ThePadsOwnLightButtonIsReadBackAndBecomesTheProfilesLight) {
    Open();
    const uint8_t before = page->LightState().selectItem;
    pad->PressLightButton();
    const uint8_t now = pad->ActiveRecord()[1];
    ASSERT_NE(now, before);
    ASSERT_TRUE(WaitFor([&] { return page->LightState().selectItem == now; }));
    EXPECT_TRUE(WaitFor([&] { return page->LightPanel()->SelectedMode() == now; }));
    EXPECT_EQ(SavedLight()["SelectItem"].asInt(), now);
}

TEST_F(MousePadPage, RendersTheLightingSubPage) {
    Open();
    EXPECT_TRUE(window->Save("mousepad_page_light.png"));
}
