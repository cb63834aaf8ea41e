#pragma once

#include "devices/common/key_function_code.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Every function a key or button can be given, with the language key that names it, for
// listings (norvikctl codes). Parameterised functions appear with representative parameters:
// swing and wheel one step, the guns by index. Macros depend on the user's list and are left out.
// Pure; any thread.
struct CatalogKey {
    uint8_t usage;     // HID keyboard page usage (modifiers 0xE0-0xE7)
    uint8_t scanCode;  // set-1 make code without the E0 prefix
    uint8_t extended;  // 1 where the E0 prefix stands
};

struct CatalogEntry {
    std::string nameKey;
    KeyFunctionCode code;
    std::optional<CatalogKey> key;  // for keyboard keys
};

class CFunctionCatalog {
public:
    // Each code once, keyboard keys first in key table order, each named as a key button names it
    // (gun keys excepted: key buttons show them as off).
    static std::vector<CatalogEntry> All();
};
