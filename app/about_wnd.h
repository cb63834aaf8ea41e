#pragma once

#include "ui/toolkit/window_impl_base.h"

#include <string>

// CAboutWnd: the modal about window, built from "AboutWnd.xml". It shows the translated
// "software_rev_text" followed by the program's version in "software_ver_label". "closebtn" and
// the system close command close it with 0, the other caption buttons minimise, maximise and
// restore it, and "maxbtn" / "restorebtn" swap when it turns maximised or back. It repaints on the
// language-change message. The object deletes itself when its window is destroyed.
//
// Thread: the UI thread only.

namespace app {

inline constexpr const char kAboutWndClassName[] = "AboutWnd";
inline constexpr const char kAboutSkinFile[] = "AboutWnd.xml";
inline constexpr unsigned kAboutTimer = 1;

class CAboutWnd : public ui::WindowImplBase {
public:
    // Opens the about window over owner at the owner's DPI and returns when it is closed; with one
    // already open it opens nothing and returns false at once.
    static bool OpenAboutWindow(ui::HWND owner);
    // The open about window, nullptr while none is open.
    static ui::HWND OpenWindow();
    // "software_rev_text" in the current language followed by the program's version text.
    static std::string VersionText(ui::CPaintManagerUI& manager);

    std::string GetWindowClassName() const override;
    std::string GetSkinFile() override;
    void InitWindow() override;
    ui::LRESULT MessageHandler(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam,
                               bool& handled) override;

protected:
    void OnFinalMessage(ui::HWND window) override;

private:
    CAboutWnd() = default;
    void OnSize(ui::WPARAM kind);

    ui::CControlUI* maxButton_ = nullptr;
    ui::CControlUI* restoreButton_ = nullptr;
    bool maximized_ = false;
};

}  // namespace app
