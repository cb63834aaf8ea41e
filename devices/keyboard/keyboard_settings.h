#pragma once

#include "devices/keyboard/keyboard_profiledata.h"
#include "devices/keyboard/keyboard_protocol.h"

#include <cstdint>

// The keyboard's system and lighting settings as the page edits them, without the page: each
// change stores the new value in the profile, saves the profile and, for what the keyboard
// keeps in its settings record, writes that record to slot 0. The page's control handlers and
// norvikctl both call these, so the two leave the same files and the same keyboard behind.
//
// Results: kOk when stored and written, or the WriteParameters result (<= 0) when the profile
// was saved but the keyboard did not take the record. Repeat settings are stored only.
//
// Threads: the UI thread (or norvikctl's only thread).
class CKeyboardSettings {
public:
    static constexpr int kOk = 1;
    static constexpr int kPollingOptionCount = 4;
    static constexpr int kRepeatDelayCount = 4;

    CKeyboardSettings(CKeyboardProfiledata& profile, CKeyboardProtocol& protocol);

    int SetWinLock(bool on);
    int SetWFlag(bool on);
    int SetSixKey(bool on);
    // Polling option 0..3; any other index selects option 0, as the page's option group does.
    int SetPollingRate(int option);
    // The lighting panel's record. Clears the synchronised-lighting flag first.
    int SetLight(const LightInfo& light);

    // Stored in the profile only: the record has no field for them.
    void SetRepeat(uint16_t value);
    // Delay index 0..3; any other index is stored as 0.
    void SetRepeatDelay(int index);

private:
    template <class Change>
    int ChangeAndWrite(Change change) {
        KeyboardSystemStages stages = profile_.GetSystemSettings();
        change(stages);
        profile_.SetSystemSettings(stages);
        return SaveAndWrite();
    }
    int SaveAndWrite();

    CKeyboardProfiledata& profile_;
    CKeyboardProtocol& protocol_;
};
