#include "devices/mouse/mouse_settings.h"

#include "devices/common/key_function_code.h"
#include "macro/macro_list.h"

#include <algorithm>

CMouseSettings::CMouseSettings(CMouseProfiledata& profile, CMouseProtocol& protocol)
    : profile_(profile), protocol_(protocol) {}

int CMouseSettings::SaveAndWrite() {
    profile_.Save();
    const int result = protocol_.WriteParameters(profile_, 0, 0);
    return result == channel_result::kOk ? kOk : result;
}

int CMouseSettings::SetStagePosition(int stage, uint16_t position) {
    if (stage < 0 || stage >= static_cast<int>(mousewire::kStageCount)) {
        return kRefused;
    }
    std::vector<DpiStage> stages = profile_.GetStages();
    if (static_cast<int>(stages.size()) <= stage) {
        stages.resize(stage + 1);
    }
    stages[stage].SetDpiX(position);
    profile_.SetStages(stages);
    return SaveAndWrite();
}

int CMouseSettings::SetStageEnabled(int stage, bool on) {
    if (stage < 0 || stage >= static_cast<int>(mousewire::kStageCount)) {
        return kRefused;
    }
    std::vector<DpiStage> stages = profile_.GetStages();
    if (static_cast<int>(stages.size()) <= stage) {
        stages.resize(stage + 1);
    }
    const auto enabled =
        std::count_if(stages.begin(), stages.end(), [](const DpiStage& s) { return s.active != 0; });
    if (!on && stages[stage].active != 0 && enabled <= 1) {
        return kRefused;
    }
    stages[stage].active = on ? 1 : 0;
    profile_.SetStages(stages);
    return SaveAndWrite();
}

int CMouseSettings::SetPollingRate(int option) {
    const int index = option >= 0 && option < kPollingOptionCount ? option : 0;
    ChangeSettings([index](MouseSystemSettings& s) { s.pollingRate = static_cast<uint16_t>(index); });
    return SaveAndWrite();
}

int CMouseSettings::SetAst(int item) {
    ChangeSettings([item](MouseSystemSettings& s) { s.ast = static_cast<uint16_t>(item); });
    return SaveAndWrite();
}

int CMouseSettings::SetMsh(int item) {
    ChangeSettings([item](MouseSystemSettings& s) { s.msh = static_cast<uint16_t>(item); });
    return SaveAndWrite();
}

int CMouseSettings::SetLogoLight(int item) {
    ChangeSettings([item](MouseSystemSettings& s) { s.logoLight = static_cast<uint16_t>(item); });
    return SaveAndWrite();
}

int CMouseSettings::SetLight(const LightInfo& light) {
    protocol_.Channel().SetSynchronisedLighting(false);
    profile_.SetLightInfo(light);
    return SaveAndWrite();
}

void CMouseSettings::SetPointerSpeed(uint16_t value) {
    ChangeSettings([value](MouseSystemSettings& s) { s.pointerSpeed = value; });
    profile_.Save();
}

void CMouseSettings::SetPointerPrecision(bool on) {
    ChangeSettings([on](MouseSystemSettings& s) { s.pointerPrecision = on ? 1 : 0; });
    profile_.Save();
}

void CMouseSettings::SetScrollByPage(bool on, uint16_t scrollSpeed) {
    ChangeSettings([on, scrollSpeed](MouseSystemSettings& s) {
        s.scrollByPage = on ? 1 : 0;
        s.scrollSpeed = scrollSpeed;
    });
    profile_.Save();
}

void CMouseSettings::SetScrollSpeed(uint16_t value) {
    ChangeSettings([value](MouseSystemSettings& s) {
        s.scrollByPage = 0;
        s.scrollSpeed = value;
    });
    profile_.Save();
}

void CMouseSettings::SetDoubleClick(uint16_t value) {
    ChangeSettings([value](MouseSystemSettings& s) { s.doubleClick = value; });
    profile_.Save();
}

int CMouseSettings::WriteActiveProfile(const std::string& dataFolder) {
    std::vector<KeyAssignment> keys = profile_.GetKeyList();
    RepairMacroReferences(keys, CMacroList(dataFolder).Names().size());
    profile_.SetKeyList(keys);
    const int parameters = protocol_.WriteParameters(profile_, 0, 0);
    protocol_.WriteMacros(dataFolder);
    protocol_.WriteKeyTable(0, keys);
    return parameters == channel_result::kOk ? kOk : parameters;
}

namespace {

bool IsMacro(const KeyAssignment& key) {
    return key.code1 == FunctionType::kMacro || key.code1 == FunctionType::kMacroRepeated;
}

}  // namespace

bool CMouseSettings::ReferencesMacro(const std::vector<KeyAssignment>& keys, size_t position) {
    return std::any_of(keys.begin(), keys.end(), [position](const KeyAssignment& key) {
        return IsMacro(key) && key.code2 == position;
    });
}

bool CMouseSettings::RenumberAfterDelete(std::vector<KeyAssignment>& keys, size_t position) {
    bool changed = false;
    for (KeyAssignment& key : keys) {
        if (!IsMacro(key) || key.code2 < position) {
            continue;
        }
        if (key.code2 == position) {
            key.keyPosition = key.defaultKeyPosition;
            key.code1 = key.defaultCode1;
            key.code2 = key.defaultCode2;
            key.code3 = key.defaultCode3;
            key.pad = key.defaultPad;
        } else {
            --key.code2;
        }
        changed = true;
    }
    return changed;
}

void CMouseSettings::RepairMacroReferences(std::vector<KeyAssignment>& keys, size_t macroCount) {
    for (KeyAssignment& key : keys) {
        const bool macro = key.code1 == FunctionType::kMacro || key.code1 == FunctionType::kMacroRepeated;
        if (macro && key.code2 >= macroCount) {
            key.keyPosition = key.defaultKeyPosition;
            key.code1 = key.defaultCode1;
            key.code2 = key.defaultCode2;
            key.code3 = key.defaultCode3;
            key.pad = key.defaultPad;
        }
    }
}
