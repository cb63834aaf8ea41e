#include "ui/toolkit/dpi.h"

#include <algorithm>
#include <array>

namespace ui {

bool CDPI::IsSupported(int dpi) {
    static constexpr std::array<int, 7> kSupported{48, 72, 96, 120, 144, 168, 192};
    return std::find(kSupported.begin(), kSupported.end(), dpi) != kSupported.end();
}

bool CDPI::SetDPI(int dpi) {
    if (dpi <= 0) {
        return false;
    }
    dpi_ = dpi;
    return true;
}

int CDPI::Scale(int value) const {
    // Round half away from zero so that negative offsets scale like positive ones.
    const long long scaled = static_cast<long long>(value) * dpi_;
    return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : (scaled - 48) / 96);
}

QSize CDPI::Scale(QSize size) const {
    return QSize(Scale(size.width()), Scale(size.height()));
}

QRect CDPI::Scale(const QRect& rect) const {
    const int left = Scale(rect.left());
    const int top = Scale(rect.top());
    return QRect(left, top, Scale(rect.left() + rect.width()) - left,
                 Scale(rect.top() + rect.height()) - top);
}

QMargins CDPI::Scale(const QMargins& margins) const {
    return QMargins(Scale(margins.left()), Scale(margins.top()), Scale(margins.right()),
                    Scale(margins.bottom()));
}

int CDPI::ScaleBack(int value) const {
    return static_cast<int>(static_cast<long long>(value) * 96 / dpi_);
}

}  // namespace ui
