#include "devices/common/key_set_codec.h"

#include "devices/common/function_tables.h"
#include "devices/common/key_name_table.h"
#include "devices/common/scan_code_table.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <span>

namespace {

constexpr int kMacroRepeatCountMode = 4;
constexpr int kMacroModeCount = 5;

template <typename Row>
std::optional<KeyFunctionCode> TableCode(std::span<const Row> table, int item) {
    if (item < 0 || static_cast<size_t>(item) >= table.size()) {
        return std::nullopt;
    }
    if constexpr (std::is_same_v<Row, NamedCode>) {
        return table[item].code;
    } else {
        return table[item];
    }
}

// The row whose param1 and param2 equal the code's; -1 when there is none.
template <typename Row>
int TableItem(std::span<const Row> table, const KeyFunctionCode& code) {
    for (size_t i = 0; i < table.size(); ++i) {
        KeyFunctionCode row;
        if constexpr (std::is_same_v<Row, NamedCode>) {
            row = table[i].code;
        } else {
            row = table[i];
        }
        if (row.param1 == code.param1 && row.param2 == code.param2) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

uint8_t LowByte(int value) {
    return static_cast<uint8_t>(value & 0xFF);
}

uint8_t Nibbles(const KeySetChoices& choices) {
    const int delay = CKeySetCodec::EditNumber(choices.delayText) & 0x0F;
    const int speed = CKeySetCodec::EditNumber(choices.speedText) & 0x0F;
    return static_cast<uint8_t>(delay << 4 | speed);
}

CKeySetCodec::Encoded EncodeWheel(const KeySetChoices& choices) {
    CKeySetCodec::Encoded result{{FunctionType::kMouseWheel, Nibbles(choices), 0}, {}, {}};
    const int count = CKeySetCodec::EditNumber(choices.countText);
    if (choices.direction != 1) {
        result.code.param2 = LowByte(count & 0x7F);
        return result;
    }
    // Downward counts are stored as 128 - count; outside 1-128 that names another count.
    const int clamped = std::clamp(count, 1, 128);
    if (clamped != count) {
        result.countText = std::to_string(clamped);
    }
    result.code.param2 = LowByte((128 - clamped) | 0x80);
    return result;
}

CKeySetCodec::Encoded EncodeMacro(const KeySetChoices& choices, const KeyFunctionCode& current,
                                  size_t macroCount) {
    CKeySetCodec::Encoded result{current, {}, {}};
    if (choices.item < 0 || static_cast<size_t>(choices.item) >= macroCount) {
        return result;
    }
    const auto macro = static_cast<uint8_t>(choices.item);
    if (choices.macroMode != kMacroRepeatCountMode) {
        result.code = {FunctionType::kMacro, macro, LowByte(std::max(choices.macroMode, 0))};
        return result;
    }
    const int count = CKeySetCodec::EditNumber(choices.macroCycleText);
    const int clamped = std::clamp(count, 1, 255);
    if (clamped != count) {
        result.macroCycleText = std::to_string(clamped);
    }
    result.code = {FunctionType::kMacroRepeated, macro, LowByte(clamped)};
    return result;
}

KeyFunctionCode OrCurrent(std::optional<KeyFunctionCode> code, const KeyFunctionCode& current) {
    return code.value_or(current);
}

// Rows 8-112: the keyboard keys that are not modifiers.
std::string_view KeyNameOfUsage(uint8_t usage) {
    for (size_t i = kModifierKeyCount; i < kKeyboardKeyCount; ++i) {
        if (KeyNameTable[i].code.param2 == usage) {
            return KeyNameTable[i].nameKey;
        }
    }
    return {};
}

void DecodeKeyboard(CKeySetCodec::Decoded& result) {
    KeySetChoices& choices = result.choices;
    KeyFunctionCode& code = result.code;
    if (code.param1 > 0x80) {
        choices.category = FunctionCategory::kCombination;
        choices.item = TableItem<KeyFunctionCode>(CombinationTable, code);
        return;
    }
    choices.category = FunctionCategory::kKeyboard;
    if (code.param1 == 0) {
        const auto found = std::find_if(KeyNameTable.begin(), KeyNameTable.end(), [&](const KeyNameEntry& e) {
            return e.code.param1 == 0 && e.code.param2 == code.param2;
        });
        if (found == KeyNameTable.end()) {
            choices.modifierButton = 0;
            code.param2 = 0;
            return;
        }
        choices.keyNameKey = std::string(found->nameKey);
        return;
    }
    choices.modifierButton = 0;
    for (size_t row = 0; row < kModifierKeyCount; ++row) {
        if (KeyNameTable[row].code.param1 == code.param1) {
            choices.modifierButton = CKeySetCodec::ModifierButtonOfRow(row);
        }
    }
    if (choices.modifierButton == 0) {
        code.param1 = 0;
    }
    choices.keyNameKey = std::string(KeyNameOfUsage(code.param2));
}

void DecodeMacro(CKeySetCodec::Decoded& result, size_t macroCount) {
    KeySetChoices& choices = result.choices;
    const KeyFunctionCode& code = result.code;
    choices.category = FunctionCategory::kMacro;
    const bool known = code.param1 < macroCount;
    choices.item = known ? code.param1 : -1;
    if (code.type == FunctionType::kMacroRepeated) {
        choices.macroMode = kMacroRepeatCountMode;
        choices.macroCycleVisible = true;
        choices.macroCycleText = std::to_string(code.param2);
        return;
    }
    choices.macroMode = known && code.param2 < kMacroModeCount ? code.param2 : -1;
}

void DecodeMovement(CKeySetCodec::Decoded& result, bool wheel) {
    KeySetChoices& choices = result.choices;
    const KeyFunctionCode& code = result.code;
    choices.category = wheel ? FunctionCategory::kMouseWheel : FunctionCategory::kMouseSwing;
    choices.delayText = std::to_string(code.param1 >> 4);
    choices.speedText = std::to_string(code.param1 & 0x0F);
    choices.direction = code.param2 >> 7;
    const int count = code.param2 & 0x7F;
    choices.countText = std::to_string(wheel && choices.direction == 1 ? 128 - count : count);
}

}  // namespace

uint8_t CKeySetCodec::ModifierBitsOfButton(int button) {
    if (button < 1 || button > 4) {
        return 0;
    }
    return static_cast<uint8_t>(1 << (button - 1));
}

int CKeySetCodec::EditNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), INT_MAX);
    }
    return static_cast<int>(negative ? -value : value);
}

