#pragma once

#include <optional>
#include <string>

// The stand-in for the current user's registry: a small key/value store in one JSON file in the
// user's configuration folder. The document is an object of keys ("SOFTWARE\\<product>"), each an
// object of string values ("LANGUAGE": "3"). Key and value names compare without regard to ASCII
// letter case, as the registry compares them.
//
// The registry's open-not-create semantics hold: SetValue writes only into a key that exists;
// only CreateKey (the installation's step) makes a key.
//
// QueryValue: the value, or nullopt when the file, the key or the value is missing or the value
// is not a string (a damaged file reads as empty, it never throws).
// SetValue / CreateKey: true when the file now holds it; false when the key does not exist
// (SetValue) or the file could not be replaced (the old file then stays as it was).
//
// Thread safety: no state is shared; each call reads the whole file and a write replaces it
// atomically. Two writers in one moment may lose one write, as with any read-modify-write file.
class CSettingsStore {
public:
    // file "" chooses DefaultFile().
    explicit CSettingsStore(std::string file = {});

    // "<configuration folder><product name>/settings.json".
    static std::string DefaultFile();

    bool KeyExists(const std::string& key) const;
    bool CreateKey(const std::string& key) const;
    std::optional<std::string> QueryValue(const std::string& key, const std::string& name) const;
    bool SetValue(const std::string& key, const std::string& name, const std::string& value) const;

    const std::string& File() const { return file_; }

private:
    std::string file_;
};

// The key and value that keep the chosen language.
inline constexpr const char kProductSettingsKey[] = "SOFTWARE\\Norvik 400100 Gaming Mouse";
inline constexpr const char kLanguageValueName[] = "LANGUAGE";
