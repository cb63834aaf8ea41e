#include "ui/toolkit/list_owner.h"

#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/ui_parse.h"

namespace ui {

bool TListInfoUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    if (key == "itemfont") {
        font = ParseInt(value, -1);
    } else if (key == "itemtextpadding") {
        textPadding = ParseMargins(value);
    } else if (key == "itemalign") {
        textStyle &= ~(DT_CENTER | DT_RIGHT);
        textStyle |= value == "center" ? DT_CENTER : value == "right" ? DT_RIGHT : DT_LEFT;
    } else if (key == "itemtextcolor") {
        textColor = ParseColor(value);
    } else if (key == "itembkcolor") {
        bkColor = ParseColor(value);
    } else if (key == "itemselectedtextcolor") {
        selectedTextColor = ParseColor(value);
    } else if (key == "itemselectedbkcolor") {
        selectedBkColor = ParseColor(value);
    } else if (key == "itemhottextcolor") {
        hotTextColor = ParseColor(value);
    } else if (key == "itemhotbkcolor") {
        hotBkColor = ParseColor(value);
    } else if (key == "itemdisabledtextcolor") {
        disabledTextColor = ParseColor(value);
    } else if (key == "itemlinecolor") {
        lineColor = ParseColor(value);
    } else {
        return false;
    }
    return true;
}

}  // namespace ui
