#pragma once

#include <string>
#include <vector>

// What stands between a user and a working device, one finding per check: the supported devices
// on the USB bus (sysfs), their hidraw nodes and whether this user can open them, the udev rule
// and the local seat that its uaccess tag needs, the session bus, a tray host, the data and config
// folders, the program data, the headset's audio library, the emulator when one is in use, and
// finally whether a discovery pass binds a device. Whether this user may open the nodes is the
// bus's own check (CDeviceAccessCheck), so the doctor and the no-device page agree.
//
// Threads: the calling thread only. Nothing here writes outside the data and config folders, and
// there only a probe file that is removed at once.

struct DoctorFinding {
    std::string check;  // short id, stable for scripts: "usb", "hidraw", "udev-rule", ...
    bool ok = false;
    std::string detail;  // what was found
    std::string fix;     // what to do, empty when ok
};

class CDoctor {
public:
    // Where the machine's state is read; the defaults are the live system.
    struct Roots {
        std::string sysfs = "/sys/";
        std::string dev = "/dev/";
        std::vector<std::string> ruleFolders = {"/etc/udev/rules.d/", "/run/udev/rules.d/",
                                                "/usr/lib/udev/rules.d/", "/lib/udev/rules.d/",
                                                "/usr/local/lib/udev/rules.d/"};
    };

    CDoctor() = default;
    explicit CDoctor(Roots roots) : roots_(std::move(roots)) {}

    // Runs every check; the last finding is "device".
    std::vector<DoctorFinding> Run() const;

    // The hardware checks alone, for the hidraw bus.
    std::vector<DoctorFinding> HardwareFindings() const;

private:
    struct UsbDevice {
        std::string sysfsPath;  // resolved /sys/devices/... folder of the USB device
        std::string name;       // the device name of its descriptor row
        unsigned vendorId = 0;
        unsigned productId = 0;
    };

    std::vector<UsbDevice> SupportedUsbDevices() const;
    std::vector<std::string> HidrawNodesOf(const UsbDevice& device) const;
    DoctorFinding UsbFinding(const std::vector<UsbDevice>& devices) const;
    std::vector<DoctorFinding> NodeFindings(const std::vector<UsbDevice>& devices) const;
    DoctorFinding RuleFinding() const;

    Roots roots_;
};
