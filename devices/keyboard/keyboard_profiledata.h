#pragma once

#include "profile/basic_profiledata.h"

#include <cstdint>
#include <vector>

// The keyboard's system settings, six unsigned 16-bit values (12 bytes). In memory they are the
// three 32-bit words of the keyboard profile: Repeat | RepeatDelay << 16, Key6Flag |
// PollingRate << 16, WFlag | WinFlag << 16.
struct KeyboardSystemStages {
    uint16_t repeat = 0;       // "Repeat": key repeat rate (slider value)
    uint16_t repeatDelay = 0;  // "RepeatDelay": index 0-3
    uint16_t key6Flag = 0;     // "Key6Flag": six-key mode 0 / 1
    uint16_t pollingRate = 0;  // "PollingRate": index 0-3
    uint16_t wFlag = 0;        // "WFlag": 0 / 1
    uint16_t winFlag = 0;      // "WinFlag": Windows-key lock 0 / 1

    bool operator==(const KeyboardSystemStages&) const = default;
};
static_assert(sizeof(KeyboardSystemStages) == 12);

// One LED's colour of a custom colour group (4 bytes).
struct LedColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 0;

    bool operator==(const LedColor&) const = default;
};
static_assert(sizeof(LedColor) == 4);

// The keyboard's profile data: the base sections plus "SystemStages" and the custom per-key
// colour groups of "CustomLightMode" ("LightColorInfo"[group][led], "CustomLightModeGroupIndex").
//
// Contract: as CBasicProfiledata's. Every operation changes the device section in memory only;
// the caller saves the profile. Readers never fail and store what they read. UI thread only.
class CKeyboardProfiledata : public CBasicProfiledata {
public:
    // All six 0 when the section or "SystemStages" is missing; each member cut to 16 bits.
    KeyboardSystemStages GetSystemSettings();
    void SetSystemSettings(const KeyboardSystemStages& settings);

    // The group's first `count` colours. Missing entries (or the whole group) are created in
    // memory as zero objects and read as black with alpha 0; saving then writes them.
    std::vector<LedColor> GetGroupColors(int group, int count);
    // Writes entry i of the group for every colour given; stored entries beyond stay.
    void SetGroupColors(const std::vector<LedColor>& colors, int group);

    // 0 when "CustomLightModeGroupIndex" is missing.
    int GetGroupIndex();
    void SetGroupIndex(int group);

    // The lighting panel's per-key colour operations (light mode 8). `leds` is the page's LED
    // array; `selectedGroup` is the item selected in "light_combo_custommodeSelect", -1 for none.
    // Each returns whether the device section changed, i.e. whether the caller saves the profile.

    // Makes `group` the selected group and loads its colours (ledCount of them) into `leds`.
    bool SelectCustomGroup(int group, int ledCount, std::vector<LedColor>& leds);
    // Gives every LED of the keyboard (126) the colour, alpha unchanged, and stores the LEDs as
    // the selected group when there is one.
    bool FillCustomGroup(std::vector<LedColor>& leds, uint8_t red, uint8_t green, uint8_t blue,
                         int selectedGroup);
    // Gives one LED the colour and stores the LEDs as the selected group when there is one. A
    // position outside 0-125 changes nothing.
    bool SetCustomGroupLed(std::vector<LedColor>& leds, int position, uint8_t red, uint8_t green,
                           uint8_t blue, int selectedGroup);

private:
    // "CustomLightMode"["LightColorInfo"][group], created as needed; nullptr for a
    // group number outside 0-255.
    Json::Value* GroupArray(int group);

    KeyboardSystemStages systemSettings_;
    std::vector<LedColor> groupColors_;
    int32_t groupIndex_ = 0;
};
