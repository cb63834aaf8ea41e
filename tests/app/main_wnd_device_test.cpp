#include "app/control_factory_tables.h"
#include "app/main_wnd.h"
#include "app/msg_wnd.h"
#include "app/registered_messages.h"
#include "device/pellix_usb_device.h"
#include "macro/macro_list.h"
#include "platform/hid/hid_backend.h"
#include "profile/data_folders.h"
#include "profile/json_document.h"
#include "profile/profile_list.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_headset.h"
#include "sim/simulated_keyboard.h"
#include "sim/simulated_mouse.h"
#include "sim/simulated_mouse_pad.h"
#include "tests/support/audio_library_env.h"
#include "tests/support/modal_window.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/controls/device_option_ui.h"
#include "ui/controls/skin_change_observer.h"
#include "ui/toolkit/builtin_controls.h"
#include "ui/toolkit/combo_ui.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/resource_manager.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QWidget>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

using app::CMainWnd;

constexpr int kMouseStaticMode = 4;

// Where the parameter record keeps stage n's slider position (the active stage sits between).
size_t StagePositionByte(size_t stage) {
    return stage < 4 ? 15 + stage : 20 + (stage - 4);
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The main window on a simulated bus with a fresh data folder; mice are plugged by the test.
class MainWndDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        platform::hid::SetProcessBackend(bus);
        ASSERT_TRUE(LoadProgramSkin());
        app::RegisterControlClasses();
        app::RegisterProductMessage();
        app::RegisterShellMessages();
        ui::CPaintManagerUI::SetAllDPI(96);
    }
    void TearDown() override {
        wnd.reset();
        platform::hid::SetProcessBackend(nullptr);
        ui::CResourceManager::GetInstance().Release();
    }

    void Open() {
        wnd = std::make_unique<CMainWnd>();
        ASSERT_NE(wnd->Create(nullptr, "Norvik 400100 Gaming Mouse", 0, 0, 0, 0, 1000, 640), nullptr);
        ASSERT_TRUE(WaitFor([&] { return wnd->IsVisible(); }));
    }

    std::shared_ptr<CSimulatedMouse> Plug(const char* name, MouseModel model) {
        auto mouse = std::make_shared<CSimulatedMouse>(std::move(model));
        handles[name] = bus->Plug(name, mouse);
        return mouse;
    }

    ui::CControlUI* Control(const std::string& name) { return wnd->GetPaintManager().FindControl(name); }

    // Both mice have a page with the same control names: look inside the shown one.
    ui::CControlUI* PageControl(const std::string& name) {
        CPellixUSBDevice* page = wnd->DeviceBar().ActivePage();
        return page != nullptr ? wnd->GetPaintManager().FindSubControlByName(page, name) : nullptr;
    }

    bool PageFilled() { return Filled(wnd->DeviceBar().ActivePage()); }

    // The read-back after connecting has filled in the page's stages.
    bool Filled(CPellixUSBDevice* page) {
        const ui::CControlUI* edit =
            page != nullptr ? wnd->GetPaintManager().FindSubControlByName(page, "DPI_edit_1") : nullptr;
        return edit != nullptr && !edit->GetText().empty();
    }

    bool EveryConnectedPageFilled() {
        for (const auto& entry : wnd->DeviceBar().Entries()) {
            if (entry.page->IsCommandChannelOpen() && !Filled(entry.page)) {
                return false;
            }
        }
        return true;
    }

    bool NoDeviceLinkShown() { return Control("No_device_Link")->IsVisible(); }

    int VisibleOptions() {
        int first = -1;
        int count = 0;
        wnd->DeviceBar().FindFirstPresent(first, count);
        return count;
    }

    // The toolkit's notification for a control of the window, as a user's action raises it.
    void Send(const std::string& control, const char* type) {
        ui::CControlUI* sender = PageControl(control);
        ASSERT_NE(sender, nullptr) << control;
        wnd->GetPaintManager().SendNotify(sender, type);
    }

    void SetSlider(const std::string& name, int value) {
        static_cast<ui::CProgressUI*>(PageControl(name)->GetInterface("Progress"))->SetValue(value);
    }

    std::string ActiveProfilePath(const char* deviceName) {
        CProfileList list(2, CDataFolders::UserDataFolder(deviceName),
                          CDataFolders::DefaultProfileFile(deviceName));
        list.Load();
        return list.CurrentProfilePath();
    }

    void Save(const std::string& name) {
        ASSERT_TRUE(SaveRender(wnd->GetPaintManager(), *wnd->GetWidget(), name));
    }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::map<std::string, uint64_t> handles;
    std::unique_ptr<CMainWnd> wnd;
};

