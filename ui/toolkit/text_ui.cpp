#include "ui/toolkit/text_ui.h"

#include "ui/toolkit/render_engine.h"

namespace ui {

CTextUI::CTextUI() {
    textStyle_ = DT_WORDBREAK;
}

std::string CTextUI::GetClass() const {
    return "Text";
}

void* CTextUI::GetInterface(std::string_view name) {
    return name == "Text" ? this : CLabelUI::GetInterface(name);
}

}  // namespace ui
