#pragma once

#include "devices/common/function_category.h"
#include "devices/common/key_function_code.h"

#include <cstdint>
#include <optional>
#include <string>

// What the key-set panel shows: the selected category and the state of that category's controls.
// The panel keeps one set of controls per category; only the fields of the category at hand mean
// anything. Combo selections are item indices, -1 for none; edits hold their text.
struct KeySetChoices {
    FunctionCategory category = FunctionCategory::kNone;
    // The selected item of the category's combo: mouse button, DPI step, media, system,
    // combination, gun, or the macro of "keyset_macro_combo".
    int item = -1;
    // Swing and wheel: "..._combo" (direction), "..._num_edit", "..._delay_edit", "..._speed_edit".
    int direction = -1;
    std::string countText;
    std::string delayText;
    std::string speedText;
    // Fire: "keyset_mousefire_interval_edit" and "keyset_mousefire_num_edit" (countText).
    std::string intervalText;
    // Keyboard: the radio button "key_ComBox_check_" + N (-1 none) and the name key shown in
    // "keyset_keyboard_text_edit" ("" = the edit is empty).
    int modifierButton = -1;
    std::string keyNameKey;
    // Macro: "keyset_macro_over_combo" (repeat mode 0-4) and "keyset_macro_cycle_edit", whose row
    // "keyset_macro_cycle_layout" shows only for mode 4.
    int macroMode = -1;
    std::string macroCycleText;
    bool macroCycleVisible = false;

    bool operator==(const KeySetChoices&) const = default;
};

// The key-set panel's rules without its controls: turning the choices into a function code and a
// code back into choices, and taking a key captured by the input hook. Pure functions; any thread.
class CKeySetCodec {
public:
    struct Encoded {
        KeyFunctionCode code;
        // A macro repeat count that was clamped: the text to write back into the edit.
        std::optional<std::string> macroCycleText;
        // A wheel-down count that was clamped into 1-128: the text to write back into the edit.
        std::optional<std::string> countText;
    };

    // The code of the choices. `current` is the code the key holds (its usage is the key last
    // captured; it also stays when no macro is selected), `fallback` is the key's default code, and
    // macroCount is the length of the macro list.
    static Encoded Encode(const KeySetChoices& choices, const KeyFunctionCode& current,
                          const KeyFunctionCode& fallback, size_t macroCount);

    struct Decoded {
        KeySetChoices choices;
        // The code as the panel now holds it: a keyboard code without a known key or modifier
        // loses the unknown part.
        KeyFunctionCode code;
    };

    // The choices that show `code`; a code equal to `fallback` shows as the default category.
    static Decoded Decode(const KeyFunctionCode& code, const KeyFunctionCode& fallback, size_t macroCount);

    struct Captured {
        int modifierButton;
        std::string keyNameKey;  // "" for a modifier: the edit is emptied
        KeyFunctionCode code;    // 0x20, modifier, usage
    };

    // A key reported by the hook as a set-1 scan code and extended flag, with the modifier button
    // currently selected (-1 none). nullopt when the key is not a keyboard key of ScanCodeTable.
    static std::optional<Captured> Capture(uint8_t scanCode, bool extended, int modifierButton);

    // The radio button of modifier row i (0-7): left and right of a kind share a button.
    static int ModifierButtonOfRow(size_t row) { return static_cast<int>((row + 1) % 5 + (row + 1) / 5); }
    // param1 of a radio button: 1 << (button - 1), 0 for button 0 or none.
    static uint8_t ModifierBitsOfButton(int button);
    // The usual string-to-integer rule of the edits: leading sign and digits, anything else 0.
    static int EditNumber(const std::string& text);
};
