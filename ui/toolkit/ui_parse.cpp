#include "ui/toolkit/ui_parse.h"

#include "ui/toolkit/ui_defs.h"

#include <array>
#include <cctype>
#include <charconv>

namespace ui {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

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
    text = Trim(text);
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
    text = Trim(text);
    return EqualsNoCase(text, "true") || text == "1";
}

int ParseInt(std::string_view text, int fallback) {
    text = Trim(text);
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

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string ToLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

}  // namespace ui
