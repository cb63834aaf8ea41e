#include "devices/keyboard/keyboard_wire_format.h"

#include <algorithm>
#include <cstring>

namespace keyboardwire {

InfoBlock DecodeInfoBlock(std::span<const uint8_t, sizeof(InfoBlock)> bytes) {
    InfoBlock info{};
    std::memcpy(&info, bytes.data(), sizeof info);
    return info;
}

std::array<uint8_t, kRecordSize> EncodeRecord(const LightInfo& light, const KeyboardSystemStages& stages,
                                              uint8_t firstByte) {
    ProfileRecord record{};
    record.activeSlot = firstByte;
    record.lightMode = light.selectItem >= kLightModeLimit ? 0 : light.selectItem;
    record.brightness = light.light;
    record.inverseSpeed = static_cast<uint8_t>(kHighestSpeed - std::min(light.speed, kHighestSpeed));
    record.direction = light.fx;
    record.multiColour = light.multiColor;
    record.red = light.red;
    record.green = light.green;
    record.blue = light.blue;
    record.wFlag = static_cast<uint8_t>(stages.wFlag);
    record.key6Flag = static_cast<uint8_t>(stages.key6Flag);
    record.winFlag = static_cast<uint8_t>(stages.winFlag);
    record.pollingRate = static_cast<uint8_t>(stages.pollingRate);
    std::array<uint8_t, kRecordSize> bytes{};
    std::memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}

void DecodeRecord(std::span<const uint8_t, kRecordSize> bytes, LightInfo& light,
                  KeyboardSystemStages& stages) {
    ProfileRecord record{};
    std::memcpy(&record, bytes.data(), sizeof record);
    light.selectItem = record.lightMode;
    light.light = record.brightness;
    light.speed =
        record.inverseSpeed > kHighestSpeed ? 0 : static_cast<uint8_t>(kHighestSpeed - record.inverseSpeed);
    light.multiColor = record.multiColour;
    light.red = record.red;
    light.green = record.green;
    light.blue = record.blue;
    stages.key6Flag = record.key6Flag;
    stages.winFlag = record.winFlag;
    stages.wFlag = record.wFlag;
}

KeyMaps EmptyMaps() {
    KeyMaps maps;
    maps.keyCode.fill(kUnmapped);
    maps.lightOrder.fill(kUnmapped);
    return maps;
}

KeyMaps BuildKeyMaps(std::span<const uint8_t> keyTable, std::span<const uint8_t> lightOrder) {
    return MapAssignedKeys(keyTable, lightOrder, {});
}

KeyMaps MapAssignedKeys(std::span<const uint8_t> keyTable, std::span<const uint8_t> lightOrder,
                        std::span<const KeyAssignment> keys) {
    KeyMaps maps = EmptyMaps();
    const size_t count = std::min(keyTable.size() / 3, size_t{kUnmapped});
    std::vector<bool> claimed(count, false);
    const auto firstFree = [&](const KeyFunctionCode& code) -> uint8_t {
        for (size_t key = 0; key < count; ++key) {
            if (!claimed[key] && keyTable[3 * key] == code.type && keyTable[3 * key + 1] == code.param1 &&
                keyTable[3 * key + 2] == code.param2) {
                return static_cast<uint8_t>(key);
            }
        }
        return kUnmapped;
    };
    const auto assigned = [&keys](size_t position) {
        const KeyAssignment& key = keys[position];
        return KeyFunctionCode{key.code1, key.code2, key.code3};
    };
    const size_t listed = std::min(keys.size(), kKeyboardPositionCount);
    for (size_t position = 0; position < listed; ++position) {
        if (assigned(position) == DefaultKeyTable[position]) {
            continue;
        }
        maps.keyCode[position] = firstFree(assigned(position));
        if (maps.keyCode[position] != kUnmapped) {
            claimed[maps.keyCode[position]] = true;
        }
    }
    for (size_t position = 0; position < kKeyboardPositionCount; ++position) {
        if (position >= listed || assigned(position) == DefaultKeyTable[position]) {
            maps.keyCode[position] = firstFree(DefaultKeyTable[position]);
        }
    }
    for (size_t position = 0; position < kKeyboardPositionCount; ++position) {
        const uint8_t key = maps.keyCode[position];
        if (key != kUnmapped && key < lightOrder.size()) {
            maps.lightOrder[position] = lightOrder[key];
        }
    }
    return maps;
}

std::vector<uint8_t> PatchKeyTable(std::span<const uint8_t> firmwareTable, const PositionMap& keyCode,
                                   std::span<const KeyAssignment> keys) {
    std::vector<uint8_t> table(firmwareTable.begin(), firmwareTable.end());
    const size_t count = std::min(keys.size(), kKeyboardPositionCount);
    for (size_t position = 0; position < count; ++position) {
        const size_t at = size_t{keyCode[position]} * 3;
        if (keyCode[position] == kUnmapped || at + 3 > table.size()) {
            continue;
        }
        table[at] = keys[position].code1;
        table[at + 1] = keys[position].code2;
        table[at + 2] = keys[position].code3;
    }
    return table;
}

int PositionOfFirmwareKey(const PositionMap& keyCode, int firmwareKey) {
    if (firmwareKey < 0 || firmwareKey >= kUnmapped) {
        return -1;
    }
    const auto found = std::find(keyCode.begin(), keyCode.end(), static_cast<uint8_t>(firmwareKey));
    return found == keyCode.end() ? -1 : static_cast<int>(found - keyCode.begin());
}

}  // namespace keyboardwire
