#pragma once

#include "devices/common/key_function_code.h"

#include <array>
#include <string_view>

// The function tables of the key-set panel (row index = item index of the panel's combo box) with
// the language keys that name each code, and the other name tables of assigned codes.
// Data only; any thread.
struct NamedCode {
    KeyFunctionCode code;
    std::string_view nameKey;
};

// "keyset_mousekey_combo"
inline constexpr auto MouseKeyTable = std::to_array<NamedCode>({
    {{0x10, 0x01, 0x00}, "mouse_key_left"},
    {{0x10, 0x04, 0x00}, "mouse_key_middle"},
    {{0x10, 0x02, 0x00}, "mouse_key_right"},
    {{0x10, 0x10, 0x00}, "mouse_key_forward"},
    {{0x10, 0x08, 0x00}, "mouse_key_back"},
});
static_assert(MouseKeyTable.size() == 5);

// "keyset_mousedpi_combo"
inline constexpr auto DpiTable = std::to_array<NamedCode>({
    {{0x13, 0x01, 0x00}, "mouse_key_DPI_add"},
    {{0x13, 0x02, 0x00}, "mouse_key_DPI_sub"},
    {{0x13, 0x03, 0x00}, "mouse_key_DPI_loop"},
});
static_assert(DpiTable.size() == 3);

// "keyset_media_combo": consumer-page usages.
inline constexpr auto MediaTable = std::to_array<NamedCode>({
    {ConsumerCode(0x0183), "media_text"},
    {ConsumerCode(0x00CD), "media_play"},
    {ConsumerCode(0x00B7), "media_stop"},
    {ConsumerCode(0x00B6), "media_prev"},
    {ConsumerCode(0x00B5), "media_next"},
    {ConsumerCode(0x00EA), "media_vol_sub"},
    {ConsumerCode(0x00E9), "media_vol_add"},
    {ConsumerCode(0x00E2), "media_mute"},
    {ConsumerCode(0x0223), "web_text"},
    {ConsumerCode(0x0227), "web_refresh"},
    {ConsumerCode(0x0226), "wed_stop"},
    {ConsumerCode(0x0224), "wed_back"},
    {ConsumerCode(0x0225), "wed_forward"},
    {ConsumerCode(0x022A), "wed_favorite"},
    {ConsumerCode(0x0221), "web_search"},
    {ConsumerCode(0x0194), "media_mypc"},
    {ConsumerCode(0x0192), "media_calc"},
    {ConsumerCode(0x018A), "media_mail"},
});
static_assert(MediaTable.size() == 18);

// "keyset_system_combo"
inline constexpr auto SystemTable = std::to_array<NamedCode>({
    {{0x40, 0x01, 0x00}, "system_power"},
    {{0x40, 0x02, 0x00}, "system_sleep"},
    {{0x40, 0x04, 0x00}, "system_wake_up"},
});
static_assert(SystemTable.size() == 3);

// "keyset_combokey_combo": Ctrl with a key.
inline constexpr auto CombinationTable = std::to_array<KeyFunctionCode>({
    {0x20, 0x01, 0x12},  // O
    {0x20, 0x01, 0x11},  // N
    {0x20, 0x01, 0x1D},  // Z
    {0x20, 0x01, 0x16},  // S
    {0x20, 0x01, 0x06},  // C
    {0x20, 0x01, 0x1B},  // X
    {0x20, 0x01, 0x19},  // V
    {0x20, 0x01, 0x09},  // F
    {0x20, 0x01, 0x04},  // A
    {0x20, 0x01, 0x2D},  // -
    {0x20, 0x01, 0x2E},  // =
});
static_assert(CombinationTable.size() == 11);

// Swing by direction (param2 bit 7), wheel by direction.
inline constexpr std::array<std::string_view, 2> SwingNames{"mouse_key_left_Swing", "mouse_key_right_Swing"};
inline constexpr std::array<std::string_view, 2> WheelNames{"mouse_key_up_Swing", "mouse_key_down_Swing"};
inline constexpr std::string_view kFireKeyName = "mouse_key_fire_key";
inline constexpr std::string_view kOffName = "close_text";

// Editing shortcuts (type 0x22) by param2.
inline constexpr std::array<std::string_view, 9> ShortcutNames{
    "custem_cut",  "custem_copy", "custem_paste", "custem_undo", "custem_select_all",
    "custem_find", "custem_new",  "custem_save",  "custem_open",
};

// Gun keys (type 0x72) by gun index: the items of "keyset_gunkey_combo".
inline constexpr std::array<std::string_view, 4> GunNames{"gun_1_txt", "gun_2_txt", "gun_3_txt", "gun_4_txt"};

// The mouse's own function list. Its button rows name middle 0x02 and right 0x04, the opposite of
// MouseKeyTable; buttons are therefore always named from MouseKeyTable.
inline constexpr auto MouseFunctionTable = std::to_array<NamedCode>({
    {{0x10, 0x01, 0x00}, "mouse_key_left"},
    {{0x10, 0x02, 0x00}, "mouse_key_middle"},
    {{0x10, 0x04, 0x00}, "mouse_key_right"},
    {{0x10, 0x10, 0x00}, "mouse_key_forward"},
    {{0x10, 0x08, 0x00}, "mouse_key_back"},
    {{0x14, 0x50, 0x02}, "mouse_key_fire_key"},
    {{0x20, 0x00, 0x00}, "mouse_key_shortcut_key"},
    {{0x20, 0x80, 0x00}, "win_key_text"},
    {{0xA0, 0x02, 0x00}, "mouse_key_smart_key"},
    {{0xA0, 0x00, 0x00}, "close_text"},
    {{0x13, 0x03, 0x00}, "mouse_key_DPI_loop"},
    {{0x13, 0x01, 0x00}, "mouse_key_DPI_add"},
    {{0x13, 0x02, 0x00}, "mouse_key_DPI_sub"},
    {{0x16, 0x00, 0x00}, "mouse_key_DPI_shift"},
    {{0x23, 0x00, 0x00}, "show_window"},
});
static_assert(MouseFunctionTable.size() == 15);
