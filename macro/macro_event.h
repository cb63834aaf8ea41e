#pragma once

#include <json/value.h>

#include <array>
#include <cstdint>
#include <string>

// One macro event as a macro file keeps it (one element of "Events"):
//   "Action"  "down" for a press (or a movement to the left / up), anything else a release
//   "Button"  key usage, modifier mask, button mask or distance, by "Type"
//   "Type"    1 mouse button, 4 horizontal move, 5 vertical move, 9 modifier key, 10 other key
//   "Delay"   milliseconds to wait after the event, as decimal text
// and its 4-byte device encoding: delay low byte, delay high byte, Type | 0x80 for "down", Button.
// A plain value; any thread.
struct MacroEvent {
    static constexpr uint8_t kMouseButton = 1;
    static constexpr uint8_t kHorizontalMove = 4;
    static constexpr uint8_t kVerticalMove = 5;
    static constexpr uint8_t kModifierKey = 9;
    static constexpr uint8_t kOtherKey = 10;

    std::string action = "up";
    uint8_t button = 0;
    uint8_t type = 0;
    std::string delay = "0";

    bool operator==(const MacroEvent&) const = default;

    // Exactly "down": "DOWN" is a release.
    bool IsDown() const { return action == "down"; }

    // The delay's leading decimal digits (anything else reads 0), saturating at 2^32 - 1.
    uint32_t DelayMs() const;

    // The device encoding; the delay keeps its low 16 bits and the type its low 7.
    std::array<uint8_t, 4> Encode() const;

    // Reads one element of "Events"; members of the wrong type read as absent. An integer
    // "Delay" (a freshly recorded first event) reads as its decimal text.
    static MacroEvent FromJson(const Json::Value& value);

    // The element as a save writes it, "Delay" as "%d" text.
    Json::Value ToJson() const;
};
