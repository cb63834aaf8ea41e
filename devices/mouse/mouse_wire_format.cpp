#include "devices/mouse/mouse_wire_format.h"

#include <algorithm>
#include <cstring>

namespace mousewire {

InfoBlock DecodeInfoBlock(std::span<const uint8_t, sizeof(InfoBlock)> bytes) {
    InfoBlock info;
    std::memcpy(&info, bytes.data(), sizeof(info));
    return info;
}

std::array<uint8_t, kParameterWriteLength> EncodeParameters(const MouseParameters& parameters,
                                                            bool wireless) {
    ParameterRecord record{};
    record.activeProfile = parameters.activeProfile;
    record.lightMode = parameters.lightMode < kLightModeCount ? parameters.lightMode : 0;
    record.lightBrightness = parameters.lightBrightness;
    const uint8_t speedIndex = std::min(parameters.lightSpeedIndex, kHighestSpeedIndex);
    record.lightSpeed = wireless ? speedIndex : static_cast<uint8_t>(kHighestSpeedIndex - speedIndex);
    record.lightFx = parameters.lightFx;
    record.lightMulticolour = parameters.lightMulticolour;
    record.lightRed = parameters.lightRed;
    record.lightGreen = parameters.lightGreen;
    record.lightBlue = parameters.lightBlue;
    record.lightByte8 = parameters.lightByte8;
    record.pollingRate = parameters.pollingRate;
    record.activeStage = parameters.activeStage;
    for (size_t stage = 0; stage < kStageCount; ++stage) {
        const StageParameters& source = parameters.stages[stage];
        if (stage < 4) {
            record.stagePositions1to4[stage] = source.position;
        } else {
            record.stagePositions5to7[stage - 4] = source.position;
        }
        record.stageColours[stage][0] = source.red;
        record.stageColours[stage][1] = source.green;
        record.stageColours[stage][2] = source.blue;
    }
    record.logoMode = parameters.logoMode;
    record.ast = parameters.ast;

    std::array<uint8_t, kParameterWriteLength> bytes{};
    std::memcpy(bytes.data(), &record, sizeof(record));
    return bytes;
}

MouseParameters DecodeParameters(std::span<const uint8_t, kParameterReadLength> bytes) {
    ParameterRecord record;
    std::memcpy(&record, bytes.data(), sizeof(record));

    MouseParameters parameters;
    parameters.activeProfile = record.activeProfile;
    parameters.lightMode = record.lightMode;
    parameters.lightBrightness = record.lightBrightness;
    parameters.lightSpeedIndex = record.lightSpeed <= kHighestSpeedIndex
                                     ? static_cast<uint8_t>(kHighestSpeedIndex - record.lightSpeed)
                                     : 0;
    parameters.lightFx = record.lightFx;
    parameters.lightMulticolour = record.lightMulticolour;
    parameters.lightRed = record.lightRed;
    parameters.lightGreen = record.lightGreen;
    parameters.lightBlue = record.lightBlue;
    parameters.lightByte8 = record.lightByte8;
    parameters.pollingRate = record.pollingRate;
    parameters.activeStage = record.activeStage;
    for (size_t stage = 0; stage < kStageCount; ++stage) {
        StageParameters& target = parameters.stages[stage];
        target.position = stage < 4 ? record.stagePositions1to4[stage] : record.stagePositions5to7[stage - 4];
        target.red = record.stageColours[stage][0];
        target.green = record.stageColours[stage][1];
        target.blue = record.stageColours[stage][2];
    }
    parameters.logoMode = record.logoMode;
    parameters.ast = record.ast;
    return parameters;
}

const std::array<HostButton, kHostButtonCount>& HostButtons() {
    static const std::array<HostButton, kHostButtonCount> buttons{{
        {{0x10, 0x01, 0x00}, "mouse_key_left"},
        {{0x10, 0x02, 0x00}, "mouse_key_right"},
        {{0x10, 0x04, 0x00}, "mouse_key_middle"},
        {{0x10, 0x10, 0x00}, "mouse_key_forward"},
        {{0x10, 0x08, 0x00}, "mouse_key_back"},
        {{0x13, 0x01, 0x00}, "mouse_key_DPI_add"},
        {{0x13, 0x02, 0x00}, "mouse_key_DPI_sub"},
        {{0x13, 0x03, 0x00}, "mouse_key_DPI_loop"},
        {{0xA0, 0x1B, 0x00}, "keyboard_key_GM"},
        {{0x16, 0x90, 0x01}, "mouse_key_M8_key"},
    }};
    return buttons;
}

ButtonMap BuildButtonMap(std::span<const uint8_t> keyTable) {
    ButtonMap map;
    map.fill(kUnmappedButton);
    // Position 126 would read as "unmapped", so the search stops below it.
    const size_t positions = std::min(keyTable.size() / 3, size_t{kUnmappedButton});
    for (size_t button = 0; button < kHostButtonCount; ++button) {
        const FunctionCode& code = HostButtons()[button].factoryCode;
        for (size_t position = 0; position < positions; ++position) {
            if (std::equal(code.begin(), code.end(), keyTable.begin() + position * 3)) {
                map[button] = static_cast<uint8_t>(position);
                break;
            }
        }
    }
    return map;
}

ButtonMap MapAssignedButtons(std::span<const uint8_t> keyTable, std::span<const FunctionCode> assignments) {
    ButtonMap map;
    map.fill(kUnmappedButton);
    const size_t positions = std::min(keyTable.size() / 3, size_t{kUnmappedButton});
    const auto claim = [&](size_t button, const FunctionCode& code) {
        for (size_t position = 0; position < positions; ++position) {
            const bool taken = std::find(map.begin(), map.end(), position) != map.end();
            if (!taken &&
                std::equal(code.begin(), code.end(), keyTable.begin() + static_cast<long>(position * 3))) {
                map[button] = static_cast<uint8_t>(position);
                return;
            }
        }
    };
    const auto changed = [&](size_t button) {
        return button < assignments.size() && assignments[button] != HostButtons()[button].factoryCode;
    };
    for (size_t button = 0; button < map.size(); ++button) {
        if (changed(button)) {
            claim(button, assignments[button]);
        }
    }
    for (size_t button = 0; button < map.size(); ++button) {
        if (!changed(button)) {
            claim(button, HostButtons()[button].factoryCode);
        }
    }
    return map;
}

std::vector<uint8_t> PatchKeyTable(std::span<const uint8_t> firmwareTable, const ButtonMap& map,
                                   std::span<const FunctionCode> assignments) {
    std::vector<uint8_t> table(firmwareTable.begin(), firmwareTable.end());
    for (size_t button = 0; button < map.size() && button < assignments.size(); ++button) {
        const size_t offset = size_t{map[button]} * 3;
        if (map[button] == kUnmappedButton || offset + 3 > table.size()) {
            continue;
        }
        std::copy(assignments[button].begin(), assignments[button].end(), table.begin() + offset);
    }
    return table;
}

size_t MacroOverflowEvents(size_t imageBytes, size_t capacityBytes) {
    if (imageBytes <= capacityBytes) {
        return 0;
    }
    return (imageBytes - capacityBytes) / kMacroEventBytes + 1;
}

}  // namespace mousewire
