#pragma once

#include "ui/toolkit/horizontal_layout_ui.h"

#include <string>

namespace ui {
class CComboUI;
}

// CVoice6533ControlUI: the headset's voice panel ("Voice6533ControlItem"): microphone and
// monitoring switches and levels, the equaliser presets "6533_eq_option_" 1-13 (13 custom), the
// ten band sliders "6533_eq_hz_slider_" 0-9 and the custom equaliser area
// "custom_eq_option_layout" with its name entry and list. It only shows state; the headset page
// applies the user's choices.
//
// Missing controls are skipped; getters then give -1 (values) or "" (texts).
//
// Thread: the UI thread only.
class CVoice6533ControlUI : public ui::CHorizontalLayoutUI {
public:
    static constexpr int kPresetCount = 13;
    static constexpr int kBandCount = 10;
    static constexpr int kElementHeight = 30;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Deselects every preset, then selects preset n when it is 1-13; any other n is kept as 0.
    void SelectPreset(int preset);
    int SelectedPreset() const { return preset_; }
    void EnableCustomEditing(bool on);

    void SetBand(int band, int gain);
    int Band(int band);

    void SetMicOn(bool on);
    void SetMonitorOn(bool on);
    bool IsMicOn();
    bool IsMonitorOn();
    void SetMicLevel(int level);
    int MicLevel();
    void SetMonitorLevel(int level);
    int MonitorLevel();

    std::string CustomNameText();
    void SetCustomNameText(const std::string& text);
    void AddCustomName(const std::string& name);
    int SelectedCustom();
    int CustomCount();
    // Shows entry i as selected without raising "itemselect"; -1 shows none.
    void SelectCustom(int index);
    void RemoveCustom(int index);
    void RemoveAllCustoms();
    std::string CustomName(int index);

private:
    ui::CComboUI* CustomList();
    void SetSelected(const std::string& name, bool on);
    bool IsSelected(const std::string& name);
    void SetSliderValue(const std::string& name, int value);
    int SliderValue(const std::string& name);

    int preset_ = 0;
};
