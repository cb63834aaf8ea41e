#pragma once

#include "platform/settings/settings_store.h"

#include <string>
#include <vector>

namespace ui {
class CPaintManagerUI;
}

// CLanguageChoice: the interface language of the main window. The languages are listed in
// "Language.config" (the default data folder); the position in its "Language" array is the
// language index. The choice is kept as the chosen "Language_ID" in decimal under
// "SOFTWARE\<product>" / "LANGUAGE" of the settings store, which is only written when that key
// exists (the program's first start creates it).
//
// Without a stored value (the first start), the language whose "Language_name" names the user's
// locale is chosen; none names it: index 0. A stored id that the list lacks, or a missing list,
// reads as index 0; a missing list element or language file loads nothing new and keeps the
// current table. A font family that is not installed is replaced by the Noto family that covers
// the language's script, so no text is drawn as empty boxes.
//
// Thread: the UI thread only (it drives the toolkit's language table and the window's fonts).

namespace app {

struct SLanguageEntry {
    int id = 0;
    std::string name;  // "Language_name"
    std::string file;  // "Language_file", a language table under the skin folder
    std::string text;  // "Language_text", shown in the settings window's list
};

class CLanguageChoice {
public:
    // languageList "" chooses the default data folder's "Language.config"; locales are the
    // user's message locales in order of preference ("en_GB.UTF-8", "zh_TW").
    explicit CLanguageChoice(std::string languageList = {}, CSettingsStore settings = CSettingsStore(),
                             std::vector<std::string> locales = UserLocales());

    // The first of LANGUAGE (a ':' list), LC_ALL, LC_MESSAGES and LANG that is set and not empty.
    static std::vector<std::string> UserLocales();
    // The index of the first entry named by a locale's language ("en") or, failing that, its
    // territory ("zh_TW" names "tw"); -1 when none is named.
    static int IndexForLocales(const std::vector<SLanguageEntry>& entries,
                               const std::vector<std::string>& locales);

    // The default data folder's "Language.config".
    static std::string DefaultListFile();
    // The elements of the list in order; a damaged element reads as empty fields.
    static std::vector<SLanguageEntry> ReadList(const std::string& path);
    // The font family for a switch from previous to index; "" when the fonts stay as they are.
    static std::string FontFamilyFor(int index, int previous);
    // Replaces the window's fonts by the shared font table in the family.
    static void SetFonts(ui::CPaintManagerUI& window, const std::string& family);
    // The family itself when it is installed, else the installed Noto family for its script.
    static std::string InstalledFamily(const std::string& family);

    // The index of the stored language in the list.
    int ReadStoredIndex() const;
    // Applies the language to the toolkit and the window's fonts and stores it; false (and
    // nothing changes) when it is the current one.
    bool Apply(int index, ui::CPaintManagerUI& window);
    // -1 until the first language is applied.
    int CurrentIndex() const { return current_; }

private:
    void Store(int id) const;

    std::string languageList_;
    CSettingsStore settings_;
    std::vector<std::string> locales_;
    int current_ = -1;
};

}  // namespace app
