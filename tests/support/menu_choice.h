#pragma once

#include "ui/toolkit/menu_wnd.h"

#include <QAction>
#include <QMenu>

#include <string>

// Chooses a menu item the way a click on it does: the native menu's action fires and the menu
// closes. False when the menu has no enabled item of that name (sub-menus included).
inline QAction* FindMenuAction(const QMenu& menu, const QString& name) {
    for (QAction* action : menu.actions()) {
        if (action->menu() != nullptr) {
            if (QAction* found = FindMenuAction(*action->menu(), name)) {
                return found;
            }
        } else if (action->objectName() == name) {
            return action;
        }
    }
    return nullptr;
}

inline bool ChooseMenuItem(ui::CMenuWnd& menu, const std::string& name) {
    QMenu* native = menu.GetNativeMenu();
    QAction* action = native != nullptr ? FindMenuAction(*native, QString::fromStdString(name)) : nullptr;
    if (action == nullptr || !action->isEnabled()) {
        return false;
    }
    action->trigger();
    native->hide();
    return true;
}
