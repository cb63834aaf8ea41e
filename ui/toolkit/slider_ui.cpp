#include "ui/toolkit/slider_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/ui_parse.h"

#include <QPainter>

#include <algorithm>

namespace ui {

std::string CSliderUI::GetClass() const {
    return "Slider";
}

void* CSliderUI::GetInterface(std::string_view name) {
    return name == "Slider" ? this : CProgressUI::GetInterface(name);
}

void CSliderUI::SetThumbSize(QSize size) {
    thumbSize_ = size;
    Invalidate();
}

void CSliderUI::SetEnabled(bool enabled) {
    if (!enabled) {
        dragging_ = false;
        thumbHot_ = false;
    }
    CProgressUI::SetEnabled(enabled);
}

QRect CSliderUI::TrackRect() const {
    const QSize thumb = manager_ != nullptr ? manager_->GetDPIObj().Scale(thumbSize_) : thumbSize_;
    if (horizontal_) {
        return QRect(pos_.left() + thumb.width() / 2, pos_.top(), std::max(1, pos_.width() - thumb.width()),
                     pos_.height());
    }
    return QRect(pos_.left(), pos_.top() + thumb.height() / 2, pos_.width(),
                 std::max(1, pos_.height() - thumb.height()));
}

QRect CSliderUI::GetThumbRect() const {
    const QSize thumb = manager_ != nullptr ? manager_->GetDPIObj().Scale(thumbSize_) : thumbSize_;
    const QRect track = TrackRect();
    const int range = std::max(1, max_value_ - min_value_);
    const double part = static_cast<double>(value_ - min_value_) / range;
    if (horizontal_) {
        const int x = track.left() + static_cast<int>(track.width() * part + 0.5) - thumb.width() / 2;
        return QRect(x, pos_.top() + (pos_.height() - thumb.height()) / 2, thumb.width(), thumb.height());
    }
    const int y =
        track.top() + track.height() - static_cast<int>(track.height() * part + 0.5) - thumb.height() / 2;
    return QRect(pos_.left() + (pos_.width() - thumb.width()) / 2, y, thumb.width(), thumb.height());
}

int CSliderUI::ValueAt(QPoint point) const {
    const QRect track = TrackRect();
    double part = horizontal_
                      ? static_cast<double>(point.x() - track.left()) / track.width()
                      : static_cast<double>(track.top() + track.height() - point.y()) / track.height();
    part = std::clamp(part, 0.0, 1.0);
    const int value = min_value_ + static_cast<int>(part * (max_value_ - min_value_) + 0.5);
    return std::clamp(value, std::min(min_value_, max_value_), std::max(min_value_, max_value_));
}

void CSliderUI::Notify(const char* type) {
    if (manager_ != nullptr) {
        manager_->SendNotify(this, type, static_cast<WPARAM>(value_));
    }
}

void CSliderUI::DoEvent(TEventUI& event) {
    if (!IsEnabled()) {
        CProgressUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
        case EventType::ButtonDown:
        case EventType::DblClick:
            // A press on the track jumps there; the value is reported when the button is released.
            if (!GetThumbRect().contains(event.ptMouse)) {
                SetValue(ValueAt(event.ptMouse));
            }
            dragging_ = true;
            Invalidate();
            return;
        case EventType::MouseMove:
            if (dragging_) {
                const int value = ValueAt(event.ptMouse);
                if (value != value_) {
                    SetValue(value);
                    Notify(kNotifyMoveValueChanged);
                }
                return;
            }
            if (thumbHot_ != GetThumbRect().contains(event.ptMouse)) {
                thumbHot_ = !thumbHot_;
                Invalidate();
            }
            return;
        case EventType::ButtonUp:
            if (dragging_) {
                dragging_ = false;
                SetValue(ValueAt(event.ptMouse));
                Notify(kNotifyValueChanged);
                Invalidate();
            }
            return;
        case EventType::MouseLeave:
            thumbHot_ = false;
            Invalidate();
            return;
        case EventType::ScrollWheel: {
            const int before = value_;
            SetValue(value_ + (event.key > 0 ? step_ : -step_));
            if (value_ != before) {
                Notify(kNotifyValueChanged);
            }
            return;
        }
        case EventType::KeyDown: {
            const int before = value_;
            if (event.key == Qt::Key_Left || event.key == Qt::Key_Down) {
                SetValue(value_ - step_);
            } else if (event.key == Qt::Key_Right || event.key == Qt::Key_Up) {
                SetValue(value_ + step_);
            }
            if (value_ != before) {
                Notify(kNotifyValueChanged);
            }
            return;
        }
        default:
            CProgressUI::DoEvent(event);
            return;
    }
}

void CSliderUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    const std::string text(value);
    if (key == "thumbimage") {
        thumbImage_ = text;
    } else if (key == "thumbhotimage") {
        thumbHotImage_ = text;
    } else if (key == "thumbpushedimage") {
        thumbPushedImage_ = text;
    } else if (key == "thumbsize") {
        thumbSize_ = ParseSize(value);
    } else if (key == "thumbcolor") {
        thumbColor_ = ParseColor(value);
    } else if (key == "step") {
        SetChangeStep(ParseInt(value, 1));
    } else {
        CProgressUI::SetAttribute(name, value);
        return;
    }
    Invalidate();
}

void CSliderUI::PaintBkColor(QPainter& painter) {
    if (!bkImage_.empty() || bkColor_ == 0) {
        return;
    }
    // A thin rounded track, centred, so the thumb stands out.
    const int thickness = std::max(2, Scaled(4));
    const QRect track =
        horizontal_ ? QRect(pos_.left(), pos_.center().y() - thickness / 2 + 1, pos_.width(), thickness)
                    : QRect(pos_.center().x() - thickness / 2 + 1, pos_.top(), thickness, pos_.height());
    CRenderEngine::DrawColor(painter, track, bkColor_, QSize(thickness / 2, thickness / 2));
}

void CSliderUI::PaintStatusImage(QPainter& painter) {
    const QRect thumb = GetThumbRect();
    const int thickness = std::max(2, Scaled(4));
    if (foreImage_.empty()) {
        QRect filled = horizontal_ ? QRect(pos_.left(), pos_.center().y() - thickness / 2 + 1,
                                           thumb.center().x() - pos_.left(), thickness)
                                   : QRect(pos_.center().x() - thickness / 2 + 1, thumb.center().y(),
                                           thickness, pos_.bottom() - thumb.center().y());
        CRenderEngine::DrawColor(painter, filled, IsEnabled() ? foreColor_ : 0xFF3A3F4A,
                                 QSize(thickness / 2, thickness / 2));
    } else {
        CProgressUI::PaintStatusImage(painter);
    }
    const std::string& image = dragging_ && !thumbPushedImage_.empty()               ? thumbPushedImage_
                               : (thumbHot_ || dragging_) && !thumbHotImage_.empty() ? thumbHotImage_
                                                                                     : thumbImage_;
    if (!image.empty() && DrawImage(painter, image, thumb)) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const std::uint32_t ring = !IsEnabled() ? 0xFF3A3F4A : foreColor_;
    painter.setPen(QPen(ToQColor(ring), std::max(2, Scaled(3))));
    painter.setBrush(
        ToQColor(thumbHot_ || dragging_ ? thumbColor_ : (thumbColor_ & 0x00FFFFFF) | 0xE6000000));
    const double inset = std::max(2, Scaled(3)) / 2.0;
    painter.drawEllipse(QRectF(thumb).adjusted(inset, inset, -inset, -inset));
    painter.restore();
}

}  // namespace ui
