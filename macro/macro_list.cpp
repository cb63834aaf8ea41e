#include "macro/macro_list.h"

#include "platform/text.h"

#include "macro/macro_file.h"
#include "macro/macro_limits.h"
#include "profile/damaged_file.h"
#include "profile/data_folders.h"
#include "profile/json_access.h"
#include "profile/json_document.h"

#include "platform/debug.h"

#include <strings.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

CMacroList::CMacroList(std::string folder, std::string listFile)
    : folder_(std::move(folder)), listFile_(std::move(listFile)) {}

Json::Value CMacroList::ReadList() const {
    return CJsonDocument().ReadJsonValue(folder_ + listFile_);
}

int CMacroList::WriteList(const Json::Value& list) const {
    return CJsonDocument().wirtejsonFile(folder_ + listFile_, list);
}

std::vector<CMacroList::Entry> CMacroList::Entries() const {
    const Json::Value list = ReadList();
    const Json::Value& info = CJsonAccess::Member(list, "MacroInfo");
    std::vector<Entry> entries;
    for (Json::ArrayIndex i = 0; i < CJsonAccess::Size(info); ++i) {
        const Json::Value& entry = CJsonAccess::Element(info, i);
        entries.push_back({CJsonAccess::String(CJsonAccess::Member(entry, "MacroName")),
                           CJsonAccess::String(CJsonAccess::Member(entry, "Guid"))});
    }
    return entries;
}

std::vector<std::string> CMacroList::Names() const {
    std::vector<std::string> names;
    for (const Entry& entry : Entries()) {
        names.push_back(entry.name);
    }
    return names;
}

std::optional<CMacroList::Entry> CMacroList::EntryAt(size_t index) const {
    const std::vector<Entry> entries = Entries();
    if (index >= entries.size()) {
        return std::nullopt;
    }
    return entries[index];
}

std::string CMacroList::NextName(const std::vector<std::string>& names) {
    for (size_t number = 1;; ++number) {
        const std::string candidate = "macro_" + std::to_string(number);
        const bool taken = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return platform::EqualsNoCase(name, candidate);
        });
        if (!taken) {
            return candidate;
        }
    }
}

std::string CMacroList::MacroPath(const std::string& guid) const {
    if (!CDataFolders::IsSafeFileName(guid)) {
        return {};
    }
    return folder_ + guid + CMacroFile::kExtension;
}

bool CMacroList::IsDamaged() const {
    if (!CDamagedFile::HasContent(folder_ + listFile_)) {
        return false;
    }
    const Json::Value list = ReadList();
    if (!list.isObject()) {
        return true;
    }
    const Json::Value& info = CJsonAccess::Member(list, "MacroInfo");
    return !info.isNull() && !info.isArray();
}

std::string CMacroList::SetAsideIfDamaged() const {
    return IsDamaged() ? CDamagedFile::MoveAside(folder_ + listFile_) : std::string();
}

std::optional<Json::Value> CMacroList::ReadListForChange() const {
    std::error_code error;
    const bool exists = std::filesystem::exists(folder_ + listFile_, error);
    Json::Value list = ReadList();
    if (!exists && list.isNull()) {
        list = Json::Value(Json::objectValue);
    }
    if (!list.isObject()) {
        platform::DebugFormat("%s%s cannot be read; it is left as it is\n", folder_.c_str(),
                              listFile_.c_str());
        return std::nullopt;
    }
    Json::Value& info = CJsonAccess::MemberRef(list, "MacroInfo");
    if (info.isNull()) {
        info = Json::Value(Json::arrayValue);
    }
    if (!info.isArray()) {
        return std::nullopt;
    }
    return list;
}

std::optional<size_t> CMacroList::Create() {
    std::optional<Json::Value> list = ReadListForChange();
    if (!list) {
        return std::nullopt;
    }
    Json::Value& info = CJsonAccess::MemberRef(*list, "MacroInfo");
    if (info.size() >= macro_limits::kMacrosPerList) {
        return std::nullopt;
    }
    Json::Value entry(Json::objectValue);
    entry["MacroName"] = NextName(Names());
    entry["Guid"] = CJsonDocument().TimeStamp();
    info.append(entry);
    if (WriteList(*list) != 0) {
        return std::nullopt;
    }
    return info.size() - 1;
}

