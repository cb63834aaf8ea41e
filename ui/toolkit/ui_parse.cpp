#include "ui/toolkit/ui_parse.h"

#include "platform/text.h"

#include "ui/toolkit/ui_defs.h"

#include <array>
#include <cctype>
#include <charconv>

namespace ui {
namespace {

std::array<int, 4> ParseFour(std::string_view text) {
    std::array<int, 4> values{0, 0, 0, 0};
    for (int& value : values) {
        const std::size_t comma = text.find(',');
        value = ParseInt(text.substr(0, comma));
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    return values;
}

}  // namespace

std::uint32_t ParseColor(std::string_view text, std::uint32_t fallback) {
    text = platform::Trimmed(text);
    if (!text.empty() && text.front() == '#') {
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    if (text.size() != 6 && text.size() != 8) {
        return fallback;
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) {
        return fallback;
    }
    return text.size() == 6 ? (0xFF000000u | value) : value;
}

QColor ToQColor(std::uint32_t argb) {
    return QColor((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, (argb >> 24) & 0xFF);
}

bool ParseBool(std::string_view text) {
    text = platform::Trimmed(text);
    return EqualsNoCase(text, "true") || text == "1";
}

int ParseInt(std::string_view text, int fallback) {
    text = platform::Trimmed(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end != text.data() ? value : fallback;
}

QRect ParseRect(std::string_view text) {
    const auto v = ParseFour(text);
    return RectFromLtrb(v[0], v[1], v[2], v[3]);
}

QMargins ParseMargins(std::string_view text) {
    const auto v = ParseFour(text);
    return QMargins(v[0], v[1], v[2], v[3]);
}

QSize ParseSize(std::string_view text) {
    const auto v = ParseFour(text);
    return QSize(v[0], v[1]);
}

}  // namespace ui
