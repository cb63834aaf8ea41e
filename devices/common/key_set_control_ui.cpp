#include "devices/common/key_set_control_ui.h"

#include "devices/common/assigned_name.h"
#include "devices/common/function_tables.h"
#include "platform/debug.h"
#include "ui/toolkit/combo_ui.h"
#include "ui/toolkit/edit_ui.h"
#include "ui/toolkit/list_label_element_ui.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/tab_layout_ui.h"

#include <cstdlib>
#include <span>

namespace {

constexpr int kItemHeight = 28;
constexpr int kMacroRepeatCountMode = 4;

// Counts nested writes of the panel's own controls.
class CUpdating {
public:
    explicit CUpdating(int& depth) : depth_(depth) { ++depth_; }
    ~CUpdating() { --depth_; }
    CUpdating(const CUpdating&) = delete;
    CUpdating& operator=(const CUpdating&) = delete;

private:
    int& depth_;
};

std::string Resolve(std::string_view key) {
    const std::string* text = ui::CResourceManager::GetInstance().GetText(std::string(key));
    return text != nullptr ? *text : std::string(key);
}

void AddItem(ui::CComboUI& combo, const std::string& text) {
    auto* item = new ui::CListLabelElementUI;
    item->SetText(text);
    item->SetFixedHeight(kItemHeight);
    combo.Add(item);
}

void Fill(ui::CComboUI* combo, std::span<const NamedCode> table) {
    if (combo == nullptr) {
        return;
    }
    combo->RemoveAll();
    for (const NamedCode& row : table) {
        AddItem(*combo, std::string(row.nameKey));
    }
}

void Select(ui::CComboUI* combo, int item) {
    if (combo != nullptr) {
        combo->SelectItem(item >= 0 && item < combo->GetCount() ? item : -1);
    }
}

int Selected(const ui::CComboUI* combo) {
    return combo != nullptr ? combo->GetCurSel() : -1;
}

std::string EditText(const ui::CEditUI* edit) {
    return edit != nullptr ? edit->GetText() : std::string();
}

void SetEditText(ui::CEditUI* edit, const std::string& text) {
    if (edit != nullptr) {
        edit->SetText(text);
    }
}

int CategoryOf(const ui::CControlUI* item) {
    const std::string& tag = item != nullptr ? item->GetUserData() : std::string();
    if (tag.empty()) {
        return static_cast<int>(FunctionCategory::kNone);
    }
    const int category = std::atoi(tag.c_str());
    return category >= 0 && category < kFunctionCategoryCount ? category
                                                              : static_cast<int>(FunctionCategory::kNone);
}

KeyFunctionCode CurrentCode(const KeyAssignment& key) {
    return {key.code1, key.code2, key.code3};
}

KeyFunctionCode DefaultCode(const KeyAssignment& key) {
    return {key.defaultCode1, key.defaultCode2, key.defaultCode3};
}

}  // namespace

std::string CKeySetControlUI::GetClass() const {
    return "KeySetControl";
}

void* CKeySetControlUI::GetInterface(std::string_view name) {
    if (name == "KeySetControl") {
        return this;
    }
    return ui::CHorizontalLayoutUI::GetInterface(name);
}

ui::CControlUI* CKeySetControlUI::FindNear(const std::string& name) const {
    auto* self = const_cast<CKeySetControlUI*>(this);
    for (ui::CControlUI* scope = self; scope != nullptr; scope = scope->GetParent()) {
        auto* container = static_cast<ui::CContainerUI*>(scope->GetInterface("Container"));
        if (ui::CControlUI* found = container != nullptr ? container->FindSubControl(name) : nullptr) {
            return found;
        }
    }
    platform::DebugFormat("CKeySetControlUI: the panel has no control named '%s'\n", name.c_str());
    return nullptr;
}

template <class T>
T* CKeySetControlUI::Bind(const std::string& name, const char* interfaceName) {
    ui::CControlUI* control = FindNear(name);
    return control != nullptr ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
}

