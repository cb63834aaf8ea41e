#pragma once

#include "ui/toolkit/button_ui.h"

#include <QRect>

#include <string>

// CHandImgButtonUI: a picture button with a small delete box in its bottom-right corner (20 by 20
// units, 10 units in from the right edge and 9 up from the bottom). While the pointer is over the
// button and the delete box is not hidden, the box shows its normal image, or its hot image while
// the pointer is inside it. A release inside the box sends "click_handdelete"; elsewhere inside
// the button it is an ordinary "click". Entering and leaving send "msenter" and "msleave".
// Attributes: handimage, deletenormalimage, deletehotimage.
//
// Thread: the UI thread only.

namespace ui {

inline constexpr const char kNotifyClickHandDelete[] = "click_handdelete";
inline constexpr const char kNotifyMouseEnter[] = "msenter";
inline constexpr const char kNotifyMouseLeave[] = "msleave";

class CHandImgButtonUI : public CButtonUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    const std::string& GetHandImage() const { return handImage_; }
    void SetHandImage(const std::string& image);
    void SetDeleteNormalImage(const std::string& image);
    void SetDeleteHotImage(const std::string& image);
    const std::string& GetCurrentDeleteImage() const { return currentDeleteImage_; }
    bool IsDeleteHidden() const { return hideDelete_; }
    void SetDeleteHidden(bool hidden);
    // The delete box in window pixels.
    QRect DeleteBoxRect() const;

    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(QPainter& painter) override;

private:
    void Notify(const char* type);

    std::string handImage_;
    std::string deleteNormalImage_;
    std::string deleteHotImage_;
    std::string currentDeleteImage_;
    bool hideDelete_ = true;
};

}  // namespace ui