int CMacroList::Save(size_t index, const std::vector<MacroEvent>& events) const {
    const auto entry = EntryAt(index);
    if (!entry) {
        return 1;
    }
    const std::string path = MacroPath(entry->guid);
    if (path.empty()) {
        return 1;
    }
    return CMacroFile::Write(path, entry->name, entry->guid, events);
}

std::vector<MacroEvent> CMacroList::Load(size_t index) const {
    const auto entry = EntryAt(index);
    if (!entry) {
        return {};
    }
    const std::string path = MacroPath(entry->guid);
    return path.empty() ? std::vector<MacroEvent>{} : CMacroFile::Read(path);
}

// The file goes only once the list no longer names it: a failed list write keeps both.
bool CMacroList::Delete(size_t index) {
    std::optional<Json::Value> list = ReadListForChange();
    if (!list) {
        return false;
    }
    Json::Value& info = CJsonAccess::MemberRef(*list, "MacroInfo");
    if (index >= info.size()) {
        return false;
    }
    const std::string path =
        MacroPath(CJsonAccess::String(CJsonAccess::Member(info[Json::ArrayIndex(index)], "Guid")));
    Json::Value removed;
    info.removeIndex(static_cast<Json::ArrayIndex>(index), &removed);
    if (WriteList(*list) != 0) {
        return false;
    }
    if (!path.empty()) {
        std::remove(path.c_str());
    }
    return true;
}

bool CMacroList::Rename(size_t index, const std::string& name) {
    std::optional<Json::Value> list = ReadListForChange();
    if (!list) {
        return false;
    }
    Json::Value& info = CJsonAccess::MemberRef(*list, "MacroInfo");
    if (index >= info.size()) {
        return false;
    }
    CJsonAccess::MemberRef(CJsonAccess::ElementRef(info, static_cast<Json::ArrayIndex>(index)), "MacroName") =
        name;
    return WriteList(*list) == 0;
}

bool CMacroList::Export(size_t index, const std::string& path) const {
    const auto entry = EntryAt(index);
    if (!entry) {
        return false;
    }
    const std::string source = MacroPath(entry->guid);
    return !source.empty() && CMacroFile::CopyAsText(source, path);
}

std::optional<size_t> CMacroList::Import(const std::string& path) {
    if (Entries().size() >= macro_limits::kMacrosPerList || !std::ifstream(path, std::ios::binary)) {
        return std::nullopt;
    }
    const auto index = Create();
    if (!index) {
        return std::nullopt;
    }
    const std::optional<Entry> created = EntryAt(*index);
    const std::string target = created ? MacroPath(created->guid) : std::string();
    if (target.empty() || !CMacroFile::CopyAsText(path, target)) {
        Delete(*index);
        return std::nullopt;
    }
    return index;
}

std::optional<CMacroImage::Result> CMacroList::BuildImage(size_t capacity) const {
    const std::vector<Entry> entries = Entries();
    if (entries.empty()) {
        return std::nullopt;
    }
    // Once the entries read so far overflow, the rest are only counted: the image is refused
    // anyway and only the number of events to remove is reported.
    std::vector<std::vector<MacroEvent>> events;
    std::vector<size_t> counts;
    events.reserve(entries.size());
    counts.reserve(entries.size());
    for (const Entry& entry : entries) {
        const std::string path = MacroPath(entry.guid);
        const bool overflowing = CMacroImage::Overflow(CMacroImage::Size(counts), capacity) > 0;
        events.push_back(path.empty() || overflowing ? std::vector<MacroEvent>{} : CMacroFile::Read(path));
        counts.push_back(path.empty()  ? 0
                         : overflowing ? CMacroFile::CountEvents(path)
                                       : events.back().size());
    }
    if (const int overflow = CMacroImage::Overflow(CMacroImage::Size(counts), capacity); overflow > 0) {
        return CMacroImage::Result{{}, overflow};
    }
    return CMacroImage::Build(events, capacity);
}
