#include "platform/settings/settings_store.h"

#include "platform/json_file.h"
#include "platform/paths.h"
#include "platform/product.h"
#include "platform/text.h"

#include <algorithm>

namespace {

// The member's name as the document spells it, or "" when no member matches.
std::string StoredName(const Json::Value& object, const std::string& name) {
    if (!object.isObject()) {
        return {};
    }
    for (const std::string& member : object.getMemberNames()) {
        if (platform::EqualsNoCase(member, name)) {
            return member;
        }
    }
    return {};
}

// The member that the name matches, or null.
const Json::Value& MemberOf(const Json::Value& object, const std::string& name) {
    static const Json::Value null;
    const std::string stored = StoredName(object, name);
    return stored.empty() ? null : object[stored];
}

}  // namespace

CSettingsStore::CSettingsStore(std::string file) : file_(file.empty() ? DefaultFile() : std::move(file)) {}

std::string CSettingsStore::DefaultFile() {
    return platform::UserConfigFolder() + platform::kProductName + "/settings.json";
}

bool CSettingsStore::KeyExists(const std::string& key) const {
    return MemberOf(CJsonFile::Read(file_), key).isObject();
}

bool CSettingsStore::CreateKey(const std::string& key) const {
    if (key.empty()) {
        return false;
    }
    if (KeyExists(key)) {
        return true;
    }
    Json::Value root = CJsonFile::Read(file_);
    if (!root.isObject()) {
        root = Json::Value(Json::objectValue);
    }
    const std::string stored = StoredName(root, key);
    root[stored.empty() ? key : stored] = Json::Value(Json::objectValue);
    const std::string folder = file_.substr(0, file_.rfind('/') + 1);
    platform::EnsureFolder(folder);
    return CJsonFile::Write(file_, root) == 0;
}

std::optional<std::string> CSettingsStore::QueryValue(const std::string& key, const std::string& name) const {
    const Json::Value root = CJsonFile::Read(file_);
    const Json::Value& value = MemberOf(MemberOf(root, key), name);
    if (!value.isString()) {
        return std::nullopt;
    }
    return value.asString();
}

bool CSettingsStore::SetValue(const std::string& key, const std::string& name,
                              const std::string& value) const {
    if (name.empty()) {
        return false;
    }
    Json::Value root = CJsonFile::Read(file_);
    const std::string storedKey = StoredName(root, key);
    if (storedKey.empty() || !root[storedKey].isObject()) {
        return false;
    }
    Json::Value& object = root[storedKey];
    const std::string storedName = StoredName(object, name);
    object[storedName.empty() ? name : storedName] = value;
    return CJsonFile::Write(file_, root) == 0;
}
