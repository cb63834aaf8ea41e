#include "cli/profile_command.h"

#include "cli/device_session.h"
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

struct Arguments {
    std::vector<std::string> words;
    std::string device;
    bool json = false;
};

// The words and options; an error text for an option without its value or an unknown one.
std::string Parse(const std::vector<std::string>& args, Arguments& parsed) {
    for (size_t index = 0; index < args.size(); ++index) {
        const std::string& arg = args[index];
        if (arg == "--json") {
            parsed.json = true;
        } else if (arg == "--device") {
            if (index + 1 >= args.size()) {
                return "option --device needs a device name";
            }
            parsed.device = args[++index];
        } else if (arg.rfind("--", 0) == 0) {
            return "unknown option " + arg;
        } else {
            parsed.words.push_back(arg);
        }
    }
    return {};
}

std::string KnownDeviceNames() {
    std::vector<std::string> seen;
    std::string names;
    for (const DeviceDescriptor& row : DeviceDescriptors()) {
        if (std::find(seen.begin(), seen.end(), row.deviceName) == seen.end()) {
            seen.emplace_back(row.deviceName);
            names.append(names.empty() ? "" : ", ").append(row.deviceName);
        }
    }
    return names;
}

const DeviceDescriptor* DescriptorNamed(const std::string& name) {
    for (const DeviceDescriptor& row : DeviceDescriptors()) {
        if (name == row.deviceName) {
            return &row;
        }
    }
    return nullptr;
}

bool IsMouse(int kind) {
    return kind == 2 || kind == 6;
}

std::optional<int> ParseIndex(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

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
        Json::StreamWriterBuilder builder;
        builder["indentation"] = "  ";
        out << Json::writeString(builder, array) << "\n";
        return;
    }
    for (int i = 0; i < list.Count(); ++i) {
        const ProfileEntry& entry = list.Entries()[static_cast<size_t>(i)];
        out << (i == selected ? "* " : "  ") << i << "  " << entry.name << "  (" << entry.uuid << ")\n";
    }
}

// The device kind the command is about: --device, else the first connected mouse.
class CTarget {
public:
    // kExitOk, or an exit code with the message written.
    int Resolve(const std::string& device, std::ostream& err) {
        if (!device.empty()) {
            descriptor_ = DescriptorNamed(device);
            if (descriptor_ == nullptr) {
                err << "norvikctl: no device is named \"" << device << "\"; known: " << KnownDeviceNames()
                    << ".\n";
                return kExitUsage;
            }
            return kExitOk;
        }
        if (!Discover()) {
            err << "norvikctl: the HID devices could not be listed.\n";
            return kExitFailure;
        }
        const int row = session_->FirstBoundMouse();
        if (row < 0) {
            err << "norvikctl: no Norvik mouse is connected. Name the device with --device ("
                << KnownDeviceNames() << ") to work on its profiles anyway.\n";
            return kExitNoDevice;
        }
        descriptor_ = &DeviceDescriptors()[static_cast<size_t>(row)];
        return kExitOk;
    }

    std::string Name() const { return descriptor_->deviceName; }
    int Kind() const { return descriptor_->kind; }

    // The connected mouse of this name, or nullptr.
    CDeviceConnection* ConnectedMouse() {
        if (!Discover()) {
            return nullptr;
        }
        const auto& rows = DeviceDescriptors();
        for (size_t index = 0; index < rows.size(); ++index) {
            CDeviceConnection& device = session_->Device(index);
            if (Name() == rows[index].deviceName && IsMouse(rows[index].kind) && device.Command().IsOpen()) {
                return &device;
            }
        }
        return nullptr;
    }

private:
    bool Discover() {
        if (session_ == nullptr) {
            session_ = std::make_unique<CDeviceSession>();
            discovered_ = session_->Discover();
        }
        return discovered_;
    }

    const DeviceDescriptor* descriptor_ = nullptr;
    std::unique_ptr<CDeviceSession> session_;
    bool discovered_ = false;
};

// Writes the selected profile to the connected mouse as the page's profile switch does.
int WriteToMouse(CTarget& target, const CProfileList& list, std::ostream& err) {
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
int RunOperation(const Arguments& args, CProfileList& list, CTarget& target, std::ostream& err) {
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
        return IsMouse(target.Kind()) ? WriteToMouse(target, list, err) : kExitOk;
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
    Arguments parsed;
    if (const std::string error = Parse(args, parsed); !error.empty()) {
        err << "norvikctl: " << error << "; see norvikctl profile --help.\n";
        return kExitUsage;
    }
    if (parsed.words.empty()) {
        PrintHelp(err);
        return kExitUsage;
    }
    CTarget target;
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
