#include "cli/update_command.h"

#include "platform/text.h"

#include "net/firmware_list.h"
#include "net/http_client.h"
#include "net/update_service.h"
#include "net/update_time_record.h"

#include <strings.h>

#include <array>
#include <cstdlib>
#include <optional>

namespace {

// Firmware versions the caller named on the command line.
class CNamedVersions : public IFirmwareVersionSource {
public:
    int FirmwareVersion(size_t page) const override { return page < versions_.size() ? versions_[page] : 0; }
    std::array<int, CFirmwareCatalogue::kDeviceRowCount>& Versions() { return versions_; }

private:
    std::array<int, CFirmwareCatalogue::kDeviceRowCount> versions_{};
};

std::optional<size_t> PageIndex(const std::string& name) {
    for (size_t page = 0; page < CFirmwareCatalogue::kPageNames.size(); ++page) {
        if (platform::EqualsNoCase(name, CFirmwareCatalogue::kPageNames[page])) {
            return page;
        }
    }
    return std::nullopt;
}

// A firmware version in hexadecimal, "0103" or "0x0103", 1 to ffff.
std::optional<int> FirmwareVersion(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const long version = std::strtol(text.c_str(), &end, 16);
    if (*end != '\0' || version < 1 || version > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<int>(version);
}

std::string Outcome(const CheckResult& result) {
    if (result.Unreachable()) {
        return "service unreachable";
    }
    if (result.path.empty()) {
        return "no information";
    }
    if (result.status == CheckResult::kStatusNewer) {
        return "newer version available: " + result.path;
    }
    return "up to date";
}

}  // namespace

int CUpdateCommand::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] != "check") {
        PrintHelp(err);
        return kExitUsage;
    }
    return Check(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
}

void CUpdateCommand::PrintHelp(std::ostream& out) const {
    out << "usage: norvikctl update check [PAGE=VERSION ...]\n"
           "  Asks the update service about the program and about each named device page\n"
           "  (mouse, keyboard, MousePad, HD, mouse3389) with its firmware version in hex,\n"
           "  for example: norvikctl update check mouse=0103\n"
           "  The service's address comes from NORVIK_UPDATE_URL, else from the first line of\n"
           "  "
        << CUpdateService::ConfigFilePath() << "\n";
}

int CUpdateCommand::Check(const std::vector<std::string>& devices, std::ostream& out, std::ostream& err) {
    CNamedVersions versions;
    for (const std::string& device : devices) {
        const size_t equals = device.find('=');
        const std::optional<size_t> page = PageIndex(device.substr(0, equals));
        const std::optional<int> version =
            equals == std::string::npos ? std::nullopt : FirmwareVersion(device.substr(equals + 1));
        if (!page || !version) {
            err << "norvikctl update: \"" << device << "\" is not PAGE=VERSION (for example mouse=0103)\n";
            return kExitUsage;
        }
        versions.Versions()[*page] = *version;
    }
    const CUpdateService service = CUpdateService::FromUserSettings();
    if (!service.IsConfigured()) {
        err << "norvikctl update: no update service is configured; set NORVIK_UPDATE_URL or write its "
               "address "
               "into "
            << CUpdateService::ConfigFilePath() << "\n";
        return kExitFailure;
    }
    CHttpClient::InitialiseClientSettings();
    CFirmwareList list;
    list.Refresh(versions);
    for (const FirmwareRow& row : list.Rows()) {
        if (row.version == 0) {
            continue;
        }
        const std::string key = CFirmwareList::ApplicationKey(row);
        const CheckResult result = service.CheckOneRow(key, row.version, row.kind != 0);
        out << row.displayName << "\n  key: " << key << "\n  local: " << result.localVersionText
            << "\n  server: " << (result.serverVersionText.empty() ? "-" : result.serverVersionText)
            << "\n  result: " << Outcome(result) << "\n";
        if (result.Unreachable()) {
            err << "norvikctl update: the update service at " << service.BaseAddress()
                << " could not be reached; check the address and the network\n";
            return kExitFailure;
        }
    }
    CUpdateTimeRecord::WriteLastCheckDate();
    return kExitOk;
}
