#include "cli/function_argument.h"

#include "devices/common/function_catalog.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace {

constexpr int kMacroModeCount = 4;

std::optional<unsigned> Number(std::string_view text, int base, unsigned highest) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > highest) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string_view> Split(std::string_view text) {
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon == std::string_view::npos ? colon : colon - start));
        if (colon == std::string_view::npos) {
            return parts;
        }
        start = colon + 1;
    }
}

CFunctionArgument::Parsed Error(std::string message) {
    return {std::nullopt, std::move(message)};
}

CFunctionArgument::Parsed Bytes(const std::vector<std::string_view>& parts, const std::string& text) {
    uint8_t bytes[3] = {};
    for (size_t i = 0; i < 3; ++i) {
        const std::optional<unsigned> value =
            parts[i].size() == 2 ? Number(parts[i], 16, 0xFF) : std::nullopt;
        if (!value) {
            return Error("'" + text + "' is not three code bytes in hex such as 30:CD:00");
        }
        bytes[i] = static_cast<uint8_t>(*value);
    }
    return {KeyFunctionCode{bytes[0], bytes[1], bytes[2]}, {}};
}

CFunctionArgument::Parsed Macro(const std::vector<std::string_view>& parts, size_t macroCount) {
    const std::optional<unsigned> index = parts.size() <= 3 ? Number(parts[1], 10, 255) : std::nullopt;
    const std::optional<unsigned> mode = parts.size() == 3 ? Number(parts[2], 10, kMacroModeCount - 1) : 0u;
    if (!index || !mode) {
        return Error("a macro is given as macro:N or macro:N:MODE, with MODE from 0 to 3");
    }
    if (*index >= macroCount) {
        return Error("there is no macro " + std::to_string(*index) + " (the macro list holds " +
                     std::to_string(macroCount) + ")");
    }
    return {KeyFunctionCode{FunctionType::kMacro, static_cast<uint8_t>(*index), static_cast<uint8_t>(*mode)},
            {}};
}

}  // namespace

CFunctionArgument::Parsed CFunctionArgument::Parse(const std::string& text,
                                                   const KeyFunctionCode& factoryCode, size_t macroCount) {
    if (text == "default") {
        return {factoryCode, {}};
    }
    const std::vector<std::string_view> parts = Split(text);
    if (parts.front() == "macro" && parts.size() >= 2) {
        return Macro(parts, macroCount);
    }
    if (parts.size() == 3) {
        return Bytes(parts, text);
    }
    for (const CatalogEntry& entry : CFunctionCatalog::All()) {
        if (entry.nameKey == text) {
            return {entry.code, {}};
        }
    }
    return Error("unknown function '" + text + "'; 'norvikctl codes' lists the names");
}

std::string CFunctionArgument::Format(const KeyFunctionCode& code) {
    char text[12];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X", code.type, code.param1, code.param2);
    return text;
}
