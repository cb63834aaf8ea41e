#pragma once

#include "devices/common/light_model.h"
#include "devices/common/light_name_lists.h"
#include "profile/profile_records.h"
#include "ui/toolkit/horizontal_layout_ui.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class CColorPaletteUI;
class CComboUI;
class CEditUI;
class COptionUI;
class CProgressUI;
}  // namespace ui

// CLightControlUI: the lighting panel (skin "XML\CustomControlXML\LightControl.xml", element
// "LightControl"). It shows a device's LightInfo and turns each edit of one of its controls into
// the changed LightInfo; the page stores that record, saves the profile and writes the device.
// Which parameter groups a mode offers is CLightModel's, by the panel's device kind.
//
// While the panel writes its own controls (IsUpdating), the events they raise are not the
// user's and the page ignores them.
//
// Thread: the UI thread only.
class CLightControlUI : public ui::CHorizontalLayoutUI {
public:
    static constexpr int kModeItemHeight = 30;
    enum class Component { kRed, kGreen, kBlue };

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Finds the panel's controls by name; a missing one writes a debug line and is left out.
    void BindControls();
    void SetDeviceKind(int kind) { kind_ = kind; }
    int DeviceKind() const { return kind_; }
    // Whether "deng_same_mode" may show at all.
    void SetSameModePermission(bool allowed) { sameModeAllowed_ = allowed; }
    // Refills "light_combo_modeSelect" (one element per name, hidden unless visible) and sets
    // the two sliders' maxima.
    void SetModeList(const std::vector<LightModeName>& names, int brightnessMaximum, int speedMaximum);
    // The record in every control; the mode's groups enabled.
    void ShowLight(const LightInfo& light);
    // Enables the parameter groups of the mode.
    void ShowGroups(uint8_t mode);

    // The user changed the named control: the record with that change, echoed into the panel
    // (a colour edit shows the value it stands for). nullopt when the control is not one of
    // the panel's value controls, or when the event is a radio button being cleared.
    std::optional<LightInfo> TakeChange(const std::string& controlName, const LightInfo& light);
    // A colour from the palette or a preset swatch: the single colour, multicolour off.
    LightInfo TakeColour(uint32_t argb, const LightInfo& light);
    // The background colour of preset button "color_option_" + n; nullopt without that button.
    std::optional<uint32_t> PresetColour(int index) const;

    int SelectedMode() const;
    int SelectedCustomGroup() const;
    void SelectCustomGroup(int group);
    int Brightness() const;
    int Speed() const;
    std::string ComponentText(Component component) const;
    bool IsLeftDirection() const;
    bool IsMultiColour() const;

    bool IsUpdating() const { return updating_ > 0; }

private:
    void ShowColour(const LightInfo& light);
    template <class T>
    T* Bind(const std::string& name, const char* interfaceName);
    void Enable(ui::CControlUI* control, bool enabled);

    int kind_ = 0;
    int updating_ = 0;
    bool sameModeAllowed_ = false;
    ui::CComboUI* mode_ = nullptr;
    ui::CComboUI* customGroup_ = nullptr;
    ui::CControlUI* colourLayout_ = nullptr;
    ui::CControlUI* paletteLayout_ = nullptr;
    ui::CControlUI* brightnessLayout_ = nullptr;
    ui::CControlUI* speedLayout_ = nullptr;
    ui::CControlUI* directionLayout_ = nullptr;
    ui::CControlUI* effectLayout_ = nullptr;
    ui::CControlUI* customLayout_ = nullptr;
    ui::CControlUI* sameMode_ = nullptr;
    ui::COptionUI* multiColour_ = nullptr;
    ui::CProgressUI* brightness_ = nullptr;
    ui::CProgressUI* speed_ = nullptr;
    ui::COptionUI* left_ = nullptr;
    ui::COptionUI* right_ = nullptr;
    std::array<ui::CEditUI*, 3> components_{};
    ui::CColorPaletteUI* palette_ = nullptr;
    ui::CControlUI* swatch_ = nullptr;
};
