#pragma once

#include "ui/toolkit/dpi.h"
#include "ui/toolkit/ui_defs.h"

#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QWidget;
class QPainter;
class QTimer;

// CPaintManagerUI: the control tree of one window. It owns the root control, finds controls by
// name, routes input from the host widget to controls, delivers notifications to the registered
// notifiers (at once, or queued to the UI thread's loop), runs per-control timers, holds the
// window's DPI, fonts by id, default attribute lists and the image cache.
//
// Static part: the program folder, the skin folder (resource path) and the list of live managers,
// for SetAllDPI and the language reload.
//
// Thread: the UI thread only.

namespace ui {

class CControlUI;
class IQueryControlText;

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // The program folder and the skin folder, both ending with '/'.
    static void SetInstancePath(const std::string& path);
    static const std::string& GetInstancePath();
    static void SetResourcePath(const std::string& path);
    static const std::string& GetResourcePath();
    // 1: files on disk (the only kind this toolkit reads).
    static void SetResourceType(int type);
    static int GetResourceType();
    // Runs the UI thread's loop until quit; returns the exit code.
    static int MessageLoop();
    // Sets the DPI of every live manager.
    static void SetAllDPI(int dpi);
    static const std::vector<CPaintManagerUI*>& GetPaintManagers();
    // Re-reads every control text (after a language change) and repaints every window.
    static void ReloadAllText();

    // Binds the manager to the widget that shows it (the window's client area).
    void Init(QWidget* host, const std::string& name = {});
    QWidget* GetPaintWindow() const { return host_; }
    // Whether the window is on screen: shown and not minimised.
    bool IsShown() const;
    const std::string& GetName() const { return name_; }

    // Takes ownership of the tree and attaches it; the old root is deleted.
    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return root_; }
    // Attaches a sub-tree built for this window (called by containers when a child is added).
    void InitControls(CControlUI* control, CControlUI* parent);
    // A control leaves the window: its timers, focus, hot and capture state go.
    void ReapObjects(CControlUI* control);
    void NameChanged();

    // The first control of that name; a missing name writes a debug line and gives nullptr.
    CControlUI* FindControl(const std::string& name) const;
    // The topmost visible, enabled control under the point.
    CControlUI* FindControl(QPoint point) const;
    // Under the parent only; a missing name writes a debug line.
    CControlUI* FindSubControlByName(CControlUI* parent, const std::string& name) const;
    // The same without the debug line, for optional controls.
    CControlUI* FindControlQuietly(const std::string& name) const;

    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    // Delivers at once (async = false) or from the UI thread's loop (async = true).
    void SendNotify(TNotifyUI& msg, bool async = false);
    void SendNotify(CControlUI* control, const std::string& type, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool async = false);

    bool SetTimer(CControlUI* control, int id, int elapseMs);
    bool KillTimer(CControlUI* control, int id);
    void KillTimer(CControlUI* control);
    bool HasTimer(CControlUI* control, int id) const;

    CControlUI* GetFocus() const { return focus_; }
    void SetFocus(CControlUI* control);
    CControlUI* GetHot() const { return hot_; }

    // Option groups: the options of one group in this window.
    void AddOptionGroup(const std::string& group, CControlUI* option);
    void RemoveOptionGroup(const std::string& group, CControlUI* option);
    const std::vector<CControlUI*>* GetOptionGroup(const std::string& group) const;

    // DPI of this window; the window's size follows the scale change.
    const CDPI& GetDPIObj() const { return dpi_; }
    int GetDPI() const { return dpi_.GetDPI(); }
    int GetScale() const { return dpi_.GetScale(); }
    // Takes any positive DPI; false when refused (0 or less).
    bool SetDPI(int dpi);
    // Drops the images and fonts built for the old DPI.
    void ResetDPIAssets();
    int Scale(int value) const { return dpi_.Scale(value); }

    // Fonts by id (-1: the default font); sizes in skin pixels, scaled to the DPI.
    void AddFont(int id, const std::string& family, int size, bool bold, bool underline, bool italic,
                 bool shared = false);
    QFont GetFont(int id) const;
    void SetDefaultFont(const std::string& family, int size, bool bold = false);
    // Replaces the family of every font (the language's font family).
    void SetFontFamily(const std::string& family);

    // Attributes applied to every control of a class before its own (class name lower case).
    void AddDefaultAttributeList(const std::string& controlClass, const std::string& list);
    std::string GetDefaultAttributeList(const std::string& controlClass) const;

    // An image by skin file name (or "res.xml" id), at the variant that fits the DPI; the factor is
    // the variant's pixels per skin pixel at 96 DPI. Null pixmap when missing.
    struct Image {
        QPixmap pixmap;
        double factor = 1.0;
    };
    const Image* GetImage(const std::string& name, bool fromRes);

    void SetCaptionRect(const QRect& rect) { caption_ = rect; }
    QRect GetCaptionRect() const { return dpi_.Scale(caption_); }
    void SetInitSize(QSize size) { initSize_ = size; }
    QSize GetInitSize() const { return dpi_.Scale(initSize_); }
    void SetMinInfo(QSize size) { minInfo_ = size; }
    QSize GetMinInfo() const { return dpi_.Scale(minInfo_); }

    void SetTextQuery(IQueryControlText* query) { textQuery_ = query; }
    IQueryControlText* GetTextQuery() const { return textQuery_; }

    // Repaints; with layout, lays the tree out first.
    void Invalidate();
    // Repaints the part of the window in rect only.
    void Invalidate(const QRect& rect);
    void NeedUpdate();
    // Lays the root out at the host's size when something asked for it.
    void UpdateLayout();
    void Paint(QPainter& painter, const QRect& rect);

    // Input from the host widget, in host pixels.
    void OnMouseMove(QPoint point, unsigned keyState);
    void OnMouseLeave();
    void OnButtonDown(QPoint point, bool right, unsigned keyState);
    void OnButtonUp(QPoint point, bool right, unsigned keyState);
    void OnDoubleClick(QPoint point, unsigned keyState);
    void OnWheel(QPoint point, int delta, unsigned keyState);
    void OnKeyDown(int key, unsigned keyState);
    // Sets the capture so that moves outside the control keep reaching it.
    void SetCapture(CControlUI* control) { capture_ = control; }
    void ReleaseCapture() { capture_ = nullptr; }
    CControlUI* GetCapture() const { return capture_; }

