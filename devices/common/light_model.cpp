#include "devices/common/light_model.h"

#include "devices/common/key_set_codec.h"

#include <algorithm>

namespace {

struct ModeRow {
    uint32_t modes;  // bit n: mode n
    LightParameterGroups groups;
};

template <typename... Modes>
constexpr uint32_t M(Modes... modes) {
    return ((uint32_t{1} << modes) | ...);
}

// clang-format off
//                       colour palette multi  direction brightness speed  sameMode custom
const ModeRow kModeRows[] = {
    {M(0, 6, 7, 10, 12, 14, 18),          {true,  true,  true,  true,  true,  true,  false, false}},
    {M(1),                                {false, false, false, false, true,  true,  true,  false}},
    {M(2, 17),                            {true,  true,  true,  false, true,  true,  true,  false}},
    {M(3),                                {true,  true,  false, false, true,  false, true,  false}},
    {M(4, 22, 23),                        {false, false, false, false, true,  true,  false, false}},
    {M(5, 9, 11, 15, 16, 19, 20, 21),     {true,  true,  true,  false, true,  true,  false, false}},
    {M(8),                                {true,  true,  false, false, true,  false, false, true}},
    {M(13),                               {false, false, false, true,  true,  true,  false, false}},
    {M(24),                               {false, false, false, false, false, false, true,  false}},
};

// The mouse's modes: 0 wave, 1 spectrum, 2 breathing, 3 flow, 4-6 static (all, wheel, logo),
// 7 blink, 8 reactive, 9 and 10 four-colour breathing and blink, 11 off. Same mode for all is
// offered where the mode has a synchronised effect: spectrum, breathing, static, blink, off.
const ModeRow kMouseModeRows[] = {
    {M(0, 3),                             {false, false, false, true,  true,  true,  false, false}},
    {M(1),                                {false, false, false, false, true,  true,  true,  false}},
    {M(2, 7),                             {true,  true,  true,  false, true,  true,  true,  false}},
    {M(4),                                {true,  true,  false, false, true,  false, true,  false}},
    {M(5, 6),                             {true,  true,  false, false, true,  false, false, false}},
    {M(8),                                {true,  true,  false, false, true,  true,  false, false}},
    {M(9, 10),                            {false, false, false, false, true,  true,  false, false}},
    {M(11),                               {false, false, false, false, false, false, true,  false}},
};
// clang-format on

constexpr int kKindKeyboard = 1;
constexpr int kKindMouse = 2;
constexpr int kKindWirelessMouse = 6;

template <size_t N>
LightParameterGroups FindGroups(const ModeRow (&rows)[N], uint8_t mode) {
    for (const ModeRow& row : rows) {
        if (mode < 32 && (row.modes >> mode & 1) != 0) {
            return row.groups;
        }
    }
    return {};
}

constexpr std::array<uint8_t, CLightModel::kBrightnessLevels> kIntensities{30, 80, 135, 195, 255};

}  // namespace

LightParameterGroups CLightModel::Groups(uint8_t mode) {
    return FindGroups(kModeRows, mode);
}

LightParameterGroups CLightModel::GroupsOfKind(int deviceKind, uint8_t mode) {
    if (deviceKind == kKindKeyboard) {
        return Groups(mode);
    }
    if (deviceKind == kKindMouse || deviceKind == kKindWirelessMouse) {
        return FindGroups(kMouseModeRows, mode);
    }
    return {true, true, true, true, true, true, true, false};
}

uint8_t CLightModel::Intensity(uint8_t level) {
    return kIntensities[std::min<size_t>(level, kIntensities.size() - 1)];
}

CLightModel::Component CLightModel::ColourComponent(const std::string& text) {
    const int value = std::clamp(CKeySetCodec::EditNumber(text), 0, 255);
    const std::string shown = std::to_string(value);
    if (shown == text) {
        return {static_cast<uint8_t>(value), std::nullopt};
    }
    return {static_cast<uint8_t>(value), shown};
}
