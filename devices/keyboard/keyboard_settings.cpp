#include "devices/keyboard/keyboard_settings.h"

CKeyboardSettings::CKeyboardSettings(CKeyboardProfiledata& profile, CKeyboardProtocol& protocol)
    : profile_(profile), protocol_(protocol) {}

int CKeyboardSettings::SaveAndWrite() {
    profile_.Save();
    const int result = protocol_.WriteParameters(profile_, 0, 0);
    return result == channel_result::kOk ? kOk : result;
}

int CKeyboardSettings::SetWinLock(bool on) {
    return ChangeAndWrite([on](KeyboardSystemStages& s) { s.winFlag = on ? 1 : 0; });
}

int CKeyboardSettings::SetWFlag(bool on) {
    return ChangeAndWrite([on](KeyboardSystemStages& s) { s.wFlag = on ? 1 : 0; });
}

int CKeyboardSettings::SetSixKey(bool on) {
    return ChangeAndWrite([on](KeyboardSystemStages& s) { s.key6Flag = on ? 1 : 0; });
}

int CKeyboardSettings::SetPollingRate(int option) {
    const int index = option >= 0 && option < kPollingOptionCount ? option : 0;
    return ChangeAndWrite([index](KeyboardSystemStages& s) { s.pollingRate = static_cast<uint16_t>(index); });
}

int CKeyboardSettings::SetLight(const LightInfo& light) {
    protocol_.Channel().SetSynchronisedLighting(false);
    CKeyboardProtocol::StoreLightInfo(profile_, light);
    return SaveAndWrite();
}

void CKeyboardSettings::SetRepeat(uint16_t value) {
    KeyboardSystemStages stages = profile_.GetSystemSettings();
    stages.repeat = value;
    profile_.SetSystemSettings(stages);
    profile_.Save();
}

void CKeyboardSettings::SetRepeatDelay(int index) {
    KeyboardSystemStages stages = profile_.GetSystemSettings();
    stages.repeatDelay = static_cast<uint16_t>(index >= 0 && index < kRepeatDelayCount ? index : 0);
    profile_.SetSystemSettings(stages);
    profile_.Save();
}
