#pragma once

#include "ui/toolkit/control_ui.h"

// CLabelUI: one line (or, with wordbreak, several) of text. Attributes: align (left, center,
// right), valign (top, vcenter, bottom), textcolor, disabledtextcolor, font (an id of the
// window's fonts), textpadding, endellipsis, wordbreak, autocalcwidth.
//
// Thread: the UI thread only.

namespace ui {

class CLabelUI : public CControlUI {
public:
    CLabelUI();

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void SetTextColor(std::uint32_t argb);
    std::uint32_t GetTextColor() const { return textColor_; }
    void SetFont(int id);
    int GetFont() const { return font_; }
    void SetTextStyle(unsigned style);
    unsigned GetTextStyle() const { return textStyle_; }
    QMargins GetTextPadding() const;
    void SetTextPadding(const QMargins& padding);

    QSize EstimateSize(QSize available) override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void PaintText(QPainter& painter) override;

protected:
    std::uint32_t CurrentTextColor() const;
    void PaintTextIn(QPainter& painter, std::uint32_t colour);

    std::uint32_t textColor_ = 0;
    std::uint32_t disabledTextColor_ = 0;
    int font_ = -1;
    unsigned textStyle_;
    QMargins textPadding_;
    bool autoCalcWidth_ = false;
};

}  // namespace ui