CKeySetCodec::Encoded CKeySetCodec::Encode(const KeySetChoices& choices, const KeyFunctionCode& current,
                                           const KeyFunctionCode& fallback, size_t macroCount) {
    switch (choices.category) {
        case FunctionCategory::kMouseButton:
            return {OrCurrent(TableCode<NamedCode>(MouseKeyTable, choices.item), current), {}, {}};
        case FunctionCategory::kDpi:
            return {OrCurrent(TableCode<NamedCode>(DpiTable, choices.item), current), {}, {}};
        case FunctionCategory::kMedia:
            return {OrCurrent(TableCode<NamedCode>(MediaTable, choices.item), current), {}, {}};
        case FunctionCategory::kSystem:
            return {OrCurrent(TableCode<NamedCode>(SystemTable, choices.item), current), {}, {}};
        case FunctionCategory::kCombination:
            return {OrCurrent(TableCode<KeyFunctionCode>(CombinationTable, choices.item), current), {}, {}};
        case FunctionCategory::kMouseSwing: {
            const int count = EditNumber(choices.countText) & 0x7F;
            const int direction = choices.direction == 1 ? 1 : 0;
            return {{FunctionType::kMouseSwing, Nibbles(choices), LowByte(direction << 7 | count)}, {}, {}};
        }
        case FunctionCategory::kMouseWheel:
            return EncodeWheel(choices);
        case FunctionCategory::kFire:
            return {{FunctionType::kFireKey, LowByte(EditNumber(choices.intervalText)),
                     LowByte(EditNumber(choices.countText))},
                    {},
                    {}};
        case FunctionCategory::kKeyboard: {
            const uint8_t usage = choices.keyNameKey.empty() ? 0 : current.param2;
            return {
                {FunctionType::kKeyboardKey, ModifierBitsOfButton(choices.modifierButton), usage}, {}, {}};
        }
        case FunctionCategory::kMacro:
            return EncodeMacro(choices, current, macroCount);
        case FunctionCategory::kGunKey:
            if (choices.item < 0 || static_cast<size_t>(choices.item) >= GunNames.size()) {
                return {current, {}, {}};
            }
            return {{FunctionType::kGunKey, LowByte(choices.item), 0}, {}, {}};
        default:
            return {fallback, {}, {}};
    }
}

