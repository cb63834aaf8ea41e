#include "ui/toolkit/label_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/ui_parse.h"

#include <QFontMetrics>

namespace ui {

CLabelUI::CLabelUI() : textStyle_(DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS) {}

std::string CLabelUI::GetClass() const {
    return "Label";
}

void* CLabelUI::GetInterface(std::string_view name) {
    return name == "Label" ? this : CControlUI::GetInterface(name);
}

void CLabelUI::SetTextColor(std::uint32_t argb) {
    textColor_ = argb;
    Invalidate();
}

void CLabelUI::SetFont(int id) {
    font_ = id;
    Invalidate();
}

void CLabelUI::SetTextStyle(unsigned style) {
    textStyle_ = style;
    Invalidate();
}

QMargins CLabelUI::GetTextPadding() const {
    return manager_ != nullptr ? manager_->GetDPIObj().Scale(textPadding_) : textPadding_;
}

void CLabelUI::SetTextPadding(const QMargins& padding) {
    textPadding_ = padding;
    Invalidate();
}

QSize CLabelUI::EstimateSize(QSize available) {
    if (!autoCalcWidth_ || manager_ == nullptr) {
        return CControlUI::EstimateSize(available);
    }
    const QFontMetrics metrics(manager_->GetFont(font_));
    const QMargins pad = GetTextPadding();
    const int width = metrics.horizontalAdvance(QString::fromStdString(GetText())) + pad.left() + pad.right();
    return QSize(width, GetFixedHeight());
}

void CLabelUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    if (key == "align") {
        textStyle_ &= ~(DT_CENTER | DT_RIGHT);
        if (value.find("center") != std::string_view::npos) {
            textStyle_ |= DT_CENTER;
        } else if (value.find("right") != std::string_view::npos) {
            textStyle_ |= DT_RIGHT;
        }
    } else if (key == "valign") {
        textStyle_ &= ~(DT_VCENTER | DT_BOTTOM);
        if (value.find("vcenter") != std::string_view::npos ||
            value.find("center") != std::string_view::npos) {
            textStyle_ |= DT_VCENTER;
        } else if (value.find("bottom") != std::string_view::npos) {
            textStyle_ |= DT_BOTTOM;
        }
    } else if (key == "textcolor") {
        textColor_ = ParseColor(value);
    } else if (key == "disabledtextcolor") {
        disabledTextColor_ = ParseColor(value);
    } else if (key == "font") {
        font_ = ParseInt(value, -1);
    } else if (key == "textpadding") {
        textPadding_ = ParseMargins(value);
    } else if (key == "endellipsis") {
        textStyle_ = ParseBool(value) ? (textStyle_ | DT_END_ELLIPSIS) : (textStyle_ & ~DT_END_ELLIPSIS);
    } else if (key == "wordbreak" || key == "multiline") {
        textStyle_ = ParseBool(value) ? ((textStyle_ | DT_WORDBREAK) & ~DT_SINGLELINE)
                                      : ((textStyle_ & ~DT_WORDBREAK) | DT_SINGLELINE);
    } else if (key == "autocalcwidth") {
        autoCalcWidth_ = ParseBool(value);
    } else {
        CControlUI::SetAttribute(name, value);
        return;
    }
    Invalidate();
}

std::uint32_t CLabelUI::CurrentTextColor() const {
    if (!IsEnabled() && disabledTextColor_ != 0) {
        return disabledTextColor_;
    }
    return textColor_ != 0 ? textColor_ : 0xFFFFFFFF;
}

void CLabelUI::PaintText(QPainter& painter) {
    PaintTextIn(painter, CurrentTextColor());
}

void CLabelUI::PaintTextIn(QPainter& painter, std::uint32_t colour) {
    if (manager_ == nullptr) {
        return;
    }
    const std::string text = GetText();
    CRenderEngine::DrawText(painter, pos_.marginsRemoved(GetTextPadding()), text, colour,
                            manager_->GetFont(font_), textStyle_);
}

}  // namespace ui