void CKeySetControlUI::BindControls() {
    CUpdating updating(updating_);
    layout_ = FindNear("keyset_layout");
    function_ = Bind<ui::CComboUI>("keyset_function_combo", "Combo");
    pages_ = Bind<ui::CTabLayoutUI>("function_switch_tablayout", "TabLayout");
    mouseKey_ = Bind<ui::CComboUI>("keyset_mousekey_combo", "Combo");
    for (auto [movement, prefix] :
         {std::pair{&swing_, "keyset_mouseswing_"}, {&wheel_, "keyset_mousewheel_"}}) {
        const std::string base = prefix;
        movement->direction = Bind<ui::CComboUI>(base + "combo", "Combo");
        movement->count = Bind<ui::CEditUI>(base + "num_edit", "Edit");
        movement->delay = Bind<ui::CEditUI>(base + "delay_edit", "Edit");
        movement->speed = Bind<ui::CEditUI>(base + "speed_edit", "Edit");
    }
    dpi_ = Bind<ui::CComboUI>("keyset_mousedpi_combo", "Combo");
    fireInterval_ = Bind<ui::CEditUI>("keyset_mousefire_interval_edit", "Edit");
    fireCount_ = Bind<ui::CEditUI>("keyset_mousefire_num_edit", "Edit");
    keyboardEdit_ = Bind<ui::CEditUI>("keyset_keyboard_text_edit", "Edit");
    modifiers_.clear();
    for (int button = 0; button < kModifierButtonCount; ++button) {
        modifiers_.push_back(Bind<ui::COptionUI>("key_ComBox_check_" + std::to_string(button), "Option"));
    }
    media_ = Bind<ui::CComboUI>("keyset_media_combo", "Combo");
    system_ = Bind<ui::CComboUI>("keyset_system_combo", "Combo");
    macro_ = Bind<ui::CComboUI>("keyset_macro_combo", "Combo");
    macroMode_ = Bind<ui::CComboUI>("keyset_macro_over_combo", "Combo");
    macroCycleLayout_ = FindNear("keyset_macro_cycle_layout");
    macroCycle_ = Bind<ui::CEditUI>("keyset_macro_cycle_edit", "Edit");
    gun_ = Bind<ui::CComboUI>("keyset_gunkey_combo", "Combo");
    combination_ = Bind<ui::CComboUI>("keyset_combokey_combo", "Combo");
    buttons_.clear();
    for (const char* name : {"key_butt_keysave", "key_butt_keycancel", "key_butt_prosave"}) {
        buttons_.push_back(FindNear(name));
    }
    Fill(mouseKey_, MouseKeyTable);
    Fill(dpi_, DpiTable);
    Fill(media_, MediaTable);
    Fill(system_, SystemTable);
    if (gun_ != nullptr) {
        gun_->RemoveAll();
        for (std::string_view name : GunNames) {
            AddItem(*gun_, std::string(name));
        }
    }
    if (combination_ != nullptr) {
        combination_->RemoveAll();
        for (const KeyFunctionCode& code : CombinationTable) {
            AddItem(*combination_, CAssignedName::Text(CAssignedName::Name(code, {}), Resolve));
        }
    }
}

void CKeySetControlUI::SetDeviceKind(int kind) {
    kind_ = kind;
    if (function_ == nullptr) {
        return;
    }
    for (int index = 0; index < function_->GetCount(); ++index) {
        ui::CControlUI* item = function_->GetItemAt(index);
        const int category = CategoryOf(item);
        const bool keyboardOnlyHides = category == static_cast<int>(FunctionCategory::kDpi) ||
                                       category == static_cast<int>(FunctionCategory::kGunKey);
        // The drop-down lists every item and greys the disabled ones out.
        const bool offered = !(kind == kKindKeyboard && keyboardOnlyHides);
        item->SetVisible(offered);
        item->SetEnabled(offered);
    }
}

void CKeySetControlUI::SetMacroNames(const std::vector<std::string>& names) {
    macroCount_ = names.size();
    if (macro_ == nullptr) {
        return;
    }
    CUpdating updating(updating_);
    macro_->RemoveAll();
    for (const std::string& name : names) {
        AddItem(*macro_, name);
    }
    macro_->SelectItem(-1);
}

void CKeySetControlUI::ShowKey(const KeyAssignment& key) {
    key_ = key;
    ShowCode(CurrentCode(key_));
}

