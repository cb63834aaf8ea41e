#pragma once

#include "ui/toolkit/container_ui.h"

// CVerticalLayoutUI: children top to bottom. A child with a fixed height keeps it; the others share
// what is left. Widths are the inner width unless fixed (then placed by childalign). Floating
// children take their "pos".
//
// Thread: the UI thread only.

namespace ui {

class CVerticalLayoutUI : public CContainerUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void SetPos(QRect rect, bool needInvalidate = true) override;
};

}  // namespace ui
