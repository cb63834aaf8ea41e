#pragma once

#include "ui/toolkit/progress_ui.h"

#include <cstdint>

// CCircleProgressUI: a progress ring. It fills an ellipse of the background colour over its whole
// rectangle, a pie of the foreground colour from the top, clockwise, over the part of the range
// the value has reached, and an inner ellipse inset by 10 units on each side, which leaves a ring.
// The inner ellipse is white unless the skin gives "innercolor". An empty range draws no pie.
//
// Thread: the UI thread only.

namespace ui {

class CCircleProgressUI : public CProgressUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // The pie's sweep in degrees (0 for an empty range).
    double SweepDegrees() const;
    std::uint32_t GetInnerColor() const { return innerColor_; }
    void SetInnerColor(std::uint32_t argb);

    void SetAttribute(std::string_view name, std::string_view value) override;
    void PaintBkColor(QPainter& painter) override;
    void PaintStatusImage(QPainter& painter) override;

private:
    std::uint32_t innerColor_ = 0xFFFFFFFF;
};

}  // namespace ui
