#pragma once

#include "platform/product.h"

// The product identity from which the window title, the tray tip, the inter-process names and the
// data folder are built, and the fixed names of the main window.
namespace app {

inline constexpr const char* kProductName = platform::kProductName;
inline constexpr const char kMainWndClassName[] = "MainWnd";
inline constexpr unsigned kMainWndClassStyle = 8;  // double clicks reach the window
inline constexpr const char kMainSkinId[] = "XML_MAIN";
// The window and tray icon (the resource 107 of the original program).
inline constexpr const char kAppIconImage[] = "main/tray.png";
// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
inline constexpr unsigned kMainWndStyle = 0x96CA0000;

}  // namespace app
