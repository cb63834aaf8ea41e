#pragma once

#include "devices/common/key_name_table.h"

#include <array>

// The default function of each of the keyboard's 126 host key positions, by position. Rows name
// their keys; a misspelt name does not compile. Data only; any thread.
inline constexpr size_t kKeyboardPositionCount = 126;

// clang-format off
inline constexpr auto DefaultKeyTable = std::to_array<KeyFunctionCode>({
    // 0-15
    KeyCode("keyboard_key_Esc"), KeyCode("keyboard_key_F1"), KeyCode("keyboard_key_F2"),
    KeyCode("keyboard_key_F3"), KeyCode("keyboard_key_F4"), KeyCode("keyboard_key_F5"),
    KeyCode("keyboard_key_F6"), KeyCode("keyboard_key_F7"), KeyCode("keyboard_key_F8"),
    KeyCode("keyboard_key_F9"), KeyCode("keyboard_key_F10"), KeyCode("keyboard_key_F11"),
    KeyCode("keyboard_key_F12"), KeyCode("keyboard_key_Print Scr"), KeyCode("keyboard_key_Scroll Lock"),
    KeyCode("keyboard_key_Pause"),
    // 16-20: GM, an unnamed special key, three positions without a key
    KeyCode("keyboard_key_GM"), {0xA0, 0x24, 0x00},
    {0x20, 0x00, 0x00}, {0x20, 0x00, 0x00}, {0x20, 0x00, 0x00},
    // 21-41
    KeyCode("keyboard_key_`"), KeyCode("keyboard_key_1"), KeyCode("keyboard_key_2"),
    KeyCode("keyboard_key_3"), KeyCode("keyboard_key_4"), KeyCode("keyboard_key_5"),
    KeyCode("keyboard_key_6"), KeyCode("keyboard_key_7"), KeyCode("keyboard_key_8"),
    KeyCode("keyboard_key_9"), KeyCode("keyboard_key_0"), KeyCode("keyboard_key_-"),
    KeyCode("keyboard_key_="), KeyCode("keyboard_key_BackSpace"), KeyCode("keyboard_key_Insert"),
    KeyCode("keyboard_key_Home"), KeyCode("keyboard_key_Page Up"), KeyCode("keyboard_key_Num Lock"),
    KeyCode("keyboard_key_Num /"), KeyCode("keyboard_key_Num *"), KeyCode("keyboard_key_Num -"),
    // 42-61
    KeyCode("keyboard_key_Tab"), KeyCode("keyboard_key_Q"), KeyCode("keyboard_key_W"),
    KeyCode("keyboard_key_E"), KeyCode("keyboard_key_R"), KeyCode("keyboard_key_T"),
    KeyCode("keyboard_key_Y"), KeyCode("keyboard_key_U"), KeyCode("keyboard_key_I"),
    KeyCode("keyboard_key_O"), KeyCode("keyboard_key_P"), KeyCode("keyboard_key_["),
    KeyCode("keyboard_key_]"), KeyCode("keyboard_key_xiegang"), KeyCode("keyboard_key_Delete"),
    KeyCode("keyboard_key_End"), KeyCode("keyboard_key_Page Down"), KeyCode("keyboard_key_Num 7"),
    KeyCode("keyboard_key_Num 8"), KeyCode("keyboard_key_Num 9"),
    // 62: no key
    {0x20, 0x00, 0x00},
    // 63-83
    KeyCode("keyboard_key_Caplk"), KeyCode("keyboard_key_A"), KeyCode("keyboard_key_S"),
    KeyCode("keyboard_key_D"), KeyCode("keyboard_key_F"), KeyCode("keyboard_key_G"),
    KeyCode("keyboard_key_H"), KeyCode("keyboard_key_J"), KeyCode("keyboard_key_K"),
    KeyCode("keyboard_key_L"), KeyCode("keyboard_key_;"), KeyCode("keyboard_key_'"),
    KeyCode("keyboard_key_Enter"), KeyCode("keyboard_key_Num 4"), KeyCode("keyboard_key_Num 5"),
    KeyCode("keyboard_key_Num 6"), KeyCode("keyboard_key_K132"), KeyCode("keyboard_key_K131"),
    KeyCode("keyboard_key_K151"), KeyCode("keyboard_key_K150"), KeyCode("keyboard_key_K133"),
    // 84-103
    KeyCode("keyboard_key_LShift"), KeyCode("keyboard_key_Z"), KeyCode("keyboard_key_X"),
    KeyCode("keyboard_key_C"), KeyCode("keyboard_key_V"), KeyCode("keyboard_key_B"),
    KeyCode("keyboard_key_N"), KeyCode("keyboard_key_M"), KeyCode("keyboard_key_<"),
    KeyCode("keyboard_key_."), KeyCode("keyboard_key_/"), KeyCode("keyboard_key_RShift"),
    KeyCode("keyboard_key_Up"), KeyCode("keyboard_key_Num 1"), KeyCode("keyboard_key_Num 2"),
    KeyCode("keyboard_key_Num 3"), KeyCode("keyboard_key_K56"), KeyCode("keyboard_key_K14"),
    KeyCode("keyboard_key_K45"), KeyCode("keyboard_key_K107"),
    // 104: no key
    {0x20, 0x00, 0x00},
    // 105-119
    KeyCode("keyboard_key_LCtrl"), KeyCode("keyboard_key_LWin"), KeyCode("keyboard_key_LAlt"),
    KeyCode("keyboard_key_Space"), KeyCode("keyboard_key_RAlt"), KeyCode("keyboard_key_FN"),
    KeyCode("keyboard_key_App"), KeyCode("keyboard_key_RCtrl"), KeyCode("keyboard_key_Left"),
    KeyCode("keyboard_key_Down"), KeyCode("keyboard_key_Right"), KeyCode("keyboard_key_Num 0"),
    KeyCode("keyboard_key_Decimal"), KeyCode("keyboard_key_Num Enter"), KeyCode("keyboard_key_Num +"),
    // 120-125
    KeyCode("keyboard_key_M1"), KeyCode("keyboard_key_M2"), KeyCode("keyboard_key_M3"),
    KeyCode("keyboard_key_M4"), KeyCode("keyboard_key_M5"), KeyCode("keyboard_key_RWin"),
});
// clang-format on
static_assert(DefaultKeyTable.size() == kKeyboardPositionCount);
