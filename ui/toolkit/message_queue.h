#pragma once

#include "ui/toolkit/ui_defs.h"

#include <string_view>

// Window messages between threads and processes' own windows, on the Qt event loop.
//
// PostMessage queues a message for the window's HandleMessage on the UI thread and returns at
// once; false when the window does not exist (or is being destroyed). SendMessage runs the handler
// and returns its result: directly on the UI thread, else it waits for the UI thread; 0 when the
// window does not exist, and waiting senders are released with 0 as soon as the window starts to
// be destroyed, so a worker never blocks a shut-down that is waiting for it.
// RegisterWindowMessage gives every caller of the same name the same number (0xC000 and up;
// the platform registry, so names compare without regard to letter case).
// PostQuitMessage ends the UI thread's loop with the code.
//
// Thread: any thread may call these.

namespace ui {

bool PostMessage(HWND window, unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);
LRESULT SendMessage(HWND window, unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);
unsigned RegisterWindowMessage(std::string_view name);
void PostQuitMessage(int exitCode);
// True while the window exists and is not being destroyed.
bool IsWindow(HWND window);

}  // namespace ui
