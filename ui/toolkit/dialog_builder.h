#pragma once

#include "ui/toolkit/ui_defs.h"

#include <string>

class QXmlStreamReader;

// CDialogBuilder: builds a control tree from a skin. The source is XML text (starting with '<'),
// a "res.xml" id, or a file under the skin folder (backslashes allowed). A <Window> root carries
// the window's size, caption, mininfo, its <Font> and <Default> elements (applied to the manager)
// and one root control. Element names are compared without regard to case; an element the toolkit
// does not know goes to the builder callback, then to the registered control classes; an element
// nobody knows is skipped with a debug line. <Include source="file"/> builds another file in place.
//
// Failures: a missing file or malformed XML gives nullptr (with a debug line); nothing leaks.
// Thread: the UI thread only.

namespace ui {

class CControlUI;
class CPaintManagerUI;

class CDialogBuilder {
public:
    // Builds the tree; with parent (a container), the top-level controls are added to it and the
    // first of them is returned.
    CControlUI* Create(const std::string& source, IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    // DuiLib's form with a resource type (ignored: files on disk only).
    CControlUI* Create(const std::string& source, const std::string& type, IDialogBuilderCallback* callback,
                       CPaintManagerUI* manager, CControlUI* parent = nullptr);

private:
    CControlUI* ParseChildren(QXmlStreamReader& xml, CControlUI* parent, int depth);
    CControlUI* ParseElement(QXmlStreamReader& xml, CControlUI* parent, int depth);
    CControlUI* CreateElement(const std::string& name);
    void ApplyWindowAttributes(QXmlStreamReader& xml);
    void ApplyFont(QXmlStreamReader& xml);
    void ApplyDefault(QXmlStreamReader& xml);

    IDialogBuilderCallback* callback_ = nullptr;
    CPaintManagerUI* manager_ = nullptr;
    int includeDepth_ = 0;
};

}  // namespace ui
