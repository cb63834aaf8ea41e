#include "devices/common/light_control_ui.h"

#include "platform/debug.h"
#include "ui/toolkit/color_palette_ui.h"
#include "ui/toolkit/combo_ui.h"
#include "ui/toolkit/container_ui.h"
#include "ui/toolkit/edit_ui.h"
#include "ui/toolkit/list_label_element_ui.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/progress_ui.h"

#include <cstdlib>

namespace {

constexpr const char* kPresetPrefix = "color_option_";

class CUpdating {
public:
    explicit CUpdating(int& depth) : depth_(depth) { ++depth_; }
    ~CUpdating() { --depth_; }
    CUpdating(const CUpdating&) = delete;
    CUpdating& operator=(const CUpdating&) = delete;

private:
    int& depth_;
};

constexpr std::array<const char*, 3> kComponentEdits{"deng_edit_R", "deng_edit_G", "deng_edit_B"};

uint8_t& Field(LightInfo& light, size_t component) {
    return component == 0 ? light.red : component == 1 ? light.green : light.blue;
}

uint8_t FieldValue(LightInfo light, size_t component) {
    return Field(light, component);
}

void SetOption(ui::COptionUI* option, bool selected) {
    if (option != nullptr) {
        option->Selected(selected, false);
    }
}

void SetValue(ui::CProgressUI* slider, int value) {
    if (slider != nullptr) {
        slider->SetValue(value);
    }
}

}  // namespace

std::string CLightControlUI::GetClass() const {
    return "LightControl";
}

void* CLightControlUI::GetInterface(std::string_view name) {
    if (name == "LightControl") {
        return this;
    }
    return ui::CHorizontalLayoutUI::GetInterface(name);
}

template <class T>
T* CLightControlUI::Bind(const std::string& name, const char* interfaceName) {
    ui::CControlUI* control = FindSubControl(name);
    if (control == nullptr) {
        platform::DebugFormat("CLightControlUI: the panel has no control named '%s'\n", name.c_str());
        return nullptr;
    }
    return static_cast<T*>(control->GetInterface(interfaceName));
}

void CLightControlUI::BindControls() {
    mode_ = Bind<ui::CComboUI>("light_combo_modeSelect", "Combo");
    customGroup_ = Bind<ui::CComboUI>("light_combo_custommodeSelect", "Combo");
    colourLayout_ = Bind<ui::CControlUI>("deng_color_layout", "Control");
    paletteLayout_ = Bind<ui::CControlUI>("colorpallet_layout", "Control");
    brightnessLayout_ = Bind<ui::CControlUI>("deng_light_layout", "Control");
    speedLayout_ = Bind<ui::CControlUI>("deng_speed_layout", "Control");
    directionLayout_ = Bind<ui::CControlUI>("deng_fx_layout", "Control");
    effectLayout_ = Bind<ui::CControlUI>("lighteffect_layout", "Control");
    customLayout_ = Bind<ui::CControlUI>("lightcustom_layout", "Control");
    sameMode_ = Bind<ui::CControlUI>("deng_same_mode", "Control");
    multiColour_ = Bind<ui::COptionUI>("deng_7color_check", "Option");
    brightness_ = Bind<ui::CProgressUI>("deng_light_slider", "Progress");
    speed_ = Bind<ui::CProgressUI>("deng_speed_slider", "Progress");
    left_ = Bind<ui::COptionUI>("deng_FXL_check", "Option");
    right_ = Bind<ui::COptionUI>("deng_FXR_check", "Option");
    for (size_t component = 0; component < components_.size(); ++component) {
        components_[component] = Bind<ui::CEditUI>(kComponentEdits[component], "Edit");
    }
    palette_ = Bind<ui::CColorPaletteUI>("deng_Color_Pallet", "ColorPalette");
    swatch_ = Bind<ui::CControlUI>("deng_colordp_btn", "Control");
}

void CLightControlUI::SetModeList(const std::vector<LightModeName>& names, int brightnessMaximum,
                                  int speedMaximum) {
    CUpdating updating(updating_);
    if (mode_ != nullptr) {
        mode_->RemoveAll();
        for (const LightModeName& name : names) {
            auto* item = new ui::CListLabelElementUI;
            item->SetText(name.name);
            item->SetToolTip(name.name);
            item->SetFixedHeight(kModeItemHeight);
            item->SetVisible(name.visible);
            mode_->Add(item);
        }
    }
    if (brightness_ != nullptr) {
        brightness_->SetMaxValue(brightnessMaximum);
    }
    if (speed_ != nullptr) {
        speed_->SetMaxValue(speedMaximum);
    }
}

void CLightControlUI::ShowLight(const LightInfo& light) {
    CUpdating updating(updating_);
    if (mode_ != nullptr) {
        mode_->SelectItem(light.selectItem < mode_->GetCount() ? light.selectItem : -1);
    }
    ShowGroups(light.selectItem);
    SetValue(brightness_, light.light);
    SetValue(speed_, light.speed);
    SetOption(left_, light.fx != 0);
    SetOption(right_, light.fx == 0);
    SetOption(multiColour_, light.multiColor != 0);
    ShowColour(light);
}

