#include "app/main_wnd_targets.h"

#include "app/main_wnd.h"
#include "device/pellix_usb_device.h"
#include "devices/mouse/pellix_mouse_device.h"
#include "profile/device_profile_ui.h"
#include "ui/controls/device_option_ui.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/progress_ui.h"

#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>

namespace app {
namespace {

ui::CProgressUI* AsProgress(ui::CControlUI* control) {
    return control != nullptr ? static_cast<ui::CProgressUI*>(control->GetInterface("Progress")) : nullptr;
}

}  // namespace

CPellixUSBDevice& CMainWndTargets::Page() {
    return held_ != nullptr ? *held_ : *window_.DeviceBar().ActivePage();
}

void CMainWndTargets::StartUp() {
    window_.StartUp();
}

void CMainWndTargets::RootResized() {
    window_.RootResized();
}

void CMainWndTargets::ExitProcess() {
    // The close button ends the program at once, as the product always has; files are written
    // atomically, so nothing is left half-written.
    std::_Exit(0);
}

void CMainWndTargets::HideMainWindow() {
    window_.HideToTray();
}

void CMainWndTargets::CloseMainWindow() {
    window_.Close(0);
}

void CMainWndTargets::ToggleLightControl() {
    window_.ToggleLightControl();
}

void CMainWndTargets::CaptionCommand(Caption which) {
    const ui::WPARAM command = which == Caption::Minimize   ? ui::SC_MINIMIZE
                               : which == Caption::Maximize ? ui::SC_MAXIMIZE
                                                            : ui::SC_RESTORE;
    window_.HandleMessage(ui::WM_SYSCOMMAND, command, 0);
}

void CMainWndTargets::OpenAboutWindow() {
    window_.OpenAboutWindow();
}

void CMainWndTargets::OpenSettingsWindow(bool besideMainWindow) {
    window_.OpenSettingsWindow(besideMainWindow);
}

void CMainWndTargets::OpenSkinChooser() {
    window_.OpenSkinChooser();
}

void CMainWndTargets::DeviceSelectChanged() {
    window_.DeviceBar().OnSelectChanged();
}

void CMainWndTargets::SelectAdjacentDevice(int step) {
    window_.DeviceBar().SelectAdjacent(step);
}

void CMainWndTargets::StartProfileSwitchTimer() {
    window_.SetTimer(kTimerProfileSwitch, 400);
}

void CMainWndTargets::ApplySameModeToAll() {
    window_.ApplySameModeToAll();
}

void CMainWndTargets::OpenDesktopDeviceSettings(int index) {
    // The desktop's own panels stand in for the system's keyboard and mouse control panels; a
    // desktop without them has nothing to open.
    static const char* const kPanels[] = {"keyboard", "mouse"};
    if (index < 0 || index > 1) {
        return;
    }
    const QString program = QStandardPaths::findExecutable("gnome-control-center");
    if (!program.isEmpty()) {
        QProcess::startDetached(program, {kPanels[index]});
    }
}

bool CMainWndTargets::Confirm(const std::string& textKey) {
    return window_.Confirm(textKey);
}

void CMainWndTargets::ShowMessage(const std::string& textKey) {
    window_.ShowMessage(textKey);
}

void CMainWndTargets::ShowMessageNumber(const std::string& textKey, int number) {
    window_.ShowMessageNumber(textKey, number);
}

std::string CMainWndTargets::ControlText(const std::string& name) {
    const ui::CControlUI* control = window_.GetPaintManager().FindControl(name);
    return control != nullptr ? control->GetText() : std::string();
}

void CMainWndTargets::SetControlText(const std::string& name, const std::string& text) {
    if (ui::CControlUI* control = window_.GetPaintManager().FindControl(name)) {
        control->SetText(text);
    }
}

int CMainWndTargets::SliderValue(const std::string& name) {
    const ui::CProgressUI* slider = AsProgress(window_.GetPaintManager().FindControl(name));
    return slider != nullptr ? slider->GetValue() : 0;
}

void CMainWndTargets::SetSliderValue(const std::string& name, int value) {
    if (ui::CProgressUI* slider = AsProgress(window_.GetPaintManager().FindControl(name))) {
        slider->SetValue(value);
    }
}

void CMainWndTargets::ReleaseEditingLock(bool withBar) {
    window_.EditingLock().Release(withBar);
}

int CMainWndTargets::ActivePageKind() {
    return held_ != nullptr ? held_->DeviceKind() : window_.DeviceBar().ActiveKind();
}

std::uintptr_t CMainWndTargets::ActivePageId() {
    return reinterpret_cast<std::uintptr_t>(window_.DeviceBar().ActivePage());
}

bool CMainWndTargets::HoldPage(std::uintptr_t id) {
    held_ = nullptr;
    if (id == 0) {
        return true;
    }
    for (const CDeviceBar::SEntry& entry : window_.DeviceBar().Entries()) {
        if (reinterpret_cast<std::uintptr_t>(entry.page) == id && entry.option->IsDeviceVisible()) {
            held_ = entry.page;
            return true;
        }
    }
    return false;
}

bool CMainWndTargets::PageInKeyView() {
    return Page().InKeyView();
}

void CMainWndTargets::PageKeyClicked(int index) {
    Page().KeyClicked(index);
}

int CMainWndTargets::PageWriteSettings() {
    return Page().WriteSettings();
}

void CMainWndTargets::PageRefresh() {
    Page().Refresh();
}

void CMainWndTargets::PageRestoreDefaults() {
    Page().RestoreDefaults();
}

void CMainWndTargets::PageResetProfile() {
    Page().ResetAndReload();
}

void CMainWndTargets::PageHideKeyEditor() {
    Page().HideKeyEditor();
}

void CMainWndTargets::PageShowTab(const std::string& tabName) {
    Page().ShowTab(tabName);
}

void CMainWndTargets::PageSelectSettingsSubPage(int index) {
    Page().SelectSettingsSubPage(index);
}

void CMainWndTargets::PageStageEnabledChanged(int stage) {
    Page().StageEnabledChanged(stage);
}

void CMainWndTargets::PageDpiSliderMoved(int stage) {
    Page().DpiSliderMoved(stage);
}

void CMainWndTargets::PageDpiSliderReleased(int stage) {
    Page().DpiSliderReleased(stage);
}

void CMainWndTargets::PageDpiEditLeft(int stage) {
    Page().DpiEditLeft(stage);
}

void CMainWndTargets::PagePollingRateSelected(int option) {
    Page().PollingRateSelected(option);
}

void CMainWndTargets::PagePointerSettingChanged(const std::string& controlName) {
    Page().PointerSettingChanged(controlName);
}

void CMainWndTargets::PageComboSelected(const std::string& controlName) {
    Page().ComboSelected(controlName);
}

void CMainWndTargets::PageHeadsetControl(const std::string& controlName) {
    Page().HeadsetControl(controlName);
}

void CMainWndTargets::PageProfileAction(ProfileAction action) {
    CDeviceProfileUI* panel = Page().ProfilePanel();
    if (panel == nullptr) {
        return;
    }
    RunProfileAction(*panel, action);
    // A list damaged meanwhile was moved aside by the action: the user hears of it once.
    Page().ReportSetAsideFiles(panel->TakeSetAsideFiles());
}

void CMainWndTargets::RunProfileAction(CDeviceProfileUI& panel, ProfileAction action) {
    switch (action) {
        case ProfileAction::Add:
            // The limit would otherwise look like a button that does nothing.
            if (panel.AddProfile() < 0 && panel.List() != nullptr &&
                panel.List()->Count() >= CProfileList::kMaxAddedProfiles) {
                ShowMessage("profile_limit_reached");
            }
            return;
        case ProfileAction::Delete:
            // The deleted profile was the device's: the device follows the new selection.
            if (panel.DeleteProfile() >= 0) {
                StartProfileSwitchTimer();
            }
            return;
        case ProfileAction::Copy:
            panel.CopyProfile();
            return;
        case ProfileAction::Import:
            ImportProfile(panel);
            return;
        case ProfileAction::Export:
            ExportProfile(panel);
            return;
        case ProfileAction::Rename:
            if (!panel.EditedName().empty() && panel.RenameProfile(panel.EditedName()) == 0) {
                ShowMessage("message_text_5");
            }
            return;
        case ProfileAction::ToggleButtons:
            panel.ToggleButtonPanel();
            return;
    }
}

void CMainWndTargets::ImportProfile(CDeviceProfileUI& panel) {
    if (panel.SelectedIndex() < 0) {
        return;
    }
    const std::string path = window_.FileDialogs().Open(CFileDialogs::Kind::Profile);
    if (path.empty()) {
        return;
    }
    switch (panel.ImportProfile(path)) {
        case CProfileList::kImportNotAProfile:
            ShowMessage("profile_import_not_profile");
            return;
        case CProfileList::kImportUnreadable:
            ShowMessage("profile_import_unreadable");
            return;
        case CProfileList::kImportTooLarge:
            ShowMessage("profile_import_too_large");
            return;
        default:
            return;
    }
}

void CMainWndTargets::ExportProfile(CDeviceProfileUI& panel) {
    if (panel.SelectedIndex() < 0) {
        return;
    }
    const std::string path = window_.FileDialogs().Save(CFileDialogs::Kind::Profile);
    if (path.empty()) {
        return;
    }
    const int result = panel.ExportProfile(path);
    if (result == CProfileList::kExportNoProfile) {
        ShowMessage("profile_export_unreadable");
    } else if (result != 0) {
        ShowMessage("profile_export_failed");
    }
}

void CMainWndTargets::PageKeySetFunctionSelected() {
    Page().KeySetFunctionSelected();
}

void CMainWndTargets::PageKeySetMacroModeSelected() {
    Page().KeySetMacroModeSelected();
}

void CMainWndTargets::PageSaveKeyAssignment() {
    Page().SaveKeyAssignment();
}

void CMainWndTargets::PageShowDefaultKey() {
    Page().ShowDefaultKey();
}

void CMainWndTargets::PageShowCurrentKey() {
    Page().ShowCurrentKey();
}

void CMainWndTargets::SetKeyCapture(bool on) {
    ui::SendMessage(window_.GetHWND(), kMsgHookControl, on ? 1 : 0);
}

void CMainWndTargets::PageLightControlChanged(const std::string& controlName) {
    Page().LightControlChanged(controlName);
}

void CMainWndTargets::PageLightPaletteChanged() {
    Page().LightPaletteChanged();
}

void CMainWndTargets::PageLightPresetChosen(int index) {
    Page().LightPresetChosen(index);
}

void CMainWndTargets::PageLightCustomGroupSelected() {
    Page().LightCustomGroupSelected();
}

void CMainWndTargets::PageLightCustomColourAll(bool lit) {
    Page().LightCustomColourAll(lit);
}

void CMainWndTargets::PageLightKeysSelected() {
    Page().LightKeysSelected();
}

void CMainWndTargets::PageLightKeyClicked(int index) {
    Page().LightKeyClicked(index);
}

void CMainWndTargets::PageKeyboardSettingChanged(const std::string& controlName) {
    Page().KeyboardSettingChanged(controlName);
}

void CMainWndTargets::PageMacroCommand(const std::string& name) {
    window_.MacroCommands().Run(name);
}

void CMainWndTargets::PageMacroSelected() {
    window_.MacroCommands().MacroSelected();
}

void CMainWndTargets::PageMacroDelayLeft() {
    window_.MacroCommands().DelayLeft();
}

void CMainWndTargets::ShowMacroActionMenu() {
    window_.MacroCommands().ShowActionMenu();
}

void CMainWndTargets::PageShootAction(ShootAction action, int index) {
    auto* mouse = static_cast<CPellixMouseDevice*>(Page().GetInterface("PellixMouseDevice"));
    CShootControlUI* panel = mouse != nullptr ? mouse->ShootPanel() : nullptr;
    if (panel == nullptr || !panel->IsReady()) {
        return;
    }
    switch (action) {
        case ShootAction::SelectGun:
            panel->ChooseGun(index);
            return;
        case ShootAction::SelectBullet:
            panel->ChooseBullet(index);
            return;
        case ShootAction::Previous:
            panel->StepBullet(-1);
            return;
        case ShootAction::Next:
            panel->StepBullet(1);
            return;
        case ShootAction::Direction:
            panel->ShowDirection();
            ShowShootResult(panel->SaveBullet());
            return;
        case ShootAction::Save:
            ShowShootResult(panel->SaveBullet());
            return;
        case ShootAction::Upload:
            if (mouse->WriteShootData() != 0) {
                ShowMessage("message_text_7");
            }
            return;
        case ShootAction::Reset:
            ShowShootResult(panel->ResetGun());
            return;
        case ShootAction::Import:
            if (const std::string path = window_.FileDialogs().Open(CFileDialogs::Kind::Shoot);
                !path.empty()) {
                ShowShootResult(panel->Import(path));
            }
            return;
        case ShootAction::Export:
            if (const std::string path = window_.FileDialogs().Save(CFileDialogs::Kind::Shoot);
                !path.empty()) {
                ShowShootResult(panel->Export(path));
            }
            return;
    }
}

// A file that could not be taken or written says so, and the files stay as they were.
void CMainWndTargets::ShowShootResult(CShootData::Result result) {
    if (result == CShootData::Result::kNotShootFile) {
        ShowMessage("shoot_import_not_shoot");
    } else if (result == CShootData::Result::kCopyFailed) {
        ShowMessage("shoot_copy_failed");
    }
}

}  // namespace app
