#pragma once

#include "profile/json_document.h"

#include <json/value.h>

#include <cstdint>
#include <string>
#include <vector>

// One profile of a device kind as "ProfileList.ini" lists it.
struct ProfileEntry {
    std::string name;  // "profilename"
    std::string uuid;  // "profileUUID": names the file UUID + ".Json" in the profile folder

    bool operator==(const ProfileEntry&) const = default;
};

// The profile list of one device kind without a window: what the profile panel shows in its
// combo box and what norvikctl lists. It keeps "ProfileList.ini" of the profile folder and the
// profile files in step.
//
// The list holds two selections, as the panel does: the selected entry (the profile the device
// uses, the combo box's current element) and the stored "profileselect" (the profile the next
// start opens). They agree except after Add, which stores the new profile's index without
// selecting it.
//
// Every operation that changes the list re-reads "ProfileList.ini" first (another program may
// have changed it) and writes it back whole, keeping keys it does not know. When the re-read
// finds no list, the list in memory is written instead, so a damaged file loses no entries.
//
// A "ProfileList.ini" that has content but is no list (it does not parse, or it is not an object
// with a "profilelist" array) is moved aside (CDamagedFile) before anything is written in its
// place; TakeSetAsideFiles tells the caller once, so it can tell the user.
//
// UUIDs read from the file name files only when CDataFolders::IsSafeFileName accepts them; an
// entry with an unsafe UUID stays in the list but no file is read, written or deleted for it
// (its profile path is "").
//
// Results: operations return -1 when they did nothing (no selection, a limit, bad input, a file
// that could not be read) and 0 or an index when they did their work. Names compare without
// regard to ASCII letter case. Thread safety: none; one thread (the UI thread, or norvikctl).
class CProfileList {
public:
    static constexpr int kMaxAddedProfiles = 50;
    static constexpr const char* kListFileName = "ProfileList.ini";
    // An import file larger than this is refused unread.
    static constexpr std::uintmax_t kMaxImportBytes = 4u * 1024u * 1024u;
    // Import's refusals.
    static constexpr int kImportNotAProfile = -1;  // no string "profilename" and "profileUUID"
    static constexpr int kImportUnreadable = -2;   // missing, unreadable or not JSON
    static constexpr int kImportTooLarge = -3;     // over kMaxImportBytes
    // Export's failures.
    static constexpr int kExportWriteFailed = -1;  // the target could not be written
    static constexpr int kExportNoProfile = -2;    // the selected profile's file cannot be read

    // deviceKind: 1 keyboard, 2 mouse, 3 mouse pad, 7 headset. profileFolder ends with '/'.
    CProfileList(int deviceKind, std::string profileFolder, std::string defaultProfilePath);

    // Reads the list. On a first start (no readable list, or an empty "profilelist") creates
    // the list with one profile "profile1" and its file, a copy of the default profile. Then
    // selects the stored "profileselect" (the first profile when it is outside the list).
    // Returns the number of profiles.
    int Load();

    const std::vector<ProfileEntry>& Entries() const { return entries_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    // -1 when nothing is selected.
    int SelectedIndex() const { return selected_; }
    // The stored "profileselect": the profile the next start opens.
    int StoredSelection() const;
    std::string CurrentUuid() const { return currentUuid_; }
    // The selected profile's file, or "" when none is selected or its UUID is unsafe.
    std::string CurrentProfilePath() const { return ProfilePath(selected_); }
    std::string ProfilePath(int index) const;
    std::string ListPath() const { return folder_ + kListFileName; }
    // The index of the entry with this name (ignoring case), or -1.
    int Find(const std::string& name) const;

    // Selects the entry and stores it as "profileselect". -1, with the selection as it was, for an
    // index outside the list or an entry whose UUID may not name a file.
    int Select(int index);

    // Appends "profileN" (the first free N) as a copy of the default profile and stores it as
    // "profileselect"; the selected entry stays. Returns its index, -1 at 50 profiles.
    int Add();
    // Removes the selected profile and its file and selects the one before it (or the first).
    // -1 without a selection or with fewer than two profiles.
    int Delete();
    // Appends a copy of the selected profile named "<name> copy" (again " copy" while taken).
    // Returns the new index.
    int Copy();
    // Appends the profile file at the path, renamed "<name>(1)", "<name>(1)(2)", ... while its
    // name is taken. The file must be a JSON object of at most kMaxImportBytes with string
    // "profilename" and "profileUUID"; anything else is refused with a kImport* code and
    // changes nothing. Returns the new index.
    int Import(const std::string& path);
    // Writes the selected profile's document to the path; a kExport* code when it cannot.
    int Export(const std::string& path) const;
    // Replaces the selected profile's file by the default profile, keeping its name and UUID
    // (and, for the headset, its custom equalisers). -1 without a selection.
    int Reset();
    // 1 renamed; 0 when another profile has the name; -1 for an empty name or no selection.
    int Rename(const std::string& name);

    // The paths that damaged files were moved to since the last call (at most once each).
    std::vector<std::string> TakeSetAsideFiles();

private:
    // Selects the entry and stores the selection, whatever its UUID: the stored selection at load.
    int SelectEntry(int index);
    // The stored list, null when there is none; a damaged file is moved aside first.
    Json::Value ReadList();
    // Re-reads the file into the list and the entries; keeps the list in memory when the file
    // holds none.
    void Refresh();
    void TakeEntries(const Json::Value& list);
    int WriteList();
    // Appends an entry to the list in memory; returns its index.
    int AppendEntry(const std::string& name, const std::string& uuid);
    // Writes the document as the profile file of the UUID with its name and UUID set.
    int WriteProfile(Json::Value document, const std::string& name, const std::string& uuid) const;
    void CreateFirstProfile();

    int deviceKind_;
    std::string folder_;
    std::string defaultProfilePath_;
    std::string currentUuid_;
    std::vector<ProfileEntry> entries_;
    Json::Value list_;  // "ProfileList.ini" as last read or written
    int selected_ = -1;
    std::vector<std::string> setAside_;
    CJsonDocument document_;
};
