#pragma once

#include "ui/toolkit/ui_defs.h"

#include <QMargins>

#include <cstdint>
#include <string>
#include <string_view>

// The contract between a list (or combo) and its elements: the owner draws its elements with one
// set of item colours and keeps the single selection; an element tells its owner when it is
// clicked.
//
// Thread: the UI thread only.

namespace ui {

class CContainerUI;
class CControlUI;

struct TListInfoUI {
    int font = -1;
    unsigned textStyle = 0x4 | 0x20;  // DT_VCENTER | DT_SINGLELINE
    QMargins textPadding{8, 0, 8, 0};
    std::uint32_t textColor = 0xFFE6E8EB;
    std::uint32_t bkColor = 0;
    std::uint32_t selectedTextColor = 0xFFFFFFFF;
    std::uint32_t selectedBkColor = 0xFF0099FF;
    std::uint32_t hotTextColor = 0xFFFFFFFF;
    std::uint32_t hotBkColor = 0xFF2A2F3A;
    std::uint32_t disabledTextColor = 0xFF5C6370;
    std::uint32_t lineColor = 0;

    // Applies an "item…" attribute of the owner; false for other names.
    bool SetAttribute(std::string_view name, std::string_view value);
};

class IListOwnerUI {
public:
    virtual ~IListOwnerUI() = default;
    virtual TListInfoUI* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int index, bool takeFocus = false) = 0;
    // Lets the owner react to an event an element did not use (scrolling, keys).
    virtual void DoEvent(TEventUI& event) = 0;
};

// Implemented by every list element.
class IListItemUI {
public:
    virtual ~IListItemUI() = default;
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int index) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    virtual void SetOwner(CControlUI* owner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool select = true) = 0;
};

// What lists and combos do alike with their elements.
// The list element behind a control, or nullptr.
IListItemUI* AsListItem(CControlUI* control);
// Gives every element of the owner its position as its index.
void ReindexListItems(CContainerUI& owner);
// The selection after the item at `removed` left: -1 when it was the selected one.
int SelectionAfterRemoval(int selected, int removed);

}  // namespace ui
