#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The mouse's wire format: every record that crosses the command channel, as explicit byte
// layouts, with pure encoders and decoders. CMouseFirmware carries these records in its command
// sequences; nothing here sends anything, so the whole file is testable without a device.
//
// Multi-byte values on the wire are little-endian. Thread safety: all functions are pure.

namespace mousewire {

// Memory layout of the mouse: each profile's parameter record lives at index x 128, and the
// host always works on profile 0.
inline constexpr uint16_t kProfileStride = 128;
inline constexpr size_t kParameterReadLength = 49;
inline constexpr size_t kParameterWriteLength = 86;  // the record followed by zeros
inline constexpr size_t kKeyTableCapacity = 512;     // the channel's largest block
inline constexpr size_t kStageCount = 7;
inline constexpr size_t kHostButtonCount = 10;
inline constexpr uint8_t kUnmappedButton = 126;  // a host button with no firmware position
inline constexpr uint8_t kLightModeCount = 12;   // modes 0..11 reach the firmware
inline constexpr uint8_t kHighestSpeedIndex = 4;
inline constexpr size_t kMacroUnitBytes = 128;  // info byte 6 counts macro memory in these
inline constexpr size_t kMacroEventBytes = 4;
// The shoot memory of these mice: room for four guns of 180 events (a 2920-byte image) and more.
inline constexpr size_t kShootMemoryBytes = 4096;

// The 32-byte device info block of command 0x03. Bytes the mouse does not use are kept as read.
struct InfoBlock {
    uint8_t unknown_0[5];
    uint8_t keyCount;    // firmware key positions
    uint8_t macroUnits;  // macro memory size in units of 128 bytes
    uint8_t unknown_7[2];
    uint8_t sensorIdLow;  // 0x3389, 0x3360, 0x3327 or 0x3325
    uint8_t sensorIdHigh;
    uint8_t dpiStep;  // DPI per slider step
    uint8_t highestPosition;
    uint8_t lowestDpi;  // DPI of slider position 0
    uint8_t unknown_14[18];

    uint16_t SensorId() const { return static_cast<uint16_t>(sensorIdLow | sensorIdHigh << 8); }
    size_t KeyTableBytes() const { return size_t{keyCount} * 3; }
    size_t MacroCapacity() const { return size_t{macroUnits} * kMacroUnitBytes; }
};
static_assert(sizeof(InfoBlock) == 32);
static_assert(offsetof(InfoBlock, keyCount) == 5);
static_assert(offsetof(InfoBlock, sensorIdLow) == 9);
static_assert(offsetof(InfoBlock, lowestDpi) == 13);

InfoBlock DecodeInfoBlock(std::span<const uint8_t, sizeof(InfoBlock)> bytes);

// The parameter record at profile index x 128: read as 49 bytes, written as 86.
struct ParameterRecord {
    uint8_t activeProfile;  // written as the caller's first byte (0)
    uint8_t lightMode;      // 0..11
    uint8_t lightBrightness;
    uint8_t lightSpeed;  // 4 - speed index; the speed index itself behind a wireless receiver
    uint8_t lightFx;     // the light record's effect flag
    uint8_t lightMulticolour;
    uint8_t lightRed;
    uint8_t lightGreen;
    uint8_t lightBlue;
    uint8_t lightByte8;  // the light record's byte after blue
    uint8_t zero_10[4];
    uint8_t pollingRate;
    uint8_t stagePositions1to4[4];
    uint8_t activeStage;
    uint8_t stagePositions5to7[3];
    uint8_t zero_23;
    uint8_t stageColours[kStageCount][3];  // red, green, blue; stage 1 first
    uint8_t zero_45;
    uint8_t logoMode;
    uint8_t zero_47;
    uint8_t ast;
};
static_assert(sizeof(ParameterRecord) == kParameterReadLength);
static_assert(offsetof(ParameterRecord, pollingRate) == 14);
static_assert(offsetof(ParameterRecord, activeStage) == 19);
static_assert(offsetof(ParameterRecord, stagePositions5to7) == 20);
static_assert(offsetof(ParameterRecord, stageColours) == 24);
static_assert(offsetof(ParameterRecord, logoMode) == 46);
static_assert(offsetof(ParameterRecord, ast) == 48);

// What the parameter record says, in host terms.
struct StageParameters {
    uint8_t position = 0;  // DPI slider position
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const StageParameters&) const = default;
};

struct MouseParameters {
    uint8_t activeProfile = 0;
    uint8_t lightMode = 0;
    uint8_t lightBrightness = 0;
    uint8_t lightSpeedIndex = 0;  // 0..4
    uint8_t lightFx = 0;
    uint8_t lightMulticolour = 0;
    uint8_t lightRed = 0;
    uint8_t lightGreen = 0;
    uint8_t lightBlue = 0;
    uint8_t lightByte8 = 0;
    uint8_t pollingRate = 0;
    uint8_t activeStage = 0;
    std::array<StageParameters, kStageCount> stages{};
    uint8_t logoMode = 0;
    uint8_t ast = 0;
    bool operator==(const MouseParameters&) const = default;
};

// The 86 bytes that command 0x06 writes. A light mode of 12 or more (a custom effect the firmware
// does not know) goes out as 0; a speed index above 4 goes out as 4 so the byte cannot wrap.
std::array<uint8_t, kParameterWriteLength> EncodeParameters(const MouseParameters& parameters, bool wireless);

// The 49 bytes that command 0x05 read. A speed byte above 4 reads as speed index 0.
MouseParameters DecodeParameters(std::span<const uint8_t, kParameterReadLength> bytes);

// A 3-byte function code as the firmware key table holds it.
using FunctionCode = std::array<uint8_t, 3>;

struct HostButton {
    FunctionCode factoryCode;
    const char* nameTextId;  // language text that names the button
};

// Host buttons 0..9 by their factory codes, in host order.
const std::array<HostButton, kHostButtonCount>& HostButtons();

// Host button -> firmware key position, or kUnmappedButton.
using ButtonMap = std::array<uint8_t, kHostButtonCount>;

// Each host button maps to the first position of the firmware key table (key count x 3 bytes)
// that holds its factory code; a code found nowhere leaves the button unmapped.
ButtonMap BuildButtonMap(std::span<const uint8_t> keyTable);

// A button given another function no longer shows its factory code in the table the next time
// it is read, and its code may be another button's factory code. With the functions the profile
// says each button was given, the buttons that were given another function take the first free
// position holding that function first, then the others their factory code's first free
// position; a button found nowhere stays unmapped.
ButtonMap MapAssignedButtons(std::span<const uint8_t> keyTable, std::span<const FunctionCode> assignments);

// The key table to write: the firmware table read at connection with every mapped host button's
// position replaced by its assigned code. Buttons beyond the assignment list keep the table's code.
std::vector<uint8_t> PatchKeyTable(std::span<const uint8_t> firmwareTable, const ButtonMap& map,
                                   std::span<const FunctionCode> assignments);

// How many 4-byte events must go before an image of this size fits the capacity, or 0 when it
// fits already.
size_t MacroOverflowEvents(size_t imageBytes, size_t capacityBytes);

}  // namespace mousewire
