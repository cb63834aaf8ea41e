#pragma once

#include <QMargins>
#include <QRect>

#include <vector>

// The shared arithmetic of the vertical and horizontal layouts, written for the vertical case:
// the horizontal layout passes its rectangles transposed.
//
// Thread: any.

namespace ui {

struct BoxItem {
    int fixedMain = 0;  // 0: stretch
    int fixedCross = 0;
    int minMain = 0;
    int maxMain = 9999;
    int minCross = 0;
    int maxCross = 9999;
    QMargins padding;  // left/right across, top/bottom along
};

// Places the items along the main axis (y) of content starting at content.top() - scroll.
// crossAlign: 0 start, 1 centre, 2 end. Returns the items' rectangles and the total extent.
std::vector<QRect> LayOutBox(const std::vector<BoxItem>& items, const QRect& content, int childPadding,
                             int scroll, unsigned crossAlign, int& requiredExtent);

}  // namespace ui
