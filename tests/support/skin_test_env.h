#pragma once

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/resource_manager.h"

#include <QDir>
#include <QImage>
#include <QWidget>

#include <cstdlib>
#include <string>

// What the UI tests share: the program folder where the build put the skin, loading that skin
// as the application does, and writing renders into the build tree for a person to look at.

inline std::string ProgramDir() {
    const char* dir = std::getenv("NORVIK_PROGRAM_DIR");
    return dir != nullptr ? dir : "";
}

// The skin folder of the built program and its "res.xml"; false when it is not there.
inline bool LoadProgramSkin() {
    ui::CPaintManagerUI::SetResourcePath(ProgramDir() + "/skin/");
    return ui::CResourceManager::GetInstance().LoadResource("res.xml");
}

// Lays the window out and writes it to $NORVIK_TEST_OUTPUT/name; false when it cannot.
inline bool SaveRender(ui::CPaintManagerUI& manager, QWidget& widget, const std::string& name) {
    const char* output = std::getenv("NORVIK_TEST_OUTPUT");
    if (output == nullptr) {
        return false;
    }
    QDir().mkpath(output);
    manager.UpdateLayout();
    const QImage image = widget.grab().toImage();
    return image.save(QString::fromStdString(std::string(output) + "/" + name));
}
