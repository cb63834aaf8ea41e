#include "ui/toolkit/progress_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/ui_parse.h"

#include <QPainter>

#include <algorithm>

namespace ui {

std::string CProgressUI::GetClass() const {
    return "Progress";
}

void* CProgressUI::GetInterface(std::string_view name) {
    return name == "Progress" ? this : CLabelUI::GetInterface(name);
}

void CProgressUI::SetMinValue(int value) {
    min_value_ = value;
    SetValue(value_);
    Invalidate();
}

void CProgressUI::SetMaxValue(int value) {
    max_value_ = value;
    SetValue(value_);
    Invalidate();
}

void CProgressUI::SetValue(int value) {
    const int low = std::min(min_value_, max_value_);
    const int high = std::max(min_value_, max_value_);
    value = std::clamp(value, low, high);
    if (value == value_) {
        return;
    }
    value_ = value;
    Invalidate();
}

void CProgressUI::SetForeColor(std::uint32_t argb) {
    foreColor_ = argb;
    Invalidate();
}

void CProgressUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    if (key == "hor") {
        horizontal_ = ParseBool(value);
    } else if (key == "min") {
        SetMinValue(ParseInt(value));
    } else if (key == "max") {
        SetMaxValue(ParseInt(value, 100));
    } else if (key == "value") {
        SetValue(ParseInt(value));
    } else if (key == "forecolor") {
        foreColor_ = ParseColor(value);
    } else {
        CLabelUI::SetAttribute(name, value);
        return;
    }
    Invalidate();
}

QRect CProgressUI::FilledRect() const {
    const int range = max_value_ - min_value_;
    if (range <= 0) {
        return {};
    }
    const double part = static_cast<double>(value_ - min_value_) / range;
    if (horizontal_) {
        return QRect(pos_.left(), pos_.top(), static_cast<int>(pos_.width() * part + 0.5), pos_.height());
    }
    const int height = static_cast<int>(pos_.height() * part + 0.5);
    return QRect(pos_.left(), pos_.top() + pos_.height() - height, pos_.width(), height);
}

void CProgressUI::PaintStatusImage(QPainter& painter) {
    const QRect filled = FilledRect();
    if (filled.isEmpty()) {
        return;
    }
    if (!foreImage_.empty()) {
        painter.save();
        painter.setClipRect(filled, Qt::IntersectClip);
        DrawImage(painter, foreImage_);
        painter.restore();
        return;
    }
    const QSize round = manager_ != nullptr ? manager_->GetDPIObj().Scale(borderRound_) : borderRound_;
    CRenderEngine::DrawColor(painter, filled, foreColor_, round);
}

}  // namespace ui