private:
    struct TimerKey {
        CControlUI* control;
        int id;
        bool operator<(const TimerKey& other) const {
            return control != other.control ? control < other.control : id < other.id;
        }
    };
    struct FontInfo {
        std::string family;
        int size = 12;
        bool bold = false;
        bool underline = false;
        bool italic = false;
    };

    void RebuildNameMap() const;
    void SetHot(CControlUI* control, QPoint point);
    void FlushAsyncNotify();
    void Deliver(TNotifyUI& msg);
    void ApplyScaleToHost(int oldDpi);

    QPointer<QWidget> host_;
    std::string name_;
    CControlUI* root_ = nullptr;
    mutable std::unordered_multimap<std::string, CControlUI*> names_;
    mutable bool namesDirty_ = true;
    std::vector<INotifyUI*> notifiers_;
    std::deque<TNotifyUI> asyncNotify_;
    bool asyncScheduled_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::map<TimerKey, std::unique_ptr<QTimer>> timers_;
    CControlUI* focus_ = nullptr;
    CControlUI* hot_ = nullptr;
    CControlUI* capture_ = nullptr;
    CControlUI* pressed_ = nullptr;
    std::map<std::string, std::vector<CControlUI*>> optionGroups_;
    CDPI dpi_;
    std::map<int, FontInfo> fonts_;
    FontInfo defaultFont_{"Noto Sans", 13, false, false, false};
    std::string fontFamilyOverride_;
    std::map<std::string, std::string> defaultAttributes_;
    std::map<std::string, Image> images_;
    QRect caption_;
    QSize initSize_;
    QSize minInfo_;
    IQueryControlText* textQuery_ = nullptr;
    bool layoutNeeded_ = true;
};

}  // namespace ui
