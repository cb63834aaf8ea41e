#pragma once

#include <QPoint>
#include <QWidget>

// CHostWidget: the native window of a CWindowWnd. It paints the window's control tree, feeds
// input to its paint manager and turns widget events into the window's messages.
//
// Thread: the UI thread only.

namespace ui {

class CWindowWnd;
class CPaintManagerUI;

class CHostWidget : public QWidget {
public:
    CHostWidget(CWindowWnd* window, QWidget* parent, Qt::WindowFlags flags);

    void SetPaintManager(CPaintManagerUI* manager) { manager_ = manager; }
    // The window it shows; nullptr once the window is going.
    CWindowWnd* GetWindow() const { return window_; }
    CPaintManagerUI* GetPaintManager() const { return manager_; }
    // The window is going: events no longer reach it.
    void Detach();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool StartCaptionDrag(QMouseEvent* event);

    CWindowWnd* window_;
    CPaintManagerUI* manager_ = nullptr;
    bool dragging_ = false;
    QPoint dragOffset_;
};

}  // namespace ui
