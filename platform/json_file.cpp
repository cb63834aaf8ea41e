#include "platform/json_file.h"

#include "platform/atomic_file.h"

// StyledWriter is what the files have always been written with; its layout is kept byte for byte,
// only its \u escapes of non-ASCII text become UTF-8 again.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <json/reader.h>
#include <json/writer.h>
#pragma GCC diagnostic pop

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The four hex digits of a \u escape at text[at], or -1.
int EscapedUnit(const std::string& text, size_t at) {
    if (at + 6 > text.size() || text[at] != '\\' || text[at + 1] != 'u') {
        return -1;
    }
    int unit = 0;
    for (size_t i = at + 2; i < at + 6; ++i) {
        const int digit = HexValue(text[i]);
        if (digit < 0) {
            return -1;
        }
        unit = unit << 4 | digit;
    }
    return unit;
}

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | code >> 6));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | code >> 12));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | code >> 18));
        out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
    }
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
}

}  // namespace

// jsoncpp's styled writer escapes every non-ASCII character as \uXXXX; the files have always held
// names as UTF-8 text, so those escapes become the characters again. Escapes of ASCII control
// characters, escaped backslashes and unpaired surrogates stay as they are.
std::string CJsonFile::UnescapeNonAscii(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\') {
            out.push_back(text[at]);
            continue;
        }
        const int unit = EscapedUnit(text, at);
        if (unit < 0x80) {
            out.append(text, at, 2);  // another escape, or an ASCII one: kept with its next char
            ++at;
            continue;
        }
        uint32_t code = static_cast<uint32_t>(unit);
        size_t length = 6;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const int low = EscapedUnit(text, at + 6);
            if (low < 0xDC00 || low > 0xDFFF) {
                out.append(text, at, 6);
                at += 5;
                continue;
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<uint32_t>(low) - 0xDC00);
            length = 12;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            out.append(text, at, 6);
            at += 5;
            continue;
        }
        AppendUtf8(out, code);
        at += length - 1;
    }
    return out;
}

std::string CJsonFile::ReadText(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return {};
    }
    // A directory opens too, and its end offset can be huge: only regular files are read.
    struct stat info {};
    if (::fstat(::fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    if (std::fseek(file.get(), 0, SEEK_END) != 0) {
        return {};
    }
    const long length = std::ftell(file.get());
    if (length < 0 || static_cast<size_t>(length) > kMaxFileBytes ||
        std::fseek(file.get(), 0, SEEK_SET) != 0) {
        return {};
    }
    std::string content(static_cast<size_t>(length), '\0');
    const size_t read = std::fread(content.data(), 1, content.size(), file.get());
    return read == content.size() ? content : std::string();
}

bool CJsonFile::Parse(std::string_view text, Json::Value& root) {
    Json::CharReaderBuilder builder;
    builder["collectComments"] = true;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    try {
        // jsoncpp throws rather than fail when nesting exceeds its stack limit.
        return reader->parse(text.data(), text.data() + text.size(), &root, &errors);
    } catch (const std::exception&) {
        return false;
    }
}

Json::Value CJsonFile::Read(const std::string& path) {
    const std::string text = ReadText(path);
    Json::Value root;
    if (text.empty() || !Parse(text, root)) {
        return Json::Value();
    }
    return root;
}

int CJsonFile::Write(const std::string& path, const Json::Value& value) {
    return platform::ReplaceFile(path, StyledText(value));
}

std::string CJsonFile::StyledText(const Json::Value& value) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    Json::StyledWriter writer;
    return UnescapeNonAscii(writer.write(value)) + "\n";
#pragma GCC diagnostic pop
}
