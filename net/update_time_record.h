#pragma once

#include <ctime>
#include <string>

// "updatetime.config" in the application data folder: the date of the last update check,
// {"updatelasttime": {"value": "<year>-<month>-<day>"}} in local time without leading zeros.
// The settings window reads it when it opens and writes it after showing a check's results.
//
// Thread safety: any thread; concurrent writers are not coordinated (the last one wins).
class CUpdateTimeRecord {
public:
    static std::string FilePath();

    // The stored date. A missing file, member or value of the wrong type is first written with
    // today's date, which is then returned.
    static std::string ReadLastCheckDate();

    // Stores the date (today by default), keeping the rest of the document. 0 when written,
    // 1 when the file could not be replaced.
    static int WriteLastCheckDate(const std::string& date = Today());

    static std::string Today();
    static std::string DateText(const std::tm& local);
};
