#pragma once

#include "devices/mouse/mouse_profiledata.h"
#include "devices/mouse/mouse_protocol.h"

#include <string>
#include <vector>

// norvikctl's --verify: after a write, reads back what the mouse stores and names each field
// that differs from what the profile says was written. A read that fails is a difference too,
// since nothing then shows the write took.
//
// Threads: norvikctl's only thread.
class CMouseVerifier {
public:
    CMouseVerifier(CMouseProtocol& protocol, CMouseProfiledata& profile)
        : protocol_(protocol), profile_(profile) {}

    // The parameter record's fields, named as `mouse get` shows them ("polling rate",
    // "stage 2 position", "light red", ...).
    std::vector<std::string> CheckParameters();

    // The key table: each host button whose code at its firmware position is not its assignment,
    // and any other position that changed.
    std::vector<std::string> CheckKeyTable();

private:
    CMouseProtocol& protocol_;
    CMouseProfiledata& profile_;
};
