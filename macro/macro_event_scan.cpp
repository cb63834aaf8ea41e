#include "macro/macro_event_scan.h"

#include <cctype>
#include <string>

namespace {

class CScanner {
public:
    explicit CScanner(std::string_view text) : text_(text) {}

    std::optional<size_t> CountEvents() {
        SkipSpace();
        if (!Take('{')) {
            return std::nullopt;
        }
        size_t events = 0;
        SkipSpace();
        if (Take('}')) {
            return events;
        }
        for (;;) {
            const std::optional<std::string> key = ReadString();
            SkipSpace();
            if (!key || !Take(':')) {
                return std::nullopt;
            }
            SkipSpace();
            const bool isArray = Peek() == '[';
            const std::optional<size_t> elements = isArray       ? ScanNested()
                                                   : SkipValue() ? std::optional<size_t>(0)
                                                                 : std::nullopt;
            if (!elements) {
                return std::nullopt;
            }
            // A repeated key replaces the earlier member, as the reader does.
            if (*key == "Events") {
                events = isArray ? *elements : 0;
            }
            SkipSpace();
            if (Take('}')) {
                return events;
            }
            SkipSpace();
            if (!Take(',')) {
                return std::nullopt;
            }
            SkipSpace();
        }
    }

private:
    char Peek() const { return position_ < text_.size() ? text_[position_] : '\0'; }
    bool Take(char expected) {
        if (Peek() != expected) {
            return false;
        }
        ++position_;
        return true;
    }
    void SkipSpace() {
        while (position_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[position_]))) {
            ++position_;
        }
    }
    std::optional<std::string> ReadString() {
        if (!Take('"')) {
            return std::nullopt;
        }
        const size_t start = position_;
        while (position_ < text_.size()) {
            const char c = text_[position_++];
            if (c == '\\') {
                ++position_;
            } else if (c == '"') {
                return std::string(text_.substr(start, position_ - start - 1));
            }
        }
        return std::nullopt;
    }
    // Steps past the array or object at the position; the number of its top-level elements.
    std::optional<size_t> ScanNested() {
        const char close = text_[position_++] == '[' ? ']' : '}';
        SkipSpace();
        if (Take(close)) {
            return 0;
        }
        size_t elements = 1;
        int depth = 0;
        while (position_ < text_.size()) {
            const char c = text_[position_];
            if (c == '"') {
                if (!ReadString()) {
                    return std::nullopt;
                }
                continue;
            }
            ++position_;
            if (c == '[' || c == '{') {
                ++depth;
            } else if (c == ']' || c == '}') {
                if (depth == 0) {
                    return c == close ? std::optional<size_t>(elements) : std::nullopt;
                }
                --depth;
            } else if (c == ',' && depth == 0) {
                ++elements;
            }
        }
        return std::nullopt;
    }
    // Steps past any value.
    bool SkipValue() {
        if (Peek() == '"') {
            return ReadString().has_value();
        }
        if (Peek() == '[' || Peek() == '{') {
            return ScanNested().has_value();
        }
        while (position_ < text_.size() && text_[position_] != ',' && text_[position_] != '}') {
            ++position_;
        }
        return true;
    }

    std::string_view text_;
    size_t position_ = 0;
};

}  // namespace

std::optional<size_t> CMacroEventScan::CountEvents(std::string_view document) {
    return CScanner(document).CountEvents();
}