void CLightControlUI::ShowColour(const LightInfo& light) {
    CUpdating updating(updating_);
    for (size_t component = 0; component < components_.size(); ++component) {
        if (components_[component] != nullptr) {
            components_[component]->SetText(std::to_string(FieldValue(light, component)));
        }
    }
    const uint32_t argb = CLightModel::Argb(light);
    if (palette_ != nullptr) {
        palette_->SetSelectColor(argb);
    }
    if (swatch_ != nullptr) {
        swatch_->SetBkColor(argb);
    }
}

// A group and everything in it, so that each control shows its disabled look.
void CLightControlUI::Enable(ui::CControlUI* control, bool enabled) {
    if (control == nullptr) {
        return;
    }
    control->SetEnabled(enabled);
    if (auto* container = static_cast<ui::CContainerUI*>(control->GetInterface("Container"))) {
        for (int index = 0; index < container->GetCount(); ++index) {
            Enable(container->GetItemAt(index), enabled);
        }
    }
}

void CLightControlUI::ShowGroups(uint8_t mode) {
    const LightParameterGroups groups = CLightModel::GroupsOfKind(kind_, mode);
    Enable(colourLayout_, groups.colour);
    Enable(paletteLayout_, groups.palette);
    Enable(multiColour_, groups.multi);
    Enable(brightnessLayout_, groups.brightness);
    Enable(speedLayout_, groups.speed);
    Enable(directionLayout_, groups.direction);
    Enable(effectLayout_, true);
    if (sameMode_ != nullptr) {
        sameMode_->SetVisible(groups.sameMode && sameModeAllowed_);
    }
    if (customLayout_ != nullptr) {
        customLayout_->SetVisible(groups.custom);
    }
}

std::optional<LightInfo> CLightControlUI::TakeChange(const std::string& controlName, const LightInfo& light) {
    LightInfo changed = light;
    if (controlName == "light_combo_modeSelect") {
        if (SelectedMode() < 0) {
            return std::nullopt;
        }
        changed.selectItem = static_cast<uint8_t>(SelectedMode());
        ShowGroups(changed.selectItem);
        return changed;
    }
    if (controlName == "deng_light_slider" || controlName == "deng_speed_slider") {
        const bool isBrightness = controlName == "deng_light_slider";
        (isBrightness ? changed.light : changed.speed) =
            static_cast<uint8_t>(isBrightness ? Brightness() : Speed());
        return changed;
    }
    if (controlName == "deng_FXL_check" || controlName == "deng_FXR_check") {
        const bool toLeft = controlName == "deng_FXL_check";
        const ui::COptionUI* option = toLeft ? left_ : right_;
        if (option == nullptr || !option->IsSelected()) {
            return std::nullopt;
        }
        changed.fx = toLeft ? 1 : 0;
        return changed;
    }
    if (controlName == "deng_7color_check") {
        changed.multiColor = IsMultiColour() ? 1 : 0;
        return changed;
    }
    for (size_t component = 0; component < components_.size(); ++component) {
        if (controlName != kComponentEdits[component]) {
            continue;
        }
        const CLightModel::Component value =
            CLightModel::ColourComponent(ComponentText(Component(component)));
        Field(changed, component) = value.value;
        changed.multiColor = 0;
        SetOption(multiColour_, false);
        ShowColour(changed);
        return changed;
    }
    return std::nullopt;
}

LightInfo CLightControlUI::TakeColour(uint32_t argb, const LightInfo& light) {
    LightInfo changed = light;
    changed.red = static_cast<uint8_t>(argb >> 16);
    changed.green = static_cast<uint8_t>(argb >> 8);
    changed.blue = static_cast<uint8_t>(argb);
    changed.multiColor = 0;
    CUpdating updating(updating_);
    SetOption(multiColour_, false);
    ShowColour(changed);
    return changed;
}

std::optional<uint32_t> CLightControlUI::PresetColour(int index) const {
    const ui::CControlUI* button =
        const_cast<CLightControlUI*>(this)->FindSubControl(kPresetPrefix + std::to_string(index));
    if (button == nullptr) {
        return std::nullopt;
    }
    return button->GetBkColor();
}

int CLightControlUI::SelectedMode() const {
    return mode_ != nullptr ? mode_->GetCurSel() : -1;
}

int CLightControlUI::SelectedCustomGroup() const {
    return customGroup_ != nullptr ? customGroup_->GetCurSel() : -1;
}

void CLightControlUI::SelectCustomGroup(int group) {
    if (customGroup_ == nullptr) {
        return;
    }
    CUpdating updating(updating_);
    customGroup_->SelectItem(group >= 0 && group < customGroup_->GetCount() ? group : -1);
}

int CLightControlUI::Brightness() const {
    return brightness_ != nullptr ? brightness_->GetValue() : 0;
}

int CLightControlUI::Speed() const {
    return speed_ != nullptr ? speed_->GetValue() : 0;
}

std::string CLightControlUI::ComponentText(Component component) const {
    const ui::CEditUI* edit = components_[static_cast<size_t>(component)];
    return edit != nullptr ? edit->GetText() : std::string();
}

bool CLightControlUI::IsLeftDirection() const {
    return left_ != nullptr && left_->IsSelected();
}

bool CLightControlUI::IsMultiColour() const {
    return multiColour_ != nullptr && multiColour_->IsSelected();
}
