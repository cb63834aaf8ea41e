#include "profile/profile_list.h"

#include "platform/text.h"

#include "platform/debug.h"
#include "profile/damaged_file.h"
#include "profile/data_folders.h"
#include "profile/json_access.h"

#include <filesystem>
#include <utility>

namespace {

using Access = CJsonAccess;

constexpr int kHeadsetKind = 7;

Json::Value MakeEntry(const std::string& name, const std::string& uuid) {
    Json::Value entry(Json::objectValue);
    entry["profilename"] = name;
    entry["profileUUID"] = uuid;
    entry["profileislink"] = 0;
    entry["profilelinkmame"] = "";
    return entry;
}

bool HoldsProfiles(const Json::Value& list) {
    return Access::Size(Access::Member(list, "profilelist")) > 0;
}

// An empty list is a list; anything else that is not an object with a "profilelist" array is not.
bool IsListShaped(const Json::Value& list) {
    return list.isObject() && list["profilelist"].isArray();
}

}  // namespace

CProfileList::CProfileList(int deviceKind, std::string profileFolder, std::string defaultProfilePath)
    : deviceKind_(deviceKind),
      folder_(std::move(profileFolder)),
      defaultProfilePath_(std::move(defaultProfilePath)) {}

int CProfileList::Load() {
    list_ = ReadList();
    if (!HoldsProfiles(list_)) {
        CreateFirstProfile();
    }
    TakeEntries(list_);
    const int stored = Access::IntOf(list_, "profileselect");
    // A stored selection outside the list opens the first profile.
    SelectEntry(stored >= 0 && stored < Count() ? stored : 0);
    return Count();
}

void CProfileList::CreateFirstProfile() {
    const std::string uuid = document_.TimeStamp();
    Json::Value profiles(Json::arrayValue);
    profiles.append(MakeEntry("profile1", uuid));
    Access::MemberRef(list_, "profilelist") = std::move(profiles);
    list_["profileselect"] = 0;
    WriteList();
    WriteProfile(document_.ReadJsonValue(defaultProfilePath_), "profile1", uuid);
}

std::string CProfileList::ProfilePath(int index) const {
    if (index < 0 || index >= Count()) {
        return {};
    }
    const std::string& uuid = entries_[static_cast<size_t>(index)].uuid;
    if (!CDataFolders::IsSafeFileName(uuid)) {
        platform::DebugFormat("配置 UUID 不能作为文件名：%s\n", uuid.c_str());
        return {};
    }
    return folder_ + uuid + ".Json";
}

int CProfileList::StoredSelection() const {
    return Access::IntOf(list_, "profileselect");
}

int CProfileList::Find(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        if (platform::EqualsNoCase(entries_[static_cast<size_t>(i)].name, name)) {
            return i;
        }
    }
    return -1;
}

int CProfileList::Select(int index) {
    Refresh();
    // A UUID that cannot name a file leaves no path to switch to; switching anyway would keep the
    // previous profile's path, and its file would receive the next save.
    if (index < 0 || index >= Count() || ProfilePath(index).empty()) {
        return -1;
    }
    return SelectEntry(index);
}

int CProfileList::SelectEntry(int index) {
    if (index < 0 || index >= Count()) {
        return -1;
    }
    selected_ = index;
    currentUuid_ = entries_[static_cast<size_t>(index)].uuid;
    list_["profileselect"] = index;
    WriteList();
    return index;
}

int CProfileList::Add() {
    Refresh();
    if (Count() >= kMaxAddedProfiles) {
        return -1;
    }
    std::string name;
    for (int n = 1; name.empty() || Find(name) >= 0; ++n) {
        name = "profile" + std::to_string(n);
    }
    const std::string uuid = document_.TimeStamp();
    const int index = AppendEntry(name, uuid);
    list_["profileselect"] = index;
    WriteList();
    WriteProfile(document_.ReadJsonValue(defaultProfilePath_), name, uuid);
    return index;
}

int CProfileList::Delete() {
    Refresh();
    if (selected_ < 0 || Count() < 2) {
        return -1;
    }
    const std::string file = ProfilePath(selected_);
    const int next = selected_ == 0 ? 0 : selected_ - 1;
    Json::Value removed;
    list_["profilelist"].removeIndex(static_cast<Json::ArrayIndex>(selected_), &removed);
    list_["profileselect"] = next;
    // The list goes first: a crash in between leaves an unlisted file, never a listed profile
    // without its file.
    WriteList();
    TakeEntries(list_);
    if (!file.empty()) {
        std::error_code error;
        std::filesystem::remove(file, error);
    }
    selected_ = next;
    currentUuid_ = entries_[static_cast<size_t>(next)].uuid;
    return next;
}

int CProfileList::Copy() {
    Refresh();
    if (selected_ < 0) {
        return -1;
    }
    std::string name = entries_[static_cast<size_t>(selected_)].name + " copy";
    while (Find(name) >= 0) {
        name += " copy";
    }
    const std::string source = ProfilePath(selected_);
    const Json::Value document = source.empty() ? Json::Value() : document_.ReadJsonValue(source);
    const std::string uuid = document_.TimeStamp();
    const int index = AppendEntry(name, uuid);
    WriteList();
    WriteProfile(document, name, uuid);
    return index;
}

