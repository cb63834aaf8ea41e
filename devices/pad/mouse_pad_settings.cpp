#include "devices/pad/mouse_pad_settings.h"

CMousePadSettings::CMousePadSettings(CBasicProfiledata& profile, CMousePadProtocol& protocol)
    : profile_(profile), protocol_(protocol) {}

int CMousePadSettings::SetLight(const LightInfo& light) {
    protocol_.Channel().SetSynchronisedLighting(false);
    StoreLightInfo(profile_, light);
    profile_.Save();
    protocol_.SetLight(light);
    const int result = protocol_.WriteParameters(0);
    return result == channel_result::kOk ? kOk : result;
}

void CMousePadSettings::StoreLightInfo(CBasicProfiledata& profile, const LightInfo& light) {
    profile.SetLightInfo(uint32_t{light.selectItem} | uint32_t{light.light} << 8 |
                             uint32_t{light.speed} << 16 | uint32_t{light.fx} << 24,
                         uint32_t{light.multiColor} | uint32_t{light.red} << 8 | uint32_t{light.green} << 16 |
                             uint32_t{light.blue} << 24,
                         uint32_t{light.extraWord} | uint32_t{light.extraByte} << 16);
}