TEST_F(MainWndDeviceTest, PluggedMouseShowsItsPageAndADpiSliderWritesTheRecord) {
    Open();
    EXPECT_TRUE(NoDeviceLinkShown());
    auto mouse = Plug("mouse3389", MouseModel3389());
    ASSERT_TRUE(WaitFor([&] { return VisibleOptions() == 1; }, 2000));
    EXPECT_FALSE(NoDeviceLinkShown());
    ASSERT_NE(wnd->DeviceBar().ActivePage(), nullptr);
    EXPECT_EQ(wnd->DeviceBar().ActivePage()->DeviceName(), "mouse3389");
    // The read-back after connecting has run once the page's stages are filled in.
    ASSERT_TRUE(WaitFor([&] { return PageFilled(); }));

    SetSlider("DPI_slider_1", 40);
    Send("DPI_slider_1", "movevaluechanged");
    EXPECT_NE(mouse->Memory()[StagePositionByte(1)], 40) << "dragging writes nothing";
    Send("DPI_slider_1", "valuechanged");
    ASSERT_TRUE(WaitFor([&] { return mouse->Memory()[StagePositionByte(1)] == 40; }));
    const Json::Value profile = CJsonDocument().ReadJsonValue(ActiveProfilePath("mouse3389"));
    EXPECT_EQ(profile["Device"][0]["DPIStages"]["StageDPIs"][1]["StageDPIX"].asInt(), 40);
}

// Without the udev rule the mouse's node cannot be opened and the mouse never appears; the
// no-device page says which node and which rule, instead of staying silent.
TEST_F(MainWndDeviceTest, AMouseThatCannotBeOpenedIsNamedOnTheNoDevicePage) {
    Plug("mouse3389", MouseModel3389());
    ASSERT_TRUE(bus->DenyAccess(handles["mouse3389"]));
    Open();
    EXPECT_TRUE(NoDeviceLinkShown());
    ui::CControlUI* hint = Control("nodevice_access");
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->IsVisible());
    EXPECT_NE(hint->GetText().find("sim#mouse3389."), std::string::npos) << hint->GetText();
    EXPECT_NE(hint->GetText().find("packaging/udev/70-norvik.rules"), std::string::npos) << hint->GetText();
    EXPECT_EQ(VisibleOptions(), 0);
    Save("main_window_no_access.png");
}

// The cable pulled in the middle of a record write: the slider's write returns at once with its
// result instead of waiting for a reply, and the page goes as the mouse does.
TEST_F(MainWndDeviceTest, AnUnplugInTheMiddleOfAWriteEndsItAtOnce) {
    Open();
    auto mouse = Plug("mouse3389", MouseModel3389());
    ASSERT_TRUE(WaitFor([&] { return PageFilled(); }, 3000));
    mouse->Faults().Add(FaultKind::kUnplug, 2);  // 0x01 and the record's first chunk pass

    SetSlider("DPI_slider_1", 40);
    QElapsedTimer clock;
    clock.start();
    Send("DPI_slider_1", "valuechanged");
    EXPECT_LT(clock.elapsed(), 300);
    EXPECT_TRUE(WaitFor([&] { return NoDeviceLinkShown(); }, 2000));
    EXPECT_EQ(VisibleOptions(), 0);
}

// The cable pulled halfway through Apply's writes (the key table, the record and the macros): the
// page's write returns its failure within a second instead of a time-out per report, and the page
// goes as the mouse does.
TEST_F(MainWndDeviceTest, AnUnplugHalfwayThroughApplyEndsItWithAResult) {
    CMacroList macros(CDataFolders::UserDataFolder("mouse3389"));
    ASSERT_TRUE(macros.Create());
    ASSERT_EQ(macros.Save(0, std::vector<MacroEvent>(120, MacroEvent{"down", 44, 10, "30"})), 0);
    Open();
    auto mouse = Plug("mouse3389", MouseModel3389());
    ASSERT_TRUE(WaitFor([&] { return PageFilled(); }, 3000));
    CPellixUSBDevice* page = wnd->DeviceBar().ActivePage();
    // The light thread's steps are requests too; without them the unplug falls where it is aimed.
    page->StopLightThread();
    mouse->ClearRequests();
    ASSERT_EQ(page->WriteSettings(), 0);
    const size_t requests = mouse->Requests().size();
    ASSERT_GE(requests, 10u) << "Apply is a run of many reports";
    RecordProperty("apply_requests", static_cast<int>(requests));

    mouse->Faults().Add(FaultKind::kUnplug, static_cast<unsigned>(requests / 2));
    QElapsedTimer clock;
    clock.start();
    EXPECT_NE(page->WriteSettings(), 0);
    const qint64 elapsed = clock.elapsed();
    EXPECT_LT(elapsed, 1000);
    RecordProperty("apply_unplugged_ms", static_cast<int>(elapsed));
    EXPECT_TRUE(WaitFor([&] { return NoDeviceLinkShown(); }, 2000));
    EXPECT_EQ(VisibleOptions(), 0);
}

