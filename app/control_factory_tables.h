#pragma once

#include <string>

// The two control factory tables of the application.
//
// Table 1 registers the program's control classes with the toolkit by class name, in a fixed
// order, so that every window built afterwards knows them. Table 2 is the main window's builder
// callback: XML element names (compared without regard to case, first match wins) become new
// controls or sub-trees built from the named file with the same callback, so nested custom
// elements resolve through the same table. A class that does not exist in this build yet has no
// creator; its rows are kept so the order stays the one the skins were written for.
//
// Thread: the UI thread.

namespace ui {
class CControlUI;
class CPaintManagerUI;
class IDialogBuilderCallback;
}  // namespace ui

namespace app {

// Registers every class of table 1 that exists; returns how many were registered.
int RegisterControlClasses();

// Table 2: a new control, a built sub-tree, or nullptr (the toolkit then tries its own classes).
ui::CControlUI* CreateMainWindowControl(const std::string& element, ui::IDialogBuilderCallback* callback,
                                        ui::CPaintManagerUI* manager);

}  // namespace app
