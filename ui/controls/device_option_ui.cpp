#include "ui/controls/device_option_ui.h"

#include "ui/controls/device_lifecycle.h"
#include "ui/toolkit/label_ui.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/ui_parse.h"

namespace ui {
namespace {

constexpr const char kDeviceSelect[] = "device_select";
constexpr const char kSynchroSelect[] = "synchro_device_select";
constexpr const char kNameLabel[] = "device_select_name";
constexpr const char kIconFolder[] = "common/device_ico/";
constexpr std::uint32_t kNameColour = 0xFF9AA0AA;
constexpr std::uint32_t kSelectedNameColour = 0xFFFFFFFF;

}  // namespace

std::string CDeviceOptionUI::KindWord(int kind, int subKind) {
    switch (kind) {
        case 1:
            return "kb";
        case 2:
            return "ms";
        case 3:
            return subKind == 1 ? "soft_mp" : "hard_mp";
        case 4:
        case 7:
            return "hd";
        case 5:
            return "hub";
        default:
            return "unknow";
    }
}

CDeviceOptionUI::SIcons CDeviceOptionUI::IconsFor(int kind, int subKind) {
    const std::string stem = kIconFolder + KindWord(kind, subKind) + "_device_";
    return SIcons{stem + "normal.png", stem + "selected.png", stem + "synchro_normal.png",
                  stem + "synchro_selected.png"};
}

CDeviceOptionUI::CDeviceOptionUI() : icons_(IconsFor(0, 0)) {}

CDeviceOptionUI::~CDeviceOptionUI() {
    if (listening_ != nullptr) {
        listening_->RemoveNotifier(this);
    }
}

std::string CDeviceOptionUI::GetClass() const {
    return "DeviceOption";
}

void* CDeviceOptionUI::GetInterface(std::string_view name) {
    return name == "DeviceOption" ? this : CHorizontalLayoutUI::GetInterface(name);
}

void CDeviceOptionUI::SetDeviceKind(int kind, int subKind) {
    kind_ = kind;
    subKind_ = subKind;
    icons_ = IconsFor(kind, subKind);
    ApplyIcons();
}

std::string CDeviceOptionUI::GetKindNameKey() const {
    return KindWord(kind_, subKind_) + "_device_name_text";
}

void CDeviceOptionUI::ApplyIcons() {
    COptionUI* option = GetDeviceSelect();
    if (option == nullptr) {
        return;
    }
    const bool synchro = IsSynchroChecked();
    option->SetNormalImage(IconImage(synchro ? icons_.synchroNormal : icons_.normal));
    option->SetSelectedImage(IconImage(synchro ? icons_.synchroSelected : icons_.selected));
}

std::string CDeviceOptionUI::IconImage(const std::string& file) const {
    return iconDest_.empty() ? file : "file='" + file + "' dest='" + iconDest_ + "'";
}

void CDeviceOptionUI::BindTab(const std::string& tabLayoutName, int index) {
    if (COptionUI* option = GetDeviceSelect()) {
        option->BindTabLayoutName(tabLayoutName);
        option->BindTabIndex(index);
    }
}

void CDeviceOptionUI::SetPowerTab(const std::string& name, int index) {
    powerTabName_ = name;
    powerTabIndex_ = index;
}

void CDeviceOptionUI::SetGroup(const std::string& group) {
    if (COptionUI* option = GetDeviceSelect()) {
        option->SetGroup(group);
    }
}

void CDeviceOptionUI::SetDeviceName(const std::string& textOrKey) {
    if (CLabelUI* label = GetNameLabel()) {
        label->SetText(textOrKey);
    }
}

void CDeviceOptionUI::SetSynchroChecked(bool checked) {
    if (COptionUI* check = GetSynchroSelect()) {
        check->Selected(checked, false);
    }
    ApplyIcons();
}

bool CDeviceOptionUI::IsSynchroChecked() const {
    const COptionUI* check = GetSynchroSelect();
    return check != nullptr && check->IsSelected();
}

void CDeviceOptionUI::ShowSynchroCheck(bool show) {
    if (COptionUI* check = GetSynchroSelect()) {
        check->SetVisible(show);
    }
}

void CDeviceOptionUI::SetDeviceVisible(bool visible) {
    deviceVisible_ = visible;
    SetVisible(visible);
}

void CDeviceOptionUI::SelectOption(bool select) {
    if (COptionUI* option = GetDeviceSelect()) {
        option->Selected(select, false);
    }
}

bool CDeviceOptionUI::IsOptionSelected() const {
    const COptionUI* option = GetDeviceSelect();
    return option != nullptr && option->IsSelected();
}

COptionUI* CDeviceOptionUI::GetDeviceSelect() const {
    CControlUI* control = const_cast<CDeviceOptionUI*>(this)->FindSubControl(kDeviceSelect);
    return control != nullptr ? static_cast<COptionUI*>(control->GetInterface("Option")) : nullptr;
}

COptionUI* CDeviceOptionUI::GetSynchroSelect() const {
    CControlUI* control = const_cast<CDeviceOptionUI*>(this)->FindSubControl(kSynchroSelect);
    return control != nullptr ? static_cast<COptionUI*>(control->GetInterface("Option")) : nullptr;
}

CLabelUI* CDeviceOptionUI::GetNameLabel() const {
    CControlUI* control = const_cast<CDeviceOptionUI*>(this)->FindSubControl(kNameLabel);
    return control != nullptr ? static_cast<CLabelUI*>(control->GetInterface("Label")) : nullptr;
}

bool CDeviceOptionUI::Activate() {
    if (!IsVisible() || !IsEnabled()) {
        return false;
    }
    if (manager_ != nullptr) {
        manager_->SendNotify(this, kNotifySelectChanged);
    }
    return true;
}

void CDeviceOptionUI::SetAttribute(std::string_view name, std::string_view value) {
    if (ToLower(name) == "icondest") {
        iconDest_ = std::string(value);
        ApplyIcons();
        return;
    }
    CHorizontalLayoutUI::SetAttribute(name, value);
}

// The name follows the selection: white on the selected device, grey on the others.
void CDeviceOptionUI::DoPaint(QPainter& painter, const QRect& paintRect) {
    if (CLabelUI* label = GetNameLabel()) {
        const std::uint32_t colour = IsOptionSelected() ? kSelectedNameColour : kNameColour;
        if (label->GetTextColor() != colour) {
            label->SetTextColor(colour);
        }
    }
    CHorizontalLayoutUI::DoPaint(painter, paintRect);
}

// The option hears its synchro check through the window's notifier list.
void CDeviceOptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    if (listening_ != nullptr && listening_ != manager) {
        listening_->RemoveNotifier(this);
        listening_ = nullptr;
    }
    CHorizontalLayoutUI::SetManager(manager, parent, init);
    if (manager_ != nullptr && listening_ == nullptr) {
        manager_->AddNotifier(this);
        listening_ = manager_;
    }
}

