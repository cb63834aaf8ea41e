#include "macro/macro_recorder.h"

#include "devices/common/scan_code_table.h"
#include "macro/macro_limits.h"
#include "macro/mouse_event_table.h"

#include <chrono>

namespace {

uint32_t SteadyMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

MacroEvent ButtonEvent(const MouseEventEntry& entry) {
    MacroEvent event;
    event.type = entry.eventCode & 0x7F;
    event.action = (entry.eventCode & 0x80) != 0 ? "down" : "up";
    event.button = entry.mask;
    return event;
}

// Rows 0-5 by message; the extra buttons by message and mouse data (rows 6-9).
std::optional<MouseEventEntry> EntryOf(unsigned message, uint16_t extraButton) {
    if (message == CMacroRecorder::kExtraDown || message == CMacroRecorder::kExtraUp) {
        const bool down = message == CMacroRecorder::kExtraDown;
        if (extraButton == CMacroRecorder::kFirstExtraButton) {
            return MouseEventTable[down ? 8 : 9];
        }
        if (extraButton == CMacroRecorder::kSecondExtraButton) {
            return MouseEventTable[down ? 6 : 7];
        }
        return std::nullopt;
    }
    for (size_t row = 0; row < 6; ++row) {
        if (MouseEventTable[row].message == message) {
            return MouseEventTable[row];
        }
    }
    return std::nullopt;
}

}  // namespace

CMacroRecorder::CMacroRecorder() : clock_(SteadyMs), fixedDelay_(macro_limits::kDefaultFixedDelayMs) {}

void CMacroRecorder::Start(int timeMode, uint32_t fixedDelayMs) {
    timeMode_ = timeMode;
    fixedDelay_ = fixedDelayMs;
    lastTick_ = clock_();
}

std::optional<MacroEvent> CMacroRecorder::Key(bool press, uint8_t scanCode, bool extended) {
    const std::pair<uint8_t, bool> key{scanCode, extended};
    if (press) {
        if (lastPress_ == key) {
            return std::nullopt;
        }
        lastPress_ = key;
    } else if (lastPress_ == key) {
        lastPress_.reset();
    }
    const std::optional<size_t> row = FindScanCode(scanCode, extended);
    if (!row) {
        return std::nullopt;
    }
    const KeyFunctionCode& code = ScanCodeTable[*row].code;
    MacroEvent event;
    event.action = press ? "down" : "up";
    event.type = code.param2 != 0 ? MacroEvent::kOtherKey : MacroEvent::kModifierKey;
    event.button = code.param2 != 0 ? code.param2 : code.param1;
    return event;
}

std::optional<MacroEvent> CMacroRecorder::Mouse(unsigned message, uint16_t extraButton, bool onStopButton) {
    const std::optional<MouseEventEntry> entry = EntryOf(message, extraButton);
    if (!entry || message == lastMouseMessage_) {
        return std::nullopt;
    }
    lastMouseMessage_ = message;
    if (onStopButton && (message == kLeftDown || message == kLeftUp)) {
        return std::nullopt;
    }
    return ButtonEvent(*entry);
}

uint32_t CMacroRecorder::TakeDelay() {
    if (timeMode_ == kConstantTime) {
        return fixedDelay_;
    }
    if (timeMode_ == kIgnoreTime) {
        return 0;
    }
    const uint32_t now = clock_();
    const uint32_t elapsed = now - lastTick_;
    lastTick_ = now;
    return elapsed > macro_limits::kMaxDelayMs - 1 ? macro_limits::kMaxDelayMs : elapsed;
}