void CKeySetControlUI::ShowDefault() {
    ShowCode(DefaultCode(key_));
}

void CKeySetControlUI::ShowCurrent() {
    ShowCode(CurrentCode(key_));
}

void CKeySetControlUI::ShowCode(const KeyFunctionCode& code) {
    const CKeySetCodec::Decoded decoded = CKeySetCodec::Decode(code, DefaultCode(key_), macroCount_);
    if (decoded.code != code && code == CurrentCode(key_)) {
        SetCapturedCode(decoded.code);
    }
    ShowChoices(decoded.choices);
}

void CKeySetControlUI::ShowChoices(const KeySetChoices& choices) {
    CUpdating updating(updating_);
    switch (choices.category) {
        case FunctionCategory::kMouseSwing:
        case FunctionCategory::kMouseWheel: {
            const Movement& movement = choices.category == FunctionCategory::kMouseSwing ? swing_ : wheel_;
            Select(movement.direction, choices.direction);
            SetEditText(movement.count, choices.countText);
            SetEditText(movement.delay, choices.delayText);
            SetEditText(movement.speed, choices.speedText);
            break;
        }
        case FunctionCategory::kFire:
            SetEditText(fireInterval_, choices.intervalText);
            SetEditText(fireCount_, choices.countText);
            break;
        case FunctionCategory::kKeyboard:
            SelectModifier(choices.modifierButton);
            ShowKeyName(choices.keyNameKey);
            break;
        case FunctionCategory::kMacro:
            Select(macro_, choices.item);
            Select(macroMode_, choices.macroMode);
            SetEditText(macroCycle_, choices.macroCycleText);
            if (macroCycleLayout_ != nullptr) {
                macroCycleLayout_->SetVisible(choices.macroCycleVisible);
            }
            break;
        default:
            Select(CategoryCombo(choices.category), choices.item);
            break;
    }
    ShowCategory(choices.category);
}

void CKeySetControlUI::ShowCategory(FunctionCategory category) {
    CUpdating updating(updating_);
    int found = -1;
    for (int index = 0; function_ != nullptr && index < function_->GetCount(); ++index) {
        if (CategoryOf(function_->GetItemAt(index)) == static_cast<int>(category)) {
            found = index;
            break;
        }
    }
    Select(function_, found);
    if (pages_ != nullptr && found >= 0) {
        pages_->SelectItem(static_cast<int>(category));
    }
    if (layout_ != nullptr) {
        layout_->SetVisible(found >= 0);
    }
}

void CKeySetControlUI::ShowKeyName(const std::string& nameKey) {
    keyNameKey_ = nameKey;
    SetEditText(keyboardEdit_, nameKey.empty() ? std::string() : Resolve(nameKey));
}

void CKeySetControlUI::FunctionSelected() {
    const FunctionCategory category = SelectedCategory();
    CUpdating updating(updating_);
    if (pages_ != nullptr && category != FunctionCategory::kNone) {
        pages_->SelectItem(static_cast<int>(category));
    }
    if (category == FunctionCategory::kKeyboard) {
        ShowKeyName({});
        SelectModifier(-1);
    }
    Prefill(category);
}

// A category chosen for the first time starts from its first item and small numbers, so that
// saving at once gives a working function.
void CKeySetControlUI::Prefill(FunctionCategory category) {
    const auto selectFirst = [](ui::CComboUI* combo) {
        if (combo != nullptr && combo->GetCurSel() < 0 && combo->GetCount() > 0) {
            combo->SelectItem(0);
        }
    };
    const auto fill = [](ui::CEditUI* edit, const char* text) {
        if (edit != nullptr && edit->GetText().empty()) {
            edit->SetText(text);
        }
    };
    selectFirst(CategoryCombo(category));
    if (category == FunctionCategory::kMouseSwing || category == FunctionCategory::kMouseWheel) {
        const Movement& movement = category == FunctionCategory::kMouseSwing ? swing_ : wheel_;
        selectFirst(movement.direction);
        fill(movement.count, "1");
        fill(movement.delay, "0");
        fill(movement.speed, "0");
    } else if (category == FunctionCategory::kFire) {
        fill(fireInterval_, "10");
        fill(fireCount_, "1");
    } else if (category == FunctionCategory::kMacro) {
        selectFirst(macroMode_);
    }
}

