#include "ui/toolkit/box_layout.h"

#include <algorithm>

namespace ui {

std::vector<QRect> LayOutBox(const std::vector<BoxItem>& items, const QRect& content, int childPadding,
                             int scroll, unsigned crossAlign, int& requiredExtent) {
    int fixedTotal = 0;
    int stretchCount = 0;
    for (const BoxItem& item : items) {
        fixedTotal += item.padding.top() + item.padding.bottom();
        if (item.fixedMain > 0) {
            fixedTotal += std::clamp(item.fixedMain, item.minMain, item.maxMain);
        } else {
            ++stretchCount;
        }
    }
    if (!items.empty()) {
        fixedTotal += childPadding * static_cast<int>(items.size() - 1);
    }
    int spare = std::max(0, content.height() - fixedTotal);
    std::vector<QRect> rects;
    rects.reserve(items.size());
    int y = content.top() - scroll;
    int stretchLeft = stretchCount;
    for (const BoxItem& item : items) {
        int main = item.fixedMain;
        if (main <= 0) {
            // The last stretching item takes the rounding remainder so the box is filled exactly.
            main = stretchLeft > 1 ? spare / stretchLeft : spare;
            main = std::clamp(main, item.minMain, item.maxMain);
            spare = std::max(0, spare - main);
            --stretchLeft;
        } else {
            main = std::clamp(main, item.minMain, item.maxMain);
        }
        const int room = content.width() - item.padding.left() - item.padding.right();
        int cross = item.fixedCross > 0 ? item.fixedCross : room;
        cross = std::clamp(cross, item.minCross, item.maxCross);
        int x = content.left() + item.padding.left();
        if (crossAlign == 1) {
            x = content.left() + (content.width() - cross) / 2;
        } else if (crossAlign == 2) {
            x = content.left() + content.width() - item.padding.right() - cross;
        }
        y += item.padding.top();
        rects.emplace_back(x, y, cross, main);
        y += main + item.padding.bottom() + childPadding;
    }
    requiredExtent = items.empty() ? 0 : y - childPadding - (content.top() - scroll);
    return rects;
}

}  // namespace ui
