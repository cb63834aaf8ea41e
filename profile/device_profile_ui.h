#pragma once

#include "profile/profile_list.h"
#include "ui/toolkit/horizontal_layout_ui.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class CComboUI;
}

// CDeviceProfileUI: the profile panel of every device page ("DeviceProfileItem", class
// "CDeviceProfileUI"). It shows the profiles of its device kind in "device_profile_combo",
// the selected name in "device_profile_name_edit" and the buttons in "profile_menu_layout",
// and keeps its combo box in step with the CProfileList that does the file work (the same
// list that norvikctl uses). It never touches the device: the main window reacts to a changed
// selection with the profile switch.
//
// Calling order: SetDeviceKind and SetPaths, then LoadProfileList; then any operation. Before
// LoadProfileList the operations do nothing and CurrentUuid is "".
//
// Results follow CProfileList: -1 (or a kImport* code) when nothing was done.
//
// Thread: the UI thread only.
class CDeviceProfileUI : public ui::CHorizontalLayoutUI {
public:
    static constexpr int kElementHeight = 30;
    static constexpr int kFunctionTabCount = 8;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void SetDeviceKind(int kind) { deviceKind_ = kind; }
    int DeviceKind() const { return deviceKind_; }
    void SetPaths(std::string profileFolder, std::string defaultProfilePath);

    // Reads the list (making the first profile on a first start), fills the combo box, shows
    // the stored selection without raising "itemselect" and applies the function tab
    // visibility of the device kind. Returns the number of profiles.
    int LoadProfileList();
    // Selects tab n (1..8) and deselects the others; any other n deselects the first seven.
    void SelectFunctionTab(int n);
    std::string CurrentUuid() const;
    // Shows the element (raising "itemselect" only when notify is set), its name in the edit
    // box, and stores it as the selected profile.
    int SelectProfile(int index, bool notify);
    // The combo box's current element, or -1.
    int SelectedIndex() const;

    int AddProfile();
    int DeleteProfile();
    int CopyProfile();
    int ImportProfile(const std::string& path);
    int ExportProfile(const std::string& path) const;
    int ResetProfileFile();
    // 1 renamed, 0 the name is another profile's, -1 nothing done.
    int RenameProfile(const std::string& name);
    // The text of "device_profile_name_edit": the new name for RenameProfile.
    std::string EditedName() const;
    // "profile_fun_spread_btn": hides "profile_menu_layout" when shown, shows it otherwise.
    void ToggleButtonPanel();

    // The list behind the panel; null before LoadProfileList.
    CProfileList* List() { return list_.get(); }
    // Damaged list files moved aside since the last call (see CProfileList).
    std::vector<std::string> TakeSetAsideFiles();

private:
    // A control of the panel, or else of the page around it (the function tabs), or nullptr.
    ui::CControlUI* Find(const std::string& name) const;
    // One of the panel's own controls, with a debug line when the layout lacks it.
    ui::CControlUI* Own(const std::string& name) const;
    ui::CComboUI* Combo() const;
    // Rebuilds the combo box from the list, showing its selected entry without an event.
    void ShowList();
    void ShowSelectedName();
    void ApplyTabVisibility();

    int deviceKind_ = 0;
    std::string folder_;
    std::string defaultProfilePath_;
    std::unique_ptr<CProfileList> list_;
};
