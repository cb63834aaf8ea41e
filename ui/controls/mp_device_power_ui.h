#pragma once

#include "ui/toolkit/horizontal_layout_ui.h"

#include <cstdint>
#include <span>
#include <string>

// CMpDevicePowerUI: a wireless device's power indicator in the status bar. Its layout
// ("MpDevicePower.xml") holds "device_power_Layout" (everything that shows or hides together),
// "device_power_value" (the level text), "device_wuxian_logo" (wireless charging), the progress
// bar "device_Power_progress" (it shows the drained part, 100 minus the level), the charge status
// picture "device_power_status" and the attached phone "device_phone_type". It is updated from the
// device's 64-byte power report:
//
//   byte 0  battery level in percent
//   byte 1  0 on battery, 1 charging, 2 full; other values leave the status as it was
//   byte 3  non-zero: charging wirelessly (the bar hides while charging so)
//   byte 5  indicator kind 3: the attached phone (1 iPhone, 2 Samsung, 3 other, else none)
//
// The wireless logo belongs to indicators of kind 2, the phone to those of kind 3; the other
// kinds never show them. Activating the indicator sends "selectchanged".
//
// Thread: the UI thread only.

namespace ui {

class CProgressUI;

class CMpDevicePowerUI : public CHorizontalLayoutUI {
public:
    static constexpr std::size_t kReportSize = 64;
    static constexpr int kWirelessLogoKind = 2;
    static constexpr int kPhoneKind = 3;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void SetIndicator(int kind, int index);
    int GetIndicatorKind() const { return kind_; }
    int GetIndicatorIndex() const { return index_; }
    // A report shorter than 64 bytes reads as zero-filled; bytes past 64 are ignored.
    void UpdateFromReport(std::span<const std::uint8_t> report);
    void ShowIndicator(bool show);
    bool IsIndicatorShown() const;

    bool Activate() override;
    void DoInit() override;

private:
    void LookUpChildren();
    void ApplyKindVisibility();
    void ApplyCharge(std::uint8_t state, bool wireless);
    void ApplyPhone(std::uint8_t phone);

    int kind_ = 0;
    int index_ = -1;
    CControlUI* layout_ = nullptr;
    CControlUI* value_ = nullptr;
    CControlUI* wirelessLogo_ = nullptr;
    CProgressUI* progress_ = nullptr;
    CControlUI* status_ = nullptr;
    CControlUI* phone_ = nullptr;
};

}  // namespace ui
