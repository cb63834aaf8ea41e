#include "app/device_bar.h"

#include "device/device_access_check.h"
#include "device/pellix_usb_device.h"
#include "platform/debug.h"
#include "ui/controls/device_option_ui.h"
#include "ui/controls/mp_device_power_ui.h"
#include "ui/toolkit/container_ui.h"
#include "ui/toolkit/dialog_builder.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/tab_layout_ui.h"

namespace app {
namespace {

constexpr const char kPowerIndicatorLayout[] = "XML\\CustomControlXML\\MpDevicePower.xml";
constexpr const char kPageTab[] = "device_switch";
constexpr const char kPowerTab[] = "device_power_switch";
constexpr const char kBar[] = "device_select_layout";
constexpr const char kAccessHint[] = "nodevice_access";
constexpr const char kLightConfigBaseName[] = "quorl_light";
// The bar shows each device by the language text of its descriptor row's name.
constexpr const char kDeviceNameKeyPrefix[] = "device_name_";

template <class T>
T* As(ui::CControlUI* control, const char* interfaceName) {
    return control != nullptr ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
}

}  // namespace

CDeviceBar::CDeviceBar(ui::CPaintManagerUI& manager, ui::IDialogBuilderCallback* callback)
    : manager_(manager), callback_(callback) {}

ui::CControlUI* CDeviceBar::Find(const std::string& name) const {
    return manager_.FindControl(name);
}

void CDeviceBar::SelectTab(const std::string& tabName, int index) const {
    if (auto* tab = As<ui::CTabLayoutUI>(Find(tabName), "TabLayout")) {
        tab->SelectItem(index);
    }
}

int CDeviceBar::AssemblePages(std::span<const InterfaceSlot> interfaces, const SPageContext& context) {
    int built = 0;
    for (const DeviceDescriptor& row : DeviceDescriptors()) {
        const int slot = FindSlot(interfaces, row.vendorId, row.productId, row.kind, row.subKind);
        if (slot < 0) {
            continue;
        }
        built += AssemblePage(interfaces[static_cast<size_t>(slot)], context) ? 1 : 0;
    }
    return built;
}

bool CDeviceBar::AssemblePage(const InterfaceSlot& slot, const SPageContext& context) {
    // A mouse behind a receiver has the mouse's page.
    const uint16_t kind = slot.kind == kKindWirelessMouse ? static_cast<uint16_t>(kKindMouse) : slot.kind;
    const int descriptorRow = FindDescriptor(slot.vendorId, slot.productId, kind, slot.subKind);
    if (descriptorRow < 0) {
        return false;
    }
    const DeviceDescriptor& descriptor = DeviceDescriptors()[static_cast<size_t>(descriptorRow)];
    const DevicePageInfo& pageInfo = DevicePages()[static_cast<size_t>(descriptorRow)];
    SEntry entry;
    ui::CDialogBuilder indicatorBuilder;
    entry.indicator = As<ui::CMpDevicePowerUI>(
        indicatorBuilder.Create(kPowerIndicatorLayout, callback_, &manager_), "MpDevicePower");
    ui::CDialogBuilder optionBuilder;
    entry.option = As<ui::CDeviceOptionUI>(optionBuilder.Create(descriptor.itemLayout, callback_, &manager_),
                                           "DeviceOption");
    ui::CDialogBuilder pageBuilder;
    entry.page = As<CPellixUSBDevice>(pageBuilder.Create(pageInfo.pageLayout, callback_, &manager_),
                                      "PellixUSBDevice");
    if (entry.indicator == nullptr || entry.option == nullptr || entry.page == nullptr) {
        platform::DebugFormat("device page %s could not be built\n", descriptor.deviceName);
        delete entry.indicator;
        delete entry.option;
        delete entry.page;
        return false;
    }
    AddEntry(descriptorRow, slot, entry, context);
    return true;
}

void CDeviceBar::AddEntry(int descriptorRow, const InterfaceSlot& slot, const SEntry& entry,
                          const SPageContext& context) {
    const DeviceDescriptor& descriptor = DeviceDescriptors()[static_cast<size_t>(descriptorRow)];
    const DevicePageInfo& pageInfo = DevicePages()[static_cast<size_t>(descriptorRow)];
    auto* powerTab = As<ui::CTabLayoutUI>(Find(kPowerTab), "TabLayout");
    if (powerTab != nullptr) {
        powerTab->Add(entry.indicator);
    }
    entry.indicator->SetIndicator(descriptor.kind, static_cast<int>(entries_.size()));
    // A device that never reports its battery would show an empty one.
    entry.indicator->ShowIndicator(pageInfo.reportsPowerState);

    CPellixUSBDevice& page = *entry.page;
    page.SetLayoutPath(pageInfo.pageLayout);
    page.SetMainWindow(context.window);
    page.SetDeviceKind(slot.kind, descriptor.subKind);
    page.SetDeviceName(descriptor.deviceName);
    page.SetTypeCode(descriptor.typeCode);
    page.SetProfileBaseName("");
    page.SetConfigBaseName(pageInfo.configBaseName != nullptr ? pageInfo.configBaseName
                                                              : kLightConfigBaseName);
    page.SetScreenSize(context.screenWidth, context.screenHeight);
    page.SetPowerIndicator(entry.indicator);
    page.SetKeyCount(pageInfo.keyCount);
    page.SetLedCount(pageInfo.ledCount);
    page.SetReportsPowerState(pageInfo.reportsPowerState);
    page.SetLogoLed(pageInfo.logoLed);
    page.SetSlotRow(slot);
    page.InitPage();

    if (auto* pages = As<ui::CTabLayoutUI>(Find(kPageTab), "TabLayout")) {
        pages->Add(entry.page);
    }
    entries_.push_back(entry);
    BindOption(descriptorRow, entry);
}

void CDeviceBar::BindOption(int descriptorRow, const SEntry& entry) {
    const DeviceDescriptor& descriptor = DeviceDescriptors()[static_cast<size_t>(descriptorRow)];
    if (auto* bar = As<ui::CContainerUI>(Find(kBar), "Container")) {
        bar->Add(entry.option);
    }
    ui::CDeviceOptionUI& option = *entry.option;
    option.SetSynchroChecked(false);
    option.SetGroup(descriptor.tabHeader);
    auto* pages = As<ui::CTabLayoutUI>(Find(kPageTab), "TabLayout");
    auto* powerTab = As<ui::CTabLayoutUI>(Find(kPowerTab), "TabLayout");
    option.BindTab(kPageTab, pages != nullptr ? pages->GetItemIndex(entry.page) : -1);
    option.SetPowerTab(descriptor.powerSwitch,
                       powerTab != nullptr ? powerTab->GetItemIndex(entry.indicator) : -1);
    option.SetDeviceKind(descriptor.kind, descriptor.subKind);
    option.SetDeviceVisible(false);
    option.SetDeviceName(std::string(kDeviceNameKeyPrefix) + descriptor.deviceName);
    option.SetDevice(entry.page);
    entry.page->SetDeviceBarItem(entry.option);
}

void CDeviceBar::SelectDeviceOption(int index, bool show, bool select) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) {
        return;
    }
    const SEntry& entry = entries_[static_cast<size_t>(index)];
    entry.option->SetDeviceVisible(show);
    if (select) {
        ShowSelected(entry);
        entry.option->SelectOption(true);
    }
    UpdateNoDeviceLink();
    UpdateSynchroChecks();
}

