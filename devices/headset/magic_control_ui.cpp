#include "devices/headset/magic_control_ui.h"

#include "ui/toolkit/option_ui.h"

namespace {

ui::COptionUI* AsOption(ui::CControlUI* control) {
    return control != nullptr ? static_cast<ui::COptionUI*>(control->GetInterface("Option")) : nullptr;
}

}  // namespace

std::string CMagicControlUI::GetClass() const {
    return "CMagicControlUI";
}

void* CMagicControlUI::GetInterface(std::string_view name) {
    if (name == "MagicControl") {
        return this;
    }
    return CHorizontalLayoutUI::GetInterface(name);
}

void CMagicControlUI::SetVoiceChangerOn(bool on) {
    if (ui::COptionUI* option = AsOption(FindSubControl("magic_enable_option"))) {
        option->Selected(on, false);
    }
    EnableVoices(on);
}

bool CMagicControlUI::IsVoiceChangerOn() {
    ui::COptionUI* option = AsOption(FindSubControl("magic_enable_option"));
    return option != nullptr && option->IsSelected();
}

void CMagicControlUI::EnableVoices(bool on) {
    if (ui::CControlUI* layout = FindSubControl("magic_option_layout")) {
        layout->SetEnabled(on);
    }
}

void CMagicControlUI::SelectVoice(int voice) {
    for (int n = 1; n <= kVoiceCount; ++n) {
        if (ui::COptionUI* option = AsOption(FindSubControl("magic_option_" + std::to_string(n)))) {
            option->Selected(false, false);
        }
    }
    voice_ = voice >= 1 && voice <= kVoiceCount ? voice : 0;
    if (ui::COptionUI* option =
            voice_ != 0 ? AsOption(FindSubControl("magic_option_" + std::to_string(voice_))) : nullptr) {
        option->Selected(true, false);
    }
}
