#pragma once

#include <cstdint>
#include <vector>

// The report descriptor of interface 1 of the emulated mice, laid out as a gaming mouse of this
// family shows it beside its boot-mouse interface 0: four top-level collections, each with its
// own report id:
//
//   col01  keyboard          0x01 / 0x06    id 1: modifiers, reserved byte, 6 keys; LED output
//   col02  system control    0x01 / 0x80    id 2: power, sleep, wake up
//   col03  consumer control  0x0C / 0x01    id 3: one 16-bit usage (0x0401 announces a change
//                                           of settings made on the mouse itself)
//   col04  vendor commands   0xFF1C / 0x92  id 4: 63 bytes in, 63 bytes out

const std::vector<uint8_t>& MouseInterface1Descriptor();

inline constexpr uint8_t kConsumerReportId = 0x03;
inline constexpr uint16_t kSettingsChangedUsage = 0x0401;
