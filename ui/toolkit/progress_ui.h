#pragma once

#include "ui/toolkit/label_ui.h"

// CProgressUI: a bar between a minimum and a maximum. Attributes: min, max, value, hor (true:
// left to right; false: bottom to top), foreimage (drawn over the filled part) and forecolor (the
// filled part's colour when there is no image).
//
// Thread: the UI thread only.

namespace ui {

class CProgressUI : public CLabelUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    bool IsHorizontal() const { return horizontal_; }
    int GetMinValue() const { return min_value_; }
    void SetMinValue(int value);
    int GetMaxValue() const { return max_value_; }
    void SetMaxValue(int value);
    int GetValue() const { return value_; }
    // Kept inside the range.
    virtual void SetValue(int value);
    void SetForeColor(std::uint32_t argb);

    void SetAttribute(std::string_view name, std::string_view value) override;
    void PaintStatusImage(QPainter& painter) override;

protected:
    // The filled part of the bar for the current value.
    QRect FilledRect() const;

    bool horizontal_ = true;
    int min_value_ = 0;
    int max_value_ = 100;
    int value_ = 0;
    std::uint32_t foreColor_ = 0xFF0099FF;
};

}  // namespace ui
