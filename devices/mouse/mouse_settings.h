#pragma once

#include "devices/mouse/mouse_profiledata.h"
#include "devices/mouse/mouse_protocol.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The mouse's performance and lighting settings as the page edits them, without the page: each
// change stores the new value in the profile, saves the profile and, for what the mouse keeps,
// writes the parameter record. The page's control handlers and norvikctl both call these, so the
// two always leave the same files and the same mouse behind.
//
// Results: kOk when stored and written, kRefused when the value was not taken (nothing changed),
// or the WriteParameters result (<= 0) when the profile was saved but the mouse did not take the
// record. Validation of user input against the sensor's ranges is the caller's.
//
// Threads: the UI thread (or norvikctl's only thread).
class CMouseSettings {
public:
    static constexpr int kOk = 1;
    static constexpr int kRefused = -2;
    static constexpr int kPollingOptionCount = 5;

    CMouseSettings(CMouseProfiledata& profile, CMouseProtocol& protocol);

    // Stage n's DPI slider position; the list grows to n + 1 stages when it is shorter.
    int SetStagePosition(int stage, uint16_t position);
    // Stage n on or off (the list grows as above). The last enabled stage cannot be switched off (the page
    // disables its box), so that request is refused.
    int SetStageEnabled(int stage, bool on);
    // Polling option 0..4; any other index selects option 0, as the page's option group does.
    int SetPollingRate(int option);
    int SetAst(int item);
    int SetMsh(int item);
    int SetLogoLight(int item);
    // The light record of the lighting panel: mode, brightness, speed index, direction,
    // multicolour, colour. Clears the synchronised-lighting flag first.
    int SetLight(const LightInfo& light);

    // Stored in the profile only.
    void SetPointerSpeed(uint16_t value);
    void SetPointerPrecision(bool on);
    void SetScrollByPage(bool on, uint16_t scrollSpeed);
    void SetScrollSpeed(uint16_t value);
    void SetDoubleClick(uint16_t value);

    // The profile switch's writes once the profile is loaded: keys whose macro is gone get their
    // default function back (RepairMacroReferences, in memory), then the parameter record, the
    // macros of the data folder and the key table are written, in that order. Returns kOk when
    // the mouse took the record, else the WriteParameters result; the later writes still run.
    int WriteActiveProfile(const std::string& dataFolder);

    // Keys assigned to a macro number at or beyond macroCount get their default function back.
    static void RepairMacroReferences(std::vector<KeyAssignment>& keys, size_t macroCount);
    // Whether a key is assigned to the macro at the position.
    static bool ReferencesMacro(const std::vector<KeyAssignment>& keys, size_t position);
    // After the macro at the position was deleted: its keys get their default function back and
    // keys of later macros are numbered one lower. True when a key changed.
    static bool RenumberAfterDelete(std::vector<KeyAssignment>& keys, size_t position);

private:
    int SaveAndWrite();
    // Reads the system settings, lets change edit them and stores them in the profile.
    template <class Change>
    void ChangeSettings(Change change) {
        MouseSystemSettings settings = profile_.GetSystemSettings();
        change(settings);
        profile_.SetSystemSettings(settings);
    }

    CMouseProfiledata& profile_;
    CMouseProtocol& protocol_;
};
