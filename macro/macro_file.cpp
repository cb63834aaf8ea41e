#include "macro/macro_file.h"

#include "macro/macro_event_scan.h"

#include "profile/json_access.h"
#include "profile/json_document.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

namespace {

// A user file of any size may be handed to an import; only regular files up to the document
// limit are read, so the allocation below cannot fail on a huge one.
std::optional<std::string> ReadBytes(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || !std::filesystem::is_regular_file(path, error) || size > CJsonDocument::kMaxFileBytes) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
        return std::nullopt;
    }
    return bytes;
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        if (text[i] == '\n') {
            out += '\r';
        }
        out += text[i];
    }
    return out;
}

}  // namespace

std::vector<MacroEvent> CMacroFile::Events(const Json::Value& document) {
    const Json::Value& list = CJsonAccess::Member(document, "Events");
    std::vector<MacroEvent> events;
    events.reserve(CJsonAccess::Size(list));
    for (Json::ArrayIndex i = 0; i < CJsonAccess::Size(list); ++i) {
        events.push_back(MacroEvent::FromJson(CJsonAccess::Element(list, i)));
    }
    return events;
}

std::vector<MacroEvent> CMacroFile::Read(const std::string& path) {
    return Events(CJsonDocument().ReadJsonValue(path));
}

size_t CMacroFile::CountEvents(const std::string& path) {
    const std::optional<std::string> bytes = ReadBytes(path);
    if (!bytes) {
        return 0;
    }
    const std::optional<size_t> counted = CMacroEventScan::CountEvents(*bytes);
    return counted ? *counted : Read(path).size();
}

bool CMacroFile::IsMacroFile(const std::string& path) {
    const Json::Value document = CJsonDocument().ReadJsonValue(path);
    return document.isObject() && document.isMember("Events") && document["Events"].isArray();
}

int CMacroFile::Write(const std::string& path, const std::string& name, const std::string& guid,
                      const std::vector<MacroEvent>& events) {
    Json::Value document(Json::objectValue);
    document["MacroName"] = name;
    document["Guid"] = guid;
    Json::Value& list = document["Events"] = Json::Value(Json::arrayValue);
    for (const MacroEvent& event : events) {
        list.append(event.ToJson());
    }
    document["Version"] = kVersion;
    return CJsonDocument().wirtejsonFile(path, document);
}

bool CMacroFile::CopyAsText(const std::string& from, const std::string& to) {
    const auto bytes = ReadBytes(from);
    if (!bytes) {
        return false;
    }
    // Written beside the target and renamed, so a failed copy never leaves half a file.
    const std::string temporary = to + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        const std::string text = WithCrLf(*bytes);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, to, error);
    if (error) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
