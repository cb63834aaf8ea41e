#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

// CDPI: one window's DPI and the scaling of skin units (96 DPI pixels) to that DPI.
//
// Thread: the UI thread (it belongs to a paint manager).

namespace ui {

class CDPI {
public:
    // The DPI values the windows accept; anything else is replaced by 96 by the callers.
    static bool IsSupported(int dpi);

    int GetDPI() const { return dpi_; }
    // Takes any positive DPI; returns false (and keeps the old value) for 0 or less.
    bool SetDPI(int dpi);
    int GetScale() const { return dpi_ * 100 / 96; }

    int Scale(int value) const;
    QSize Scale(QSize size) const;
    QRect Scale(const QRect& rect) const;
    QMargins Scale(const QMargins& margins) const;
    int ScaleBack(int value) const;

private:
    int dpi_ = 96;
};

}  // namespace ui
