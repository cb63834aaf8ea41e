#pragma once

#include "macro/macro_event.h"

#include <cstdint>
#include <functional>
#include <optional>

// CMacroRecorder: turns the input hook's key and mouse-button events into macro events. It keeps
// what a recording needs between events: the time mode (1 measure the time between events,
// 2 a fixed delay, 3 no delay), the fixed delay, the tick of the last recorded event, the last
// recorded key press (auto-repeats are not recorded) and the last mouse message (a message equal
// to the previous one is not recorded). The clock is milliseconds from an arbitrary start.
//
// Pure state; the UI thread of the macro panel.
class CMacroRecorder {
public:
    static constexpr int kRecordTime = 1;
    static constexpr int kConstantTime = 2;
    static constexpr int kIgnoreTime = 3;

    // Mouse messages of the hook.
    static constexpr unsigned kLeftDown = 0x201;
    static constexpr unsigned kLeftUp = 0x202;
    static constexpr unsigned kRightDown = 0x204;
    static constexpr unsigned kRightUp = 0x205;
    static constexpr unsigned kMiddleDown = 0x207;
    static constexpr unsigned kMiddleUp = 0x208;
    static constexpr unsigned kExtraDown = 0x20B;
    static constexpr unsigned kExtraUp = 0x20C;
    // The extra button the mouse data's high word names.
    static constexpr uint16_t kFirstExtraButton = 1;
    static constexpr uint16_t kSecondExtraButton = 2;

    using Clock = std::function<uint32_t()>;

    CMacroRecorder();

    void SetClock(Clock clock) { clock_ = std::move(clock); }
    // Stores the mode and starts timing from now.
    void Start(int timeMode, uint32_t fixedDelayMs);
    int TimeMode() const { return timeMode_; }
    uint32_t FixedDelay() const { return fixedDelay_; }
    void SetFixedDelay(uint32_t ms) { fixedDelay_ = ms; }

    // A key press or release (set-1 scan code and extended flag): Type 10 with the key's usage,
    // or Type 9 with a modifier's mask. nullopt for an auto-repeat or a key the tables lack.
    std::optional<MacroEvent> Key(bool press, uint8_t scanCode, bool extended);
    // A mouse message (extraButton: the high word of the mouse data). nullopt for another message,
    // an unknown extra button, a repeat of the last message, or a left-button event on the stop
    // button (which is remembered all the same).
    std::optional<MacroEvent> Mouse(unsigned message, uint16_t extraButton, bool onStopButton);

    // The delay of the event just recorded, by time mode; mode 1 measures from the last event
    // (or the start) and clamps above 65534 to 65535.
    uint32_t TakeDelay();

private:
    Clock clock_;
    int timeMode_ = kRecordTime;
    uint32_t fixedDelay_;
    uint32_t lastTick_ = 0;
    std::optional<std::pair<uint8_t, bool>> lastPress_;
    unsigned lastMouseMessage_ = 0;
};
