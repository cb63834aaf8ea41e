#include "ui/toolkit/image_attribute.h"

#include "ui/toolkit/ui_parse.h"

#include <algorithm>
#include <cctype>

namespace ui {
namespace {

// Reads the next key='value' pair; false at the end of the text.
bool NextPair(std::string_view& text, std::string_view& key, std::string_view& value) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals + 1 >= text.size()) {
        return false;
    }
    key = text.substr(0, equals);
    while (!key.empty() && std::isspace(static_cast<unsigned char>(key.back()))) {
        key.remove_suffix(1);
    }
    text.remove_prefix(equals + 1);
    const char quote = text.front();
    if (quote != '\'' && quote != '"') {
        return false;
    }
    const std::size_t close = text.find(quote, 1);
    if (close == std::string_view::npos) {
        return false;
    }
    value = text.substr(1, close - 1);
    text.remove_prefix(close + 1);
    return true;
}

}  // namespace

CImageAttribute CImageAttribute::Parse(std::string_view text) {
    CImageAttribute image;
    if (text.find('=') == std::string_view::npos) {
        image.file = std::string(text);
        return image;
    }
    std::string_view key;
    std::string_view value;
    while (NextPair(text, key, value)) {
        if (key == "file") {
            image.file = std::string(value);
        } else if (key == "res") {
            image.file = std::string(value);
            image.fromRes = true;
        } else if (key == "source") {
            image.source = ParseRect(value);
        } else if (key == "dest") {
            image.dest = ParseRect(value);
        } else if (key == "corner") {
            image.corner = ParseMargins(value);
        } else if (key == "fade") {
            image.fade = std::clamp(ParseInt(value, 255), 0, 255);
        } else if (key == "xtiled") {
            image.xtiled = ParseBool(value);
        } else if (key == "ytiled") {
            image.ytiled = ParseBool(value);
        } else if (key == "hole") {
            image.hole = ParseBool(value);
        }
    }
    return image;
}

}  // namespace ui
