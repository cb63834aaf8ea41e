#include "cli/doctor.h"
#include "cli/doctor_command.h"
#include "platform/hid/hid_backend.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse.h"
#include "tests/support/profile_section.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

// A sysfs tree as the kernel lays it out: USB devices under devices/, linked from bus/usb/devices,
// and hidraw class links pointing into the HID device below the USB interface.
class FakeMachine {
public:
    explicit FakeMachine(const fs::path& root) : root_(root) {}

    void AddUsbDevice(const std::string& port, const std::string& vendor, const std::string& product) {
        const fs::path device = root_ / "sys/devices/pci0000:00/usb1" / port;
        Write(device / "idVendor", vendor + "\n");
        Write(device / "idProduct", product + "\n");
        fs::create_directories(root_ / "sys/bus/usb/devices");
        fs::create_directory_symlink(device, root_ / "sys/bus/usb/devices" / port);
    }

    // A hidraw node of the device's first interface.
    void AddNode(const std::string& port, const std::string& node) {
        const fs::path hid =
            root_ / "sys/devices/pci0000:00/usb1" / port / (port + ":1.0") / "0003:320F:2002.0001";
        fs::create_directories(hid / "hidraw" / node);
        fs::create_directories(root_ / "sys/class/hidraw");
        fs::create_directory_symlink(hid / "hidraw" / node, root_ / "sys/class/hidraw" / node);
    }

    void InstallRule() { Write(root_ / "rules/70-norvik.rules", "# rule\n"); }

    CDoctor Doctor() const {
        CDoctor::Roots roots;
        roots.sysfs = (root_ / "sys").string() + "/";
        roots.dev = (root_ / "dev").string() + "/";
        roots.ruleFolders = {(root_ / "rules").string() + "/"};
        return CDoctor(roots);
    }

private:
    fs::path root_;
};

const DoctorFinding* Find(const std::vector<DoctorFinding>& findings, const std::string& check,
                          size_t nth = 0) {
    for (const DoctorFinding& finding : findings) {
        if (finding.check == check && nth-- == 0) {
            return &finding;
        }
    }
    return nullptr;
}

}  // namespace

TEST(Doctor, NamesTheSupportedDevicesOnTheBusAndTheirNodes) {
    CTempDataHome home;
    FakeMachine machine(home.Root());
    machine.AddUsbDevice("1-2", "320f", "2002");
    machine.AddUsbDevice("1-3", "046d", "c52b");
    machine.AddNode("1-2", "hidraw4");
    machine.AddNode("1-2", "hidraw5");

    const std::vector<DoctorFinding> findings = machine.Doctor().HardwareFindings();

    const DoctorFinding* usb = Find(findings, "usb");
    ASSERT_NE(usb, nullptr);
    EXPECT_TRUE(usb->ok);
    EXPECT_NE(usb->detail.find("mouse (320f:2002)"), std::string::npos) << usb->detail;
    EXPECT_EQ(usb->detail.find("046d"), std::string::npos);

    const DoctorFinding* nodes = Find(findings, "hidraw");
    ASSERT_NE(nodes, nullptr);
    EXPECT_TRUE(nodes->ok);
    EXPECT_NE(nodes->detail.find(home.Path("dev/hidraw4") + ", " + home.Path("dev/hidraw5")),
              std::string::npos)
        << nodes->detail;
    EXPECT_EQ(Find(findings, "hidraw", 1), nullptr);

    EXPECT_FALSE(Find(findings, "udev-rule")->ok);
    machine.InstallRule();
    EXPECT_TRUE(Find(machine.Doctor().HardwareFindings(), "udev-rule")->ok);
}

TEST(Doctor, SaysHowToGetADeviceOnTheBusWhenNoneIsThere) {
    CTempDataHome home;
    FakeMachine machine(home.Root());
    const std::vector<DoctorFinding> findings = machine.Doctor().HardwareFindings();
    const DoctorFinding* usb = Find(findings, "usb");
    ASSERT_NE(usb, nullptr);
    EXPECT_FALSE(usb->ok);
    EXPECT_NE(usb->fix.find("lsusb"), std::string::npos);
    EXPECT_EQ(Find(findings, "hidraw"), nullptr);
}

// The command on the simulated bus: usable exactly while an emulated mouse is plugged in.
TEST(DoctorCommand, ExitsZeroOnlyWhileADeviceIsUsable) {
    CTempDataHome home;
    setenv("NORVIK_SIMULATE", "mouse3389", 1);
    const auto bus = std::make_shared<CSimHidBus>();
    platform::hid::SetProcessBackend(bus);

    std::ostringstream out, err;
    EXPECT_EQ(CDoctorCommand().Run({"--json"}, out, err), kExitFailure);
    Json::Value report = ParseJson(out.str());
    EXPECT_FALSE(report["usable"].asBool());
    EXPECT_EQ(report["checks"][0]["check"].asString(), "emulator");
    const Json::Value& last = report["checks"][report["checks"].size() - 1];
    EXPECT_EQ(last["check"].asString(), "device");
    EXPECT_EQ(last["status"].asString(), "problem");

    const uint64_t handle = bus->Plug("mouse3389", std::make_shared<CSimulatedMouse>(MouseModel3389()));
    bus->DenyAccess(handle);
    std::ostringstream denied, ignored;
    EXPECT_EQ(CDoctorCommand().Run({}, denied, ignored), kExitFailure);
    EXPECT_NE(denied.str().find("problem  access"), std::string::npos) << denied.str();
    EXPECT_NE(denied.str().find("70-norvik.rules"), std::string::npos);

    bus->Unplug(handle);
    bus->Plug("mouse3389", std::make_shared<CSimulatedMouse>(MouseModel3389()));
    std::ostringstream text, unused;
    EXPECT_EQ(CDoctorCommand().Run({}, text, unused), kExitOk);
    EXPECT_NE(text.str().find("ok       device"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("ok       data-folder"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("ok       program-data"), std::string::npos) << text.str();

    std::ostringstream none, usage;
    EXPECT_EQ(CDoctorCommand().Run({"--verbose"}, none, usage), kExitUsage);

    platform::hid::SetProcessBackend(nullptr);
    unsetenv("NORVIK_SIMULATE");
}
