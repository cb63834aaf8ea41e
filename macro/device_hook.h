#pragma once

#include "ui/toolkit/ui_defs.h"

#include <cstdint>
#include <memory>

// CDeviceHook: the program's keyboard hook. While it is installed, every key event of the
// program's windows is sent to the target window as the registered message of the hook mode
// (wParam: 0x100 key down or 0x101 key up; lParam: a KeyboardHookEvent valid only during the
// call) and then consumed, so no control receives it; Caps Lock, Num Lock and Scroll Lock pass on
// after the message so that they keep toggling. The key travels as the set-1 scan code and
// extended flag of CEvdevScanCodes; a key that table does not hold is sent with scan code 0.
//
// Modes and their messages: 1 "WM_HOOK_KEY_SINGLEKEY_MSG" (single-key capture), 2 ..._HITKEY_,
// 4 ..._KBMACRO_, 8 ..._KBMACROPREVIOUS_, 16 ..._KBMACROLATER_, 32 ..._KBMACROSINGLE_ and the
// unused 256, 512, 1024 (WM_HOOK_MOU_SINGLEKEY_, _HITKEY_, _KBMACRO_); another mode sends nothing
// and still consumes the keys.
//
// With the library hook, the mouse buttons pressed and released in the program's windows are
// sent too, in the recording modes only: 4 "WM_HOOK_KEY_MSMACRO_MSG", 8 ..._MSMACROPREVIOUS_,
// 16 ..._MSMACROLATER_, 32 ..._MSMACROSINGLE_ (wParam: 0x201/0x202 left, 0x204/0x205 right,
// 0x207/0x208 middle, 0x20B/0x20C extra button down/up; lParam: a MouseHookEvent valid only
// during the call). Mouse events are watched, not consumed. Capture is limited to the program's
// windows.
//
// The hook state is process-wide, as the system's hook is: a second object replaces the first.
// Thread: the UI thread only.
struct KeyboardHookEvent {
    uint32_t virtualKey;
    uint32_t scanCode;
    uint32_t flags;  // bit 0: extended key
    uint32_t time;
    uintptr_t extraInfo;
};

// The record of a mouse message of a recording, laid out as the system's extended mouse-hook
// record: the screen point, the window under it, the hit-test code, extra information and the
// mouse data, whose high word names the extra button (1 first, 2 second).
struct MouseHookEvent {
    int32_t x;
    int32_t y;
    ui::HWND window;
    uint32_t hitTest;
    uintptr_t extraInfo;
    uint32_t mouseData;
};

class CDeviceHook {
public:
    static constexpr unsigned kKeyDown = 0x100;
    static constexpr unsigned kKeyUp = 0x101;

    CDeviceHook() = default;
    ~CDeviceHook();
    CDeviceHook(const CDeviceHook&) = delete;
    CDeviceHook& operator=(const CDeviceHook&) = delete;

    // Removes an installed hook first. With ownHook, installs the key filter on the application;
    // 0 when it cannot be installed (no application), and then nothing else changes. Stores the
    // target and the mode; 1.
    int InstallHooks(int mode, ui::HWND target, bool ownHook, bool libraryHook);
    // Removes the key filter; 1 when one was installed, else 0.
    int UninstallHooks();

    bool IsInstalled() const;
    int Mode() const { return mode_; }
    ui::HWND Target() const { return target_; }

    // The registered message of a mode; 0 for a mode without one.
    static uint32_t MessageOfMode(int mode);
    // The registered mouse message of a recording mode; 0 for another mode.
    static uint32_t MouseMessageOfMode(int mode);

private:
    int mode_ = 0;
    ui::HWND target_ = nullptr;
};