// Without macros the macro write has nothing to say; a key table or record that never arrived
// must still make Apply report a failure.
TEST_F(MainWndDeviceTest, AnUnplugDuringApplyWithoutMacrosIsReportedAsAFailure) {
    Open();
    auto mouse = Plug("mouse3389", MouseModel3389());
    ASSERT_TRUE(WaitFor([&] { return PageFilled(); }, 3000));
    CPellixUSBDevice* page = wnd->DeviceBar().ActivePage();
    page->StopLightThread();
    ASSERT_EQ(page->WriteSettings(), 0);
    mouse->Faults().Add(FaultKind::kUnplug, 2);
    EXPECT_EQ(page->WriteSettings(), -1);
}

TEST_F(MainWndDeviceTest, AChangeMadeOnTheMouseIsReadBackAboutHalfASecondLater) {
    Open();
    auto mouse = Plug("mouse3389", MouseModel3389());
    ASSERT_TRUE(WaitFor([&] { return PageFilled(); }, 3000));
    mouse->ClearRequests();
    QElapsedTimer clock;
    clock.start();
    mouse->PressDpiButton();
    const auto readsParameters = [&] {
        for (const auto& request : mouse->Requests()) {
            if (request.size() > 3 && request[3] == 0x05) {
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(WaitFor(readsParameters, 3000));
    EXPECT_GE(clock.elapsed(), 400);
}

TEST_F(MainWndDeviceTest, UnpluggingHidesTheOptionShowsNoDeviceLinkAndLeavesTheProfile) {
    Open();
    Plug("mouse3389", MouseModel3389());
    ASSERT_TRUE(WaitFor([&] { return PageFilled(); }, 3000));
    const std::string profilePath = ActiveProfilePath("mouse3389");
    const std::string before = FileText(profilePath);
    ASSERT_TRUE(bus->Unplug(handles["mouse3389"]));
    ASSERT_TRUE(WaitFor([&] { return NoDeviceLinkShown(); }, 1000));
    EXPECT_EQ(VisibleOptions(), 0);
    EXPECT_EQ(wnd->DeviceBar().ActivePage(), nullptr);
    EXPECT_EQ(FileText(profilePath), before);
}

TEST_F(MainWndDeviceTest, TwoMiceThenTheSelectedOneLeavesAndTheOtherTakesOver) {
    Open();
    Plug("mouse", MouseModel3325());
    Plug("mouse3389", MouseModel3389());
    ASSERT_TRUE(WaitFor([&] { return VisibleOptions() == 2; }, 3000));
    const auto& entries = wnd->DeviceBar().Entries();
    for (const auto& entry : entries) {
        if (entry.option->IsDeviceVisible()) {
            EXPECT_TRUE(entry.option->GetSynchroSelect()->IsVisible());
        }
    }
    // Select the second mouse, then unplug it.
    CPellixUSBDevice* second = nullptr;
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        if (entries[static_cast<size_t>(i)].page->DeviceName() == "mouse3389") {
            wnd->DeviceBar().SelectDeviceOption(i, true, true);
            second = entries[static_cast<size_t>(i)].page;
        }
    }
    ASSERT_EQ(wnd->DeviceBar().ActivePage(), second);
    ASSERT_TRUE(bus->Unplug(handles["mouse3389"]));
    ASSERT_TRUE(WaitFor([&] { return VisibleOptions() == 1; }, 1000));
    ASSERT_NE(wnd->DeviceBar().ActivePage(), nullptr);
    EXPECT_EQ(wnd->DeviceBar().ActivePage()->DeviceName(), "mouse");
    for (const auto& entry : entries) {
        EXPECT_FALSE(entry.option->GetSynchroSelect()->IsVisible());
        EXPECT_FALSE(entry.option->IsSynchroChecked());
    }
    EXPECT_FALSE(NoDeviceLinkShown());
}

// The confirmation is modal: a device may leave while it is open. What the user confirmed acts on
// the page it was asked for, and on no other page once that one is gone.
TEST_F(MainWndDeviceTest, ADeviceLeavingDuringTheConfirmationResetsNoOtherPage) {
    Open();
    auto first = Plug("mouse", MouseModel3325());
    Plug("mouse3389", MouseModel3389());
    ASSERT_TRUE(WaitFor([&] { return VisibleOptions() == 2 && EveryConnectedPageFilled(); }, 3000));
    const auto& entries = wnd->DeviceBar().Entries();
    auto select = [&](const std::string& name) {
        for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
            if (entries[static_cast<size_t>(i)].page->DeviceName() == name) {
                wnd->DeviceBar().SelectDeviceOption(i, true, true);
            }
        }
    };
    select("mouse");
    SetSlider("DPI_slider_1", 40);
    Send("DPI_slider_1", "valuechanged");
    ASSERT_TRUE(WaitFor([&] { return first->Memory()[StagePositionByte(1)] == 40; }));
    auto storedStage = [&] {
        const Json::Value profile = CJsonDocument().ReadJsonValue(ActiveProfilePath("mouse"));
        return profile["Device"][0]["DPIStages"]["StageDPIs"][1]["StageDPIX"].asInt();
    };
    ASSERT_EQ(storedStage(), 40);

    int answered = 0;
    select("mouse3389");
    WhenShown(app::kMsgWndClassName, [&](ui::CHostWidget& host) {
        ++answered;
        ASSERT_TRUE(bus->Unplug(handles["mouse3389"]));
        ASSERT_TRUE(WaitFor([&] { return VisibleOptions() == 1; }, 2000));
        EXPECT_EQ(wnd->DeviceBar().ActivePage()->DeviceName(), "mouse");
        host.GetPaintManager()->FindControl("confirm_btn")->Activate();
    });
    Send("default_btn", "click");
    ASSERT_EQ(answered, 1);
    EXPECT_EQ(first->Memory()[StagePositionByte(1)], 40);
    EXPECT_EQ(storedStage(), 40);

    // With the only device gone there is no page at all: the confirmation ends in nothing.
    WhenShown(app::kMsgWndClassName, [&](ui::CHostWidget& host) {
        ++answered;
        ASSERT_TRUE(bus->Unplug(handles["mouse"]));
        ASSERT_TRUE(WaitFor([&] { return NoDeviceLinkShown(); }, 2000));
        host.GetPaintManager()->FindControl("confirm_btn")->Activate();
    });
    Send("default_btn", "click");
    EXPECT_EQ(answered, 2);
    EXPECT_EQ(wnd->DeviceBar().ActivePage(), nullptr);
}

TEST_F(MainWndDeviceTest, ATypedDpiIsClampedToTheSensorsRange) {
    Open();
    auto mouse = Plug("mouse3389", MouseModel3389());
    ASSERT_TRUE(WaitFor([&] { return PageFilled(); }, 3000));
    PageControl("DPI_edit_2")->SetText("999999");
    Send("DPI_edit_2", "killfocus");
    const int maximum =
        static_cast<ui::CProgressUI*>(PageControl("DPI_slider_2")->GetInterface("Progress"))->GetMaxValue();
    EXPECT_EQ(
        static_cast<ui::CProgressUI*>(PageControl("DPI_slider_2")->GetInterface("Progress"))->GetValue(),
        maximum);
    ASSERT_TRUE(WaitFor([&] { return mouse->Memory()[StagePositionByte(2)] == maximum; }));
}

TEST_F(MainWndDeviceTest, SameModeForAllGivesEveryMouseTheActiveLightAndSynchronisesTheirLeds) {
    Open();
    Plug("mouse", MouseModel3325());
    Plug("mouse3389", MouseModel3389());
    ASSERT_TRUE(WaitFor([&] { return VisibleOptions() == 2 && EveryConnectedPageFilled(); }, 3000));
    CPellixUSBDevice* active = wnd->DeviceBar().ActivePage();
    LightInfo staticRed;
    staticRed.light = 4;
    staticRed.red = 255;
    active->ApplySyncLightMode(kMouseStaticMode, staticRed);

    wnd->ApplySameModeToAll();
    // The synchronisation thread paints the fixed colour at full brightness into every LED.
    constexpr uint32_t kRedAtFullBrightness = 0xFF0000FFu;
    for (const auto& entry : wnd->DeviceBar().Entries()) {
        if (!entry.page->IsCommandChannelOpen()) {
            continue;
        }
        EXPECT_EQ(entry.page->LightMode(), kMouseStaticMode) << entry.page->DeviceName();
        EXPECT_TRUE(entry.page->IsSynchronisedLighting()) << entry.page->DeviceName();
        ASSERT_TRUE(WaitFor([&] { return entry.page->GetLedColour(0) == kRedAtFullBrightness; }, 3000))
            << entry.page->DeviceName();
    }
}

TEST_F(MainWndDeviceTest, RendersTheMousePageAndEachSettingsSubPage) {
    Open();
    Plug("mouse3389", MouseModel3389());
    ASSERT_TRUE(WaitFor([&] { return PageFilled(); }, 3000));
    Save("main_window_mouse.png");
    for (int sub = 0; PageControl("mouse_device_seting_option_" + std::to_string(sub)) != nullptr; ++sub) {
        auto* option = static_cast<ui::COptionUI*>(
            PageControl("mouse_device_seting_option_" + std::to_string(sub))->GetInterface("Option"));
        option->Selected(true);
        Save("main_window_mouse_" + std::to_string(sub) + ".png");
    }
    ui::CPaintManagerUI::SetAllDPI(144);
    Save("main_window_mouse_144dpi.png");
}

// The keyboard and the pad share their ids; with a mouse beside them each has its own page, and
// the pad's page reaches the pad through the window's routing.
TEST_F(MainWndDeviceTest, AMouseAKeyboardAndAPadGiveThreePagesAndThePadPageDrivesThePad) {
    Open();
    Plug("mouse3389", MouseModel3389());
    bus->Plug(CSimulatedKeyboard::kName, std::make_shared<CSimulatedKeyboard>());
    auto pad = std::make_shared<CSimulatedMousePad>();
    bus->Plug(CSimulatedMousePad::kName, pad);
    ASSERT_TRUE(WaitFor([&] { return VisibleOptions() == 3; }, 3000));
    std::vector<CPellixUSBDevice*> pads;
    for (const auto& entry : wnd->DeviceBar().Entries()) {
        if (entry.page->GetClass() == "PellixMousePadDevice") {
            pads.push_back(entry.page);
        }
    }
    ASSERT_EQ(pads.size(), 1u);
    ASSERT_EQ(pads[0]->GetClass(), "PellixMousePadDevice");
    wnd->DeviceBar().SelectDeviceOption(wnd->DeviceBar().IndexOfPage(pads[0]), true, true);
    ASSERT_EQ(wnd->DeviceBar().ActivePage(), pads[0]);
    ASSERT_TRUE(WaitFor([&] { return pads[0]->IsLightThreadRunning(); }));

    SetSlider("deng_light_slider", 2);
    Send("deng_light_slider", "valuechanged");
    EXPECT_TRUE(WaitFor([&] { return pad->ActiveRecord()[2] == 2; }));
    pad->PressLightButton();
    const uint8_t mode = pad->ActiveRecord()[1];
    EXPECT_TRUE(WaitFor([&] { return pads[0]->LightMode() == mode; }));
    EXPECT_EQ(pad->Refusals(), 0u);

    Save("main_window_pad.png");
    ui::CPaintManagerUI::SetAllDPI(144);
    Save("main_window_pad_144dpi.png");
}

// The chosen picture shows behind the mouse page, whose columns keep their own panels.
TEST_F(MainWndDeviceTest, ASkinPictureShowsBehindTheMousePage) {
    Open();
    Plug("mouse3389", MouseModel3389());
    ASSERT_TRUE(WaitFor([&] { return PageFilled(); }, 3000));
    GetSkinChangeObserver().Publish(SkinChangedParam{false, 0, "skin/bg_2.png"});
    EXPECT_EQ(Control("root")->GetBkImage(), "skin/bg_2.png");
    EXPECT_EQ(wnd->DeviceBar().ActivePage()->GetBkColor(), 0u);
    Save("main_window_mouse_skin.png");
    GetSkinChangeObserver().Publish(SkinChangedParam{true, 0xFF241C33, {}});
    EXPECT_EQ(Control("root")->GetBkColor(), 0xFF241C33u);
    Save("main_window_mouse_colour.png");
}

}  // namespace

