#include "ui/toolkit/button_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/ui_parse.h"

namespace ui {

std::string CButtonUI::GetClass() const {
    return "Button";
}

void* CButtonUI::GetInterface(std::string_view name) {
    return name == "Button" ? this : CLabelUI::GetInterface(name);
}

void CButtonUI::SetNormalImage(const std::string& image) {
    normalImage_ = image;
    Invalidate();
}
void CButtonUI::SetHotImage(const std::string& image) {
    hotImage_ = image;
    Invalidate();
}
void CButtonUI::SetPushedImage(const std::string& image) {
    pushedImage_ = image;
    Invalidate();
}
void CButtonUI::SetDisabledImage(const std::string& image) {
    disabledImage_ = image;
    Invalidate();
}
void CButtonUI::SetForeImage(const std::string& image) {
    foreImage_ = image;
    Invalidate();
}
void CButtonUI::SetHotForeImage(const std::string& image) {
    hotForeImage_ = image;
    Invalidate();
}

void CButtonUI::SetEnabled(bool enabled) {
    if (!enabled) {
        hot_ = false;
        pushed_ = false;
    }
    CLabelUI::SetEnabled(enabled);
}

void CButtonUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    const std::string text(value);
    if (key == "normalimage") {
        normalImage_ = text;
    } else if (key == "hotimage") {
        hotImage_ = text;
    } else if (key == "pushedimage") {
        pushedImage_ = text;
    } else if (key == "focusedimage") {
        focusedImage_ = text;
    } else if (key == "disabledimage") {
        disabledImage_ = text;
    } else if (key == "hotforeimage") {
        hotForeImage_ = text;
    } else if (key == "pushedforeimage") {
        pushedForeImage_ = text;
    } else if (key == "hotbkcolor") {
        hotBkColor_ = ParseColor(value);
    } else if (key == "pushedbkcolor") {
        pushedBkColor_ = ParseColor(value);
    } else if (key == "disabledbkcolor") {
        disabledBkColor_ = ParseColor(value);
    } else if (key == "hottextcolor") {
        hotTextColor_ = ParseColor(value);
    } else if (key == "pushedtextcolor") {
        pushedTextColor_ = ParseColor(value);
    } else if (key == "focusedtextcolor") {
        focusedTextColor_ = ParseColor(value);
    } else if (key == "hotbordercolor") {
        hotBorderColor_ = ParseColor(value);
    } else {
        CLabelUI::SetAttribute(name, value);
        return;
    }
    Invalidate();
}

void CButtonUI::DoEvent(TEventUI& event) {
    if (!IsEnabled() && event.Type != EventType::Timer) {
        if (event.Type == EventType::ScrollWheel) {
            CLabelUI::DoEvent(event);
        }
        return;
    }
    switch (event.Type) {
        case EventType::MouseEnter:
            hot_ = true;
            Invalidate();
            return;
        case EventType::MouseLeave:
            hot_ = false;
            Invalidate();
            return;
        case EventType::ButtonDown:
            pushed_ = true;
            Invalidate();
            return;
        case EventType::DblClick:
            pushed_ = true;
            if (manager_ != nullptr) {
                manager_->SendNotify(this, kNotifyDblClick);
            }
            Invalidate();
            return;
        case EventType::ButtonUp:
            if (pushed_) {
                pushed_ = false;
                Invalidate();
                if (pos_.contains(event.ptMouse)) {
                    Activate();
                }
            }
            return;
        case EventType::MouseMove:
            return;
        case EventType::KeyDown:
            if (event.key == Qt::Key_Space || event.key == Qt::Key_Return || event.key == Qt::Key_Enter) {
                Activate();
                return;
            }
            break;
        default:
            break;
    }
    CLabelUI::DoEvent(event);
}

void CButtonUI::PaintBkColor(QPainter& painter) {
    std::uint32_t colour = bkColor_;
    if (!IsEnabled() && disabledBkColor_ != 0) {
        colour = disabledBkColor_;
    } else if (pushed_ && pushedBkColor_ != 0) {
        colour = pushedBkColor_;
    } else if (hot_ && hotBkColor_ != 0) {
        colour = hotBkColor_;
    }
    const QSize round = manager_ != nullptr ? manager_->GetDPIObj().Scale(borderRound_) : borderRound_;
    CRenderEngine::DrawColor(painter, pos_, colour, round);
    if (hot_ && hotBorderColor_ != 0 && IsEnabled()) {
        CRenderEngine::DrawBorder(painter, pos_, std::max(1, Scaled(std::max(1, borderSize_))),
                                  hotBorderColor_, round);
    }
}

void CButtonUI::PaintStatusImage(QPainter& painter) {
    const std::string* image = &normalImage_;
    if (!IsEnabled() && !disabledImage_.empty()) {
        image = &disabledImage_;
    } else if (pushed_ && !pushedImage_.empty()) {
        image = &pushedImage_;
    } else if ((pushed_ || hot_) && !hotImage_.empty()) {
        image = &hotImage_;
    } else if (focused_ && !focusedImage_.empty()) {
        image = &focusedImage_;
    }
    DrawImage(painter, *image);
    const std::string* fore = &foreImage_;
    if (pushed_ && !pushedForeImage_.empty()) {
        fore = &pushedForeImage_;
    } else if ((pushed_ || hot_) && !hotForeImage_.empty()) {
        fore = &hotForeImage_;
    }
    DrawImage(painter, *fore);
}

void CButtonUI::PaintText(QPainter& painter) {
    std::uint32_t colour = CurrentTextColor();
    if (IsEnabled()) {
        if (pushed_ && pushedTextColor_ != 0) {
            colour = pushedTextColor_;
        } else if ((pushed_ || hot_) && hotTextColor_ != 0) {
            colour = hotTextColor_;
        } else if (focused_ && focusedTextColor_ != 0) {
            colour = focusedTextColor_;
        }
    }
    PaintTextIn(painter, colour);
}

}  // namespace ui
