#include "ui/controls/device_key_button_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/ui_parse.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace ui {
namespace {

constexpr std::uint32_t kSelectedRingColour = 0xFF0099FF;

// "#RRGGBB", "RRGGBB" or "0xRRGGBB": a leading '#' is skipped, the rest is hexadecimal.
std::uint32_t ParseHexColour(std::string_view text) {
    if (!text.empty() && text.front() == '#') {
        text.remove_prefix(1);
    }
    return ParseColor(text);
}

}  // namespace

std::string CDeviceKeyButtonUI::GetClass() const {
    return "DeviceKeyButton";
}

void* CDeviceKeyButtonUI::GetInterface(std::string_view name) {
    return name == "DeviceKeyButton" ? this : CButtonUI::GetInterface(name);
}

void CDeviceKeyButtonUI::SetLightImage(const std::string& image) {
    lightImage_ = image;
    Invalidate();
}

void CDeviceKeyButtonUI::SetKeySetImage(const std::string& image) {
    keySetImage_ = image;
    Invalidate();
}

void CDeviceKeyButtonUI::SetLightImageOn(bool on) {
    if (lightOn_ == on) {
        return;
    }
    lightOn_ = on;
    Invalidate();
}

void CDeviceKeyButtonUI::SetLightColor(std::uint32_t rgb, int alpha) {
    lightRgb_ = rgb & 0xFFFFFF;
    lightAlpha_ = std::clamp(alpha, 0, 255);
    Invalidate();
}

void CDeviceKeyButtonUI::SetShowKeySetImage(bool show) {
    if (showKeySetImage_ == show) {
        return;
    }
    showKeySetImage_ = show;
    Invalidate();
}

void CDeviceKeyButtonUI::SetSelected(bool selected) {
    if (selected_ == selected) {
        return;
    }
    selected_ = selected;
    Invalidate();
}

void CDeviceKeyButtonUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    if (key == "lightimage") {
        SetLightImage(std::string(value));
    } else if (key == "keysetimage") {
        SetKeySetImage(std::string(value));
    } else if (key == "gmnametextcolor") {
        gmNameTextColor_ = ParseHexColour(value);
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

void CDeviceKeyButtonUI::DoEvent(TEventUI& event) {
    // A double click whose point has left the button (the pointer moved under capture) is no
    // double click on this key.
    if (event.Type == EventType::DblClick && !pos_.contains(event.ptMouse)) {
        return;
    }
    CButtonUI::DoEvent(event);
}

void CDeviceKeyButtonUI::PaintStatusImage(QPainter& painter) {
    CButtonUI::PaintStatusImage(painter);
    if (lightOn_) {
        PaintLightImage(painter);
    }
    if (!showKeySetImage_) {
        DrawImage(painter, keySetImage_);
    }
    if (selected_) {
        const int width = std::max(1, Scaled(2));
        const QSize round = manager_ != nullptr ? manager_->GetDPIObj().Scale(borderRound_) : borderRound_;
        CRenderEngine::DrawBorder(painter, pos_, width, kSelectedRingColour, round);
    }
}

// The light image is a white shape: it is drawn into a layer, the layer is filled with the LED
// colour where the shape is, and the layer goes onto the button with the LED's alpha.
void CDeviceKeyButtonUI::PaintLightImage(QPainter& painter) {
    if (lightImage_.empty() || pos_.isEmpty() || lightAlpha_ == 0) {
        return;
    }
    const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
    QImage layer(pos_.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        layerPainter.translate(-pos_.topLeft());
        if (!DrawImage(layerPainter, lightImage_)) {
            return;
        }
        layerPainter.resetTransform();
        layerPainter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        layerPainter.fillRect(QRect(QPoint(0, 0), pos_.size()), ToQColor(0xFF000000 | lightRgb_));
    }
    painter.save();
    painter.setOpacity(lightAlpha_ / 255.0);
    painter.drawImage(pos_.topLeft(), layer);
    painter.restore();
}

}  // namespace ui
