#pragma once

#include <cstddef>
#include <cstdint>

// The limits of macros.
namespace macro_limits {
inline constexpr size_t kMacrosPerList = 50;     // an add with 50 present does nothing
inline constexpr size_t kRecordedEvents = 2000;  // the recorder adds no row beyond this
inline constexpr uint32_t kMaxDelayMs = 65535;   // recorded delays above 65534 become 65535
inline constexpr size_t kDelayDigits = 6;        // the delay field's length
inline constexpr uint8_t kMinDistance = 1;       // movement distance
inline constexpr uint8_t kMaxDistance = 255;
inline constexpr uint32_t kDefaultFixedDelayMs = 50;
}  // namespace macro_limits
