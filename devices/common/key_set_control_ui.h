#pragma once

#include "devices/common/key_set_codec.h"
#include "profile/profile_records.h"
#include "ui/toolkit/horizontal_layout_ui.h"

#include <string>
#include <vector>

namespace ui {
class CComboUI;
class CEditUI;
class COptionUI;
class CTabLayoutUI;
}  // namespace ui

// CKeySetControlUI: the key assignment panel (skin "XML\CustomControlXML\KeySetControl.xml",
// element "KeySetControl"). It shows the function of one key in the controls of that function's
// category and builds the function the user chose back into a key record; the codes themselves
// are CKeySetCodec's. The page that owns the panel routes the control events to it and stores
// what BuildCode returns.
//
// Combos are filled by the panel: the function tables' items when bound, the macro names with
// SetMacroNames. While the panel writes its own controls (IsUpdating), the selection events they
// raise are not the user's and the page ignores them.
//
// Thread: the UI thread only.
class CKeySetControlUI : public ui::CHorizontalLayoutUI {
public:
    static constexpr int kKindKeyboard = 1;
    static constexpr int kKindMouse = 2;
    static constexpr int kModifierButtonCount = 5;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Finds the panel's controls by name (a missing one writes a debug line and is left out) and
    // fills the table combos. The action buttons may sit outside the panel, on its page.
    void BindControls();
    // 1 keyboard: the DPI and gun key categories are not offered; 2 mouse.
    void SetDeviceKind(int kind);
    int DeviceKind() const { return kind_; }
    // Refills "keyset_macro_combo" with the names, nothing selected.
    void SetMacroNames(const std::vector<std::string>& names);

    // Stores the key's records and shows its current function.
    void ShowKey(const KeyAssignment& key);
    void ShowDefault();  // "key_butt_keydefalut"
    void ShowCurrent();  // "key_butt_keycancel"
    // The user picked another category: its page shows; the keyboard page starts empty.
    void FunctionSelected();
    // "keyset_macro_over_combo": the repeat count row shows for mode 4 only.
    void MacroModeSelected();
    // A key captured by the input hook (set-1 scan code and extended flag). False, and nothing
    // changed, for a key that is not a keyboard key of ScanCodeTable.
    bool TakeCapturedKey(uint8_t scanCode, bool extended);
    // Stores a code taken from a captured key press as the current function.
    void SetCapturedCode(const KeyFunctionCode& code);
    // The controls' function as the key's current record (key position and pad byte kept); a
    // clamped edit is written back.
    KeyAssignment BuildCode();
    const KeyAssignment& Key() const { return key_; }

    void EnableButtons(bool enabled);
    // Radio button "key_ComBox_check_" + N, -1 none.
    void SelectModifier(int button);
    int SelectedModifier() const;

    bool IsUpdating() const { return updating_ > 0; }

private:
    void ShowCode(const KeyFunctionCode& code);
    void ShowChoices(const KeySetChoices& choices);
    void ShowCategory(FunctionCategory category);
    void ShowKeyName(const std::string& nameKey);
    void Prefill(FunctionCategory category);
    KeySetChoices Choices() const;
    FunctionCategory SelectedCategory() const;
    ui::CComboUI* CategoryCombo(FunctionCategory category) const;
    ui::CControlUI* FindNear(const std::string& name) const;
    template <class T>
    T* Bind(const std::string& name, const char* interfaceName);

    struct Movement {
        ui::CComboUI* direction = nullptr;
        ui::CEditUI* count = nullptr;
        ui::CEditUI* delay = nullptr;
        ui::CEditUI* speed = nullptr;
    };

    int kind_ = 0;
    int updating_ = 0;
    size_t macroCount_ = 0;
    KeyAssignment key_;
    std::string keyNameKey_;  // the key shown in "keyset_keyboard_text_edit"
    ui::CControlUI* layout_ = nullptr;
    ui::CComboUI* function_ = nullptr;
    ui::CTabLayoutUI* pages_ = nullptr;
    ui::CComboUI* mouseKey_ = nullptr;
    Movement swing_;
    Movement wheel_;
    ui::CComboUI* dpi_ = nullptr;
    ui::CEditUI* fireInterval_ = nullptr;
    ui::CEditUI* fireCount_ = nullptr;
    ui::CEditUI* keyboardEdit_ = nullptr;
    std::vector<ui::COptionUI*> modifiers_;
    ui::CComboUI* media_ = nullptr;
    ui::CComboUI* system_ = nullptr;
    ui::CComboUI* macro_ = nullptr;
    ui::CComboUI* macroMode_ = nullptr;
    ui::CControlUI* macroCycleLayout_ = nullptr;
    ui::CEditUI* macroCycle_ = nullptr;
    ui::CComboUI* gun_ = nullptr;
    ui::CComboUI* combination_ = nullptr;
    std::vector<ui::CControlUI*> buttons_;
};
