#include "macro/macro_recorder.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr uint8_t kA = 0x1E;
constexpr uint8_t kLeftShift = 0x2A;
constexpr uint8_t kRightCtrl = 0x1D;  // extended

class MacroRecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorder.SetClock([this] { return now; });
        recorder.Start(CMacroRecorder::kRecordTime, 50);
    }
    CMacroRecorder recorder;
    uint32_t now = 5000;
};

// Keys become Type 10 with their usage or Type 9 with a modifier's mask; auto-repeats, and keys
// the table lacks, record nothing.
TEST_F(MacroRecorderTest, KeysAndTheirRepeats) {
    struct Step {
        bool press;
        uint8_t scanCode;
        bool extended;
        std::optional<MacroEvent> event;
    };
    const auto event = [](uint8_t type, uint8_t button, bool down) {
        MacroEvent e;
        e.type = type;
        e.button = button;
        e.action = down ? "down" : "up";
        return e;
    };
    const Step steps[] = {
        {true, kA, false, event(10, 0x04, true)},
        {true, kA, false, std::nullopt},  // held: the repeat is not recorded
        {false, kA, false, event(10, 0x04, false)},
        {true, kA, false, event(10, 0x04, true)},  // pressed again after the release
        {true, kLeftShift, false, event(9, 0x02, true)},
        {true, kRightCtrl, true, event(9, 0x10, true)},
        {true, kRightCtrl, false, event(9, 0x01, true)},  // without the extended flag: left Ctrl
        {true, 0x7F, false, std::nullopt},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(recorder.Key(step.press, step.scanCode, step.extended), step.event)
            << int(step.scanCode) << (step.press ? " press" : " release");
    }
}

// Buttons by message and, for the extra buttons, by the mouse data; a message equal to the last
// one records nothing; left-button events on the stop button are left out but remembered.
TEST_F(MacroRecorderTest, MouseButtons) {
    struct Step {
        unsigned message;
        uint16_t extra;
        bool onStop;
        int button;  // -1: nothing recorded
        bool down;
    };
    const Step steps[] = {
        {0x201, 0, false, 0x01, true},  {0x201, 0, false, -1, true},    {0x202, 0, false, 0x01, false},
        {0x204, 0, false, 0x02, true},  {0x208, 0, false, 0x04, false}, {0x20B, 1, false, 0x08, true},
        {0x20C, 2, false, 0x10, false}, {0x20B, 3, false, -1, true},    {0x20A, 0, false, -1, true},
        {0x201, 0, true, -1, true},     {0x201, 0, false, -1, true},  // the stop press was remembered
        {0x204, 0, true, 0x02, true},  // only the left button is the stop click
    };
    for (const Step& step : steps) {
        const std::optional<MacroEvent> event = recorder.Mouse(step.message, step.extra, step.onStop);
        SCOPED_TRACE(step.message);
        if (step.button < 0) {
            EXPECT_FALSE(event.has_value());
            continue;
        }
        ASSERT_TRUE(event.has_value());
        EXPECT_EQ(event->type, 1);
        EXPECT_EQ(event->button, step.button);
        EXPECT_EQ(event->IsDown(), step.down);
    }
}

// The delay by time mode: measured since the last event (from the start) and clamped, fixed, or 0.
TEST_F(MacroRecorderTest, DelaysByTimeMode) {
    now += 120;
    EXPECT_EQ(recorder.TakeDelay(), 120u);
    now += 65534;
    EXPECT_EQ(recorder.TakeDelay(), 65534u);
    now += 70000;
    EXPECT_EQ(recorder.TakeDelay(), 65535u);
    recorder.Start(CMacroRecorder::kConstantTime, 40);
    now += 999;
    EXPECT_EQ(recorder.TakeDelay(), 40u);
    recorder.Start(CMacroRecorder::kIgnoreTime, 40);
    now += 999;
    EXPECT_EQ(recorder.TakeDelay(), 0u);
}

}  // namespace