void CDeviceOptionUI::DoInit() {
    CHorizontalLayoutUI::DoInit();
    ApplyIcons();
}

void CDeviceOptionUI::Notify(TNotifyUI& msg) {
    if (msg.sType == kNotifySelectChanged && msg.pSender != nullptr && msg.pSender == GetSynchroSelect()) {
        ApplyIcons();
    }
}

void CDeviceOptionUI::DoEvent(TEventUI& event) {
    const int id = static_cast<int>(event.wParam);
    if (event.Type == EventType::Timer && id >= kConnectTimer && id <= kPollTimer) {
        OnLifecycleTimer(id);
        return;
    }
    CHorizontalLayoutUI::DoEvent(event);
}

bool CDeviceOptionUI::ChannelOpen() const {
    return device_ != nullptr && device_->IsCommandChannelOpen();
}

void CDeviceOptionUI::OnLifecycleTimer(int id) {
    KillTimer(id);
    if (device_ == nullptr) {
        return;
    }
    switch (id) {
        case kConnectTimer:
            device_->OnConnected();
            if (device_->ReportsPowerState()) {
                SetTimer(kPollTimer, kPollPeriodMs);
            }
            return;
        case kResyncTimer:
            device_->Resync();
            return;
        case kHookTimer1003:
            device_->OnTimerHook1003();
            return;
        case kHookTimer1004:
            device_->OnTimerHook1004();
            return;
        case kPollTimer:
            device_->PeriodicPoll();
            if (device_->ReportsPowerState() && ChannelOpen()) {
                SetTimer(kPollTimer, kPollPeriodMs);
            }
            return;
        default:
            return;
    }
}

}  // namespace ui
