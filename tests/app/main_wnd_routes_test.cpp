#include "app/main_wnd_routes.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <vector>

namespace {

// Records each operation the tables call, with its argument.
class CFakeTargets : public IRouteTargets {
public:
    std::vector<std::string> calls;
    std::map<std::string, std::string> texts;
    std::map<std::string, int> sliders;
    int kind = 2;
    bool keyView = true;
    bool agree = true;
    int writeResult = 0;
    // Pages by identity: the active one, those still connected, and the one held by a row.
    std::uintptr_t activePage = 1;
    std::set<std::uintptr_t> connected{1};
    std::uintptr_t heldPage = 0;
    // Runs inside every modal window, as discovery can while one is open.
    std::function<void()> duringModal;

    // A page operation's record, naming the page when it is not page 1.
    std::string OnPage(const std::string& name) const {
        const std::uintptr_t page = heldPage != 0 ? heldPage : activePage;
        return page == 1 ? name : name + "@" + std::to_string(page);
    }
    void Modal() {
        if (duringModal)
            duringModal();
    }

    void StartUp() override { calls.push_back("StartUp"); }
    void RootResized() override { calls.push_back("RootResized"); }
    void ExitProcess() override { calls.push_back("ExitProcess"); }
    void HideMainWindow() override { calls.push_back("HideMainWindow"); }
    void CloseMainWindow() override { calls.push_back("CloseMainWindow"); }
    void ToggleLightControl() override { calls.push_back("ToggleLightControl"); }
    void CaptionCommand(Caption which) override {
        calls.push_back("Caption" + std::to_string(static_cast<int>(which)));
    }
    void OpenAboutWindow() override { calls.push_back("OpenAboutWindow"); }
    void OpenSettingsWindow(bool beside) override {
        calls.push_back(beside ? "Settings beside" : "Settings");
    }
    void OpenSkinChooser() override { calls.push_back("SkinChooser"); }
    void DeviceSelectChanged() override { calls.push_back("DeviceSelectChanged"); }
    void SelectAdjacentDevice(int step) override {
        calls.push_back("SelectAdjacentDevice" + std::to_string(step));
    }
    void StartProfileSwitchTimer() override { calls.push_back("StartProfileSwitchTimer"); }
    void ApplySameModeToAll() override { calls.push_back("ApplySameModeToAll"); }
    void OpenDesktopDeviceSettings(int i) override { calls.push_back("DesktopSettings" + std::to_string(i)); }
    bool Confirm(const std::string& key) override {
        calls.push_back("Confirm " + key);
        Modal();
        return agree;
    }
    void ShowMessage(const std::string& key) override {
        calls.push_back("Show " + key);
        Modal();
    }
    void ShowMessageNumber(const std::string& key, int n) override {
        calls.push_back("Show " + key + " " + std::to_string(n));
        Modal();
    }
    std::string ControlText(const std::string& name) override { return texts[name]; }
    void SetControlText(const std::string& name, const std::string& text) override { texts[name] = text; }
    int SliderValue(const std::string& name) override { return sliders[name]; }
    void SetSliderValue(const std::string& name, int value) override { sliders[name] = value; }
    void ReleaseEditingLock(bool withBar) override { calls.push_back(withBar ? "Release bar" : "Release"); }
    int ActivePageKind() override { return heldPage != 0 || connected.count(activePage) != 0 ? kind : 0; }
    std::uintptr_t ActivePageId() override { return connected.count(activePage) != 0 ? activePage : 0; }
    bool HoldPage(std::uintptr_t id) override {
        heldPage = id != 0 && connected.count(id) != 0 ? id : 0;
        return id == 0 || heldPage != 0;
    }
    bool PageInKeyView() override { return keyView; }
    void PageKeyClicked(int i) override { calls.push_back("KeyClicked" + std::to_string(i)); }
    int PageWriteSettings() override {
        calls.push_back(OnPage("WriteSettings"));
        return writeResult;
    }
    void PageRefresh() override { calls.push_back(OnPage("Refresh")); }
    void PageRestoreDefaults() override { calls.push_back(OnPage("RestoreDefaults")); }
    void PageResetProfile() override { calls.push_back(OnPage("ResetProfile")); }
    void PageHideKeyEditor() override { calls.push_back(OnPage("HideKeyEditor")); }
    void PageShowTab(const std::string& tab) override { calls.push_back("ShowTab " + tab); }
    void PageSelectSettingsSubPage(int i) override { calls.push_back("SubPage" + std::to_string(i)); }
    void PageStageEnabledChanged(int n) override { calls.push_back("Stage" + std::to_string(n)); }
    void PageDpiSliderMoved(int n) override { calls.push_back("Moved" + std::to_string(n)); }
    void PageDpiSliderReleased(int n) override { calls.push_back("Released" + std::to_string(n)); }
    void PageDpiEditLeft(int n) override { calls.push_back("EditLeft" + std::to_string(n)); }
    void PagePollingRateSelected(int n) override { calls.push_back("Poll" + std::to_string(n)); }
    void PagePointerSettingChanged(const std::string& name) override { calls.push_back("Pointer " + name); }
    void PageComboSelected(const std::string& name) override { calls.push_back("Combo " + name); }
    void PageHeadsetControl(const std::string& name) override { calls.push_back("Headset " + name); }
    void PageProfileAction(ProfileAction action) override {
        calls.push_back("Profile" + std::to_string(static_cast<int>(action)));
    }
    void PageKeySetFunctionSelected() override { calls.push_back("KeyFunction"); }
    void PageKeySetMacroModeSelected() override { calls.push_back("KeyMacroMode"); }
    void PageSaveKeyAssignment() override { calls.push_back("SaveKey"); }
    void PageShowDefaultKey() override { calls.push_back("DefaultKey"); }
    void PageShowCurrentKey() override { calls.push_back("CurrentKey"); }
    void SetKeyCapture(bool on) override { calls.push_back(on ? "Capture on" : "Capture off"); }
    void PageLightControlChanged(const std::string& name) override { calls.push_back("Light " + name); }
    void PageLightPaletteChanged() override { calls.push_back("Palette"); }
    void PageLightPresetChosen(int n) override { calls.push_back("Preset" + std::to_string(n)); }
    void PageLightCustomGroupSelected() override { calls.push_back("CustomGroup"); }
    void PageLightCustomColourAll(bool lit) override { calls.push_back(lit ? "CustomLit" : "CustomOff"); }
    void PageLightKeysSelected() override { calls.push_back("LightKeysSelected"); }
    void PageLightKeyClicked(int n) override { calls.push_back("LightKey" + std::to_string(n)); }
    void PageKeyboardSettingChanged(const std::string& name) override { calls.push_back("Keyboard " + name); }
    void PageMacroCommand(const std::string& name) override { calls.push_back("Macro " + name); }
    void PageMacroSelected() override { calls.push_back("MacroSelected"); }
    void PageMacroDelayLeft() override { calls.push_back("MacroDelayLeft"); }
    void ShowMacroActionMenu() override { calls.push_back("MacroMenu"); }
    void PageShootAction(ShootAction action, int index) override {
        calls.push_back("Shoot" + std::to_string(static_cast<int>(action)) + ":" + std::to_string(index));
    }
};

class RoutesTest : public ::testing::Test {
protected:
    RoutesTest() { AddMainWndRoutes(router, targets); }