int CProfileList::Import(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return kImportUnreadable;
    }
    if (size > kMaxImportBytes) {
        return kImportTooLarge;
    }
    const Json::Value document = document_.ReadJsonValue(path);
    if (document.isNull()) {
        return kImportUnreadable;
    }
    if (!Access::Member(document, "profilename").isString() ||
        !Access::Member(document, "profileUUID").isString()) {
        return kImportNotAProfile;
    }
    Refresh();
    std::string name = document["profilename"].asString();
    for (int n = 1; Find(name) >= 0; ++n) {
        name += "(" + std::to_string(n) + ")";
    }
    const std::string uuid = document_.TimeStamp();
    const int index = AppendEntry(name, uuid);
    WriteList();
    WriteProfile(document, name, uuid);
    return index;
}

int CProfileList::Export(const std::string& path) const {
    const std::string source = ProfilePath(selected_);
    if (source.empty()) {
        return kExportNoProfile;
    }
    // A profile that cannot be read is not exported as "null".
    const Json::Value document = document_.ReadJsonValue(source);
    if (document.isNull()) {
        return kExportNoProfile;
    }
    return document_.wirtejsonFile(path, document) == 0 ? 0 : kExportWriteFailed;
}

int CProfileList::Reset() {
    Refresh();
    const std::string path = ProfilePath(selected_);
    if (path.empty()) {
        return -1;
    }
    const ProfileEntry entry = entries_[static_cast<size_t>(selected_)];
    Json::Value document = document_.ReadJsonValue(defaultProfilePath_);
    if (deviceKind_ == kHeadsetKind) {
        // The user's own equalisers survive a reset.
        const Json::Value current = document_.ReadJsonValue(path);
        const Json::Value& section = Access::Element(Access::Member(current, "Device"), 0);
        Json::Value& target = Access::ElementRef(Access::MemberRef(document, "Device"), 0);
        for (const char* key : {"CustomEQNameInfo", "CustomEQHzValueInfo"}) {
            if (!Access::Member(section, key).isNull()) {
                Access::MemberRef(target, key) = section[key];
            }
        }
    }
    return WriteProfile(std::move(document), entry.name, entry.uuid);
}

int CProfileList::Rename(const std::string& name) {
    Refresh();
    if (selected_ < 0 || name.empty()) {
        return -1;
    }
    for (int i = 0; i < Count(); ++i) {
        if (i != selected_ && platform::EqualsNoCase(entries_[static_cast<size_t>(i)].name, name)) {
            return 0;
        }
    }
    Access::MemberRef(list_["profilelist"][selected_], "profilename") = name;
    WriteList();
    TakeEntries(list_);
    const std::string path = ProfilePath(selected_);
    Json::Value document = path.empty() ? Json::Value() : document_.ReadJsonValue(path);
    if (document.isObject()) {
        document["profilename"] = name;
        document_.wirtejsonFile(path, document);
    }
    return 1;
}

std::vector<std::string> CProfileList::TakeSetAsideFiles() {
    return std::exchange(setAside_, {});
}

Json::Value CProfileList::ReadList() {
    Json::Value list = document_.ReadJsonValue(ListPath());
    if (IsListShaped(list) || !CDamagedFile::HasContent(ListPath())) {
        return list;
    }
    // What the file holds may be all the user has left of the list: keep it before a default or
    // the list in memory takes its place.
    const std::string moved = CDamagedFile::MoveAside(ListPath());
    if (!moved.empty()) {
        setAside_.push_back(moved);
    }
    return Json::Value();
}

void CProfileList::Refresh() {
    Json::Value stored = ReadList();
    if (HoldsProfiles(stored)) {
        list_ = std::move(stored);
    } else if (!HoldsProfiles(list_)) {
        list_ = Json::Value(Json::objectValue);
    }
    TakeEntries(list_);
}

void CProfileList::TakeEntries(const Json::Value& list) {
    const Json::Value& profiles = Access::Member(list, "profilelist");
    entries_.clear();
    for (Json::ArrayIndex i = 0; i < Access::Size(profiles); ++i) {
        entries_.push_back({Access::String(Access::Member(profiles[i], "profilename")),
                            Access::String(Access::Member(profiles[i], "profileUUID"))});
    }
    if (selected_ >= Count()) {
        selected_ = Count() - 1;
    }
}

int CProfileList::WriteList() {
    return document_.wirtejsonFile(ListPath(), list_);
}

int CProfileList::AppendEntry(const std::string& name, const std::string& uuid) {
    Json::Value& profiles = Access::MemberRef(list_, "profilelist");
    if (!profiles.isArray()) {
        profiles = Json::Value(Json::arrayValue);
    }
    profiles.append(MakeEntry(name, uuid));
    TakeEntries(list_);
    return Count() - 1;
}

int CProfileList::WriteProfile(Json::Value document, const std::string& name, const std::string& uuid) const {
    if (!CDataFolders::IsSafeFileName(uuid)) {
        return -1;
    }
    Access::MemberRef(document, "profilename") = name;
    Access::MemberRef(document, "profileUUID") = uuid;
    return document_.wirtejsonFile(folder_ + uuid + ".Json", document) == 0 ? 0 : -1;
}
