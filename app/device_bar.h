#pragma once

#include "device/device_tables.h"
#include "ui/toolkit/ui_defs.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

// CDeviceBar: the main window's device pages and the bar that chooses between them. At start-up
// it assembles one page, one device bar item and one power indicator per descriptor row that has
// an interface slot; every page stays hidden until its device is attached. It then shows, hides
// and selects the items as devices come and go, keeps "No_device_Link" and the synchronisation
// checks in step with what is visible, and knows the active page (the visible, selected item's).
//
// The controls live in the window's tree: the bar holds non-owning pointers, valid while the
// window exists.
//
// Thread: the UI thread only, except Entries(), which the light synchronisation and update threads
// read after start-up (the list no longer changes then).

namespace ui {
class CControlUI;
class CDeviceOptionUI;
class CMpDevicePowerUI;
class CPaintManagerUI;
class IDialogBuilderCallback;
}  // namespace ui

class CPellixUSBDevice;

namespace app {

class CDeviceBar {
public:
    struct SEntry {
        CPellixUSBDevice* page = nullptr;
        ui::CDeviceOptionUI* option = nullptr;
        ui::CMpDevicePowerUI* indicator = nullptr;
    };

    // What the page of a new entry needs from the window.
    struct SPageContext {
        ui::HWND window = nullptr;
        int screenWidth = 0;
        int screenHeight = 0;
    };

    // Runs when the selected item is about to be hidden (closes child windows, stops a recording).
    using LeavingSelected = std::function<void()>;

    CDeviceBar(ui::CPaintManagerUI& manager, ui::IDialogBuilderCallback* callback);

    // One page per descriptor row with a matching slot; returns how many were built.
    int AssemblePages(std::span<const InterfaceSlot> interfaces, const SPageContext& context);

    void SetLeavingSelected(LeavingSelected action) { leavingSelected_ = std::move(action); }

    // Shows or hides item index; with select, also selects it and shows its page and indicator.
    void SelectDeviceOption(int index, bool show, bool select);
    // Hides item index; when it was the selected one, the first other visible item takes over.
    void HideDeviceOption(int index);
    // "selectchanged" of "device_select": show the selected item's page and indicator tab.
    void OnSelectChanged();
    // -1: the last visible item before the selected one; +1: the first visible one after it.
    void SelectAdjacent(int step);

    // Whether any item is visible; the first visible index and the visible count.
    bool FindFirstPresent(int& first, int& count) const;
    int VisibleCount() const;
    // "No_device_Link" while no item is visible, with "nodevice_access" naming a supported device
    // that is plugged in but cannot be opened; then both tabs show index 0.
    void UpdateNoDeviceLink();

    // The page whose item is visible and selected, or nullptr.
    CPellixUSBDevice* ActivePage() const;
    int ActiveKind() const;

    // The entry of a device object, or -1.
    int IndexOfPage(const CPellixUSBDevice* page) const;
    const std::vector<SEntry>& Entries() const { return entries_; }

private:
    // Shows, on the no-device page, why a plugged-in supported device cannot be opened.
    void ShowAccessHint();
    bool AssemblePage(const InterfaceSlot& slot, const SPageContext& context);
    void AddEntry(int descriptorRow, const InterfaceSlot& slot, const SEntry& entry,
                  const SPageContext& context);
    void BindOption(int descriptorRow, const SEntry& entry);
    void ShowSelected(const SEntry& entry);
    void UpdateSynchroChecks();
    int SelectedIndex() const;
    ui::CControlUI* Find(const std::string& name) const;
    void SelectTab(const std::string& tabName, int index) const;

    ui::CPaintManagerUI& manager_;
    ui::IDialogBuilderCallback* callback_;
    std::vector<SEntry> entries_;
    LeavingSelected leavingSelected_;
};

}  // namespace app
