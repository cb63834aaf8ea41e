#pragma once

#include "app/skin_settings.h"
#include "ui/toolkit/window_impl_base.h"

#include <functional>
#include <string>

// CSkinFrame: the skin chooser, a popup built from "skin.xml" under the main window's "skinbtn"
// (its top-left corner on the button's bottom edge, its right edge on the button's right edge).
// A picture tile ("skin_image_btn") publishes its background image and writes "main.ini" with
// FLAGS 1; a colour tile ("skin_color_btn") publishes its background colour and leaves the file
// alone; "skin_reset" publishes "common/background.png" and writes FLAGS 0; "skin_Custom" asks
// for a picture file and publishes its full path (a cancelled dialog publishes nothing, and the
// file is not written). "skin_image" and "skin_color" show the tile pages of "skin_tab". The
// popup closes when it loses activation.
//
// Thread: the UI thread only.

namespace app {

inline constexpr const char kSkinFrameClassName[] = "UISkinFrame";
inline constexpr const char kSkinFrameTitle[] = "skinframe";
inline constexpr const char kSkinFrameSkinFile[] = "skin.xml";

class CSkinFrame : public ui::WindowImplBase {
public:
    // The full path of a picture the user chose, "" when the dialog was cancelled.
    using PicturePicker = std::function<std::string(ui::HWND owner)>;

    // Opens the chooser under anchor, a control of owner; an open one is closed first. Returns
    // the new window, which deletes itself when it closes.
    static CSkinFrame* Open(ui::HWND owner, ui::CControlUI* anchor, PicturePicker picker = OpenPictureDialog,
                            CSkinSettings settings = CSkinSettings());
    static ui::HWND OpenWindow();
    // The file-open dialog: PNG pictures, or any file.
    static std::string OpenPictureDialog(ui::HWND owner);

    std::string GetWindowClassName() const override;
    std::string GetSkinFile() override;
    void Notify(ui::TNotifyUI& msg) override;
    ui::LRESULT MessageHandler(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam,
                               bool& handled) override;

protected:
    void OnFinalMessage(ui::HWND window) override;

private:
    CSkinFrame(PicturePicker picker, CSkinSettings settings);
    void MoveUnder(ui::HWND owner, ui::CControlUI* anchor);
    void PublishImage(const std::string& image);
    void SelectPage(int index);

    PicturePicker picker_;
    CSkinSettings settings_;
    bool wasActive_ = false;
};

}  // namespace app
