#pragma once

#include <cstdint>
#include <string>

// IRouteTargets: what the notification tables act on. The main window implements it; a test can
// implement it with fakes. Every "Page" operation acts on the active device page (the page whose
// device option is visible and selected); the tables call them only when ActivePageKind() is not
// 0, so an implementation may assume an active page.
//
// Thread: the UI thread only.
class IRouteTargets {
public:
    enum class Caption { Minimize, Maximize, Restore };

    virtual ~IRouteTargets() = default;

    // Window and device bar.
    virtual void StartUp() = 0;             // "windowinit"
    virtual void RootResized() = 0;         // "windowsize" of "root"
    virtual void ExitProcess() = 0;         // ends at once, exit code 0
    virtual void HideMainWindow() = 0;      // to the tray
    virtual void CloseMainWindow() = 0;     // orderly shut-down
    virtual void ToggleLightControl() = 0;  // "control_light_status"
    virtual void CaptionCommand(Caption which) = 0;
    virtual void OpenAboutWindow() = 0;
    // The settings window: beside the main window ("setbtn") or centred on it.
    virtual void OpenSettingsWindow(bool besideMainWindow) = 0;
    virtual void OpenSkinChooser() = 0;               // under "skinbtn"
    virtual void DeviceSelectChanged() = 0;           // "device_select"
    virtual void SelectAdjacentDevice(int step) = 0;  // -1 previous, +1 next visible option
    virtual void StartProfileSwitchTimer() = 0;       // "device_profile_combo" (timer 1055)
    virtual void ApplySameModeToAll() = 0;            // "deng_same_mode"
    // "windowdeviceset_" n: 0 the desktop's keyboard settings, 1 its mouse settings, when present.
    virtual void OpenDesktopDeviceSettings(int index) = 0;

    // Modal message window; Confirm returns whether the user agreed.
    virtual bool Confirm(const std::string& textKey) = 0;
    virtual void ShowMessage(const std::string& textKey) = 0;
    // Shows the translated text of textKey used as a printf format for number.
    virtual void ShowMessageNumber(const std::string& textKey, int number) = 0;

    // Controls of the window by name; a missing control reads as "" / 0 and ignores writes.
    virtual std::string ControlText(const std::string& name) = 0;
    virtual void SetControlText(const std::string& name, const std::string& text) = 0;
    virtual int SliderValue(const std::string& name) = 0;
    virtual void SetSliderValue(const std::string& name, int value) = 0;

    // The editing lock of the window.
    virtual void ReleaseEditingLock(bool withBar) = 0;

    // The active page: 0 when there is none, else its device kind (1 keyboard, 2 mouse, ...).
    virtual int ActivePageKind() = 0;
    // The identity of the active page, 0 without one.
    virtual std::uintptr_t ActivePageId() = 0;
    // From here the page operations and ActivePageKind act on the page with that identity, even
    // when another page became active meanwhile; false (and they act on the active page) when it
    // is no longer connected. 0 lets them follow the active page again.
    virtual bool HoldPage(std::uintptr_t id) = 0;
    // Whether the page shows its key assignment view.
    virtual bool PageInKeyView() = 0;
    // Key n was clicked in the key view (the page applies its own rules).
    virtual void PageKeyClicked(int index) = 0;
    // Writes the page's settings to the device: 0 done, -1 failed, n > 0 to report with n.
    virtual int PageWriteSettings() = 0;
    virtual void PageRefresh() = 0;
    virtual void PageRestoreDefaults() = 0;  // after confirmation
    virtual void PageResetProfile() = 0;     // after confirmation; reload and redraw
    virtual void PageHideKeyEditor() = 0;
    virtual void PageShowTab(const std::string& tabName) = 0;
    virtual void PageSelectSettingsSubPage(int index) = 0;

    // Mouse performance controls of the active mouse page.
    virtual void PageStageEnabledChanged(int stage) = 0;
    virtual void PageDpiSliderMoved(int stage) = 0;
    virtual void PageDpiSliderReleased(int stage) = 0;
    virtual void PageDpiEditLeft(int stage) = 0;
    virtual void PagePollingRateSelected(int option) = 0;
    virtual void PagePointerSettingChanged(const std::string& controlName) = 0;
    virtual void PageComboSelected(const std::string& controlName) = 0;

    // A control of the active headset page's voice or voice changer panel changed.
    virtual void PageHeadsetControl(const std::string& controlName) = 0;

    // The active page's profile panel, with the window's part of each action: the file dialogs
    // (import, export), the messages, the profile switch once a delete moved the selection.
    enum class ProfileAction { Add, Delete, Copy, Import, Export, Rename, ToggleButtons };
    virtual void PageProfileAction(ProfileAction action) = 0;

    // Key assignment panel of the active page: the category combo, the macro repeat combo, the
    // key assignment save, and the default and cancel buttons.
    virtual void PageKeySetFunctionSelected() = 0;
    virtual void PageKeySetMacroModeSelected() = 0;
    virtual void PageSaveKeyAssignment() = 0;
    virtual void PageShowDefaultKey() = 0;
    virtual void PageShowCurrentKey() = 0;
    // Message 0x41E to the window: on installs the input hook so that the next key pressed is
    // captured for the key panel, off removes it.
    virtual void SetKeyCapture(bool on) = 0;

    // Lighting panel of the active page: a value control changed, the palette's colour, preset n.
    virtual void PageLightControlChanged(const std::string& controlName) = 0;
    virtual void PageLightPaletteChanged() = 0;
    virtual void PageLightPresetChosen(int index) = 0;
    virtual void PageLightCustomGroupSelected() = 0;
    virtual void PageLightCustomColourAll(bool lit) = 0;
    // The keyboard's light layer: a band ended ("click_select_end"), light button n was clicked.
    virtual void PageLightKeysSelected() = 0;
    virtual void PageLightKeyClicked(int index) = 0;

    // A system setting of the active keyboard page, by control name (the repeat, lock and flag
    // controls and "reset_repeat_btn").
    virtual void PageKeyboardSettingChanged(const std::string& controlName) = 0;

    // Macro panel of the active page: a button or action-menu item by name, a macro chosen in
    // "macro_name_list", a delay field left, and a row activated (the action menu).
    virtual void PageMacroCommand(const std::string& name) = 0;
    virtual void PageMacroSelected() = 0;
    virtual void PageMacroDelayLeft() = 0;
    virtual void ShowMacroActionMenu() = 0;

    // Recoil panel of the active mouse page: select gun or bullet n, the previous or next bullet,
    // a direction check box, the entries' values, upload, reset, and import and export with the
    // window's file dialogs and messages.
    enum class ShootAction {
        SelectGun,
        SelectBullet,
        Previous,
        Next,
        Direction,
        Save,
        Upload,
        Reset,
        Import,
        Export
    };
    virtual void PageShootAction(ShootAction action, int index) = 0;
};
