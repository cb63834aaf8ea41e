#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The mouse events that macros record, label and insert. The event code gives "Type" (bits 0-6)
// and "Action" (bit 7: "down"); the mask gives "Button" for rows 0-9. The two extra buttons
// share their messages; the mouse data tells them apart. Row 14 is not used by macros.
// Data only; any thread.
struct MouseEventEntry {
    uint16_t message;  // the mouse message, or the event type for the movement rows
    uint8_t functionType;
    uint8_t mask;
    uint8_t eventCode;
    std::string_view labelKey;
};

// clang-format off
inline constexpr auto MouseEventTable = std::to_array<MouseEventEntry>({
    {0x201, 0x10, 0x01, 0x81, "mouse_key_left"},
    {0x202, 0x10, 0x01, 0x01, "mouse_key_left"},
    {0x204, 0x10, 0x02, 0x81, "mouse_key_right"},
    {0x205, 0x10, 0x02, 0x01, "mouse_key_right"},
    {0x207, 0x10, 0x04, 0x81, "mouse_key_middle"},
    {0x208, 0x10, 0x04, 0x01, "mouse_key_middle"},
    {0x20B, 0x10, 0x10, 0x81, "mouse_key_forward"},
    {0x20C, 0x10, 0x10, 0x01, "mouse_key_forward"},
    {0x20B, 0x10, 0x08, 0x81, "mouse_key_back"},
    {0x20C, 0x10, 0x08, 0x01, "mouse_key_back"},
    {4,     0x15, 0x00, 0x84, "mouse_move_to_left_text"},
    {4,     0x15, 0x00, 0x04, "mouse_move_to_right_text"},
    {5,     0x15, 0x00, 0x85, "mouse_move_to_up_text"},
    {5,     0x15, 0x00, 0x05, "mouse_move_to_down_text"},
    {0x20A, 0x12, 0x00, 0x00, "mouse_cursor_text"},
});
// clang-format on
static_assert(MouseEventTable.size() == 15);
