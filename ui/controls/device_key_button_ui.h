#pragma once

#include "ui/toolkit/button_ui.h"

#include <cstdint>
#include <string>

// CDeviceKeyButtonUI: one key (or LED) of a device picture. Over the button it draws its light
// image, tinted with the LED colour and alpha, while the light image is on, and its key-set image
// (the "this key is reassigned" badge) while the show-key-set-image flag is 0. A rubber band of
// CSelectPanelUI selects it; a selected button carries an accent ring. Attributes: lightimage,
// keysetimage, gmnametextcolor (read, not used). A double click inside it sends "dbclick".
//
// Thread: the UI thread only.

namespace ui {

class CDeviceKeyButtonUI : public CButtonUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    const std::string& GetLightImage() const { return lightImage_; }
    void SetLightImage(const std::string& image);
    const std::string& GetKeySetImage() const { return keySetImage_; }
    void SetKeySetImage(const std::string& image);

    bool IsLightImageOn() const { return lightOn_; }
    void SetLightImageOn(bool on);
    // The LED colour (0xRRGGBB) and its alpha (0..255) the light image is tinted with.
    void SetLightColor(std::uint32_t rgb, int alpha);
    std::uint32_t GetLightColor() const { return lightRgb_; }
    int GetLightAlpha() const { return lightAlpha_; }

    bool IsShowKeySetImage() const { return showKeySetImage_; }
    void SetShowKeySetImage(bool show);

    bool IsSelected() const { return selected_; }
    // Repaints only when the value changes.
    void SetSelected(bool selected);

    std::uint32_t GetGmNameTextColor() const { return gmNameTextColor_; }

    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(QPainter& painter) override;

private:
    void PaintLightImage(QPainter& painter);

    std::string lightImage_;
    std::string keySetImage_;
    bool lightOn_ = false;
    bool selected_ = false;
    bool showKeySetImage_ = true;
    std::uint32_t lightRgb_ = 0xFFFFFF;
    int lightAlpha_ = 255;
    std::uint32_t gmNameTextColor_ = 0;
};

}  // namespace ui
