#pragma once

#include "ui/toolkit/label_ui.h"

// CTextUI: a label that wraps its text over several lines, top-aligned.
//
// Thread: the UI thread only.

namespace ui {

class CTextUI : public CLabelUI {
public:
    CTextUI();
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
};

}  // namespace ui
