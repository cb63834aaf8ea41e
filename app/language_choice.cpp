#include "app/language_choice.h"

#include "platform/text.h"

#include "platform/debug.h"
#include "profile/data_folders.h"
#include "profile/json_access.h"
#include "profile/json_document.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/resource_manager.h"

#include <QFontDatabase>
#include <QString>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace app {
namespace {

constexpr const char kLanguageListFile[] = "Language.config";
// The registry value is read into a buffer of 520 bytes: 259 characters and the terminator.
constexpr std::size_t kMaxStoredChars = 259;

struct SFontRow {
    int id;
    int size;
    bool bold;
    bool underline;
};

constexpr int kDefaultFontSize = 15;
constexpr std::array<SFontRow, 13> kSharedFonts{{{0, 15, false, false},
                                                 {1, 14, false, true},
                                                 {2, 18, false, false},
                                                 {3, 30, false, false},
                                                 {4, 16, false, false},
                                                 {5, 20, false, false},
                                                 {6, 22, false, false},
                                                 {7, 14, false, false},
                                                 {8, 12, false, false},
                                                 {9, 11, false, false},
                                                 {10, 10, false, false},
                                                 {11, 28, false, false},
                                                 {50, 18, true, false}}};

// The stored text as the registry's reader converts it: leading blanks, a sign, then digits.
long StoredNumber(const std::string& text) {
    const std::string limited = text.substr(0, kMaxStoredChars);
    return std::strtol(limited.c_str(), nullptr, 10);
}

struct SFamilyFallback {
    const char* family;
    const char* fallback;
};

// A Linux desktop seldom has the table's families; these Noto families cover the same
// scripts and come with the distribution's font packages.
constexpr std::array<SFamilyFallback, 4> kFallbacks{{{"汉仪菱心体简", "Noto Sans CJK SC"},
                                                     {"Noto Sans CJK TC Regular", "Noto Sans CJK TC"},
                                                     {"Noto Sans Thai", "Noto Sans Thai"},
                                                     {"Verdana Unicode MS", "Noto Sans"}}};

// "zh_TW.UTF-8@variant" -> {"zh", "tw"}; the territory is empty when the locale has none.
std::pair<std::string, std::string> LanguageAndTerritory(const std::string& locale) {
    const std::string bare = platform::ToLower(locale.substr(0, locale.find_first_of(".@")));
    const std::size_t separator = bare.find_first_of("_-");
    if (separator == std::string::npos) {
        return {bare, {}};
    }
    return {bare.substr(0, separator), bare.substr(separator + 1)};
}

int IndexNamed(const std::vector<SLanguageEntry>& entries, const std::string& name) {
    if (name.empty()) {
        return -1;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (platform::ToLower(entries[i].name) == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

CLanguageChoice::CLanguageChoice(std::string languageList, CSettingsStore settings,
                                 std::vector<std::string> locales)
    : languageList_(languageList.empty() ? DefaultListFile() : std::move(languageList)),
      settings_(std::move(settings)),
      locales_(std::move(locales)) {}

std::string CLanguageChoice::DefaultListFile() {
    return CDataFolders::DefaultDataFolder() + kLanguageListFile;
}

std::vector<std::string> CLanguageChoice::UserLocales() {
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0') {
            continue;
        }
        std::vector<std::string> locales;
        std::istringstream list(value);
        for (std::string locale; std::getline(list, locale, ':');) {
            locales.push_back(locale);
        }
        return locales;
    }
    return {};
}

int CLanguageChoice::IndexForLocales(const std::vector<SLanguageEntry>& entries,
                                     const std::vector<std::string>& locales) {
    for (const std::string& locale : locales) {
        const auto [language, territory] = LanguageAndTerritory(locale);
        for (const std::string& name : {language, territory}) {
            if (const int index = IndexNamed(entries, name); index >= 0) {
                return index;
            }
        }
    }
    return -1;
}

std::vector<SLanguageEntry> CLanguageChoice::ReadList(const std::string& path) {
    const Json::Value root = CJsonDocument().ReadJsonValue(path);
    const Json::Value& list = CJsonAccess::Member(root, "Language");
    std::vector<SLanguageEntry> entries;
    for (Json::ArrayIndex i = 0; i < CJsonAccess::Size(list); ++i) {
        const Json::Value& element = CJsonAccess::Element(list, i);
        entries.push_back({CJsonAccess::Int(CJsonAccess::Member(element, "Language_ID")),
                           CJsonAccess::String(CJsonAccess::Member(element, "Language_name")),
                           CJsonAccess::String(CJsonAccess::Member(element, "Language_file")),
                           CJsonAccess::String(CJsonAccess::Member(element, "Language_text"))});
    }
    return entries;
}

std::string CLanguageChoice::FontFamilyFor(int index, int previous) {
    switch (index) {
        case 0:
            return "汉仪菱心体简";
        case 2:
            return "Noto Sans CJK TC Regular";
        case 15:
            return "Noto Sans Thai";
        default:
            break;
    }
    const bool fromOwnFamily = previous == -1 || previous == 0 || previous == 2 || previous == 15;
    return fromOwnFamily ? "Verdana Unicode MS" : std::string();
}

void CLanguageChoice::SetFonts(ui::CPaintManagerUI& window, const std::string& family) {
    window.SetDefaultFont(family, kDefaultFontSize);
    for (const SFontRow& row : kSharedFonts) {
        window.AddFont(row.id, family, row.size, row.bold, row.underline, false, true);
    }
    window.NeedUpdate();
}

std::string CLanguageChoice::InstalledFamily(const std::string& family) {
    if (QFontDatabase::hasFamily(QString::fromStdString(family))) {
        return family;
    }
    for (const SFamilyFallback& row : kFallbacks) {
        if (family == row.family) {
            return row.fallback;
        }
    }
    return family;
}

int CLanguageChoice::ReadStoredIndex() const {
    const std::optional<std::string> stored = settings_.QueryValue(kProductSettingsKey, kLanguageValueName);
    const std::vector<SLanguageEntry> entries = ReadList(languageList_);
    if (!stored) {
        return std::max(IndexForLocales(entries, locales_), 0);
    }
    const long id = StoredNumber(*stored);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

bool CLanguageChoice::Apply(int index, ui::CPaintManagerUI& window) {
    if (index == current_) {
        return false;
    }
    const std::string family = FontFamilyFor(index, current_);
    if (!family.empty()) {
        SetFonts(window, InstalledFamily(family));
    }
    current_ = index;
    const std::vector<SLanguageEntry> entries = ReadList(languageList_);
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) {
        return true;
    }
    const SLanguageEntry& entry = entries[static_cast<std::size_t>(index)];
    ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
    // The toolkit names its tables by file: a table loaded before is made current again.
    if (!resources.SetLanguage(entry.file)) {
        resources.LoadLanguage(entry.file);
    }
    resources.ReloadText();
    Store(entry.id);
    return true;
}

void CLanguageChoice::Store(int id) const {
    const std::string text = std::to_string(id);
    // Every start applies the stored language again: rewriting the same value would only cost a
    // synchronised file replacement before the window shows.
    if (settings_.QueryValue(kProductSettingsKey, kLanguageValueName) == text) {
        return;
    }
    if (settings_.SetValue(kProductSettingsKey, kLanguageValueName, text)) {
        platform::DebugOutput("写成功！");
    }
}

}  // namespace app
