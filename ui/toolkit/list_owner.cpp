#include "ui/toolkit/list_owner.h"

#include "ui/toolkit/container_ui.h"
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

IListItemUI* AsListItem(CControlUI* control) {
    return control != nullptr ? static_cast<IListItemUI*>(control->GetInterface("ListItem")) : nullptr;
}

void ReindexListItems(CContainerUI& owner) {
    for (int i = 0; i < owner.GetCount(); ++i) {
        if (IListItemUI* item = AsListItem(owner.GetItemAt(i))) {
            item->SetIndex(i);
        }
    }
}

int SelectionAfterRemoval(int selected, int removed) {
    if (removed == selected) {
        return -1;
    }
    return removed < selected ? selected - 1 : selected;
}

}  // namespace ui
