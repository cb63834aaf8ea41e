#pragma once

#include "macro/macro_event.h"
#include "macro/macro_image.h"

#include <json/value.h>

#include <optional>
#include <string>
#include <vector>

// The macro list of a device kind and the macro files it names, all in one folder (the user data
// folder of the kind): the list file ("macro.config", or "quorl_macro.config" for the headset and
// mouse pad) holds "MacroInfo", [{"MacroName", "Guid"}] in list order; each macro's events are in
// Guid + ".mac".
//
// A Guid read from the list names a file only when CDataFolders::IsSafeFileName accepts it;
// otherwise the macro reads as having no events and no file of it is written, copied or deleted.
// Every change reads the whole list file, changes it and writes it back; a change reports a failed
// write, and a damaged list file is never replaced by a change (its reader sets it aside first).
// Operations that take an index do nothing and return false / nullopt / 1 for an index beyond the
// list.
// Files only; the UI thread (one writer per folder).
class CMacroList {
public:
    static constexpr const char* kListFile = "macro.config";
    static constexpr const char* kReadOnlyListFile = "quorl_macro.config";

    struct Entry {
        std::string name;
        std::string guid;

        bool operator==(const Entry&) const = default;
    };

    // folder ends with '/'.
    explicit CMacroList(std::string folder, std::string listFile = kListFile);

    std::vector<Entry> Entries() const;
    std::vector<std::string> Names() const;

    // Appends a macro named "macro_%d" (the smallest number from 1 whose text differs, ignoring
    // case, from every name) with a new Guid and writes the list; no macro file is written yet.
    // nullopt when the list already holds 50 macros.
    std::optional<size_t> Create();

    // Writes the macro's file from its events with the list's current name. 0 on success, 1 when
    // the index, the Guid or the write failed.
    int Save(size_t index, const std::vector<MacroEvent>& events) const;
    std::vector<MacroEvent> Load(size_t index) const;

    // Deletes the macro file and removes the entry; later macros move up by one.
    bool Delete(size_t index);
    // Changes the list's name; the file keeps its old "MacroName" until the next save.
    bool Rename(size_t index, const std::string& name);

    // Copies the macro's file as text (CR LF line ends) to the path. False when the macro has
    // never been saved or the copy failed.
    bool Export(size_t index, const std::string& path) const;
    // Creates a new macro and copies the file as text to its file; the copied "MacroName" and
    // "Guid" stay until the next save. nullopt (and no new macro) when 50 macros exist or the file
    // cannot be read.
    std::optional<size_t> Import(const std::string& path);

    // The image of every macro in list order, for a memory of `capacity` bytes. nullopt when the
    // list is missing, unreadable or empty: nothing is to be sent.
    std::optional<CMacroImage::Result> BuildImage(size_t capacity) const;

    // The smallest free "macro_%d" among these names.
    static std::string NextName(const std::vector<std::string>& names);

    // The macro file's path, or "" when the Guid may not name a file.
    std::string MacroPath(const std::string& guid) const;

    // Whether the list file holds something that is not a macro list (cut short, of another
    // shape, junk, past the read limit); a missing or empty file is no damage.
    bool IsDamaged() const;
    // Moves a damaged list file aside (CDamagedFile), so that the next change starts a new list;
    // returns its new path, or "" when the file was not damaged or could not be moved.
    std::string SetAsideIfDamaged() const;

private:
    Json::Value ReadList() const;
    // The list to change: an empty one when the file does not exist yet; nullopt when the file
    // exists but cannot be read as a list, which a change must not overwrite.
    std::optional<Json::Value> ReadListForChange() const;
    int WriteList(const Json::Value& list) const;
    std::optional<Entry> EntryAt(size_t index) const;

    std::string folder_;
    std::string listFile_;
};
