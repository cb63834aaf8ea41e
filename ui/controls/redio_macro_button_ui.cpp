#include "ui/controls/redio_macro_button_ui.h"

#include "ui/toolkit/ui_parse.h"

#include <algorithm>

namespace ui {
namespace {

constexpr int kFadeStep = 20;
constexpr int kFadeLow = 80;
constexpr int kFadeHigh = 255;

}  // namespace

std::string CRedioMacroButtonUI::GetClass() const {
    return "RedioMacroButton";
}

void* CRedioMacroButtonUI::GetInterface(std::string_view name) {
    return name == "RedioMacroButton" ? this : CButtonUI::GetInterface(name);
}

void CRedioMacroButtonUI::StartPulse() {
    if (pulsing_) {
        return;
    }
    restingImage_ = normalImage_;
    fade_ = kFadeHigh;
    fadingOut_ = true;
    pulsing_ = SetTimer(kPulseTimerId, kPulsePeriodMs);
}

void CRedioMacroButtonUI::StopPulse() {
    if (!pulsing_) {
        return;
    }
    KillTimer(kPulseTimerId);
    pulsing_ = false;
    fade_ = kFadeHigh;
    SetNormalImage(restingImage_);
}

void CRedioMacroButtonUI::Tick() {
    if (fadingOut_) {
        fade_ = std::max(kFadeLow, fade_ - kFadeStep);
        fadingOut_ = fade_ > kFadeLow;
    } else {
        fade_ = std::min(kFadeHigh, fade_ + kFadeStep);
        fadingOut_ = fade_ >= kFadeHigh;
    }
    SetNormalImage("res='" + pulseImage_ + "' fade='" + std::to_string(fade_) + "'");
}

void CRedioMacroButtonUI::SetAttribute(std::string_view name, std::string_view value) {
    if (ToLower(name) == "redioimage") {
        SetPulseImage(std::string(value));
        return;
    }
    CButtonUI::SetAttribute(name, value);
}

void CRedioMacroButtonUI::DoEvent(TEventUI& event) {
    if (event.Type == EventType::Timer && static_cast<int>(event.wParam) == kPulseTimerId) {
        Tick();
        return;
    }
    CButtonUI::DoEvent(event);
}

}  // namespace ui
