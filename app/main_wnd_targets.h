#pragma once

#include "app/route_targets.h"
#include "devices/mouse/shoot_data.h"

class CDeviceProfileUI;
class CPellixUSBDevice;

namespace app {

class CMainWnd;

// CMainWndTargets: what the main window's notification tables act on, in the real window: the
// window's own operations, its device bar, and the active device page.
//
// Thread: the UI thread only.
class CMainWndTargets : public IRouteTargets {
public:
    explicit CMainWndTargets(CMainWnd& window) : window_(window) {}

    void StartUp() override;
    void RootResized() override;
    void ExitProcess() override;
    void HideMainWindow() override;
    void CloseMainWindow() override;
    void ToggleLightControl() override;
    void CaptionCommand(Caption which) override;
    void OpenAboutWindow() override;
    void OpenSettingsWindow(bool besideMainWindow) override;
    void OpenSkinChooser() override;
    void DeviceSelectChanged() override;
    void SelectAdjacentDevice(int step) override;
    void StartProfileSwitchTimer() override;
    void ApplySameModeToAll() override;
    void OpenDesktopDeviceSettings(int index) override;

    bool Confirm(const std::string& textKey) override;
    void ShowMessage(const std::string& textKey) override;
    void ShowMessageNumber(const std::string& textKey, int number) override;

    std::string ControlText(const std::string& name) override;
    void SetControlText(const std::string& name, const std::string& text) override;
    int SliderValue(const std::string& name) override;
    void SetSliderValue(const std::string& name, int value) override;

    void ReleaseEditingLock(bool withBar) override;

    int ActivePageKind() override;
    std::uintptr_t ActivePageId() override;
    bool HoldPage(std::uintptr_t id) override;
    bool PageInKeyView() override;
    void PageKeyClicked(int index) override;
    int PageWriteSettings() override;
    void PageRefresh() override;
    void PageRestoreDefaults() override;
    void PageResetProfile() override;
    void PageHideKeyEditor() override;
    void PageShowTab(const std::string& tabName) override;
    void PageSelectSettingsSubPage(int index) override;

    void PageStageEnabledChanged(int stage) override;
    void PageDpiSliderMoved(int stage) override;
    void PageDpiSliderReleased(int stage) override;
    void PageDpiEditLeft(int stage) override;
    void PagePollingRateSelected(int option) override;
    void PagePointerSettingChanged(const std::string& controlName) override;
    void PageComboSelected(const std::string& controlName) override;
    void PageHeadsetControl(const std::string& controlName) override;
    void PageProfileAction(ProfileAction action) override;

    void PageKeySetFunctionSelected() override;
    void PageKeySetMacroModeSelected() override;
    void PageSaveKeyAssignment() override;
    void PageShowDefaultKey() override;
    void PageShowCurrentKey() override;
    void SetKeyCapture(bool on) override;

    void PageLightControlChanged(const std::string& controlName) override;
    void PageLightPaletteChanged() override;
    void PageLightPresetChosen(int index) override;
    void PageLightCustomGroupSelected() override;
    void PageLightCustomColourAll(bool lit) override;
    void PageLightKeysSelected() override;
    void PageLightKeyClicked(int index) override;
    void PageKeyboardSettingChanged(const std::string& controlName) override;
    void PageShootAction(ShootAction action, int index) override;

    void PageMacroCommand(const std::string& name) override;
    void PageMacroSelected() override;
    void PageMacroDelayLeft() override;
    void ShowMacroActionMenu() override;

private:
    // The held page, else the active page; the tables only call page operations while there is one.
    CPellixUSBDevice& Page();
    void RunProfileAction(CDeviceProfileUI& panel, ProfileAction action);
    void ImportProfile(CDeviceProfileUI& panel);
    void ExportProfile(CDeviceProfileUI& panel);
    void ShowShootResult(CShootData::Result result);

    CMainWnd& window_;
    CPellixUSBDevice* held_ = nullptr;
};

}  // namespace app
