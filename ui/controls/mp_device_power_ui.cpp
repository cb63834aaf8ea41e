#include "ui/controls/mp_device_power_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/progress_ui.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace ui {
namespace {

struct SPhone {
    const char* tip;
    const char* image;
};

constexpr std::array<SPhone, 4> kPhones{{
    {"Phone_type_no_device", "file='power/Phone_type_no_device.png'"},
    {"Phone_type_iphone", "file='power/Phone_type_iphone.png'"},
    {"Phone_type_samsung", "file='power/Phone_type_samsung.png'"},
    {"Phone_type_other", "file='power/Phone_type_other.png'"},
}};

constexpr int kFullLevel = 100;

}  // namespace

std::string CMpDevicePowerUI::GetClass() const {
    return "MpDevicePower";
}

void* CMpDevicePowerUI::GetInterface(std::string_view name) {
    return name == "MpDevicePower" ? this : CHorizontalLayoutUI::GetInterface(name);
}

void CMpDevicePowerUI::DoInit() {
    CHorizontalLayoutUI::DoInit();
    LookUpChildren();
    ApplyKindVisibility();
}

void CMpDevicePowerUI::LookUpChildren() {
    layout_ = FindSubControl("device_power_Layout");
    value_ = FindSubControl("device_power_value");
    wirelessLogo_ = FindSubControl("device_wuxian_logo");
    CControlUI* progress = FindSubControl("device_Power_progress");
    progress_ = progress != nullptr ? static_cast<CProgressUI*>(progress->GetInterface("Progress")) : nullptr;
    status_ = FindSubControl("device_power_status");
    phone_ = FindSubControl("device_phone_type");
}

void CMpDevicePowerUI::SetIndicator(int kind, int index) {
    kind_ = kind;
    index_ = index;
    LookUpChildren();
    ApplyKindVisibility();
}

void CMpDevicePowerUI::ApplyKindVisibility() {
    if (wirelessLogo_ != nullptr && kind_ != kWirelessLogoKind) {
        wirelessLogo_->SetVisible(false);
    }
    if (phone_ != nullptr) {
        phone_->SetVisible(kind_ == kPhoneKind);
    }
}

void CMpDevicePowerUI::UpdateFromReport(std::span<const std::uint8_t> report) {
    std::array<std::uint8_t, kReportSize> bytes{};
    std::copy_n(report.begin(), std::min(report.size(), bytes.size()), bytes.begin());
    LookUpChildren();

    // The firmware reports 0..100; anything above is shown as full rather than as a negative bar.
    const int level = std::min<int>(bytes[0], kFullLevel);
    if (progress_ != nullptr) {
        progress_->SetValue(kFullLevel - level);
    }
    if (value_ != nullptr) {
        char text[16];
        std::snprintf(text, sizeof text, "%d%s", level, "%");
        value_->SetText(text);
    }
    const bool wireless = bytes[3] != 0;
    ApplyCharge(bytes[1], wireless);
    if (kind_ == kWirelessLogoKind && wirelessLogo_ != nullptr) {
        wirelessLogo_->SetVisible(wireless);
    }
    if (kind_ == kPhoneKind) {
        ApplyPhone(bytes[5]);
    }
}

void CMpDevicePowerUI::ApplyCharge(std::uint8_t state, bool wireless) {
    const char* image = nullptr;
    bool barShown = true;
    switch (state) {
        case 0:
            image = "file='power/powered.png'";
            break;
        case 1:
            image = wireless ? "file='power/wuxian_powering.png'" : "file='power/powering.png'";
            barShown = !wireless;
            break;
        case 2:
            image = "file='power/power.png'";
            break;
        default:
            return;
    }
    if (progress_ != nullptr) {
        progress_->SetVisible(barShown);
    }
    if (status_ != nullptr) {
        status_->SetBkImage(image);
    }
}

void CMpDevicePowerUI::ApplyPhone(std::uint8_t phone) {
    const SPhone& entry = phone < kPhones.size() ? kPhones[phone] : kPhones[0];
    if (phone_ == nullptr) {
        return;
    }
    phone_->SetToolTip(entry.tip);
    phone_->SetBkImage(entry.image);
    phone_->SetVisible(true);
}

void CMpDevicePowerUI::ShowIndicator(bool show) {
    LookUpChildren();
    if (layout_ != nullptr) {
        layout_->SetVisible(show);
    }
}

bool CMpDevicePowerUI::IsIndicatorShown() const {
    return layout_ != nullptr && layout_->IsVisible();
}

bool CMpDevicePowerUI::Activate() {
    if (!IsVisible() || !IsEnabled()) {
        return false;
    }
    if (manager_ != nullptr) {
        manager_->SendNotify(this, kNotifySelectChanged);
    }
    return true;
}

}  // namespace ui
