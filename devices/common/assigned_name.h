#pragma once

#include "devices/common/key_function_code.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The name a key button's tooltip gives to the code assigned to the key. Pure functions over the
// tables; any thread.
struct AssignedName {
    enum class Kind {
        kNone,      // no name: the button stays as it was
        kNameKeys,  // language keys, each resolved and the results joined by "+"
        kText,      // shown as it is (a macro's name, the fixed off text)
    };
    Kind kind = Kind::kNone;
    std::vector<std::string> nameKeys;
    std::string text;

    bool operator==(const AssignedName&) const = default;
};

class CAssignedName {
public:
    // The fixed text that names codes of types no table covers.
    static constexpr std::string_view kUnnamedTypeText = "关闭";

    // The assigned name of a code; macroNames is the macro list in order.
    static AssignedName Name(const KeyFunctionCode& code, const std::vector<std::string>& macroNames);

    // The shown text: each name key through `resolve`, joined by "+"; "" for no name.
    static std::string Text(const AssignedName& name,
                            const std::function<std::string(std::string_view)>& resolve);

    // The name key of the key whose default code is `code` (a key button's own name); nullopt for
    // a code that names no key of KeyNameTable.
    static std::optional<std::string_view> OwnNameKey(const KeyFunctionCode& code);
};
