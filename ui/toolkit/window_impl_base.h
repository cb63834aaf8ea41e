#pragma once

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/window_wnd.h"

#include <string>

// WindowImplBase: a window built from a skin. On creation it builds the control tree from
// GetSkinFile() (a "res.xml" id or a file under the skin folder) with itself as builder callback,
// takes the skin's size, calls InitWindow, and then, from the event loop, sends the "windowinit"
// notification (sender: the root). Notifications of its controls reach Notify; raw messages reach
// MessageHandler first (set handled to stop them) and then the default handling.
//
// Default Notify: "click" on "closebtn" closes with 0, "minbtn" / "maxbtn" / "restorebtn" send the
// matching system command. A skin that cannot be built leaves an empty window (with a debug line).
//
// Thread: the UI thread only.

namespace ui {

class WindowImplBase : public CWindowWnd,
                       public INotifyUI,
                       public IDialogBuilderCallback,
                       public IQueryControlText {
public:
    WindowImplBase();
    ~WindowImplBase() override;

    virtual std::string GetSkinFile() = 0;
    virtual void InitWindow() {}
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(const std::string& className) override;
    std::string QueryControlText(const std::string& key, const std::string& controlClass) override;
    LRESULT HandleMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
    virtual LRESULT MessageHandler(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled);

    CPaintManagerUI& GetPaintManager() { return m_pm; }

protected:
    bool OnCreate() override;

    CPaintManagerUI m_pm;
};

}  // namespace ui
