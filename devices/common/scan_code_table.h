#pragma once

#include "devices/common/key_name_table.h"

#include <array>
#include <cstdint>
#include <optional>

// The keyboard keys as the input hook reports them: the first 113 rows of KeyNameTable (same
// order, virtual-key codes and function codes), each with its set-1 make code without the E0
// prefix and the extended flag that stands for that prefix. Used to recognise a captured key.
// Data only; any thread.
struct ScanCodeEntry {
    uint16_t virtualKey;
    KeyFunctionCode code;
    uint8_t scanCode;
    uint8_t extended;
};

namespace scan_code_rows {
consteval ScanCodeEntry Row(std::string_view nameKey, uint8_t scanCode, uint8_t extended) {
    const KeyNameEntry& key = KeyNameTable[*FindKeyName(nameKey)];
    return {key.virtualKey, key.code, scanCode, extended};
}
}  // namespace scan_code_rows

// Right Shift and Num Lock carry the extended flag although set 1 gives them no E0 prefix, and
// Pause (E1 1D 45 in set 1) is 0x45 without it, so Num Lock and Pause stay apart; K150 and K151
// are the one-byte codes F1 and F2 without their top bit. This is how the Windows hook reports
// those keys, and the Linux capture bridge produces the same pairs.
// clang-format off
inline constexpr auto ScanCodeTable = [] {
    using scan_code_rows::Row;
    return std::to_array<ScanCodeEntry>({
        Row("keyboard_key_LCtrl", 0x1D, 0),
        Row("keyboard_key_LShift", 0x2A, 0),
        Row("keyboard_key_LAlt", 0x38, 0),
        Row("keyboard_key_LWin", 0x5B, 1),
        Row("keyboard_key_RCtrl", 0x1D, 1),
        Row("keyboard_key_RShift", 0x36, 1),
        Row("keyboard_key_RAlt", 0x38, 1),
        Row("keyboard_key_RWin", 0x5C, 1),
        Row("keyboard_key_A", 0x1E, 0),
        Row("keyboard_key_B", 0x30, 0),
        Row("keyboard_key_C", 0x2E, 0),
        Row("keyboard_key_D", 0x20, 0),
        Row("keyboard_key_E", 0x12, 0),
        Row("keyboard_key_F", 0x21, 0),
        Row("keyboard_key_G", 0x22, 0),
        Row("keyboard_key_H", 0x23, 0),
        Row("keyboard_key_I", 0x17, 0),
        Row("keyboard_key_J", 0x24, 0),
        Row("keyboard_key_K", 0x25, 0),
        Row("keyboard_key_L", 0x26, 0),
        Row("keyboard_key_M", 0x32, 0),
        Row("keyboard_key_N", 0x31, 0),
        Row("keyboard_key_O", 0x18, 0),
        Row("keyboard_key_P", 0x19, 0),
        Row("keyboard_key_Q", 0x10, 0),
        Row("keyboard_key_R", 0x13, 0),
        Row("keyboard_key_S", 0x1F, 0),
        Row("keyboard_key_T", 0x14, 0),
        Row("keyboard_key_U", 0x16, 0),
        Row("keyboard_key_V", 0x2F, 0),
        Row("keyboard_key_W", 0x11, 0),
        Row("keyboard_key_X", 0x2D, 0),
        Row("keyboard_key_Y", 0x15, 0),
        Row("keyboard_key_Z", 0x2C, 0),
        Row("keyboard_key_1", 0x02, 0),
        Row("keyboard_key_2", 0x03, 0),
        Row("keyboard_key_3", 0x04, 0),
        Row("keyboard_key_4", 0x05, 0),
        Row("keyboard_key_5", 0x06, 0),
        Row("keyboard_key_6", 0x07, 0),
        Row("keyboard_key_7", 0x08, 0),
        Row("keyboard_key_8", 0x09, 0),
        Row("keyboard_key_9", 0x0A, 0),
        Row("keyboard_key_0", 0x0B, 0),
        Row("keyboard_key_Enter", 0x1C, 0),
        Row("keyboard_key_Esc", 0x01, 0),
        Row("keyboard_key_BackSpace", 0x0E, 0),
        Row("keyboard_key_Tab", 0x0F, 0),
        Row("keyboard_key_Space", 0x39, 0),
        Row("keyboard_key_-", 0x0C, 0),
        Row("keyboard_key_=", 0x0D, 0),
        Row("keyboard_key_[", 0x1A, 0),
        Row("keyboard_key_]", 0x1B, 0),
        Row("keyboard_key_xiegang", 0x2B, 0),
        Row("keyboard_key_;", 0x27, 0),
        Row("keyboard_key_'", 0x28, 0),
        Row("keyboard_key_`", 0x29, 0),
        Row("keyboard_key_<", 0x33, 0),
        Row("keyboard_key_.", 0x34, 0),
        Row("keyboard_key_/", 0x35, 0),
        Row("keyboard_key_Caplk", 0x3A, 0),
        Row("keyboard_key_F1", 0x3B, 0),
        Row("keyboard_key_F2", 0x3C, 0),
        Row("keyboard_key_F3", 0x3D, 0),
        Row("keyboard_key_F4", 0x3E, 0),
        Row("keyboard_key_F5", 0x3F, 0),
        Row("keyboard_key_F6", 0x40, 0),
        Row("keyboard_key_F7", 0x41, 0),
        Row("keyboard_key_F8", 0x42, 0),
        Row("keyboard_key_F9", 0x43, 0),
        Row("keyboard_key_F10", 0x44, 0),
        Row("keyboard_key_F11", 0x57, 0),
        Row("keyboard_key_F12", 0x58, 0),
        Row("keyboard_key_Print Scr", 0x37, 1),
        Row("keyboard_key_Scroll Lock", 0x46, 0),
        Row("keyboard_key_Pause", 0x45, 0),
        Row("keyboard_key_Insert", 0x52, 1),
        Row("keyboard_key_Home", 0x47, 1),
        Row("keyboard_key_Page Up", 0x49, 1),
        Row("keyboard_key_Delete", 0x53, 1),
        Row("keyboard_key_End", 0x4F, 1),
        Row("keyboard_key_Page Down", 0x51, 1),
        Row("keyboard_key_Right", 0x4D, 1),
        Row("keyboard_key_Left", 0x4B, 1),
        Row("keyboard_key_Down", 0x50, 1),
        Row("keyboard_key_Up", 0x48, 1),
        Row("keyboard_key_Num Lock", 0x45, 1),
        Row("keyboard_key_Num /", 0x35, 1),
        Row("keyboard_key_Num *", 0x37, 0),
        Row("keyboard_key_Num -", 0x4A, 0),
        Row("keyboard_key_Num +", 0x4E, 0),
        Row("keyboard_key_Num Enter", 0x1C, 1),
        Row("keyboard_key_Num 1", 0x4F, 0),
        Row("keyboard_key_Num 2", 0x50, 0),
        Row("keyboard_key_Num 3", 0x51, 0),
        Row("keyboard_key_Num 4", 0x4B, 0),
        Row("keyboard_key_Num 5", 0x4C, 0),
        Row("keyboard_key_Num 6", 0x4D, 0),
        Row("keyboard_key_Num 7", 0x47, 0),
        Row("keyboard_key_Num 8", 0x48, 0),
        Row("keyboard_key_Num 9", 0x49, 0),
        Row("keyboard_key_Num 0", 0x52, 0),
        Row("keyboard_key_Decimal", 0x53, 0),
        Row("keyboard_key_App", 0x5D, 1),
        Row("keyboard_key_K45", 0x56, 0),
        Row("keyboard_key_K56", 0x73, 0),
        Row("keyboard_key_K14", 0x7D, 0),
        Row("keyboard_key_K107", 0x7E, 0),
        Row("keyboard_key_K131", 0x7B, 0),
        Row("keyboard_key_K132", 0x79, 0),
        Row("keyboard_key_K133", 0x70, 0),
        Row("keyboard_key_K150", 0x71, 0),
        Row("keyboard_key_K151", 0x72, 0),
    });
}();
// clang-format on
static_assert(ScanCodeTable.size() == kKeyboardKeyCount);

// The row of a captured key; nullopt when the pair names no row.
constexpr std::optional<size_t> FindScanCode(uint8_t scanCode, bool extended) {
    for (size_t i = 0; i < ScanCodeTable.size(); ++i) {
        if (ScanCodeTable[i].scanCode == scanCode && (ScanCodeTable[i].extended != 0) == extended) {
            return i;
        }
    }
    return std::nullopt;
}