TEST_F(MainWndDeviceTest, AnEmulatedHeadsetShowsItsPageAndItsControlsReachTheAudioLibrary) {
    CAudioLibraryEnv library;
    Open();
    bus->Plug("hs6533", std::make_shared<CSimulatedHeadset>());
    ASSERT_TRUE(WaitFor([&] { return VisibleOptions() == 1; }, 2000));
    ASSERT_NE(wnd->DeviceBar().ActivePage(), nullptr);
    EXPECT_EQ(wnd->DeviceBar().ActivePage()->DeviceName(), "HD");
    ASSERT_TRUE(WaitFor([&] { return wnd->DeviceBar().ActivePage()->IsLightThreadRunning(); }));

    SetSlider("6533_MicIn_slider", 64);
    Send("6533_MicIn_slider", "valuechanged");
    EXPECT_EQ(library.StateValue("1.VolumeScalarControl"), "0.64");
    static_cast<ui::COptionUI*>(PageControl("6533_eq_option_9")->GetInterface("Option"))->Selected(true);
    EXPECT_EQ(library.StateValue("0.EQ_Slider10"), "16");
    CProfileList list(7, CDataFolders::UserDataFolder("HD"), CDataFolders::DefaultProfileFile("HD"));
    list.Load();
    const Json::Value voice =
        CJsonDocument().ReadJsonValue(list.CurrentProfilePath())["Device"][0]["SystemSetStages"];
    EXPECT_EQ(voice["MicInValue"].asInt(), 64);
    EXPECT_EQ(voice["EqType"].asInt(), 9);
    Save("main_window_headset.png");
    static_cast<ui::COptionUI*>(PageControl("magic_Op_tab")->GetInterface("Option"))->Selected(true);
    Save("main_window_headset_magic.png");
    ui::CPaintManagerUI::SetAllDPI(144);
    static_cast<ui::COptionUI*>(PageControl("6533_voice_Op_tab")->GetInterface("Option"))->Selected(true);
    Save("main_window_headset_144dpi.png");
}

