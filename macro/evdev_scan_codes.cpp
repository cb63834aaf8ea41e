#include "macro/evdev_scan_codes.h"

#include <array>

namespace {

struct Row {
    uint16_t evdev;
    uint8_t scanCode;
    uint8_t extended;
};

// evdev codes 1-88 are the set-1 make codes themselves (Escape through F12), except the keys
// listed after them that set 1 gives an E0 prefix; the rest are the keys the hook knows beyond
// that block. Every code the keyboard page can assign is here.
// clang-format off
constexpr auto kRows = std::to_array<Row>({
    // 1-88: one row per code, the set-1 code is the evdev code (54 Right Shift and 69 Num Lock
    // are reported extended).
    {1, 0x01, 0}, {2, 0x02, 0}, {3, 0x03, 0}, {4, 0x04, 0}, {5, 0x05, 0}, {6, 0x06, 0},
    {7, 0x07, 0}, {8, 0x08, 0}, {9, 0x09, 0}, {10, 0x0A, 0}, {11, 0x0B, 0}, {12, 0x0C, 0},
    {13, 0x0D, 0}, {14, 0x0E, 0}, {15, 0x0F, 0}, {16, 0x10, 0}, {17, 0x11, 0}, {18, 0x12, 0},
    {19, 0x13, 0}, {20, 0x14, 0}, {21, 0x15, 0}, {22, 0x16, 0}, {23, 0x17, 0}, {24, 0x18, 0},
    {25, 0x19, 0}, {26, 0x1A, 0}, {27, 0x1B, 0}, {28, 0x1C, 0}, {29, 0x1D, 0}, {30, 0x1E, 0},
    {31, 0x1F, 0}, {32, 0x20, 0}, {33, 0x21, 0}, {34, 0x22, 0}, {35, 0x23, 0}, {36, 0x24, 0},
    {37, 0x25, 0}, {38, 0x26, 0}, {39, 0x27, 0}, {40, 0x28, 0}, {41, 0x29, 0}, {42, 0x2A, 0},
    {43, 0x2B, 0}, {44, 0x2C, 0}, {45, 0x2D, 0}, {46, 0x2E, 0}, {47, 0x2F, 0}, {48, 0x30, 0},
    {49, 0x31, 0}, {50, 0x32, 0}, {51, 0x33, 0}, {52, 0x34, 0}, {53, 0x35, 0}, {54, 0x36, 1},
    {55, 0x37, 0}, {56, 0x38, 0}, {57, 0x39, 0}, {58, 0x3A, 0}, {59, 0x3B, 0}, {60, 0x3C, 0},
    {61, 0x3D, 0}, {62, 0x3E, 0}, {63, 0x3F, 0}, {64, 0x40, 0}, {65, 0x41, 0}, {66, 0x42, 0},
    {67, 0x43, 0}, {68, 0x44, 0}, {69, 0x45, 1}, {70, 0x46, 0}, {71, 0x47, 0}, {72, 0x48, 0},
    {73, 0x49, 0}, {74, 0x4A, 0}, {75, 0x4B, 0}, {76, 0x4C, 0}, {77, 0x4D, 0}, {78, 0x4E, 0},
    {79, 0x4F, 0}, {80, 0x50, 0}, {81, 0x51, 0}, {82, 0x52, 0}, {83, 0x53, 0}, {86, 0x56, 0},
    {87, 0x57, 0}, {88, 0x58, 0},
    // International keys.
    {89, 0x73, 0},   // Ro
    {92, 0x79, 0},   // Henkan
    {93, 0x70, 0},   // Katakana / Hiragana
    {94, 0x7B, 0},   // Muhenkan
    {121, 0x7E, 0},  // keypad comma
    {122, 0x72, 0},  // Hangeul
    {123, 0x71, 0},  // Hanja
    {124, 0x7D, 0},  // Yen
    // Keys set 1 sends with E0.
    {96, 0x1C, 1},   // keypad Enter
    {97, 0x1D, 1},   // Right Ctrl
    {98, 0x35, 1},   // keypad /
    {99, 0x37, 1},   // Print Screen
    {100, 0x38, 1},  // Right Alt
    {102, 0x47, 1},  // Home
    {103, 0x48, 1},  // Up
    {104, 0x49, 1},  // Page Up
    {105, 0x4B, 1},  // Left
    {106, 0x4D, 1},  // Right
    {107, 0x4F, 1},  // End
    {108, 0x50, 1},  // Down
    {109, 0x51, 1},  // Page Down
    {110, 0x52, 1},  // Insert
    {111, 0x53, 1},  // Delete
    {119, 0x45, 0},  // Pause (E1 1D 45)
    {125, 0x5B, 1},  // Left Meta
    {126, 0x5C, 1},  // Right Meta
    {127, 0x5D, 1},  // Menu
});
// clang-format on

}  // namespace

std::optional<SetOneKey> CEvdevScanCodes::FromEvdev(uint16_t code) {
    for (const Row& row : kRows) {
        if (row.evdev == code) {
            return SetOneKey{row.scanCode, row.extended != 0};
        }
    }
    return std::nullopt;
}

std::optional<SetOneKey> CEvdevScanCodes::FromNative(uint32_t nativeScanCode) {
    if (nativeScanCode < kNativeOffset || nativeScanCode - kNativeOffset > UINT16_MAX) {
        return std::nullopt;
    }
    return FromEvdev(static_cast<uint16_t>(nativeScanCode - kNativeOffset));
}
