#pragma once

#include "ui/toolkit/ui_defs.h"

#include <QSize>

#include <map>
#include <memory>
#include <string>

class QEventLoop;
class QTimer;
class QWidget;

// CWindowWnd: a top-level window driven by messages. Its native part is a frameless Qt widget
// (CHostWidget) that the toolkit paints; events of that widget arrive as the customary messages
// (WM_SIZE, WM_ACTIVATE, WM_CLOSE, WM_MOUSEHOVER, WM_MOUSELEAVE, WM_TIMER, …) in HandleMessage.
//
// WM_CLOSE (from Close, the system or a posted message) destroys the window: it leaves the
// message registry (waiting senders are released), receives WM_DESTROY, its widget goes and
// OnFinalMessage runs last (a window may delete itself there). ShowModal runs a nested loop until
// the window is destroyed and returns the code given to Close.
//
// Thread: the UI thread only (other threads use PostMessage / SendMessage with the handle).

namespace ui {

class CHostWidget;

// Style bits that Create understands.
inline constexpr unsigned WS_VISIBLE = 0x10000000;
inline constexpr unsigned WS_CHILD = 0x40000000;
inline constexpr unsigned WS_POPUP = 0x80000000;
inline constexpr unsigned WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr unsigned WS_EX_TOPMOST = 0x00000008;

class CWindowWnd {
public:
    CWindowWnd();
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    // The handle for messages: this window while it exists, nullptr before Create.
    HWND GetHWND() const;
    QWidget* GetWidget() const;
    operator HWND() const { return GetHWND(); }

    // Creates the native part; position and size in pixels (size 0: the skin's size). A parent
    // makes the window its owned, centred-on-parent dialog. Returns the handle, nullptr on failure.
    HWND Create(HWND parent, const std::string& title, unsigned style, unsigned exStyle, int x = 0, int y = 0,
                int cx = 0, int cy = 0);
    void ShowWindow(bool show = true, bool takeFocus = true);
    // Shows the window modally; returns the Close code (0 when destroyed otherwise).
    int ShowModal();
    // Destroys the window with the result code (queued, like posting WM_CLOSE).
    void Close(int result = 1);
    // Centres on the owner window, or on the screen without one.
    void CenterWindow();
    void ResizeClient(int cx, int cy);
    void SetWindowTitle(const std::string& title);
    bool IsVisible() const;
    bool IsMinimized() const;

    LRESULT SendMessage(unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostMessage(unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Window timers, each delivered as WM_TIMER with wParam = id until killed.
    bool SetTimer(unsigned id, int elapseMs);
    bool KillTimer(unsigned id);

    virtual std::string GetWindowClassName() const = 0;
    virtual unsigned GetClassStyle() const { return 0; }
    virtual LRESULT HandleMessage(unsigned message, WPARAM wParam, LPARAM lParam);

    // Destroys the window at once (WM_DESTROY, then OnFinalMessage).
    void DestroyWindow();

protected:
    // Runs inside Create once the native part exists, before it is shown; false makes Create fail.
    virtual bool OnCreate() { return true; }
    virtual void OnFinalMessage(HWND window);
    CWindowWnd* GetOwner() const { return owner_; }
    CHostWidget* host_ = nullptr;

private:
    CWindowWnd* owner_ = nullptr;
    QEventLoop* modalLoop_ = nullptr;
    int* modalResultTarget_ = nullptr;
    bool destroying_ = false;
    std::map<unsigned, std::unique_ptr<QTimer>> timers_;
};

}  // namespace ui
