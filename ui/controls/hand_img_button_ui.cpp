#include "ui/controls/hand_img_button_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/ui_parse.h"

namespace ui {
namespace {

constexpr int kDeleteBoxSize = 20;
constexpr int kDeleteBoxRightGap = 10;
constexpr int kDeleteBoxBottomGap = 9;

}  // namespace

std::string CHandImgButtonUI::GetClass() const {
    return "HandImgButton";
}

void* CHandImgButtonUI::GetInterface(std::string_view name) {
    return name == "HandImgButton" ? this : CButtonUI::GetInterface(name);
}

void CHandImgButtonUI::SetHandImage(const std::string& image) {
    handImage_ = image;
    Invalidate();
}

void CHandImgButtonUI::SetDeleteNormalImage(const std::string& image) {
    const bool wasCurrent = currentDeleteImage_ == deleteNormalImage_;
    deleteNormalImage_ = image;
    if (wasCurrent) {
        currentDeleteImage_ = image;
    }
    Invalidate();
}

void CHandImgButtonUI::SetDeleteHotImage(const std::string& image) {
    deleteHotImage_ = image;
    Invalidate();
}

void CHandImgButtonUI::SetDeleteHidden(bool hidden) {
    hideDelete_ = hidden;
    Invalidate();
}

QRect CHandImgButtonUI::DeleteBoxRect() const {
    const int size = Scaled(kDeleteBoxSize);
    const int right = pos_.left() + pos_.width() - Scaled(kDeleteBoxRightGap);
    const int bottom = pos_.top() + pos_.height() - Scaled(kDeleteBoxBottomGap);
    return QRect(right - size, bottom - size, size, size);
}

void CHandImgButtonUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    if (key == "handimage") {
        SetHandImage(std::string(value));
    } else if (key == "deletenormalimage") {
        SetDeleteNormalImage(std::string(value));
    } else if (key == "deletehotimage") {
        SetDeleteHotImage(std::string(value));
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

void CHandImgButtonUI::Notify(const char* type) {
    if (manager_ != nullptr) {
        manager_->SendNotify(this, type);
    }
}

void CHandImgButtonUI::DoEvent(TEventUI& event) {
    if (!IsEnabled()) {
        CButtonUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
        case EventType::MouseEnter:
            CButtonUI::DoEvent(event);
            Notify(kNotifyMouseEnter);
            return;
        case EventType::MouseLeave:
            CButtonUI::DoEvent(event);
            Notify(kNotifyMouseLeave);
            return;
        case EventType::MouseMove: {
            const std::string& image =
                DeleteBoxRect().contains(event.ptMouse) ? deleteHotImage_ : deleteNormalImage_;
            if (image != currentDeleteImage_) {
                currentDeleteImage_ = image;
                Invalidate();
            }
            return;
        }
        case EventType::ButtonUp:
            if (pushed_ && !hideDelete_ && DeleteBoxRect().contains(event.ptMouse)) {
                pushed_ = false;
                Invalidate();
                Notify(kNotifyClickHandDelete);
                return;
            }
            CButtonUI::DoEvent(event);
            return;
        default:
            CButtonUI::DoEvent(event);
            return;
    }
}

void CHandImgButtonUI::PaintStatusImage(QPainter& painter) {
    CButtonUI::PaintStatusImage(painter);
    DrawImage(painter, handImage_);
    if (hot_ && !hideDelete_) {
        DrawImage(painter, currentDeleteImage_, DeleteBoxRect());
    }
}

}  // namespace ui
