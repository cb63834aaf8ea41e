#pragma once

#include "device/light_animation.h"

#include <optional>

// The translation between each device kind's light mode codes and the synchronised effect types
// that "same mode for all devices" applies. Pure; any thread.
class CLightModeSync {
public:
    // The effect of a page's mode; nullopt for a mode that has no synchronised counterpart (the
    // synchronised type then stays as it was).
    static std::optional<SyncEffect> EffectOfMode(int deviceKind, int mode);
    // The mode a page of the kind takes for the effect; nullopt for a kind without lights.
    static std::optional<int> ModeOfEffect(int deviceKind, SyncEffect effect);
};
