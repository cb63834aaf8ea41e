#include "devices/pad/pad_wire_format.h"

#include <algorithm>
#include <cstring>

namespace padwire {

PadRecord DecodeRecord(std::span<const uint8_t, kMemoryRecordSize> bytes) {
    PadRecord record{};
    std::memcpy(&record, bytes.data(), sizeof record);
    record.speed = record.speed > kHighestLevel ? 0 : static_cast<uint8_t>(kHighestLevel - record.speed);
    return record;
}

std::array<uint8_t, kRecordSize> EncodeRecord(const PadRecord& record) {
    PadRecord wire = record;
    wire.lightMode = record.lightMode >= kLightModeCount ? 0 : record.lightMode;
    wire.speed = static_cast<uint8_t>(kHighestLevel - std::min(record.speed, kHighestLevel));
    std::array<uint8_t, kRecordSize> bytes{};
    std::memcpy(bytes.data(), &wire, sizeof wire);
    return bytes;
}

void TakeLight(PadRecord& record, const LightInfo& light) {
    record.lightMode = light.selectItem;
    record.brightness = light.light;
    record.speed = light.speed;
    record.multiColour = light.multiColor;
    record.red = light.red;
    record.green = light.green;
    record.blue = light.blue;
}

LightInfo LightOf(const PadRecord& record, LightInfo light) {
    light.selectItem = record.lightMode;
    light.light = record.brightness;
    light.speed = record.speed;
    light.multiColor = record.multiColour;
    light.red = record.red;
    light.green = record.green;
    light.blue = record.blue;
    return light;
}

}  // namespace padwire
