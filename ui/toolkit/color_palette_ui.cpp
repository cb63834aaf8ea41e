#include "ui/toolkit/color_palette_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/ui_parse.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace ui {

std::string CColorPaletteUI::GetClass() const {
    return "ColorPalette";
}

void* CColorPaletteUI::GetInterface(std::string_view name) {
    return name == "ColorPalette" ? this : CControlUI::GetInterface(name);
}

std::uint32_t CColorPaletteUI::GetSelectColor() const {
    const QColor colour = QColor::fromHsv(hue_, saturation_, value_);
    return 0xFF000000u | (static_cast<std::uint32_t>(colour.red()) << 16) |
           (static_cast<std::uint32_t>(colour.green()) << 8) | static_cast<std::uint32_t>(colour.blue());
}

void CColorPaletteUI::SetSelectColor(std::uint32_t argb) {
    const QColor colour = ToQColor(argb | 0xFF000000u);
    hue_ = std::max(0, colour.hsvHue());  // grey has no hue: keep it at red
    saturation_ = colour.hsvSaturation();
    value_ = colour.value();
    Invalidate();
}

QRect CColorPaletteUI::BarRect() const {
    const int height = Scaled(barHeight_);
    return QRect(pos_.left(), pos_.bottom() + 1 - height, pos_.width(), height);
}

QRect CColorPaletteUI::PaletteRect() const {
    const int gap = Scaled(8);
    return QRect(pos_.left(), pos_.top(), pos_.width(),
                 std::max(1, pos_.height() - Scaled(barHeight_) - gap));
}

void CColorPaletteUI::PickAt(QPoint point) {
    if (drag_ == Drag::Palette) {
        const QRect palette = PaletteRect();
        const double x = std::clamp(
            static_cast<double>(point.x() - palette.left()) / std::max(1, palette.width() - 1), 0.0, 1.0);
        const double y = std::clamp(
            static_cast<double>(point.y() - palette.top()) / std::max(1, palette.height() - 1), 0.0, 1.0);
        hue_ = std::min(359, static_cast<int>(x * 359 + 0.5));
        saturation_ = static_cast<int>((1.0 - y) * 255 + 0.5);
    } else if (drag_ == Drag::Bar) {
        const QRect bar = BarRect();
        const double x =
            std::clamp(static_cast<double>(point.x() - bar.left()) / std::max(1, bar.width() - 1), 0.0, 1.0);
        value_ = static_cast<int>(x * 255 + 0.5);
    }
    Invalidate();
}

void CColorPaletteUI::DoEvent(TEventUI& event) {
    if (!IsEnabled()) {
        CControlUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
        case EventType::ButtonDown:
            drag_ = BarRect().contains(event.ptMouse)       ? Drag::Bar
                    : PaletteRect().contains(event.ptMouse) ? Drag::Palette
                                                            : Drag::None;
            PickAt(event.ptMouse);
            return;
        case EventType::MouseMove:
            if (drag_ != Drag::None) {
                PickAt(event.ptMouse);
            }
            return;
        case EventType::ButtonUp:
            if (drag_ != Drag::None) {
                PickAt(event.ptMouse);
                drag_ = Drag::None;
                if (manager_ != nullptr) {
                    manager_->SendNotify(this, kNotifyColorChanged, GetSelectColor());
                }
            }
            return;
        default:
            CControlUI::DoEvent(event);
            return;
    }
}

void CColorPaletteUI::SetAttribute(std::string_view name, std::string_view value) {
    if (EqualsNoCase(name, "barheight")) {
        barHeight_ = std::max(4, ParseInt(value, 12));
        Invalidate();
        return;
    }
    CControlUI::SetAttribute(name, value);
}

void CColorPaletteUI::PaintStatusImage(QPainter& painter) {
    const QRect palette = PaletteRect();
    const QRect bar = BarRect();
    const int radius = Scaled(4);
    painter.save();
    // Disabled: the colours stay readable but clearly out of use.
    painter.setOpacity(IsEnabled() ? 1.0 : 0.3);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QLinearGradient hues(palette.topLeft(), palette.topRight());
    for (int i = 0; i <= 6; ++i) {
        hues.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 255, value_));
    }
    painter.setBrush(hues);
    painter.drawRoundedRect(palette, radius, radius);
    QLinearGradient fade(palette.topLeft(), palette.bottomLeft());
    const QColor grey = QColor::fromHsv(0, 0, value_);
    fade.setColorAt(0, QColor(grey.red(), grey.green(), grey.blue(), 0));
    fade.setColorAt(1, grey);
    painter.setBrush(fade);
    painter.drawRoundedRect(palette, radius, radius);

    QLinearGradient brightness(bar.topLeft(), bar.topRight());
    brightness.setColorAt(0, Qt::black);
    brightness.setColorAt(1, QColor::fromHsv(hue_, saturation_, 255));
    painter.setBrush(brightness);
    painter.drawRoundedRect(bar, bar.height() / 2.0, bar.height() / 2.0);
    // Markers: white rings with a dark outline so they read on any colour.
    const QPointF spot(palette.left() + hue_ / 359.0 * (palette.width() - 1),
                       palette.top() + (1.0 - saturation_ / 255.0) * (palette.height() - 1));
    const QPointF knob(bar.left() + value_ / 255.0 * (bar.width() - 1), bar.center().y() + 0.5);
    for (const QPointF& centre : {spot, knob}) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0, 0, 0, 120), Scaled(4)));
        painter.drawEllipse(centre, Scaled(6), Scaled(6));
        painter.setPen(QPen(Qt::white, Scaled(2)));
        painter.drawEllipse(centre, Scaled(6), Scaled(6));
    }
    painter.restore();
}

}  // namespace ui
