#include "devices/mouse/shoot_pattern_ui.h"

#include "ui/toolkit/ui_parse.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

constexpr uint32_t kAccent = 0xFF0099FF;
constexpr uint32_t kPoint = 0xFF9AA0AA;
constexpr uint32_t kSelected = 0xFFFFFFFF;
constexpr uint32_t kAxis = 0xFF2E333D;
constexpr int kMargin = 16;

}  // namespace

std::string CShootPatternUI::GetClass() const {
    return "ShootPattern";
}

void* CShootPatternUI::GetInterface(std::string_view name) {
    return name == "ShootPattern" ? this : CControlUI::GetInterface(name);
}

void CShootPatternUI::SetPath(std::vector<std::pair<int, int>> points, int selected) {
    points_ = std::move(points);
    selected_ = selected;
    Invalidate();
}

void CShootPatternUI::PaintStatusImage(QPainter& painter) {
    CControlUI::PaintStatusImage(painter);
    const QRectF area =
        QRectF(pos_).adjusted(Scaled(kMargin), Scaled(kMargin), -Scaled(kMargin), -Scaled(kMargin));
    if (area.width() <= 0 || area.height() <= 0) {
        return;
    }
    // The origin belongs to the picture, and a path with no width or height still gets a scale.
    int left = 0, right = 1, top = 0, bottom = 1;
    for (const auto& [x, y] : points_) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    const double scale = std::min(area.width() / (right - left), area.height() / (bottom - top));
    const QPointF offset(area.center().x() - (left + right) * scale / 2,
                         area.center().y() - (top + bottom) * scale / 2);
    const auto at = [&](int x, int y) { return QPointF(offset.x() + x * scale, offset.y() + y * scale); };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF origin = at(0, 0);
    painter.setPen(QPen(ui::ToQColor(kAxis), Scaled(1)));
    painter.drawLine(QPointF(area.left(), origin.y()), QPointF(area.right(), origin.y()));
    painter.drawLine(QPointF(origin.x(), area.top()), QPointF(origin.x(), area.bottom()));

    QPainterPath path(origin);
    for (const auto& [x, y] : points_) {
        path.lineTo(at(x, y));
    }
    painter.setPen(QPen(ui::ToQColor(kAccent), Scaled(2)));
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ui::ToQColor(kPoint));
    for (const auto& [x, y] : points_) {
        painter.drawEllipse(at(x, y), Scaled(2), Scaled(2));
    }
    if (selected_ >= 0 && selected_ < static_cast<int>(points_.size())) {
        const auto& [x, y] = points_[static_cast<size_t>(selected_)];
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ui::ToQColor(kSelected), Scaled(2)));
        painter.drawEllipse(at(x, y), Scaled(6), Scaled(6));
    }
    painter.restore();
}
