#pragma once

#include "ui/toolkit/ui_defs.h"

#include <map>
#include <string>

// CResourceManager: the process-wide resource index and language table.
//
// LoadResource reads "res.xml" (<Res><Xml id="XML_MAIN" path="main.xml"/><Image id="…" path="…"/>
// …</Res>) from the skin folder: ids name layout and image files. LoadLanguage reads a language
// table (<Language><Text id="key" value="text"/>…</Language>, or the attribute "name" in place of
// "id"); SetLanguage switches to an already loaded table; ReloadText makes every window re-read
// its texts. A control text that is a key of the current table shows the table's text; the
// text-query hook of the window may answer first.
//
// Failures: a missing or malformed file returns false and leaves the tables as they were.
// Thread: the UI thread only.

namespace ui {

class CResourceManager {
public:
    static CResourceManager& GetInstance();

    bool LoadResource(const std::string& file);
    // The file that a "res.xml" id names, relative to the skin folder; empty when unknown.
    std::string GetXmlPath(const std::string& id) const;
    std::string GetImagePath(const std::string& id) const;

    // Loads a table from the skin folder (a relative name) or an absolute path and makes it current.
    bool LoadLanguage(const std::string& file);
    // Makes a loaded table current again; false when it was never loaded.
    bool SetLanguage(const std::string& file);
    const std::string& GetLanguage() const { return current_; }
    // The text of the key in the current table; nullptr when the key is not there.
    const std::string* GetText(const std::string& key) const;
    void ReloadText();

    // Drops everything (start-up's tear-down).
    void Release();

private:
    std::map<std::string, std::string> xmlIds_;
    std::map<std::string, std::string> imageIds_;
    std::map<std::string, std::map<std::string, std::string>> languages_;
    std::string current_;
};

}  // namespace ui
