#include "ui/controls/circle_progress_ui.h"

#include "ui/toolkit/ui_parse.h"

#include <QPainter>

namespace ui {
namespace {

constexpr int kRingWidth = 10;

}  // namespace

std::string CCircleProgressUI::GetClass() const {
    return "CircleProgress";
}

void* CCircleProgressUI::GetInterface(std::string_view name) {
    return name == "CircleProgress" ? this : CProgressUI::GetInterface(name);
}

double CCircleProgressUI::SweepDegrees() const {
    const int range = max_value_ - min_value_;
    if (range == 0) {
        return 0.0;
    }
    return static_cast<double>(value_ - min_value_) * 360.0 / range;
}

void CCircleProgressUI::SetInnerColor(std::uint32_t argb) {
    innerColor_ = argb;
    Invalidate();
}

void CCircleProgressUI::SetAttribute(std::string_view name, std::string_view value) {
    if (ToLower(name) == "innercolor") {
        SetInnerColor(ParseColor(value, innerColor_));
        return;
    }
    CProgressUI::SetAttribute(name, value);
}

void CCircleProgressUI::PaintBkColor(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQColor(bkColor_));
    painter.drawEllipse(pos_);
    painter.restore();
}

void CCircleProgressUI::PaintStatusImage(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double sweep = SweepDegrees();
    if (sweep >= 360.0) {
        painter.setBrush(ToQColor(foreColor_));
        painter.drawEllipse(pos_);
    } else if (sweep > 0.0) {
        // Qt measures angles counter-clockwise in sixteenths of a degree; 90 is the top.
        painter.setBrush(ToQColor(foreColor_));
        painter.drawPie(pos_, 90 * 16, -static_cast<int>(sweep * 16.0 + 0.5));
    }
    const int inset = Scaled(kRingWidth);
    painter.setBrush(ToQColor(innerColor_));
    painter.drawEllipse(pos_.adjusted(inset, inset, -inset, -inset));
    painter.restore();
}

}  // namespace ui