CKeySetCodec::Decoded CKeySetCodec::Decode(const KeyFunctionCode& code, const KeyFunctionCode& fallback,
                                           size_t macroCount) {
    Decoded result{{}, code};
    KeySetChoices& choices = result.choices;
    if (code == fallback) {
        choices.category = FunctionCategory::kDefault;
        return result;
    }
    switch (code.type) {
        case FunctionType::kNone:
            choices.category = FunctionCategory::kDefault;
            break;
        case FunctionType::kMouseButton:
            choices.category = FunctionCategory::kMouseButton;
            choices.item = TableItem<NamedCode>(MouseKeyTable, code);
            break;
        case FunctionType::kMouseSwing:
            DecodeMovement(result, false);
            break;
        case FunctionType::kMouseWheel:
            DecodeMovement(result, true);
            break;
        case FunctionType::kDpiStep:
            choices.category = FunctionCategory::kDpi;
            choices.item = TableItem<NamedCode>(DpiTable, code);
            break;
        case FunctionType::kFireKey:
            choices.category = FunctionCategory::kFire;
            choices.intervalText = std::to_string(code.param1);
            choices.countText = std::to_string(code.param2);
            break;
        case FunctionType::kKeyboardKey:
            DecodeKeyboard(result);
            break;
        case FunctionType::kConsumer:
            choices.category = FunctionCategory::kMedia;
            choices.item = TableItem<NamedCode>(MediaTable, code);
            break;
        case FunctionType::kSystem:
            choices.category = FunctionCategory::kSystem;
            choices.item = TableItem<NamedCode>(SystemTable, code);
            break;
        case FunctionType::kMacro:
        case FunctionType::kMacroRepeated:
            DecodeMacro(result, macroCount);
            break;
        case FunctionType::kGunKey:
            choices.category = FunctionCategory::kGunKey;
            choices.item = code.param1 < GunNames.size() ? code.param1 : -1;
            break;
        case FunctionType::kCombination:
            choices.category = FunctionCategory::kCombination;
            choices.item = TableItem<KeyFunctionCode>(CombinationTable, code);
            break;
        default:
            choices.category = FunctionCategory::kNone;
            break;
    }
    return result;
}

std::optional<CKeySetCodec::Captured> CKeySetCodec::Capture(uint8_t scanCode, bool extended,
                                                            int modifierButton) {
    const auto row = FindScanCode(scanCode, extended);
    if (!row || ScanCodeTable[*row].code.type != FunctionType::kKeyboardKey) {
        return std::nullopt;
    }
    if (*row < kModifierKeyCount) {
        const int button = ModifierButtonOfRow(*row);
        return Captured{button, "", {FunctionType::kKeyboardKey, ModifierBitsOfButton(button), 0}};
    }
    const int button = modifierButton < 0 ? 0 : modifierButton;
    const uint8_t usage = ScanCodeTable[*row].code.param2;
    return Captured{button,
                    std::string(KeyNameTable[*row].nameKey),
                    {FunctionType::kKeyboardKey, ModifierBitsOfButton(button), usage}};
}
