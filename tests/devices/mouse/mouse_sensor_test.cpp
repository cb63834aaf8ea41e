#include "devices/mouse/mouse_sensor.h"

#include <gtest/gtest.h>

TEST(MouseSensor, PositionsAndDpiConvertBothWays) {
    struct Case {
        uint16_t sensor;
        uint8_t step, lowest;
        int position, dpi;
    };
    const Case cases[] = {
        {0x3389, 50, 100, 31, 1650},  {0x3389, 50, 100, 0, 100},    {0x3360, 100, 100, 119, 12000},
        {0x3325, 100, 200, 60, 7400}, {0x3325, 100, 200, 48, 5000}, {0x3325, 100, 200, 0, 200},
        {0x3325, 100, 200, 49, 5200}, {0x3327, 100, 100, 130, 130}, {0x1234, 50, 100, 142, 142},
    };
    for (const Case& c : cases) {
        const CMouseSensor sensor(c.sensor, c.step, 255, c.lowest);
        EXPECT_EQ(sensor.PositionToDpi(c.position), c.dpi)
            << std::hex << c.sensor << std::dec << " p" << c.position;
        EXPECT_EQ(sensor.DpiToPosition(c.dpi), c.position)
            << std::hex << c.sensor << std::dec << " dpi" << c.dpi;
    }
}

TEST(MouseSensor, EntriesBelowTheLowestDpiAndNonNumbersFloorAtTheLowest) {
    const CMouseSensor sensor(0x3389, 50, 255, 100);
    EXPECT_EQ(sensor.EntryToPosition("75"), 0);
    EXPECT_EQ(sensor.PositionToDpi(sensor.EntryToPosition("75")), 100);
    EXPECT_EQ(sensor.EntryToPosition(""), 0);
    EXPECT_EQ(sensor.EntryToPosition("abc"), 0);
    EXPECT_EQ(sensor.EntryToPosition("-400"), 0);
    EXPECT_EQ(sensor.EntryToPosition(" 1675dpi"), 31);  // integer division, digits up to the text
    EXPECT_EQ(CMouseSensor::ParseEntry("99999999999999"), INT_MAX);
}

TEST(MouseSensor, LowerBranchOf3325StaysInRangeOnAnyScale) {
    // Lowest DPI below twice the step: the lower branch must not give a negative position.
    const CMouseSensor small(0x3325, 100, 120, 100);
    EXPECT_EQ(small.DpiToPosition(100), 0);
    // A scale that reaches only 2450 at position 48 must not jump into the double-step range.
    const CMouseSensor slow(0x3325, 50, 120, 50);
    EXPECT_EQ(slow.DpiToPosition(4000), 48);
    EXPECT_EQ(slow.DpiToPosition(5100), 49);
    // No step at all (an empty info block) converts without dividing by zero.
    EXPECT_EQ(CMouseSensor(0x3389, 0, 0, 0).DpiToPosition(800), 0);
    EXPECT_EQ(CMouseSensor(0x3325, 0, 0, 0).DpiToPosition(8000), 0);
}

TEST(MouseSensor, RangesPerSensor) {
    struct Case {
        uint16_t sensor;
        std::optional<int> slider, entry;
    };
    const Case cases[] = {
        {0x3389, 200, 16000},
        {0x3327, 198, 12000},
        {0x3360, 200, 12000},
        {0x3325, 193, 10000},
        {0x4000, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const CMouseSensor sensor(c.sensor, 50, 200, 100);
        EXPECT_EQ(sensor.SliderMaximum(), c.slider) << std::hex << c.sensor;
        EXPECT_EQ(sensor.EntryMaximum(), c.entry) << std::hex << c.sensor;
    }
    EXPECT_EQ(CMouseSensor(0x3325, 100, 3, 200).SliderMaximum(), 0);
}
