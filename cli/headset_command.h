#pragma once

#include "cli/cli_command.h"

// "norvikctl headset": the headset's audio settings through the audio library, its lighting
// through the emulated or real headset, and its profile, with the same code as the headset page.
//   headset info [--json]              the library, its endpoints and the connected headset
//   headset get [--json]               microphone, monitoring, equaliser, voice changer, light
//   headset mic on|off, mic-level N    microphone switch and level (0-100)
//   headset monitor on|off, monitor-level N
//   headset eq PRESET                  equaliser preset 1-12, 13 the selected custom one
//   headset eq-band BAND GAIN          band 1-10 to a gain of -20..20 (tried out, not stored)
//   headset eq-save NAME               the bands as a custom equaliser (at most 20)
//   headset eq-delete N                removes custom equaliser N (0 first)
//   headset voice on|off, voice-item N voice changer switch and voice 1-4
//   headset light MODE [--brightness N] [--speed N] [--colour RRGGBB]
// The audio commands work without the headset's HID interface; the light needs it.
class CHeadsetCommand : public CCliCommand {
public:
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
    void PrintHelp(std::ostream& out) const override;
};
