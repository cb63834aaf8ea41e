#pragma once

#include <QMargins>
#include <QRect>

#include <string>
#include <string_view>

// CImageAttribute: one image string of a skin, parsed. The forms are a bare file name, or
// key='value' pairs: file (or res) names the image, source='l,t,r,b' picks a part of it in image
// pixels, dest='l,t,r,b' places it inside the control in skin units (default: the whole control),
// corner='l,t,r,b' keeps those borders unstretched, fade='0..255' sets its opacity, xtiled/ytiled
// tile it, and hole='true' leaves the middle of a cornered image empty.
//
// Thread: any.

namespace ui {

class CImageAttribute {
public:
    static CImageAttribute Parse(std::string_view text);

    bool IsEmpty() const { return file.empty(); }

    std::string file;
    bool fromRes = false;  // res='…': an id of "res.xml" or a file name
    QRect source;          // empty: the whole image
    QRect dest;            // empty: the whole control
    QMargins corner;
    int fade = 255;
    bool xtiled = false;
    bool ytiled = false;
    bool hole = false;
};

}  // namespace ui
