#pragma once

#include "ui/toolkit/label_ui.h"

// CButtonUI: a label that reacts to the mouse. Each state has its image and colours:
// normalimage, hotimage, pushedimage, focusedimage, disabledimage, hotforeimage; hotbkcolor,
// pushedbkcolor, disabledbkcolor; hottextcolor, pushedtextcolor, focusedtextcolor. A press and
// release inside it sends "click"; a double click sends "dbclick" as well.
//
// Thread: the UI thread only.

namespace ui {

class CButtonUI : public CLabelUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    const std::string& GetNormalImage() const { return normalImage_; }
    void SetNormalImage(const std::string& image);
    void SetHotImage(const std::string& image);
    void SetPushedImage(const std::string& image);
    void SetDisabledImage(const std::string& image);
    void SetForeImage(const std::string& image);
    const std::string& GetForeImage() const { return foreImage_; }
    void SetHotForeImage(const std::string& image);

    bool IsHot() const { return hot_; }
    bool IsPushed() const { return pushed_; }

    void SetEnabled(bool enabled = true) override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(TEventUI& event) override;
    void PaintBkColor(QPainter& painter) override;
    void PaintStatusImage(QPainter& painter) override;
    void PaintText(QPainter& painter) override;

protected:
    bool hot_ = false;
    bool pushed_ = false;
    std::string normalImage_;
    std::string hotImage_;
    std::string pushedImage_;
    std::string focusedImage_;
    std::string disabledImage_;
    std::string hotForeImage_;
    std::string pushedForeImage_;
    std::uint32_t hotBkColor_ = 0;
    std::uint32_t pushedBkColor_ = 0;
    std::uint32_t disabledBkColor_ = 0;
    std::uint32_t hotTextColor_ = 0;
    std::uint32_t pushedTextColor_ = 0;
    std::uint32_t focusedTextColor_ = 0;
    std::uint32_t hotBorderColor_ = 0;
};

}  // namespace ui