// The keyboard as a user meets it: its page comes with the keyboard, the window's rows reach it,
// and a key pressed on the keyboard lights up in the reactive preview.
TEST_F(MainWndDeviceTest, TheKeyboardPageTakesTheWindowsRowsAndShowsKeyPresses) {
    Open();
    auto keyboard = std::make_shared<CSimulatedKeyboard>();
    handles["keyboard"] = bus->Plug(CSimulatedKeyboard::kName, keyboard);
    ASSERT_TRUE(WaitFor([&] { return VisibleOptions() == 1; }, 3000));
    CPellixUSBDevice* page = wnd->DeviceBar().ActivePage();
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->DeviceName(), "keyboard");
    ASSERT_TRUE(WaitFor([&] { return page->IsLightThreadRunning(); }, 3000));
    Save("main_window_keyboard.png");

    // The page opens on its first function tab, the lighting; the system settings are next.
    EXPECT_EQ(page->GetFunctionTab(), 3);
    static_cast<ui::COptionUI*>(PageControl("system_Op_tab")->GetInterface("Option"))->Selected(true);
    Save("main_window_keyboard_system.png");
    static_cast<ui::COptionUI*>(PageControl("polling_rate_option_2")->GetInterface("Option"))->Selected(true);
    static_cast<ui::COptionUI*>(PageControl("wflag_option")->GetInterface("Option"))->Selected(true);
    EXPECT_EQ(keyboard->Memory()[19], 1);
    EXPECT_EQ(keyboard->Memory()[22], 2);

    static_cast<ui::COptionUI*>(PageControl("deng_Op_tab")->GetInterface("Option"))->Selected(true);
    auto* combo = static_cast<ui::CComboUI*>(PageControl("light_combo_modeSelect")->GetInterface("Combo"));
    combo->SelectItem(20);
    ASSERT_EQ(page->LightMode(), 20);
    EXPECT_EQ(keyboard->Memory()[1], 20);
    // Firmware key 0 is one of the keyboard's keys; its light button alone lights up.
    ASSERT_TRUE(keyboard->PressKey(0));
    const auto litKeys = [&] {
        int lit = 0;
        for (int position = 0; position < 126; ++position) {
            auto* button = static_cast<ui::CDeviceKeyButtonUI*>(
                PageControl("light_" + std::to_string(position))->GetInterface("DeviceKeyButton"));
            lit += button->GetLightAlpha() > 0 ? 1 : 0;
        }
        return lit;
    };
    ASSERT_TRUE(WaitFor([&] { return litKeys() == 1; }, 3000));
    Save("main_window_keyboard_light.png");
    ui::CPaintManagerUI::SetAllDPI(144);
    Save("main_window_keyboard_144dpi.png");
}
