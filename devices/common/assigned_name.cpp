#include "devices/common/assigned_name.h"

#include "devices/common/function_tables.h"
#include "devices/common/key_name_table.h"

#include <algorithm>
#include <span>

namespace {

AssignedName Keys(std::vector<std::string> keys) {
    return {AssignedName::Kind::kNameKeys, std::move(keys), {}};
}
AssignedName Key(std::string_view key) {
    return Keys({std::string(key)});
}
AssignedName Literal(std::string text) {
    return {AssignedName::Kind::kText, {}, std::move(text)};
}

AssignedName ByParams(std::span<const NamedCode> table, const KeyFunctionCode& code) {
    for (const NamedCode& row : table) {
        if (row.code.param1 == code.param1 && row.code.param2 == code.param2) {
            return Key(row.nameKey);
        }
    }
    return {};
}

// Types 0x00 and 0x20. A modifier row is joined when its bit equals param1 and a key row when its
// usage equals param2; a zero parameter matches nothing, or a code without a key would be named
// after all eight modifiers, whose usage is 0.
AssignedName KeyboardName(const KeyFunctionCode& code) {
    for (const KeyNameEntry& row : KeyNameTable) {
        if (row.code.param1 == code.param1 && row.code.param2 == code.param2) {
            return Key(row.nameKey);
        }
    }
    if (code.param1 == 0 && code.param2 == 0) {
        return Key(kOffName);
    }
    std::vector<std::string> keys;
    for (const KeyNameEntry& row : KeyNameTable) {
        if (row.code.type != FunctionType::kKeyboardKey) {
            continue;
        }
        const bool modifier = code.param1 != 0 && row.code.param1 == code.param1;
        const bool key = code.param2 != 0 && row.code.param2 == code.param2;
        if (modifier || key) {
            keys.emplace_back(row.nameKey);
        }
    }
    return keys.empty() ? AssignedName{} : Keys(std::move(keys));
}

AssignedName SpecialName(const KeyFunctionCode& code) {
    for (const NamedCode& row : MouseFunctionTable) {
        if (row.code.type == code.type && row.code.param1 == code.param1) {
            return Key(row.nameKey);
        }
    }
    for (const KeyNameEntry& row : KeyNameTable) {
        if (row.code == code) {
            return Key(row.nameKey);
        }
    }
    return {};
}

AssignedName MouseFunctionName(const KeyFunctionCode& code, bool typeOnly) {
    for (const NamedCode& row : MouseFunctionTable) {
        if (row.code.type == code.type && (typeOnly || row.code == code)) {
            return Key(row.nameKey);
        }
    }
    return {};
}

AssignedName IndexedName(std::span<const std::string_view> names, size_t index) {
    return index < names.size() ? Key(names[index]) : AssignedName{};
}

}  // namespace

AssignedName CAssignedName::Name(const KeyFunctionCode& code, const std::vector<std::string>& macroNames) {
    switch (code.type) {
        case FunctionType::kNone:
        case FunctionType::kKeyboardKey:
            return KeyboardName(code);
        case FunctionType::kMouseButton:
            return ByParams(MouseKeyTable, code);
        case FunctionType::kMouseSwing:
            return Key(SwingNames[code.param2 >> 7]);
        case FunctionType::kMouseWheel:
            return Key(WheelNames[code.param2 >> 7]);
        case FunctionType::kDpiStep:
            return ByParams(DpiTable, code);
        case FunctionType::kFireKey:
            return Key(kFireKeyName);
        case FunctionType::kShortcut:
            return IndexedName(ShortcutNames, code.param2);
        case FunctionType::kConsumer:
            return ByParams(MediaTable, code);
        case FunctionType::kSystem:
            return ByParams(SystemTable, code);
        case FunctionType::kMacro:
        case FunctionType::kMacroRepeated:
            return code.param1 < macroNames.size() ? Literal(macroNames[code.param1]) : AssignedName{};
        case FunctionType::kDpiShift:
            return MouseFunctionName(code, true);
        case FunctionType::kShowWindow:
            return MouseFunctionName(code, false);
        case FunctionType::kSpecialKey:
        case FunctionType::kMKey:
            return SpecialName(code);
        case 0x15:
        case 0x21:
        case 0x50:
        case 0x60:
        case FunctionType::kCombination:
        case 0xC0:
            return {};
        default:
            return Literal(std::string(kUnnamedTypeText));
    }
}

std::string CAssignedName::Text(const AssignedName& name,
                                const std::function<std::string(std::string_view)>& resolve) {
    if (name.kind == AssignedName::Kind::kText) {
        return name.text;
    }
    std::string text;
    for (size_t i = 0; i < name.nameKeys.size(); ++i) {
        text += (i == 0 ? "" : "+") + resolve(name.nameKeys[i]);
    }
    return text;
}

std::optional<std::string_view> CAssignedName::OwnNameKey(const KeyFunctionCode& code) {
    const auto found = std::find_if(KeyNameTable.begin(), KeyNameTable.end(),
                                    [&](const KeyNameEntry& row) { return row.code == code; });
    if (found == KeyNameTable.end()) {
        return std::nullopt;
    }
    return found->nameKey;
}
