#include "devices/mouse/mouse_key_names.h"

#include "devices/common/function_tables.h"

AssignedName CMouseKeyNames::Name(const KeyFunctionCode& code, const std::vector<std::string>& macroNames) {
    if (code.type != FunctionType::kGunKey) {
        return CAssignedName::Name(code, macroNames);
    }
    AssignedName name;
    if (code.param1 < GunNames.size()) {
        name.kind = AssignedName::Kind::kNameKeys;
        name.nameKeys = {std::string(GunNames[code.param1])};
    } else {
        name.kind = AssignedName::Kind::kText;
        name.text = std::string(CAssignedName::kUnnamedTypeText);
    }
    return name;
}
