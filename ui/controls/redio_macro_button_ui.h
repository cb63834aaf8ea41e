#pragma once

#include "ui/toolkit/button_ui.h"

#include <string>

// CRedioMacroButtonUI: the macro record button. While a recording runs its picture pulses: timer
// 100 ticks every 50 ms and each tick moves the picture's opacity by 20, down to 80 and back up to
// 255. Stopping the pulse puts the button's own normal image back. Attribute: redioimage (a
// "res.xml" id or a file name).
//
// Thread: the UI thread only.

namespace ui {

class CRedioMacroButtonUI : public CButtonUI {
public:
    static constexpr int kPulseTimerId = 100;
    static constexpr int kPulsePeriodMs = 50;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void SetPulseImage(const std::string& image) { pulseImage_ = image; }
    const std::string& GetPulseImage() const { return pulseImage_; }
    void StartPulse();
    void StopPulse();
    bool IsPulsing() const { return pulsing_; }
    int GetFade() const { return fade_; }

    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(TEventUI& event) override;

private:
    void Tick();

    std::string pulseImage_;
    std::string restingImage_;
    int fade_ = 255;
    bool fadingOut_ = true;
    bool pulsing_ = false;
};

}  // namespace ui
