#pragma once

#include "ui/toolkit/ui_defs.h"

#include <QMenu>
#include <QPoint>
#include <QPointer>

#include <string>
#include <vector>

// CMenuWnd: a popup menu built from a skin file:
//   <Menu><MenuElement name="exit" text="key or text" enabled="true"/><MenuElement line="true"/>
//   <MenuElement name="sub" text="…"><MenuElement name="child" text="…"/></MenuElement></Menu>
// Texts that are language keys show their translation. Choosing an item posts WM_MENUCLICK to the
// owner with lParam pointing to a new CMenuCmd that the receiver deletes (when the post fails the
// menu deletes it). The menu is not modal: the loop keeps running while it is open.
//
// Failures: CreateMenu returns nullptr when the file cannot be read or holds no element.
// Thread: the UI thread only.

namespace ui {

inline constexpr unsigned WM_MENUCLICK = WM_USER + 121;

// Alignment bits: by default the menu's top-left corner is at the point; Right puts its right
// edge there, Bottom its bottom edge.
inline constexpr unsigned eMenuAlignment_Left = 1;
inline constexpr unsigned eMenuAlignment_Top = 2;
inline constexpr unsigned eMenuAlignment_Right = 4;
inline constexpr unsigned eMenuAlignment_Bottom = 8;

struct CMenuCmd {
    std::string name;
    std::string text;
    std::string userData;
};

class CMenuWnd {
public:
    ~CMenuWnd();
    CMenuWnd(const CMenuWnd&) = delete;
    CMenuWnd& operator=(const CMenuWnd&) = delete;

    // Shows the menu at the point (screen pixels); the menu deletes itself when it closes.
    static CMenuWnd* CreateMenu(HWND owner, const std::string& skinFile, QPoint point, unsigned align,
                                int dpi = 96);
    // Closes every open menu.
    static void DestroyMenu();
    // The open menus (the newest last).
    static const std::vector<CMenuWnd*>& GetOpenMenus();

    // The names of the items, in order (sub-menu items included).
    std::vector<std::string> GetItemNames() const;
    void Close();
    QMenu* GetNativeMenu() const { return menu_; }

private:
    explicit CMenuWnd(HWND owner);

    HWND owner_;
    QPointer<QMenu> menu_;
};

}  // namespace ui
