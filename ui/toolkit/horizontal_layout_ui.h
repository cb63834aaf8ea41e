#pragma once

#include "ui/toolkit/container_ui.h"

// CHorizontalLayoutUI: children left to right; the mirror of CVerticalLayoutUI.
//
// Thread: the UI thread only.

namespace ui {

class CHorizontalLayoutUI : public CContainerUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void SetPos(QRect rect, bool needInvalidate = true) override;
};

}  // namespace ui
