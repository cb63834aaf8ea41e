#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

#include <cstdint>
#include <string>

class QPainter;

// CRenderEngine: the drawing primitives the controls share.
//
// Thread: the UI thread (it reads the manager's image cache).

namespace ui {

class CPaintManagerUI;

// Text alignment bits (the skins' "align" and "valign" words).
inline constexpr unsigned DT_LEFT = 0x0;
inline constexpr unsigned DT_CENTER = 0x1;
inline constexpr unsigned DT_RIGHT = 0x2;
inline constexpr unsigned DT_VCENTER = 0x4;
inline constexpr unsigned DT_BOTTOM = 0x8;
inline constexpr unsigned DT_WORDBREAK = 0x10;
inline constexpr unsigned DT_SINGLELINE = 0x20;
inline constexpr unsigned DT_END_ELLIPSIS = 0x8000;
inline constexpr unsigned DT_TOP = 0x0;

class CRenderEngine {
public:
    // Draws an image string inside rect (skin units of dest/corner scaled by the manager's DPI);
    // false when the image cannot be loaded.
    static bool DrawImageString(QPainter& painter, CPaintManagerUI* manager, const QRect& rect,
                                const std::string& image);
    // Fills rect, rounded when round is not empty.
    static void DrawColor(QPainter& painter, const QRect& rect, std::uint32_t argb, QSize round = {});
    static void DrawGradient(QPainter& painter, const QRect& rect, std::uint32_t from, std::uint32_t to,
                             bool vertical, QSize round = {});
    static void DrawBorder(QPainter& painter, const QRect& rect, int size, std::uint32_t argb,
                           QSize round = {});
    static void DrawText(QPainter& painter, const QRect& rect, const std::string& text, std::uint32_t argb,
                         const QFont& font, unsigned style);
};

}  // namespace ui
