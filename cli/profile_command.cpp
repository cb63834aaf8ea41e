#include "cli/profile_command.h"

#include "cli/command_arguments.h"

#include "cli/device_session.h"
#include "cli/device_target.h"
#include "devices/mouse/mouse_profiledata.h"
#include "devices/mouse/mouse_protocol.h"
#include "devices/mouse/mouse_settings.h"
#include "profile/data_folders.h"
#include "profile/profile_list.h"

#include <json/writer.h>

#include <algorithm>
#include <charconv>
#include <optional>

namespace {

void PrintList(const CProfileList& list, bool json, std::ostream& out) {
    const int selected = list.StoredSelection();
    if (json) {
        Json::Value array(Json::arrayValue);
        for (int i = 0; i < list.Count(); ++i) {
            Json::Value entry;
            entry["index"] = i;
            entry["name"] = list.Entries()[static_cast<size_t>(i)].name;
            entry["uuid"] = list.Entries()[static_cast<size_t>(i)].uuid;
            entry["selected"] = i == selected;
            array.append(entry);
        }
        command_arguments::PrintJson(out, array);
        return;
    }
    for (int i = 0; i < list.Count(); ++i) {
        const ProfileEntry& entry = list.Entries()[static_cast<size_t>(i)];
        out << (i == selected ? "* " : "  ") << i << "  " << entry.name << "  (" << entry.uuid << ")\n";
    }
}

// Writes the selected profile to the connected mouse as the page's profile switch does.
int WriteToMouse(CDeviceTarget& target, const CProfileList& list, std::ostream& err) {
    CDeviceConnection* device = target.ConnectedMouse();
    if (device == nullptr) {
        err << "norvikctl: " << target.Name()
            << " is not connected; the selection is stored and reaches the device when the program "
               "or this command next switches to it.\n";
        return kExitOk;
    }
    CMouseProfiledata profile;
    CMouseProtocol protocol(device->Command());
    if (const int read = protocol.ReadDeviceInfo(profile); read != channel_result::kOk) {
        err << "norvikctl: the mouse did not answer when its information was read (result " << read << ").\n";
        return kExitFailure;
    }
    const std::string folder = CDataFolders::UserDataFolder(target.Name());
    profile.OpenActiveProfile(list.CurrentProfilePath(), folder + "quorl_light.config",
                              CDataFolders::DefaultProfileFile(target.Name()));
    const int result = CMouseSettings(profile, protocol).WriteActiveProfile(folder);
    if (result != CMouseSettings::kOk) {
        err << "norvikctl: the profile is selected, but the mouse did not take it (result " << result
            << "). Check that it is connected and try again.\n";
        return kExitFailure;
    }
    return kExitOk;
}

const char* ImportRefusal(int result) {
    switch (result) {
        case CProfileList::kImportTooLarge:
            return "the file is larger than 4 MiB, too large for a profile";
        case CProfileList::kImportUnreadable:
            return "the file is missing, unreadable or not valid JSON";
        default:
            return "the file is not a profile: it lacks a \"profilename\" or \"profileUUID\"";
    }
}

// Runs the operation on the loaded list; kExitOk or an exit code with the message written.
int RunOperation(const DeviceArguments& args, CProfileList& list, CDeviceTarget& target, std::ostream& err) {
    const std::string& operation = args.words[0];
    const std::string value = args.words.size() > 1 ? args.words[1] : std::string();
    const size_t wanted =
        operation == "rename" || operation == "select" || operation == "import" || operation == "export" ? 2
                                                                                                         : 1;
    if (args.words.size() != wanted) {
        err << "norvikctl: profile " << operation << (wanted == 2 ? " takes one value" : " takes no value")
            << "; see norvikctl profile --help.\n";
        return kExitUsage;
    }
    if (operation == "list") {
        return kExitOk;
    }
    if (operation == "add") {
        if (list.Add() < 0) {
            err << "norvikctl: a device keeps at most " << CProfileList::kMaxAddedProfiles
                << " profiles; delete one first.\n";
            return kExitFailure;
        }
        return kExitOk;
    }
    if (operation == "copy") {
        return list.Copy() < 0 ? kExitFailure : kExitOk;
    }
    if (operation == "delete") {
        if (list.Delete() < 0) {
            err << "norvikctl: the only profile cannot be deleted.\n";
            return kExitFailure;
        }
        return kExitOk;
    }
    if (operation == "reset") {
        if (list.Reset() < 0) {
            err << "norvikctl: the selected profile could not be reset.\n";
            return kExitFailure;
        }
        return kExitOk;
    }
    if (operation == "rename") {
        const int result = list.Rename(value);
        if (result == 1) {
            return kExitOk;
        }
        err << "norvikctl: "
            << (result == 0 ? "another profile is already named \"" + value + "\"" : "a profile needs a name")
            << "; nothing was renamed.\n";
        return result == 0 ? kExitFailure : kExitUsage;
    }
    if (operation == "select") {
        const std::optional<int> index = ParseIndex(value);
        if (!index || list.Select(*index) < 0) {
            err << "norvikctl: there is no profile " << value << "; the list has indexes 0 to "
                << list.Count() - 1 << ".\n";
            return kExitUsage;
        }
        return IsMouseKind(target.Kind()) ? WriteToMouse(target, list, err) : kExitOk;
    }
    if (operation == "import") {
        const int result = list.Import(value);
        if (result < 0) {
            err << "norvikctl: " << value << " was not imported: " << ImportRefusal(result) << ".\n";
            return kExitFailure;
        }
        return kExitOk;
    }
    if (operation == "export") {
        const int result = list.Export(value);
        if (result == CProfileList::kExportNoProfile) {
            err << "norvikctl: the selected profile's file is missing or damaged; nothing was exported.\n";
            return kExitFailure;
        }
        if (result != 0) {
            err << "norvikctl: the profile could not be exported to " << value
                << "; choose a folder you can write to.\n";
            return kExitFailure;
        }
        return kExitOk;
    }
    err << "norvikctl: profile has no operation \"" << operation << "\"; see norvikctl profile --help.\n";
    return kExitUsage;
}

}  // namespace

