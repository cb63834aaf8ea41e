#pragma once

#include "ui/toolkit/control_ui.h"

// CColorPaletteUI: picks a colour. The upper part spans hue (left to right) and saturation (top
// to bottom) at the chosen brightness; the strip below it sets the brightness. A press and drag
// moves the marker; the release sends "colorchanged" with the colour (ARGB) in wParam.
// Attributes: palletheight (the upper part, default the rest), barheight, thumbimage.
//
// Thread: the UI thread only.

namespace ui {

class CColorPaletteUI : public CControlUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Opaque ARGB of the marker.
    std::uint32_t GetSelectColor() const;
    // Moves the marker to the colour (no notification).
    void SetSelectColor(std::uint32_t argb);

    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(QPainter& painter) override;

private:
    QRect PaletteRect() const;
    QRect BarRect() const;
    void PickAt(QPoint point);

    int hue_ = 0;           // 0..359
    int saturation_ = 255;  // 0..255
    int value_ = 255;       // 0..255
    int barHeight_ = 12;
    enum class Drag { None, Palette, Bar } drag_ = Drag::None;
};

}  // namespace ui
