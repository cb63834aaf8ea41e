#include "cli/macro_command.h"

#include "cli/command_arguments.h"

#include "cli/device_target.h"
#include "devices/mouse/mouse_profiledata.h"
#include "devices/mouse/mouse_settings.h"
#include "macro/macro_file.h"
#include "macro/macro_limits.h"
#include "macro/macro_list.h"
#include "profile/data_folders.h"
#include "profile/profile_list.h"

#include <json/writer.h>

#include <map>

namespace {

void PrintList(const CMacroList& list, bool json, std::ostream& out) {
    const std::vector<CMacroList::Entry> entries = list.Entries();
    Json::Value array(Json::arrayValue);
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t events = list.Load(i).size();
        if (!json) {
            out << i << "  " << entries[i].name << "  (" << entries[i].guid << ", " << events << " events)\n";
            continue;
        }
        Json::Value entry;
        entry["index"] = static_cast<Json::UInt64>(i);
        entry["name"] = entries[i].name;
        entry["guid"] = entries[i].guid;
        entry["events"] = static_cast<Json::UInt64>(events);
        array.append(entry);
    }
    if (json) {
        command_arguments::PrintJson(out, array);
    }
}

int Show(const CMacroList& list, size_t index, bool json, std::ostream& out) {
    const std::vector<MacroEvent> events = list.Load(index);
    Json::Value array(Json::arrayValue);
    for (size_t i = 0; i < events.size(); ++i) {
        const MacroEvent& event = events[i];
        if (json) {
            array.append(event.ToJson());
            continue;
        }
        out << i << "  type " << int(event.type) << "  button " << int(event.button) << "  "
            << (event.IsDown() ? "down" : "up") << "  delay " << event.DelayMs() << " ms\n";
    }
    if (json) {
        command_arguments::PrintJson(out, array);
    }
    return kExitOk;
}

// The mouse buttons of the active profile follow the delete of the macro at the position.
void RenumberKeys(const CDeviceTarget& target, size_t position) {
    if (!IsMouseKind(target.Kind())) {
        return;
    }
    CProfileList profiles(target.Kind(), CDataFolders::UserDataFolder(target.Name()),
                          CDataFolders::DefaultProfileFile(target.Name()));
    profiles.Load();
    const std::string folder = CDataFolders::UserDataFolder(target.Name());
    CMouseProfiledata profile;
    profile.OpenActiveProfile(profiles.CurrentProfilePath(), folder + "quorl_light.config",
                              CDataFolders::DefaultProfileFile(target.Name()));
    std::vector<KeyAssignment> keys = profile.GetKeyList();
    if (CMouseSettings::RenumberAfterDelete(keys, position)) {
        profile.SetKeyList(keys);
        profile.Save();
    }
}

struct SOperation {
    size_t values;
    bool indexed;  // the first value is a macro index
};

const std::map<std::string, SOperation>& Operations() {
    static const std::map<std::string, SOperation> table = {
        {"list", {0, false}},   {"add", {1, false}},   {"delete", {1, true}}, {"rename", {2, true}},
        {"import", {1, false}}, {"export", {2, true}}, {"show", {1, true}},
    };
    return table;
}

int RunOperation(const DeviceArguments& args, CMacroList& list, const CDeviceTarget& target,
                 std::ostream& out, std::ostream& err) {
    const std::string& operation = args.words[0];
    const auto found = Operations().find(operation);
    if (found == Operations().end()) {
        err << "norvikctl: macro has no operation \"" << operation << "\"; see norvikctl macro --help.\n";
        return kExitUsage;
    }
    if (args.words.size() != found->second.values + 1) {
        err << "norvikctl: macro " << operation << " takes " << found->second.values
            << " value(s); see norvikctl macro --help.\n";
        return kExitUsage;
    }
    const size_t count = list.Entries().size();
    size_t index = 0;
    if (found->second.indexed) {
        const std::optional<int> parsed = ParseIndex(args.words[1]);
        if (!parsed || static_cast<size_t>(*parsed) >= count) {
            err << "norvikctl: there is no macro " << args.words[1] << "; the list holds " << count << ".\n";
            return kExitUsage;
        }
        index = static_cast<size_t>(*parsed);
    }
    const std::string last = args.words.back();
    if (operation == "show") {
        return Show(list, index, args.json, out);
    }
    if (operation == "list") {
        return kExitOk;
    }
    if ((operation == "add" || operation == "import") && count >= macro_limits::kMacrosPerList) {
        err << "norvikctl: a list holds at most " << macro_limits::kMacrosPerList
            << " macros; delete one first.\n";
        return kExitFailure;
    }
    if (operation == "add" || operation == "rename") {
        if (last.empty()) {
            err << "norvikctl: a macro needs a name.\n";
            return kExitUsage;
        }
        const std::optional<size_t> created =
            operation == "add" ? list.Create() : std::optional<size_t>(index);
        if (!created || !list.Rename(*created, last) || list.Entries()[*created].name != last) {
            err << "norvikctl: the macro list could not be written; check that the data folder is "
                   "writable.\n";
            return kExitFailure;
        }
        return kExitOk;
    }
    if (operation == "delete") {
        if (!list.Delete(index) || list.Entries().size() != count - 1) {
            err << "norvikctl: the macro list could not be written; nothing was deleted.\n";
            return kExitFailure;
        }
        RenumberKeys(target, index);
        return kExitOk;
    }
    if (operation == "import") {
        if (!CMacroFile::IsMacroFile(last) || !list.Import(last)) {
            err << "norvikctl: " << last << " is missing or not a macro file; nothing was imported.\n";
            return kExitFailure;
        }
        return kExitOk;
    }
    if (!list.Export(index, last)) {
        err << "norvikctl: macro " << index << " could not be exported to " << last
            << ": it has never been saved, or the folder cannot be written.\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

int CMacroCommand::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    DeviceArguments parsed;
    if (const std::string error = ParseDeviceArguments(args, parsed); !error.empty()) {
        err << "norvikctl: " << error << "; see norvikctl macro --help.\n";
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
    CMacroList list(CDataFolders::UserDataFolder(target.Name()));
    // As the macro page does on opening: what the file holds may be all that is left of the names.
    if (const std::string moved = list.SetAsideIfDamaged(); !moved.empty()) {
        err << "norvikctl: a damaged macro list was kept as " << moved << "; a new list takes its place.\n";
    }
    const int result = RunOperation(parsed, list, target, out, err);
    if (parsed.words[0] != "show" && (result == kExitOk || result == kExitFailure)) {
        PrintList(list, parsed.json, out);
    }
    return result;
}

void CMacroCommand::PrintHelp(std::ostream& out) const {
    out << "usage: norvikctl macro OPERATION [--device NAME] [--json]\n"
           "  list                 print the macros: index, name, Guid and event count\n"
           "  add NAME             a new, empty macro named NAME (at most 50)\n"
           "  delete N             delete macro N; buttons using it get their default function\n"
           "  rename N NAME        rename macro N\n"
           "  import FILE          add the macro in FILE (a .mac file)\n"
           "  export N FILE        write macro N to FILE\n"
           "  show N               print the events of macro N\n"
           "--device NAME          the device's macros: "
        << KnownDeviceNames()
        << " (default: the first connected mouse)\n"
           "--json                 list: an array of {index, name, guid, events}; show: the events\n";
}
