#pragma once

#include "ui/toolkit/list_label_element_ui.h"

#include <vector>

// CListTextElementUI: a list element with several columns of text, spread evenly over its width
// (column 0 is the element's own text).
//
// Thread: the UI thread only.

namespace ui {

class CListTextElementUI : public CListLabelElementUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    std::string GetText(int column) const;
    void SetText(int column, const std::string& text);
    using CListLabelElementUI::GetText;
    using CListLabelElementUI::SetText;
    void PaintText(QPainter& painter) override;

private:
    std::vector<std::string> columns_;
};

}  // namespace ui
