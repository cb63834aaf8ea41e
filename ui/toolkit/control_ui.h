#pragma once

#include "ui/toolkit/ui_defs.h"

#include <QRect>
#include <QSize>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

class QPainter;

// CControlUI: the base of every control. A control has a name, a text (a language key shows its
// translation), a position inside its window, sizes and padding in skin units (96 DPI; the getters
// return them scaled to the window's DPI), colours, images and a border. It paints itself with
// QPainter and receives events from its paint manager; notifications go out through the manager.
//
// Thread: the UI thread only. A control belongs to at most one parent; a container deletes its
// children.

namespace ui {

class CPaintManagerUI;

// Flags of FindControl.
inline constexpr unsigned UIFIND_ALL = 0;
inline constexpr unsigned UIFIND_VISIBLE = 1;
inline constexpr unsigned UIFIND_ENABLED = 2;
inline constexpr unsigned UIFIND_HITTEST = 4;
inline constexpr unsigned UIFIND_ME_FIRST = 8;

class CControlUI {
public:
    // Returns true to stop the search at that control.
    using FindPredicate = std::function<bool(CControlUI*)>;

    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // The class name the control reports ("Control", "Button", …).
    virtual std::string GetClass() const;
    // Non-null when the control is of the named kind ("Control", "Container", "Button", …).
    virtual void* GetInterface(std::string_view name);

    const std::string& GetName() const { return name_; }
    void SetName(const std::string& name);

    // The shown text: the translation when the raw text is a language key.
    virtual std::string GetText() const;
    const std::string& GetRawText() const { return text_; }
    virtual void SetText(const std::string& text);
    std::string GetToolTip() const;
    void SetToolTip(const std::string& text);
    const std::string& GetUserData() const { return userData_; }
    void SetUserData(const std::string& text) { userData_ = text; }
    std::intptr_t GetTag() const { return tag_; }
    void SetTag(std::intptr_t tag) { tag_ = tag; }

    CPaintManagerUI* GetManager() const { return manager_; }
    CControlUI* GetParent() const { return parent_; }
    // Attaches the control (and its children) to a manager; with init, Init() runs once.
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
    void Init();
    virtual void DoInit() {}

    // Geometry in window pixels.
    const QRect& GetPos() const { return pos_; }
    virtual void SetPos(QRect rect, bool needInvalidate = true);
    int GetWidth() const { return pos_.width(); }
    int GetHeight() const { return pos_.height(); }
    // Skin-unit values, returned scaled to the window's DPI.
    QMargins GetPadding() const;
    void SetPadding(const QMargins& padding);
    int GetFixedWidth() const;
    void SetFixedWidth(int width);
    int GetFixedHeight() const;
    void SetFixedHeight(int height);
    int GetMinWidth() const;
    int GetMaxWidth() const;
    int GetMinHeight() const;
    int GetMaxHeight() const;
    void SetMinWidth(int value);
    void SetMaxWidth(int value);
    void SetMinHeight(int value);
    void SetMaxHeight(int value);
    // Floating controls take their "pos" relative to the parent instead of the layout's place.
    bool IsFloat() const { return float_; }
    void SetFloat(bool value);
    QRect GetFloatPos() const;  // scaled
    void SetFloatPos(const QRect& rect);
    // The size the control wants in its parent's layout (0 = stretch).
    virtual QSize EstimateSize(QSize available);

    virtual bool IsVisible() const { return visible_ && internVisible_; }
    virtual void SetVisible(bool visible = true);
    // Set by a parent that hides its children (tab layout).
    virtual void SetInternVisible(bool visible = true);
    virtual bool IsEnabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled = true);
    bool IsMouseEnabled() const { return mouseEnabled_; }
    void SetMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }
    bool IsKeyboardEnabled() const { return keyboardEnabled_; }
    bool IsFocused() const { return focused_; }
    virtual void SetFocus();

    std::uint32_t GetBkColor() const { return bkColor_; }
    void SetBkColor(std::uint32_t argb);
    const std::string& GetBkImage() const { return bkImage_; }
    void SetBkImage(const std::string& image);
    std::uint32_t GetBorderColor() const { return borderColor_; }
    void SetBorderColor(std::uint32_t argb);
    void SetBorderSize(int size);
    void SetBorderRound(QSize round);

    // Per-control timers, delivered as Timer events and then "timer" notifications (wParam = id).
    bool SetTimer(int id, int elapseMs);
    void KillTimer(int id);
    void KillTimer();

    // Applies one skin attribute; unknown names are ignored.
    virtual void SetAttribute(std::string_view name, std::string_view value);
    // Applies a list of name="value" pairs (a default attribute list).
    void ApplyAttributeList(std::string_view list);
    std::string GetAttribute(std::string_view name) const;

    virtual CControlUI* FindControl(const FindPredicate& predicate, unsigned flags);

    // Marks the control for repaint, or for relayout of itself / of its parent.
    void Invalidate();
    void NeedUpdate();
    void NeedParentUpdate();
    bool IsUpdateNeeded() const { return updateNeeded_; }

    // Sends "click" when enabled and visible; false otherwise.
    virtual bool Activate();

    void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);

    virtual void DoPaint(QPainter& painter, const QRect& paintRect);
    virtual void PaintBkColor(QPainter& painter);
    virtual void PaintBkImage(QPainter& painter);
    virtual void PaintStatusImage(QPainter& painter);
    virtual void PaintText(QPainter& painter);
    virtual void PaintBorder(QPainter& painter);

    // Draws an image string inside the control's rectangle (or its dest); false when it cannot.
    bool DrawImage(QPainter& painter, const std::string& image, const QRect& rect);
    bool DrawImage(QPainter& painter, const std::string& image);

protected:
    int Scaled(int value) const;
    QRect BorderRect() const;

    CPaintManagerUI* manager_ = nullptr;
    CControlUI* parent_ = nullptr;
    std::string name_;
    std::string text_;
    std::string toolTip_;
    std::string userData_;
    std::intptr_t tag_ = 0;
    QRect pos_;
    QRect floatPos_;  // skin units, relative to the parent
    QMargins padding_;
    QSize fixed_{0, 0};
    QSize min_{0, 0};
    QSize max_{9999, 9999};
    bool float_ = false;
    bool visible_ = true;
    bool internVisible_ = true;
    bool enabled_ = true;
    bool mouseEnabled_ = true;
    bool keyboardEnabled_ = true;
    bool focused_ = false;
    bool updateNeeded_ = true;
    bool inited_ = false;
    std::uint32_t bkColor_ = 0;
    std::uint32_t bkColor2_ = 0;
    std::uint32_t borderColor_ = 0;
    std::uint32_t focusBorderColor_ = 0;
    int borderSize_ = 0;
    QSize borderRound_{0, 0};
    std::string bkImage_;
    std::string foreImage_;
    std::map<std::string, std::string, std::less<>> extraAttributes_;
};

}  // namespace ui
