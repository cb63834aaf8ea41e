#pragma once

#include "ui/toolkit/window_impl_base.h"

#include <string>

// CMsgWnd: the modal message window through which the program asks the user to confirm something
// or tells a result. Built from "XML_MSG": "MessageTitle", "MessageText", "confirm_btn",
// "cancel_btn" and "closebtn". "confirm_btn" closes it with 1, "cancel_btn", "closebtn" and the
// system close command with 0. The object deletes itself when its window is destroyed.
//
// Thread: the UI thread only.

namespace app {

inline constexpr const char kMsgWndClassName[] = "MsgWnd";
inline constexpr const char kMsgSkinId[] = "XML_MSG";
// WS_POPUP | WS_CLIPCHILDREN; extended style WS_EX_TOOLWINDOW.
inline constexpr unsigned kMsgWndStyle = 0x82000000;
inline constexpr unsigned kMsgWndExStyle = ui::WS_EX_TOOLWINDOW;

class CMsgWnd : public ui::WindowImplBase {
public:
    enum ButtonLayout { kConfirmOnly = 0, kConfirmAndCancel = 1 };

    // Shows the message centred on owner and waits until the user answers: 1 confirmed, else 0.
    // An empty title keeps the skin's title; with textIsKey the text is a language key, else it is
    // shown as given. The DPI scales this window only; a value outside the supported ones is
    // replaced by 96 with the debug line "MSG_WND DPI SET ERROR". Layouts other than 0 and 1 keep
    // the skin's buttons.
    static int ShowMessage(ui::HWND owner, const std::string& title, const std::string& text, bool textIsKey,
                           int dpi, int buttonLayout);

    std::string GetWindowClassName() const override;
    std::string GetSkinFile() override;
    void InitWindow() override;
    void Notify(ui::TNotifyUI& msg) override;
    std::string QueryControlText(const std::string& key, const std::string& controlClass) override;

protected:
    void OnFinalMessage(ui::HWND window) override;

private:
    CMsgWnd() = default;
    void SetTexts(const std::string& title, const std::string& text, bool textIsKey);
    void SetDPI(int dpi);
    void SetButtonLayout(int layout);

    std::string literalText_;
    ui::CControlUI* closeButton_ = nullptr;
};

}  // namespace app
