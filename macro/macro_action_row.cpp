#include "macro/macro_action_row.h"

#include "platform/json_file.h"

#include "devices/common/key_name_table.h"
#include "macro/macro_limits.h"
#include "macro/mouse_event_table.h"
#include "profile/json_document.h"
#include "ui/toolkit/edit_ui.h"
#include "ui/toolkit/label_ui.h"
#include "ui/toolkit/list_container_element_ui.h"
#include "ui/toolkit/resource_manager.h"

#include <json/reader.h>

#include <algorithm>

namespace {

constexpr int kChildPadding = 4;
constexpr int kKeyLabelWidth = 96;
constexpr int kActionLabelWidth = 52;

// The label styles of the panel, as text colours of the skin's look.
constexpr uint32_t kKeyboardStyle = 0xFFFFFFFF;  // "macro_label_keyboard_style"
constexpr uint32_t kMouseStyle = 0xFF0099FF;     // "macro_label_mouse_style"
constexpr uint32_t kTextStyle = 0xFFE6E8EB;      // "macro_label_text_style"
constexpr uint32_t kDownStyle = 0xFF5FD38D;      // "macro_label_down_style"
constexpr uint32_t kUpStyle = 0xFF9AA0AA;        // "macro_label_up_style"

std::string Resolve(const std::string& key) {
    const std::string* text = ui::CResourceManager::GetInstance().GetText(key);
    return text != nullptr ? *text : key;
}

bool IsMovement(uint8_t type) {
    return type >= 2 && type <= 5;
}

std::string KeyboardLabel(const MacroEvent& event) {
    const bool modifier = event.type == MacroEvent::kModifierKey;
    const size_t first = modifier ? 0 : kModifierKeyCount;
    const size_t last = modifier ? kModifierKeyCount : KeyNameTable.size();
    for (size_t i = first; i < last; ++i) {
        const KeyFunctionCode& code = KeyNameTable[i].code;
        const bool match = code.type == FunctionType::kKeyboardKey &&
                           (modifier ? code.param2 == 0 && code.param1 == event.button
                                     : code.param1 == 0 && code.param2 == event.button);
        if (match) {
            return std::string(KeyNameTable[i].nameKey);
        }
    }
    return {};
}

std::string MouseLabel(const MacroEvent& event) {
    if (event.type == MacroEvent::kMouseButton) {
        for (size_t i = 0; i < 10; ++i) {
            if (MouseEventTable[i].mask == event.button) {
                return std::string(MouseEventTable[i].labelKey);
            }
        }
        return {};
    }
    const uint8_t code = static_cast<uint8_t>(event.type | (event.IsDown() ? 0x80 : 0));
    for (size_t i = 10; i < 14; ++i) {
        if (MouseEventTable[i].eventCode == code) {
            return std::string(MouseEventTable[i].labelKey);
        }
    }
    return {};
}

ui::CLabelUI* AddLabel(ui::CListContainerElementUI& row, int width) {
    auto* label = new ui::CLabelUI;
    label->SetFixedWidth(width);
    label->SetAttribute("font", "7");
    label->SetMouseEnabled(false);
    row.Add(label);
    return label;
}

ui::CControlUI* ChildAt(const ui::CControlUI& row, int index) {
    auto* container =
        static_cast<ui::CContainerUI*>(const_cast<ui::CControlUI&>(row).GetInterface("Container"));
    return container != nullptr ? container->GetItemAt(index) : nullptr;
}

}  // namespace

ui::CListContainerElementUI* CMacroActionRow::Build(const MacroEvent& event) {
    auto* row = new ui::CListContainerElementUI;
    row->SetName("macro_action");
    row->SetFixedHeight(kHeight);
    row->SetChildPadding(kChildPadding);
    row->SetAttribute("inset", "6,2,4,2");
    AddLabel(*row, kKeyLabelWidth);
    AddLabel(*row, kActionLabelWidth);
    auto* delay = new ui::CEditUI;
    delay->SetName("macro_delay");
    delay->SetMaxChar(static_cast<int>(macro_limits::kDelayDigits));
    delay->SetNumberOnly(true);
    delay->SetMinValue(0);
    delay->SetMaxValue(static_cast<int>(macro_limits::kMaxDelayMs));
    delay->SetFixedHeight(kDelayHeight);
    delay->SetFixedWidth(56);
    delay->SetBkColor(kDelayBackground);
    delay->SetAttribute("nativebkcolor", "#FF444444");
    delay->SetAttribute("textcolor", "#FFE6E8EB");
    delay->SetAttribute("align", "center");
    delay->SetAttribute("padding", "0,2,0,0");
    delay->SetAttribute("font", "7");
    row->Add(delay);
    Show(*row, event);
    return row;
}

void CMacroActionRow::Show(ui::CControlUI& row, const MacroEvent& event) {
    ui::CLabelUI* key = KeyLabel(row);
    ui::CLabelUI* action = ActionLabel(row);
    if (key != nullptr) {
        const bool keyboard = event.type == MacroEvent::kModifierKey || event.type == MacroEvent::kOtherKey;
        key->SetTextColor(keyboard ? kKeyboardStyle : kMouseStyle);
        const std::string labelKey = KeyLabelKey(event);
        key->SetText(labelKey.empty() ? std::string() : Resolve(labelKey));
    }
    if (action != nullptr) {
        if (IsMovement(event.type)) {
            action->SetTextColor(kTextStyle);
            action->SetText(std::to_string(event.button));
        } else {
            action->SetTextColor(event.IsDown() ? kDownStyle : kUpStyle);
            action->SetText(Resolve(event.IsDown() ? "macro_action_down" : "macro_action_up"));
        }
    }
    if (ui::CEditUI* delay = DelayField(row)) {
        delay->SetText(DelayText(event));
    }
    StoreEvent(row, event);
}

MacroEvent CMacroActionRow::EventOf(const ui::CControlUI& row) {
    Json::Value value;
    Json::Reader reader;
    if (!reader.parse(row.GetUserData(), value, false)) {
        return MacroEvent{};
    }
    return MacroEvent::FromJson(value);
}

void CMacroActionRow::StoreEvent(ui::CControlUI& row, const MacroEvent& event) {
    Json::Value value = event.ToJson();
    value["Delay"] = event.delay;
    row.SetUserData(CJsonFile::StyledText(value));
}

ui::CEditUI* CMacroActionRow::DelayField(const ui::CControlUI& row) {
    ui::CControlUI* child = ChildAt(row, 2);
    return child != nullptr ? static_cast<ui::CEditUI*>(child->GetInterface("Edit")) : nullptr;
}

ui::CLabelUI* CMacroActionRow::KeyLabel(const ui::CControlUI& row) {
    ui::CControlUI* child = ChildAt(row, 0);
    return child != nullptr ? static_cast<ui::CLabelUI*>(child->GetInterface("Label")) : nullptr;
}

ui::CLabelUI* CMacroActionRow::ActionLabel(const ui::CControlUI& row) {
    ui::CControlUI* child = ChildAt(row, 1);
    return child != nullptr ? static_cast<ui::CLabelUI*>(child->GetInterface("Label")) : nullptr;
}

std::string CMacroActionRow::KeyLabelKey(const MacroEvent& event) {
    if (event.type == MacroEvent::kModifierKey || event.type == MacroEvent::kOtherKey) {
        return KeyboardLabel(event);
    }
    return MouseLabel(event);
}

std::string CMacroActionRow::DelayText(const MacroEvent& event) {
    return std::to_string(std::min(event.DelayMs(), macro_limits::kMaxDelayMs));
}
