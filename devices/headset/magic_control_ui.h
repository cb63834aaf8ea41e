#pragma once

#include "ui/toolkit/horizontal_layout_ui.h"

#include <string>

// CMagicControlUI: the headset's voice changer panel ("MagicControlItem"): the switch
// "magic_enable_option" and the voices "magic_option_" 1-4 in "magic_option_layout". It only
// shows state; the headset page applies the user's choices. Missing controls are skipped.
//
// Thread: the UI thread only.
class CMagicControlUI : public ui::CHorizontalLayoutUI {
public:
    static constexpr int kVoiceCount = 4;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Shows the switch and enables the voices by the flag.
    void SetVoiceChangerOn(bool on);
    bool IsVoiceChangerOn();
    void EnableVoices(bool on);
    // Deselects every voice, then selects voice n when it is 1-4; any other n is kept as 0.
    void SelectVoice(int voice);
    int SelectedVoice() const { return voice_; }

private:
    int voice_ = 0;
};