void CDeviceBar::ShowSelected(const SEntry& entry) {
    if (auto* pages = As<ui::CTabLayoutUI>(Find(kPageTab), "TabLayout")) {
        pages->SelectItem(entry.page);
    }
    ui::CControlUI* powerTab = Find(kPowerTab);
    const int powerIndex = entry.option->GetPowerTabIndex();
    if (powerTab != nullptr) {
        powerTab->SetVisible(powerIndex >= 0);
    }
    if (powerIndex >= 0) {
        SelectTab(kPowerTab, powerIndex);
    }
}

void CDeviceBar::UpdateSynchroChecks() {
    const int visible = VisibleCount();
    int checked = 0;
    for (const SEntry& entry : entries_) {
        checked += entry.option->IsDeviceVisible() && entry.option->IsSynchroChecked() ? 1 : 0;
    }
    for (const SEntry& entry : entries_) {
        entry.option->ShowSynchroCheck(visible > 1);
        if (visible <= 1 || checked < 2) {
            entry.option->SetSynchroChecked(false);
        }
    }
}

void CDeviceBar::UpdateNoDeviceLink() {
    const bool none = VisibleCount() == 0;
    if (ui::CControlUI* link = Find("No_device_Link")) {
        link->SetVisible(none);
    }
    if (!none) {
        return;
    }
    ShowAccessHint();
    SelectTab(kPowerTab, 0);
    SelectTab(kPageTab, 0);
}

