#pragma once

#include "ui/toolkit/control_ui.h"
#include "ui/toolkit/list_item_ui.h"

// CListElementUI: the base of the simple list elements. A click selects it in its owner and
// sends "itemclick"; a double click sends "itemactivate". It paints its background from the
// owner's item colours (hot, selected).
//
// Thread: the UI thread only.

namespace ui {

class CListElementUI : public CListItemUI<CControlUI> {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void DoEvent(TEventUI& event) override;

protected:
    std::uint32_t ItemTextColor() const;
};

}  // namespace ui
