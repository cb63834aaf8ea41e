#pragma once

#include "profile/json_document.h"
#include "profile/profile_records.h"

#include <json/value.h>

#include <cstdint>
#include <string>
#include <vector>

// The profile data object that every device object embeds: the device's part of the active
// profile (the device section, "Device"[device index]) in memory, the paths of the files that
// feed it, and the codecs between that JSON section and the fixed records of profile_records.h.
//
// Contract:
// - Readers (Get*) never fail: a missing section, member or file, or a member of the wrong type,
//   gives the defaults (all-zero records, empty lists). Each stores its result in the object.
// - Setters (Set*) change only the device section in memory; Save() persists it.
// - Save, SaveDeviceSection and WriteDocument return 0 when the file was written and 1 when it
//   could not be (the old file then stays whole). Callers may ignore the result.
// - Paths are UTF-8 file paths. Names read from files (the effect Guid) are checked with
//   CDataFolders::IsSafeFileName before they name a file.
//
// Calling order of the device kinds: SetDefaultProfilePath once; SetDeviceIndex(0);
// SetProfilePath and SetLightConfigPath on every profile switch; LoadDeviceSection on the
// profile path (or the default profile path to reset), then the readers; after an edit the
// setter, then Save.
//
// Thread safety: none; the owning device page uses it from the UI thread.
class CBasicProfiledata {
public:
    CBasicProfiledata();
    virtual ~CBasicProfiledata() = default;
    CBasicProfiledata(const CBasicProfiledata&) = default;
    CBasicProfiledata& operator=(const CBasicProfiledata&) = default;

    // Virtual operations, in this slot order; the subclasses keep them.
    // SaveDeviceSection(section, profile path).
    virtual int Save();
    // Reads the document at the path, sets its "Device"[device index] to the value and writes it
    // back; a missing or unreadable file gives a document that holds only that array (a file
    // that does not parse is moved aside first).
    virtual int SaveDeviceSection(Json::Value value, std::string path);
    // Writes the value as the whole document.
    virtual int WriteDocument(const Json::Value& value, const std::string& path);

    // Empty paths are ignored.
    void SetProfilePath(const std::string& path);
    std::string GetProfilePath() const { return profilePath_; }
    void SetDefaultProfilePath(const std::string& path);
    std::string GetDefaultProfilePath() const { return defaultProfilePath_; }
    // Stored also when empty.
    void SetLightConfigPath(const std::string& path);
    std::string GetLightConfigPath() const { return lightConfigPath_; }
    void SetDeviceIndex(int index);
    int GetDeviceIndex() const { return deviceIndex_; }

    // Reads the device section from the profile file. A file that lacks it is completed from the
    // default profile and written back, keeping its other keys; a file that does not parse is
    // moved aside first (CDamagedFile). Returns a copy of the section.
    Json::Value LoadDeviceSection(const std::string& path);
    // Makes the profile file at profilePath the active profile in the calling order above
    // (device index 0) and loads its device section.
    void OpenActiveProfile(const std::string& profilePath, const std::string& lightConfigPath,
                           const std::string& defaultProfilePath);
    // The paths that damaged profile files were moved to since the last call.
    std::vector<std::string> TakeSetAsideFiles();
    const Json::Value& DeviceSection() const { return deviceSection_; }

    // "LightInfo": decoded, or the default lighting (all zero) when absent.
    LightInfo GetLightInfo();
    // a: select item, light, speed, fx (lowest byte first); b: multicolour, red, green, blue;
    // c: extra word (bits 0-15) and extra byte (bits 16-23), kept in memory only.
    void SetLightInfo(uint32_t a, uint32_t b, uint32_t c);
    // The same from the record itself.
    void SetLightInfo(const LightInfo& light);
    const LightInfo& CurrentLightInfo() const { return currentLighting_; }

    // "LightList", one zone per element; a null element gives an all-zero zone (present 0).
    std::vector<LightZone> GetLightList();

    // Reads the light configuration ("quorl_light.config"); returns a copy.
    Json::Value LoadLightConfig(const std::string& path);
    // The steps of the custom effect that the current select item points at in the light
    // configuration. The effect file Guid + ".light" is looked for beside the light
    // configuration file; an unsafe Guid gives no steps.
    std::vector<LedEffectStep> GetCustomLightEffect();

    // "KeyList": one record per element, key position = element index.
    std::vector<KeyAssignment> GetKeyList();
    // Writes "Assignment" of elements 0 .. size-1; other elements and "DefaultAssignment" stay.
    void SetKeyList(const std::vector<KeyAssignment>& list);

protected:
    // A member of the device section, for the subclasses' writers (the section becomes an
    // object when it is not one).
    Json::Value& SectionMember(const char* key);

    const CJsonDocument& Document() const { return document_; }

private:
    void SetAsideIfDamaged(const Json::Value& document, const std::string& path);

    std::string profilePath_;
    std::string defaultProfilePath_;
    int32_t builtInEffectCount_ = 0;
    LightInfo currentLighting_;
    LightInfo defaultLighting_;
    std::vector<LightZone> zones_;
    Json::Value deviceSection_;
    CJsonDocument document_;
    std::string lightConfigPath_;
    std::vector<LedEffectStep> effectSteps_;
    Json::Value lightConfig_;
    std::vector<KeyAssignment> keyAssignments_;
    int32_t deviceIndex_ = 0;
    std::string effectFolder_;  // folder of the light configuration last loaded
    std::vector<std::string> setAside_;
};