// A supported device that is plugged in but cannot be opened looks like no device at all; the
// page names its node and the udev rule that gives access.
void CDeviceBar::ShowAccessHint() {
    ui::CControlUI* hint = Find(kAccessHint);
    if (hint == nullptr) {
        return;
    }
    const std::vector<std::string> nodes = CDeviceAccessCheck::DeniedNodes(*platform::hid::ProcessBackend());
    hint->SetVisible(!nodes.empty());
    if (nodes.empty()) {
        return;
    }
    platform::DebugFormat("%s\n", CDeviceAccessCheck::Hint(nodes.front()).c_str());
    const std::string* format = ui::CResourceManager::GetInstance().GetText(kAccessHint);
    std::string text = format != nullptr ? *format : CDeviceAccessCheck::Hint("%s");
    if (const size_t at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, nodes.front());
    }
    hint->SetText(text);
}

void CDeviceBar::HideDeviceOption(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) {
        return;
    }
    ui::CDeviceOptionUI& option = *entries_[static_cast<size_t>(index)].option;
    int next = -1;
    if (option.IsDeviceVisible() && option.IsOptionSelected()) {
        if (leavingSelected_) {
            leavingSelected_();
        }
        for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
            if (i != index && entries_[static_cast<size_t>(i)].option->IsDeviceVisible()) {
                next = i;
                break;
            }
        }
        option.SelectOption(false);
    }
    option.SetDeviceVisible(false);
    if (next >= 0) {
        SelectDeviceOption(next, true, true);
        return;
    }
    UpdateNoDeviceLink();
    UpdateSynchroChecks();
}

void CDeviceBar::OnSelectChanged() {
    const int index = SelectedIndex();
    if (index < 0) {
        return;
    }
    ShowSelected(entries_[static_cast<size_t>(index)]);
}

void CDeviceBar::SelectAdjacent(int step) {
    const int selected = SelectedIndex();
    if (selected < 0) {
        return;
    }
    const int count = static_cast<int>(entries_.size());
    for (int i = selected + step; i >= 0 && i < count; i += step) {
        if (entries_[static_cast<size_t>(i)].option->IsDeviceVisible()) {
            SelectDeviceOption(i, true, true);
            return;
        }
    }
}

int CDeviceBar::SelectedIndex() const {
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
        const ui::CDeviceOptionUI& option = *entries_[static_cast<size_t>(i)].option;
        if (option.IsDeviceVisible() && option.IsOptionSelected()) {
            return i;
        }
    }
    return -1;
}

bool CDeviceBar::FindFirstPresent(int& first, int& count) const {
    first = -1;
    count = 0;
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
        if (!entries_[static_cast<size_t>(i)].option->IsDeviceVisible()) {
            continue;
        }
        if (first < 0) {
            first = i;
        }
        ++count;
    }
    return count > 0;
}

int CDeviceBar::VisibleCount() const {
    int first = -1;
    int count = 0;
    FindFirstPresent(first, count);
    return count;
}

CPellixUSBDevice* CDeviceBar::ActivePage() const {
    const int index = SelectedIndex();
    return index >= 0 ? entries_[static_cast<size_t>(index)].page : nullptr;
}

int CDeviceBar::ActiveKind() const {
    const CPellixUSBDevice* page = ActivePage();
    return page != nullptr ? page->DeviceKind() : 0;
}

int CDeviceBar::IndexOfPage(const CPellixUSBDevice* page) const {
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
        if (entries_[static_cast<size_t>(i)].page == page) {
            return i;
        }
    }
    return -1;
}

}  // namespace app
