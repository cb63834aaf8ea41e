#include "cli/doctor.h"

#include "cli/device_session.h"
#include "device/device_access_check.h"
#include "device/device_tables.h"
#include "devices/headset/audio_conf_bridge.h"
#include "platform/hid/hid_backend.h"
#include "platform/paths.h"
#include "platform/product.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

const char* const kRuleName = "70-norvik.rules";
const std::string kInstallRule =
    std::string("install the udev rule: sudo cp ") + CDeviceAccessCheck::kUdevRule +
    " /etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm trigger "
    "--subsystem-match=hidraw --action=change (the Debian package does this itself)";

DoctorFinding Ok(std::string check, std::string detail) {
    return {std::move(check), true, std::move(detail), {}};
}

DoctorFinding Problem(std::string check, std::string detail, std::string fix) {
    return {std::move(check), false, std::move(detail), std::move(fix)};
}

unsigned ReadHexFile(const fs::path& file) {
    std::ifstream in(file);
    unsigned value = 0;
    in >> std::hex >> value;
    return in ? value : 0;
}

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value & 0xFFFF);
    return text;
}

std::string DescriptorName(unsigned vendorId, unsigned productId) {
    for (const DeviceDescriptor& row : DeviceDescriptors()) {
        if (row.vendorId != 0 && row.vendorId == vendorId && row.productId == productId) {
            return row.deviceName;
        }
    }
    return {};
}

bool FolderWritable(const std::string& folder) {
    if (!platform::EnsureFolder(folder)) {
        return false;
    }
    std::string probe = folder + ".norvik-doctor-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

DoctorFinding SeatFinding() {
    const char* seat = std::getenv("XDG_SEAT");
    if (seat != nullptr && seat[0] != '\0') {
        return Ok("seat", std::string("local session on ") + seat + ": the udev rule's uaccess tag applies");
    }
    return Problem("seat", "this session has no local seat (XDG_SEAT is unset, as over ssh)",
                   "log in at the machine, or give your user access to the device nodes another way: "
                   "uaccess opens them only to the user of the active local session");
}

DoctorFinding BusFinding(const QDBusConnection& bus) {
    if (bus.isConnected()) {
        return Ok("session-bus", "connected");
    }
    return Problem("session-bus", "no session bus: a second start cannot raise the running window",
                   "start the program from a desktop session (DBUS_SESSION_BUS_ADDRESS must be set)");
}

DoctorFinding TrayFinding(const QDBusConnection& bus) {
    const char* const fix =
        "use a desktop with a tray (KDE, Xfce, ...) or add one, e.g. the AppIndicator extension on GNOME; "
        "without it \"Hide to tray\" minimises the window";
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered("org.kde.StatusNotifierWatcher")) {
        return Problem("tray", "no StatusNotifier watcher on the session bus", fix);
    }
    QDBusInterface watcher("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                           "org.kde.StatusNotifierWatcher", bus);
    if (!watcher.property("IsStatusNotifierHostRegistered").toBool()) {
        return Problem("tray", "a StatusNotifier watcher runs but no tray shows its items", fix);
    }
    return Ok("tray", "a StatusNotifier tray host is registered");
}

std::vector<DoctorFinding> DesktopFindings() {
    // Qt's D-Bus needs an application object; norvikctl has none otherwise.
    std::unique_ptr<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "norvikctl";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return {BusFinding(bus), TrayFinding(bus)};
}

DoctorFinding FolderFinding(const char* check, const std::string& folder) {
    if (FolderWritable(folder)) {
        return Ok(check, folder + " is writable");
    }
    return Problem(check, folder + " cannot be written",
                   "make it writable by you: chown -R \"$USER\" " + folder);
}

DoctorFinding ProgramDataFinding() {
    const std::string folder = platform::ProgramFolder();
    std::error_code error;
    const bool skin = fs::is_regular_file(folder + "skin/main.xml", error);
    const bool defaults = fs::is_directory(folder + "DefaultData", error);
    if (skin && defaults) {
        return Ok("program-data", "skin/ and DefaultData/ in " + folder);
    }
    return Problem(
        "program-data", std::string(skin ? "DefaultData/" : "skin/") + " is missing in " + folder,
        "reinstall the program, or set NORVIK_PROGRAM_DIR to the folder holding skin/ and DefaultData/");
}

DoctorFinding AudioLibraryFinding() {
    const std::string path = CAudioConfBridge::LibraryPath(platform::ProgramFolder());
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library != nullptr) {
        ::dlclose(library);
        return Ok("audio-library", path + " loads");
    }
    const char* reason = ::dlerror();
    std::error_code error;
    const std::string why =
        !fs::exists(path, error) ? "is missing" : std::string("does not load: ") + (reason ? reason : "");
    return Problem(
        "audio-library",
        path + " " + why +
            "; the headset's microphone, monitoring and equaliser are unavailable, its lighting still works",
        "reinstall the program so that the audio library is in place");
}

DoctorFinding EmulatorFinding(const char* simulated) {
    return Ok("emulator", std::string("NORVIK_SIMULATE=") + simulated +
                              ": emulated devices replace the HID bus; nothing real is touched");
}