int CProfileCommand::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    DeviceArguments parsed;
    if (const std::string error = ParseDeviceArguments(args, parsed); !error.empty()) {
        err << "norvikctl: " << error << "; see norvikctl profile --help.\n";
        return kExitUsage;
    }
    if (parsed.words.empty()) {
        PrintHelp(err);
        return kExitUsage;
    }
    CDeviceTarget target;
    if (const int resolved = target.Resolve(parsed.device, err); resolved != kExitOk) {
        return resolved;
    }
    CProfileList list(target.Kind(), CDataFolders::UserDataFolder(target.Name()),
                      CDataFolders::DefaultProfileFile(target.Name()));
    list.Load();
    const int result = RunOperation(parsed, list, target, err);
    for (const std::string& moved : list.TakeSetAsideFiles()) {
        err << "norvikctl: a damaged profile list was kept as " << moved << "; a new list took its place.\n";
    }
    if (result == kExitOk || result == kExitFailure) {
        PrintList(list, parsed.json, out);
    }
    return result;
}

void CProfileCommand::PrintHelp(std::ostream& out) const {
    out << "usage: norvikctl profile OPERATION [--device NAME] [--json]\n"
           "  list                 print the profiles (* marks the one the next start opens)\n"
           "  add                  a new profile with the default settings (at most "
        << CProfileList::kMaxAddedProfiles
        << ")\n"
           "  copy                 a copy of the selected profile\n"
           "  delete               delete the selected profile (not the only one)\n"
           "  reset                the selected profile back to the default settings\n"
           "  rename NAME          rename the selected profile\n"
           "  select N             select profile N of the list and write it to the connected device\n"
           "  import FILE          add the profile in FILE (a profile export, at most 4 MiB)\n"
           "  export FILE          write the selected profile to FILE\n"
           "--device NAME          the device's profiles: "
        << KnownDeviceNames()
        << " (default: the first connected mouse)\n"
           "--json                 print the list as an array of {index, name, uuid, selected}\n";
}
