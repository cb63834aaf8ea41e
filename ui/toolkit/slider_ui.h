#pragma once

#include "ui/toolkit/progress_ui.h"

// CSliderUI: a progress bar with a thumb. Dragging the thumb sends "movevaluechanged" at each
// new value and "valuechanged" on release; a click on the track moves there and sends
// "valuechanged"; the wheel and the arrow keys move by the step and send "valuechanged". SetValue
// from code sends nothing. Attributes: thumbimage, thumbhotimage, thumbpushedimage, thumbsize,
// thumbcolor, step.
//
// Thread: the UI thread only.

namespace ui {

class CSliderUI : public CProgressUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    int GetChangeStep() const { return step_; }
    void SetChangeStep(int step) { step_ = std::max(1, step); }
    void SetThumbSize(QSize size);
    QRect GetThumbRect() const;
    bool IsDragging() const { return dragging_; }

    void SetEnabled(bool enabled = true) override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(TEventUI& event) override;
    void PaintBkColor(QPainter& painter) override;
    void PaintStatusImage(QPainter& painter) override;

private:
    int ValueAt(QPoint point) const;
    QRect TrackRect() const;
    void Notify(const char* type);

    int step_ = 1;
    QSize thumbSize_{16, 16};
    std::uint32_t thumbColor_ = 0xFFFFFFFF;
    std::string thumbImage_;
    std::string thumbHotImage_;
    std::string thumbPushedImage_;
    bool dragging_ = false;
    bool thumbHot_ = false;
};

}  // namespace ui