    std::vector<std::string> Route(const std::string& type, const std::string& name) {
        targets.calls.clear();
        router.Route(type, name);
        return targets.calls;
    }

    CFakeTargets targets;
    CNotificationRouter router;
};

using Calls = std::vector<std::string>;

TEST_F(RoutesTest, WindowRowsRouteWhateverTheCaseOfTheirName) {
    EXPECT_EQ(Route("click", "CloseBtn"), Calls{"ExitProcess"});
    EXPECT_EQ(Route("click", "CLOSEBTN"), Calls{"ExitProcess"});
    EXPECT_EQ(Route("click", "minbtn"), Calls{"Caption0"});
    EXPECT_EQ(Route("click", "RestoreBtn"), Calls{"Caption2"});
    EXPECT_EQ(Route("click", "device_select_prev"), Calls{"SelectAdjacentDevice-1"});
    EXPECT_EQ(Route("selectchanged", "device_select"), Calls{"DeviceSelectChanged"});
    EXPECT_EQ(Route("windowsize", "root"), Calls{"RootResized"});
    EXPECT_EQ(Route("windowsize", "other"), Calls{});
    EXPECT_EQ(Route("menu", "about_menu"), Calls{"OpenAboutWindow"});
    EXPECT_EQ(Route("menu", "setwnd_menu"), Calls{"Settings"});
    EXPECT_EQ(Route("click", "windowdeviceset_1"), Calls{"DesktopSettings1"});
    EXPECT_EQ(Route("click", "SetBtn"), Calls{"Settings beside"});
    EXPECT_EQ(Route("click", "skinbtn"), Calls{"SkinChooser"});
}

TEST_F(RoutesTest, IndexedNamesReachThePageWithTheirIndex) {
    EXPECT_EQ(Route("valuechanged", "DPI_slider_12"), Calls{"Released12"});
    EXPECT_EQ(Route("valuechanged", "DPI_slider"), Calls{});
    EXPECT_EQ(Route("movevaluechanged", "DPI_slider_3"), Calls{"Moved3"});
    EXPECT_EQ(Route("killfocus", "DPI_edit_5"), Calls{"EditLeft5"});
    EXPECT_EQ(Route("selectchanged", "DPI_enable_check_0"), Calls{"Stage0"});
    EXPECT_EQ(Route("selectchanged", "polling_rate_option_3"), Calls{"Poll3"});
    EXPECT_EQ(Route("selectchanged", "mouse_device_seting_option_2"), Calls{"SubPage2"});
    EXPECT_EQ(Route("itemselect", "MSH_set_comboSelect"), Calls{"Combo MSH_set_comboSelect"});
    EXPECT_EQ(Route("valuechanged", "double_click_slider"), Calls{"Pointer double_click_slider"});
}

TEST_F(RoutesTest, PageRowsDoNothingWithoutAnActivePageOrOnAnotherKind) {
    targets.kind = 0;
    for (const auto& [type, name] :
         std::vector<std::pair<std::string, std::string>>{{"click", "key_1"},
                                                          {"click", "default_btn"},
                                                          {"click", "key_butt_prosave"},
                                                          {"click", "deng_same_mode"},
                                                          {"valuechanged", "DPI_slider_1"},
                                                          {"selectchanged", "key_Op_tab"},
                                                          {"itemselect", "device_profile_combo"}}) {
        EXPECT_EQ(Route(type, name), Calls{}) << name;
    }
    targets.kind = 1;
    EXPECT_EQ(Route("valuechanged", "DPI_slider_1"), Calls{});
    EXPECT_EQ(Route("selectchanged", "key_Op_tab"), Calls{"ShowTab key_Op_tab"});
}

TEST_F(RoutesTest, KeyboardRowsReachOnlyAKeyboardPage) {
    const std::vector<std::pair<std::string, std::string>> rows{
        {"selectchanged", "winlockflag_option"}, {"selectchanged", "wflag_option"},
        {"selectchanged", "6flag_option"},       {"selectchanged", "repeat_delay_check_2"},
        {"valuechanged", "repeat_rate_slider"},  {"click", "reset_repeat_btn"}};
    targets.kind = 1;
    for (const auto& [type, name] : rows) {
        EXPECT_EQ(Route(type, name), Calls{"Keyboard " + name}) << name;
    }
    EXPECT_EQ(Route("selectchanged", "polling_rate_option_2"), Calls{"Poll2"});
    EXPECT_EQ(Route("click", "light_17"), Calls{"LightKey17"});
    EXPECT_EQ(Route("click_select_end", "device_key_light"), Calls{"LightKeysSelected"});
    targets.kind = 2;
    for (const auto& [type, name] : rows) {
        EXPECT_EQ(Route(type, name), Calls{}) << name;
    }
    EXPECT_EQ(Route("click", "light_17"), Calls{});
    EXPECT_EQ(Route("click_select_end", "device_key_light"), Calls{});
    targets.kind = 7;
    EXPECT_EQ(Route("selectchanged", "polling_rate_option_2"), Calls{});
}

TEST_F(RoutesTest, KeyClicksNeedTheKeyView) {
    EXPECT_EQ(Route("click", "key_4"), Calls{"KeyClicked4"});
    targets.keyView = false;
    EXPECT_EQ(Route("click", "key_4"), Calls{});
}

TEST_F(RoutesTest, RefusedConfirmationChangesNothing) {
    targets.agree = false;
    EXPECT_EQ(Route("click", "default_btn"), Calls{"Confirm message_text_22"});
    EXPECT_EQ(Route("click", "device_reset_btn"), Calls{"Confirm message_text_22"});
    targets.agree = true;
    EXPECT_EQ(Route("click", "default_btn"), (Calls{"Confirm message_text_22", "RestoreDefaults"}));
    EXPECT_EQ(Route("click", "device_reset_btn"),
              (Calls{"Confirm message_text_22", "ResetProfile", "WriteSettings", "Refresh", "HideKeyEditor",
                     "Release"}));
}

// A modal window lets discovery remove or switch the active page; the row keeps the page the user
// confirmed for and does nothing once it is gone.
TEST_F(RoutesTest, RowsAfterAModalWindowKeepTheirPageOrStop) {
    const struct {
        const char* what;
        std::uintptr_t active;
        std::set<std::uintptr_t> connected;
    } happenings[] = {
        {"the only device unplugged", 0, {}},
        {"another device arrived and was selected", 2, {1, 2}},
        {"the device unplugged, the other one selected", 2, {2}},
    };
    const struct {
        const char* row;
        Calls gone;
        Calls kept;
    } rows[] = {
        {"default_btn", {"Confirm message_text_22"}, {"Confirm message_text_22", "RestoreDefaults"}},
        {"device_reset_btn",
         {"Confirm message_text_22"},
         {"Confirm message_text_22", "ResetProfile", "WriteSettings", "Refresh", "HideKeyEditor", "Release"}},
        {"key_butt_prosave",
         {"WriteSettings", "Show message_text_7", "Release"},
         {"WriteSettings", "Show message_text_7", "Refresh", "Release"}},
    };
    targets.writeResult = -1;
    for (const auto& h : happenings) {
        for (const auto& r : rows) {
            SCOPED_TRACE(std::string(r.row) + ": " + h.what);
            targets.activePage = 1;
            targets.connected = {1};
            targets.duringModal = [&] {
                targets.activePage = h.active;
                targets.connected = h.connected;
            };
            EXPECT_EQ(Route("click", r.row), h.connected.count(1) != 0 ? r.kept : r.gone);
            EXPECT_EQ(targets.heldPage, 0u);
        }
    }
}

TEST_F(RoutesTest, SavingReportsTheWriteResult) {
    struct Case {
        int result;
        Calls calls;
    };
    const Case cases[] = {
        {0, {"WriteSettings", "Refresh", "Release"}},
        {-1, {"WriteSettings", "Show message_text_7", "Refresh", "Release"}},
        {3, {"WriteSettings", "Show message_text_16 3", "Refresh", "Release"}},
    };
    for (const Case& c : cases) {
        targets.writeResult = c.result;
        EXPECT_EQ(Route("click", "key_butt_prosave"), c.calls) << c.result;
    }
}

TEST_F(RoutesTest, QuorlDpiEditIsClampedAndMovesItsSlider) {
    struct Case {
        const char* typed;
        int shown;
    };
    const Case cases[] = {{"100", 200}, {"9000", 6500}, {"1600", 1600}, {"", 200}, {"x", 200}};
    for (const Case& c : cases) {
        targets.texts["quorl_DPI_edit_2"] = c.typed;
        Route("killfocus", "quorl_DPI_edit_2");
        EXPECT_EQ(targets.texts["quorl_DPI_edit_2"], std::to_string(c.shown)) << c.typed;
        EXPECT_EQ(targets.sliders["quorl_DPI_slider_2"], c.shown) << c.typed;
    }
    targets.sliders["quorl_DPI_slider_4"] = 3200;
    Route("movevaluechanged", "quorl_DPI_slider_4");
    EXPECT_EQ(targets.texts["quorl_DPI_edit_4"], "3200");
}

TEST_F(RoutesTest, KeyAndLightingPanelRowsReachThePage) {
    struct Case {
        const char* type;
        const char* name;
        Calls calls;
    };
    const Case cases[] = {
        {"itemselect", "keyset_function_combo", {"KeyFunction"}},
        {"itemselect", "keyset_macro_over_combo", {"KeyMacroMode"}},
        {"itemselect", "keyset_media_combo", {"SaveKey", "Release"}},
        {"itemselect", "keyset_combokey_combo", {"SaveKey", "Release"}},
        {"killfocus", "keyset_mousewheel_num_edit", {"SaveKey", "Release"}},
        {"killfocus", "keyset_macro_cycle_edit", {"SaveKey", "Release"}},
        {"selectchanged", "key_ComBox_check_3", {"SaveKey", "Release"}},
        {"click", "key_butt_keysave", {"SaveKey", "Release"}},
        {"click", "KEY_BUTT_KEYDEFALUT", {"DefaultKey", "Release"}},
        {"click", "key_butt_keycancel", {"CurrentKey", "Release"}},
        {"setfocus", "keyset_keyboard_text_edit", {"Capture on"}},
        {"killfocus", "keyset_keyboard_text_edit", {"Capture off"}},
        {"itemselect", "light_combo_modeSelect", {"Light light_combo_modeSelect"}},
        {"valuechanged", "deng_speed_slider", {"Light deng_speed_slider"}},
        {"selectchanged", "deng_FXL_check", {"Light deng_FXL_check"}},
        {"selectchanged", "deng_7color_check", {"Light deng_7color_check"}},
        {"killfocus", "deng_edit_G", {"Light deng_edit_G"}},
        {"colorchanged", "deng_Color_Pallet", {"Palette"}},
        {"click", "color_option_5", {"Preset5"}},
        {"colorchanged", "other_palette", {}},
        {"itemselect", "light_combo_custommodeSelect", {"CustomGroup"}},
        {"click", "custom_bright_color_btn", {"CustomLit"}},
        {"click", "custom_off_color_btn", {"CustomOff"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Route(c.type, c.name), c.calls) << c.type << " " << c.name;
    }
    targets.kind = 0;
    EXPECT_EQ(Route("click", "key_butt_keysave"), Calls{});
    EXPECT_EQ(Route("click", "color_option_1"), Calls{});
}

TEST_F(RoutesTest, HeadsetPanelControlsReachOnlyAHeadsetPage) {
    const std::vector<std::pair<std::string, std::string>> rows{
        {"selectchanged", "magic_option_2"},
        {"selectchanged", "6533_eq_option_13"},
        {"selectchanged", "magic_enable_option"},
        {"selectchanged", "6533_MicIn_option"},
        {"selectchanged", "6533_MicMoniter_option"},
        {"valuechanged", "6533_eq_hz_slider_9"},
        {"valuechanged", "6533_MicIn_slider"},
        {"valuechanged", "6533_MicMoniter_slider"},
        {"click", "hs_EQ_btn_save"},
        {"click", "HS_EQ_BTN_DELETE"},
        {"itemselect", "custom_eq_name_combo"},
    };
    for (const auto& [type, name] : rows) {
        targets.kind = 7;
        EXPECT_EQ(Route(type, name), Calls{"Headset " + name}) << type << " " << name;
        targets.kind = 2;
        EXPECT_EQ(Route(type, name), Calls{}) << type << " " << name;
    }
    targets.kind = 7;
    EXPECT_EQ(Route("valuechanged", "6533_eq_hz_slider"), Calls{}) << "no band number";
}

TEST_F(RoutesTest, WpRemoveAndWpEditEndBeforeTheToolkit) {
    EXPECT_FALSE(router.Route("click_wpedit", "x"));
    EXPECT_FALSE(router.Route("click_wpremove", "x"));
    EXPECT_TRUE(router.Route("click", "closebtn"));
}

}  // namespace
