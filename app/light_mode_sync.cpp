#include "app/light_mode_sync.h"

#include "device/device_tables.h"

#include <array>

namespace {

// Mode codes by kind column, in SyncEffect order: breathing, static, blink, colour cycle, off.
struct ModeColumn {
    std::array<int, 5> modes;
};

std::optional<ModeColumn> ColumnOf(int kind) {
    switch (kind) {
        case kKindKeyboard:
            return ModeColumn{{2, 3, 17, 1, 24}};
        case kKindMouse:
        case kKindWirelessMouse:
            return ModeColumn{{2, 4, 7, 1, 11}};
        case kKindMousePad:
        case kKindHeadset:
            return ModeColumn{{2, 3, 4, 1, 8}};
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<SyncEffect> CLightModeSync::EffectOfMode(int deviceKind, int mode) {
    const auto column = ColumnOf(deviceKind);
    if (!column)
        return std::nullopt;
    for (size_t i = 0; i < column->modes.size(); ++i) {
        if (column->modes[i] == mode)
            return static_cast<SyncEffect>(i);
    }
    return std::nullopt;
}

std::optional<int> CLightModeSync::ModeOfEffect(int deviceKind, SyncEffect effect) {
    const auto column = ColumnOf(deviceKind);
    if (!column)
        return std::nullopt;
    return column->modes[static_cast<size_t>(effect)];
}
