#pragma once

#include "profile/profile_records.h"

#include <cstdint>

// KeyFunctionCode, the code itself, is a profile record (profile/profile_records.h).

// The code types the firmware understands.
namespace FunctionType {
inline constexpr uint8_t kNone = 0x00;
inline constexpr uint8_t kMouseButton = 0x10;
inline constexpr uint8_t kMouseSwing = 0x11;
inline constexpr uint8_t kMouseWheel = 0x12;
inline constexpr uint8_t kDpiStep = 0x13;
inline constexpr uint8_t kFireKey = 0x14;
inline constexpr uint8_t kDpiShift = 0x16;
inline constexpr uint8_t kKeyboardKey = 0x20;
inline constexpr uint8_t kShortcut = 0x22;
inline constexpr uint8_t kShowWindow = 0x23;
inline constexpr uint8_t kConsumer = 0x30;
inline constexpr uint8_t kSystem = 0x40;
inline constexpr uint8_t kMacro = 0x70;
inline constexpr uint8_t kMacroRepeated = 0x71;
inline constexpr uint8_t kGunKey = 0x72;
inline constexpr uint8_t kSpecialKey = 0xA0;
inline constexpr uint8_t kCombination = 0xB0;
inline constexpr uint8_t kMKey = 0xD0;
}  // namespace FunctionType

// A consumer-page usage travels little-endian in param1 (low byte) and param2 (high byte).
constexpr KeyFunctionCode ConsumerCode(uint16_t usage) {
    return {FunctionType::kConsumer, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)};
}
constexpr uint16_t ConsumerUsage(const KeyFunctionCode& code) {
    return static_cast<uint16_t>(code.param1 | code.param2 << 8);
}
