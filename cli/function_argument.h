#pragma once

#include "devices/common/key_function_code.h"

#include <cstddef>
#include <optional>
#include <string>

// The FUNCTION argument of "norvikctl mouse assign": a name that "norvikctl codes" lists,
// "default" (the button's factory function), "macro:N[:MODE]" (macro N of the macro list, repeat
// mode 0-3, 0 when left out) or three code bytes in hex, "30:CD:00". Pure; any thread.
class CFunctionArgument {
public:
    struct Parsed {
        std::optional<KeyFunctionCode> code;  // nullopt: error says why
        std::string error;
    };

    static Parsed Parse(const std::string& text, const KeyFunctionCode& factoryCode, size_t macroCount);
    // "30:CD:00"
    static std::string Format(const KeyFunctionCode& code);
};
