#pragma once

#include <cstdint>
#include <optional>

// The keys of the desktop as the input hook reports them: a Linux input (evdev) key code turned
// into the PC set-1 make code without its E0 prefix and the extended flag that stands for the
// prefix, the pair ScanCodeTable holds. X11 and Wayland give a key event's native scan code as
// the evdev code + 8. Right Shift and Num Lock carry the extended flag and Pause is 0x45 without
// it, as the Windows hook reports them, so that Num Lock and Pause stay apart.
//
// Pure; any thread.
struct SetOneKey {
    uint8_t scanCode;
    bool extended;

    bool operator==(const SetOneKey&) const = default;
};

class CEvdevScanCodes {
public:
    static constexpr uint32_t kNativeOffset = 8;

    // nullopt for a key the table does not hold.
    static std::optional<SetOneKey> FromEvdev(uint16_t code);
    // From a key event's native scan code (evdev + 8).
    static std::optional<SetOneKey> FromNative(uint32_t nativeScanCode);
};
