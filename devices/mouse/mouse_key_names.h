#pragma once

#include "devices/common/assigned_name.h"
#include "devices/common/key_function_code.h"

#include <string>
#include <vector>

// How the mouse page names the function assigned to a host button: as key
// captions name codes, except that a gun key is named by its gun ("gun_1_txt"
// .. "gun_4_txt"). Pure; any thread.
class CMouseKeyNames {
public:
    // kNone means the page leaves the button and its row as they are.
    static AssignedName Name(const KeyFunctionCode& code, const std::vector<std::string>& macroNames);
};
