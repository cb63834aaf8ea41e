// What the mouse sends back, as the mouse code takes it apart: the info block, the firmware key
// table and the parameter record, and the DPI scale the info block sets.
#include "devices/mouse/mouse_sensor.h"
#include "devices/mouse/mouse_wire_format.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::array<uint8_t, 32> raw{};
    std::copy_n(data, std::min(size, raw.size()), raw.begin());
    const mousewire::InfoBlock info = mousewire::DecodeInfoBlock(raw);
    const CMouseSensor sensor(info);
    for (int position = 0; position <= 255; ++position) {
        sensor.DpiToPosition(sensor.PositionToDpi(position));
    }

    const size_t table = std::min(info.KeyTableBytes(), size);
    const std::vector<uint8_t> keys(data, data + table);
    const mousewire::ButtonMap map = mousewire::BuildButtonMap(keys);
    mousewire::PatchKeyTable(keys, map, std::vector<mousewire::FunctionCode>(map.size(), {1, 2, 3}));

    std::array<uint8_t, mousewire::kParameterReadLength> record{};
    std::copy_n(data, std::min(size, record.size()), record.begin());
    mousewire::EncodeParameters(mousewire::DecodeParameters(record), size % 2 == 0);
    return 0;
}
