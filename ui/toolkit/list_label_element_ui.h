#pragma once

#include "ui/toolkit/list_element_ui.h"

// CListLabelElementUI: a list or combo element that shows one text in the owner's item style.
//
// Thread: the UI thread only.

namespace ui {

class CListLabelElementUI : public CListElementUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void PaintText(QPainter& painter) override;
};

}  // namespace ui