void CKeySetControlUI::MacroModeSelected() {
    if (macroCycleLayout_ != nullptr) {
        macroCycleLayout_->SetVisible(Selected(macroMode_) == kMacroRepeatCountMode);
    }
}

bool CKeySetControlUI::TakeCapturedKey(uint8_t scanCode, bool extended) {
    const std::optional<CKeySetCodec::Captured> captured =
        CKeySetCodec::Capture(scanCode, extended, SelectedModifier());
    if (!captured) {
        return false;
    }
    CUpdating updating(updating_);
    SelectModifier(captured->modifierButton);
    ShowKeyName(captured->keyNameKey);
    SetCapturedCode(captured->code);
    return true;
}

void CKeySetControlUI::SetCapturedCode(const KeyFunctionCode& code) {
    key_.code1 = code.type;
    key_.code2 = code.param1;
    key_.code3 = code.param2;
}

KeyAssignment CKeySetControlUI::BuildCode() {
    const CKeySetCodec::Encoded encoded =
        CKeySetCodec::Encode(Choices(), CurrentCode(key_), DefaultCode(key_), macroCount_);
    CUpdating updating(updating_);
    if (encoded.macroCycleText) {
        SetEditText(macroCycle_, *encoded.macroCycleText);
    }
    if (encoded.countText) {
        SetEditText(wheel_.count, *encoded.countText);
    }
    SetCapturedCode(encoded.code);
    return key_;
}

KeySetChoices CKeySetControlUI::Choices() const {
    KeySetChoices choices;
    choices.category = SelectedCategory();
    choices.item = Selected(CategoryCombo(choices.category));
    const Movement& movement = choices.category == FunctionCategory::kMouseWheel ? wheel_ : swing_;
    choices.direction = Selected(movement.direction);
    choices.countText = EditText(movement.count);
    choices.delayText = EditText(movement.delay);
    choices.speedText = EditText(movement.speed);
    if (choices.category == FunctionCategory::kFire) {
        choices.countText = EditText(fireCount_);
    }
    choices.intervalText = EditText(fireInterval_);
    choices.modifierButton = SelectedModifier();
    choices.keyNameKey = EditText(keyboardEdit_).empty() ? std::string() : keyNameKey_;
    choices.macroMode = Selected(macroMode_);
    choices.macroCycleText = EditText(macroCycle_);
    choices.macroCycleVisible = macroCycleLayout_ != nullptr && macroCycleLayout_->IsVisible();
    return choices;
}

FunctionCategory CKeySetControlUI::SelectedCategory() const {
    const ui::CControlUI* item =
        function_ != nullptr ? function_->GetItemAt(function_->GetCurSel()) : nullptr;
    return static_cast<FunctionCategory>(CategoryOf(item));
}

ui::CComboUI* CKeySetControlUI::CategoryCombo(FunctionCategory category) const {
    switch (category) {
        case FunctionCategory::kMouseButton:
            return mouseKey_;
        case FunctionCategory::kDpi:
            return dpi_;
        case FunctionCategory::kMedia:
            return media_;
        case FunctionCategory::kSystem:
            return system_;
        case FunctionCategory::kMacro:
            return macro_;
        case FunctionCategory::kGunKey:
            return gun_;
        case FunctionCategory::kCombination:
            return combination_;
        default:
            return nullptr;
    }
}

void CKeySetControlUI::EnableButtons(bool enabled) {
    for (ui::CControlUI* button : buttons_) {
        if (button != nullptr) {
            button->SetEnabled(enabled);
        }
    }
}

void CKeySetControlUI::SelectModifier(int button) {
    CUpdating updating(updating_);
    for (int index = 0; index < static_cast<int>(modifiers_.size()); ++index) {
        if (modifiers_[index] != nullptr) {
            modifiers_[index]->Selected(index == button, false);
        }
    }
}

int CKeySetControlUI::SelectedModifier() const {
    for (int index = 0; index < static_cast<int>(modifiers_.size()); ++index) {
        if (modifiers_[index] != nullptr && modifiers_[index]->IsSelected()) {
            return index;
        }
    }
    return -1;
}
