#pragma once

#include "platform/text.h"

#include <QColor>
#include <QMargins>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <string>
#include <string_view>

// Parsing of skin attribute values. Every parser tolerates bad text: it returns the fallback.
//
// Thread: any.

namespace ui {

// "#AARRGGBB", "#RRGGBB", "0xAARRGGBB" or "AARRGGBB" to an ARGB value; fallback on bad text.
std::uint32_t ParseColor(std::string_view text, std::uint32_t fallback = 0);
QColor ToQColor(std::uint32_t argb);
bool ParseBool(std::string_view text);
int ParseInt(std::string_view text, int fallback = 0);
// "l,t,r,b": missing numbers read as 0.
QRect ParseRect(std::string_view text);
QMargins ParseMargins(std::string_view text);
QSize ParseSize(std::string_view text);
using platform::EqualsNoCase;
using platform::ToLower;

}  // namespace ui
