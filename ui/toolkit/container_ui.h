#pragma once

#include "ui/toolkit/control_ui.h"

#include <vector>

// CContainerUI: a control holding children. It owns them (deletes them when removed, unless told
// not to), keeps an inset around them and a gap between them (childpadding), passes visibility and
// its manager down, paints them clipped to itself, and scrolls vertically (vscrollbar="true") with a
// thin painted bar, the wheel and a draggable thumb. The layout classes decide where children go;
// a plain container stacks every child over its whole inner rectangle.
//
// Thread: the UI thread only.

namespace ui {

class CContainerUI : public CControlUI {
public:
    CContainerUI() = default;
    ~CContainerUI() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    CControlUI* GetItemAt(int index) const;
    int GetItemIndex(CControlUI* control) const;
    bool SetItemIndex(CControlUI* control, int index);
    int GetCount() const { return static_cast<int>(items_.size()); }
    // Takes ownership; false (and the control is not taken) for null.
    virtual bool Add(CControlUI* control);
    virtual bool AddAt(CControlUI* control, int index);
    // Deletes the control unless doNotDestroy; false when it is not a child.
    virtual bool Remove(CControlUI* control, bool doNotDestroy = false);
    virtual bool RemoveAt(int index, bool doNotDestroy = false);
    virtual void RemoveAll();

    QMargins GetInset() const;
    void SetInset(const QMargins& inset);
    int GetChildPadding() const;
    void SetChildPadding(int padding);
    void SetAutoDestroy(bool value) { autoDestroy_ = value; }

    void EnableScrollBar(bool vertical = true);
    QPoint GetScrollPos() const { return scrollPos_; }
    void SetScrollPos(QPoint pos);
    QSize GetScrollRange() const { return scrollRange_; }

    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetEnabled(bool enabled = true) override;
    void SetPos(QRect rect, bool needInvalidate = true) override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    CControlUI* FindControl(const FindPredicate& predicate, unsigned flags) override;
    // The deepest visible, mouse-enabled control under the point (this one when no child is).
    virtual CControlUI* FindControlAt(QPoint point);
    void DoEvent(TEventUI& event) override;
    void DoPaint(QPainter& painter, const QRect& paintRect) override;

    // Finds a child (at any depth) by name.
    CControlUI* FindSubControl(const std::string& name);

protected:
    // The inner rectangle children are laid out in (pos minus inset and scroll bar).
    QRect ContentRect() const;
    void SetFloatPos(CControlUI* control);
    // Records the children's total extent and shows or hides the scroll bar; true when the
    // scroll position had to change (the caller lays out again).
    bool ProcessScrollBar(const QRect& content, int requiredHeight);
    int ScrollBarWidth() const;
    QRect ScrollThumbRect() const;

    std::vector<CControlUI*> items_;
    QMargins inset_;
    int childPadding_ = 0;
    unsigned childAlign_ = 0;   // DT_LEFT / DT_CENTER / DT_RIGHT
    unsigned childVAlign_ = 0;  // DT_TOP / DT_VCENTER / DT_BOTTOM
    bool autoDestroy_ = true;
    bool vScrollEnabled_ = false;
    bool vScrollVisible_ = false;
    QPoint scrollPos_;
    QSize scrollRange_;
    int dragStartY_ = -1;
    int dragStartScroll_ = 0;
};

}  // namespace ui
