#pragma once

#include "devices/pad/mouse_pad_protocol.h"
#include "profile/basic_profiledata.h"

// The mouse pad's lighting as the page edits it, without the page: a change is stored in the
// profile, the profile is saved, and the pad's record of slot 0 is written. The page's lighting
// handlers and norvikctl both call it, so the two leave the same files and the same pad behind.
//
// Result: kOk when stored and written, or the WriteParameters result (<= 0) when the profile was
// saved but the pad did not take the record.
//
// Threads: the UI thread (or norvikctl's only thread).
class CMousePadSettings {
public:
    static constexpr int kOk = 1;

    CMousePadSettings(CBasicProfiledata& profile, CMousePadProtocol& protocol);

    // Clears the synchronised-lighting flag first.
    int SetLight(const LightInfo& light);

    // The light record as the profile's SetLightInfo takes it.
    static void StoreLightInfo(CBasicProfiledata& profile, const LightInfo& light);

private:
    CBasicProfiledata& profile_;
    CMousePadProtocol& protocol_;
};
