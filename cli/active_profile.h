#pragma once

#include "profile/basic_profiledata.h"
#include "profile/profile_list.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

// How every device family of norvikctl opens the profile the program shows for a device: the
// profile list of the device's data folder, then its active profile. Damaged files that the list
// or the profile set aside on the way are named on err, so the user learns where they went.
// norvikctl's only thread.
class CActiveProfile {
public:
    // kExitOk, or kExitFailure with the message written when the list names no usable profile.
    // what names the device in that message ("the mouse").
    static int Open(uint16_t kind, const std::string& deviceName, const std::string& what,
                    std::unique_ptr<CProfileList>& list, CBasicProfiledata& profile, std::ostream& err);
};
