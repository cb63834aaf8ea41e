#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <string>

// Basic vocabulary of the toolkit: message parameters, the window messages the program uses (with
// their customary numbers, so code written against them reads as designed), events and
// notifications.

namespace ui {

class CControlUI;
class CWindowWnd;

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
// A window handle: stays comparable after the window is gone; PostMessage to it then fails.
using HWND = CWindowWnd*;

inline constexpr unsigned WM_DESTROY = 0x0002;
inline constexpr unsigned WM_SIZE = 0x0005;
inline constexpr unsigned WM_ACTIVATE = 0x0006;
inline constexpr unsigned WM_CLOSE = 0x0010;
inline constexpr unsigned WM_QUIT = 0x0012;
inline constexpr unsigned WM_SHOWWINDOW = 0x0018;
inline constexpr unsigned WM_POWERBROADCAST = 0x0218;
inline constexpr unsigned WM_DISPLAYCHANGE = 0x007E;
inline constexpr unsigned WM_SYSCOMMAND = 0x0112;
inline constexpr unsigned WM_TIMER = 0x0113;
inline constexpr unsigned WM_LBUTTONUP = 0x0202;
inline constexpr unsigned WM_RBUTTONUP = 0x0205;
inline constexpr unsigned WM_MOUSEHOVER = 0x02A1;
inline constexpr unsigned WM_MOUSELEAVE = 0x02A3;
inline constexpr unsigned WM_USER = 0x0400;
inline constexpr unsigned WM_APP = 0x8000;

inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_RESTORE = 0xF120;

// Notification types raised by the toolkit's controls.
inline constexpr const char kNotifyWindowInit[] = "windowinit";
inline constexpr const char kNotifyWindowSize[] = "windowsize";
inline constexpr const char kNotifyClick[] = "click";
inline constexpr const char kNotifySelectChanged[] = "selectchanged";
inline constexpr const char kNotifyItemSelect[] = "itemselect";
inline constexpr const char kNotifyItemClick[] = "itemclick";
inline constexpr const char kNotifyItemActivate[] = "itemactivate";
inline constexpr const char kNotifyValueChanged[] = "valuechanged";
inline constexpr const char kNotifyMoveValueChanged[] = "movevaluechanged";
inline constexpr const char kNotifyTextChanged[] = "textchanged";
inline constexpr const char kNotifySetFocus[] = "setfocus";
inline constexpr const char kNotifyKillFocus[] = "killfocus";
inline constexpr const char kNotifyReturn[] = "return";
inline constexpr const char kNotifyTimer[] = "timer";
inline constexpr const char kNotifyMenu[] = "menu";
inline constexpr const char kNotifyColorChanged[] = "colorchanged";
inline constexpr const char kNotifyDblClick[] = "dbclick";

// A notification from a control to the window's notifiers.
struct TNotifyUI {
    std::string sType;
    std::string sVirtualWnd;
    CControlUI* pSender = nullptr;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    QPoint ptMouse;
};

enum class EventType {
    MouseMove,
    MouseEnter,
    MouseLeave,
    ButtonDown,
    ButtonUp,
    RButtonDown,
    RButtonUp,
    DblClick,
    ScrollWheel,
    KeyDown,
    SetFocus,
    KillFocus,
    Timer,
    ContextMenu,
    SetCursor,
};

// Modifier bits in TEventUI::wKeyState.
inline constexpr unsigned kKeyStateControl = 1;
inline constexpr unsigned kKeyStateShift = 2;

// An input or timer event delivered by the paint manager to one control.
struct TEventUI {
    EventType Type = EventType::MouseMove;
    CControlUI* pSender = nullptr;
    QPoint ptMouse;
    int key = 0;  // Qt key code for KeyDown, wheel delta for ScrollWheel
    unsigned wKeyState = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Receives the notifications of a paint manager (windows implement it).
class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

// Creates a control for an XML element name the toolkit does not know; nullptr when it does not know
// it either.
class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    virtual CControlUI* CreateControl(const std::string& className) = 0;
};

// The text-query hook: gives the text a control shows for a language key, or an empty string to
// let the language table answer.
class IQueryControlText {
public:
    virtual ~IQueryControlText() = default;
    virtual std::string QueryControlText(const std::string& key, const std::string& controlClass) = 0;
};

// A rectangle written left, top, right, bottom (the skins' notation).
inline QRect RectFromLtrb(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace ui