// Whether this user may open the supported devices' nodes, by the bus's own open check.
std::vector<DoctorFinding> AccessFindings() {
    const std::vector<std::string> denied = CDeviceAccessCheck::DeniedNodes(*platform::hid::ProcessBackend());
    std::vector<DoctorFinding> findings;
    for (const std::string& node : denied) {
        findings.push_back(
            Problem("access", node + " cannot be opened by you (permission denied)", kInstallRule));
    }
    if (findings.empty()) {
        findings.push_back(Ok("access", "no supported device node is closed to you"));
    }
    return findings;
}

DoctorFinding DeviceFinding() {
    CDeviceSession session;
    if (!session.Discover()) {
        return Problem("device", "the HID devices could not be listed", "see the findings above");
    }
    for (const InterfaceSlot& slot : session.Slots()) {
        if (slot.connected == 0 || slot.subKind != kSubKindCommand) {
            continue;
        }
        const int row = FindDescriptor(slot.vendorId, slot.productId, slot.kind, kSubKindCommand);
        const std::string name = row < 0 ? "device" : DeviceDescriptors()[row].deviceName;
        return Ok("device", name + " is ready at " + slot.path);
    }
    return Problem("device", "no supported device can be used",
                   "mend the problems above, then replug the device");
}

}  // namespace

std::vector<CDoctor::UsbDevice> CDoctor::SupportedUsbDevices() const {
    std::vector<UsbDevice> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(roots_.sysfs + "bus/usb/devices", error)) {
        const unsigned vendorId = ReadHexFile(entry.path() / "idVendor");
        const unsigned productId = ReadHexFile(entry.path() / "idProduct");
        const std::string name = DescriptorName(vendorId, productId);
        if (name.empty()) {
            continue;
        }
        const fs::path resolved = fs::canonical(entry.path(), error);
        found.push_back({error ? entry.path().string() : resolved.string(), name, vendorId, productId});
    }
    return found;
}

std::vector<std::string> CDoctor::HidrawNodesOf(const UsbDevice& device) const {
    std::vector<std::string> nodes;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(roots_.sysfs + "class/hidraw", error)) {
        const fs::path resolved = fs::canonical(entry.path(), error);
        if (!error && resolved.string().rfind(device.sysfsPath + "/", 0) == 0) {
            nodes.push_back(roots_.dev + entry.path().filename().string());
        }
    }
    std::sort(nodes.begin(), nodes.end());
    return nodes;
}

DoctorFinding CDoctor::UsbFinding(const std::vector<UsbDevice>& devices) const {
    if (devices.empty()) {
        return Problem("usb", "no supported device on the USB bus",
                       "plug the device in (directly or through a powered hub); lsusb should list 320f:2002 "
                       "or 320f:21fd");
    }
    std::string detail;
    for (const UsbDevice& device : devices) {
        detail += (detail.empty() ? "" : "; ") + device.name + " (" + Hex4(device.vendorId) + ":" +
                  Hex4(device.productId) + ") at " + device.sysfsPath;
    }
    return Ok("usb", detail);
}

std::vector<DoctorFinding> CDoctor::NodeFindings(const std::vector<UsbDevice>& devices) const {
    std::vector<DoctorFinding> findings;
    for (const UsbDevice& device : devices) {
        const std::vector<std::string> nodes = HidrawNodesOf(device);
        if (nodes.empty()) {
            findings.push_back(
                Problem("hidraw", device.name + " has no hidraw node",
                        "load the hidraw driver (sudo modprobe hidraw) and replug the device"));
            continue;
        }
        std::string list;
        for (const std::string& node : nodes) {
            list += (list.empty() ? "" : ", ") + node;
        }
        findings.push_back(Ok("hidraw", device.name + " has " + list));
    }
    return findings;
}

DoctorFinding CDoctor::RuleFinding() const {
    std::error_code error;
    for (const std::string& folder : roots_.ruleFolders) {
        if (fs::is_regular_file(folder + kRuleName, error)) {
            return Ok("udev-rule", folder + kRuleName + " is installed");
        }
    }
    return Problem("udev-rule", std::string(kRuleName) + " is not installed", kInstallRule);
}

std::vector<DoctorFinding> CDoctor::HardwareFindings() const {
    const std::vector<UsbDevice> devices = SupportedUsbDevices();
    std::vector<DoctorFinding> findings{UsbFinding(devices)};
    const std::vector<DoctorFinding> nodes = NodeFindings(devices);
    findings.insert(findings.end(), nodes.begin(), nodes.end());
    findings.push_back(RuleFinding());
    findings.push_back(SeatFinding());
    return findings;
}

std::vector<DoctorFinding> CDoctor::Run() const {
    std::vector<DoctorFinding> findings;
    const char* simulated = std::getenv("NORVIK_SIMULATE");
    if (simulated != nullptr && simulated[0] != '\0') {
        findings.push_back(EmulatorFinding(simulated));
    } else {
        findings = HardwareFindings();
    }
    const std::vector<DoctorFinding> access = AccessFindings();
    findings.insert(findings.end(), access.begin(), access.end());
    const std::vector<DoctorFinding> desktop = DesktopFindings();
    findings.insert(findings.end(), desktop.begin(), desktop.end());
    const std::string product = std::string(platform::kProductName) + "/";
    findings.push_back(FolderFinding("data-folder", platform::LocalAppDataFolder() + product));
    findings.push_back(FolderFinding("config-folder", platform::UserConfigFolder() + product));
    findings.push_back(ProgramDataFinding());
    findings.push_back(AudioLibraryFinding());
    findings.push_back(DeviceFinding());
    return findings;
}
