#pragma once

// The categories of the key-set panel: each item of "keyset_function_combo" carries its number as
// text user data and "function_switch_tablayout" shows the page with the same number.
enum class FunctionCategory : int {
    kNone = -1,  // no valid category: "keyset_layout" is hidden
    kDefault = 0,
    kMouseButton = 1,
    kMouseSwing = 2,
    kMouseWheel = 3,
    kDpi = 4,
    kFire = 5,
    kKeyboard = 6,
    kMedia = 7,
    kSystem = 8,
    kMacro = 9,
    kGunKey = 10,
    kCombination = 11,
};

inline constexpr int kFunctionCategoryCount = 12;
