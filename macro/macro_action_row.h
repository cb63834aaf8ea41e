#pragma once

#include "macro/macro_event.h"

#include <cstdint>
#include <string>

namespace ui {
class CControlUI;
class CEditUI;
class CLabelUI;
class CListContainerElementUI;
}  // namespace ui

// CMacroActionRow: one row of the macro panel's action list ("macro_action"): the key label,
// the action label and the delay field ("macro_delay"), with the event as styled JSON text in the
// row's user data. The labels say what the event is: a key's name for Types 9 and 10, the
// button's label for Type 1, the direction and distance for movements.
//
// Thread: the UI thread only.
class CMacroActionRow {
public:
    static constexpr int kHeight = 30;
    static constexpr int kDelayHeight = 25;
    static constexpr uint32_t kDelayBackground = 0xFF444444;

    // A new row showing the event.
    static ui::CListContainerElementUI* Build(const MacroEvent& event);
    // Rewrites the row's labels, delay field and user data from the event.
    static void Show(ui::CControlUI& row, const MacroEvent& event);
    // The event the row's user data holds (an empty or damaged text reads as a default event).
    static MacroEvent EventOf(const ui::CControlUI& row);
    static void StoreEvent(ui::CControlUI& row, const MacroEvent& event);

    static ui::CEditUI* DelayField(const ui::CControlUI& row);
    static ui::CLabelUI* KeyLabel(const ui::CControlUI& row);
    static ui::CLabelUI* ActionLabel(const ui::CControlUI& row);

    // The language key of the event's key label; "" when the tables name nothing.
    static std::string KeyLabelKey(const MacroEvent& event);
    // The text shown in the delay field: leading digits, above 65534 shown as 65535.
    static std::string DelayText(const MacroEvent& event);
};
