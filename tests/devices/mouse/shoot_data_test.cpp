#include "devices/mouse/shoot_data.h"

#include "profile/data_folders.h"
#include "profile/json_document.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

struct EventRow {
    std::string action;
    int button;
    int delay;
    int type;
};

EventRow RowOf(const Json::Value& event) {
    return {event["Action"].asString(), event["Button"].asInt(), event["Delay"].asInt(),
            event["Type"].asInt()};
}

}  // namespace

class ShootData : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(data.RestoreMissing());
    }

    Json::Value Events(int gun) const { return CJsonDocument().ReadJsonValue(data.UserFile(gun))["Events"]; }

    CTempDataHome home;
    std::string folder = home.Path("mouse/");
    CShootData data{folder, CDataFolders::DefaultDataFolder()};
};

TEST_F(ShootData, SavingABulletWritesItsSixEventsWithTheDirectionsInTheirAction) {
    struct Case {
        ShootBullet value;
        const char* horizontal;
        const char* vertical;
    };
    for (const Case& c : {Case{ShootBullet::FromSigned(-12, 7, 90), "down", "up"},
                          Case{ShootBullet::FromSigned(12, -7, 90), "up", "down"},
                          Case{{0, 0, 0}, "up", "up"}, Case{{0, 0, 0, true, true}, "down", "down"}}) {
        ASSERT_EQ(data.SaveBullet(3, 2, c.value), CShootData::Result::kOk);
        const Json::Value events = Events(3);
        ASSERT_EQ(events.size(), 180u);
        const int x = c.value.x;
        const int y = c.value.y;
        const std::vector<std::tuple<std::string, int, int, int>> expected = {
            {"down", 1, 10, 1},      {"up", 1, 0, 1},
            {c.horizontal, x, 5, 4}, {c.vertical, y, c.value.delay, 5},
            {c.horizontal, 0, 0, 4}, {c.vertical, 0, 0, 5}};
        for (int i = 0; i < 6; ++i) {
            const EventRow row = RowOf(events[12 + i]);
            EXPECT_EQ(std::tie(row.action, row.button, row.delay, row.type), expected[static_cast<size_t>(i)])
                << "event " << 12 + i << " of x " << c.value.x << " y " << c.value.y;
        }
        EXPECT_EQ(data.Bullet(3, 2), c.value);
    }
    // The neighbours keep what they held.
    EXPECT_EQ(data.Bullet(3, 1), CShootData(folder, CDataFolders::DefaultDataFolder()).Bullet(3, 1));
}

TEST_F(ShootData, ValuesBeyondAnEventAreClampedAndIndicesKeptInRange) {
    EXPECT_EQ(CShootData::Clamp(ShootBullet::FromSigned(999, -999, 99999)),
              (ShootBullet{255, 255, 65535, false, true}));
    EXPECT_EQ(CShootData::Clamp(ShootBullet::FromSigned(-300, 300, -5)),
              (ShootBullet{255, 255, 0, true, false}));
    ASSERT_EQ(data.SaveBullet(0, 31, ShootBullet::FromSigned(999, -999, 99999)), CShootData::Result::kOk);
    EXPECT_EQ(data.Bullet(0, 29), (ShootBullet{255, 255, 65535, false, true}));
    ASSERT_EQ(data.SaveBullet(0, -1, {4, 5, 6}), CShootData::Result::kOk);
    EXPECT_EQ(data.Bullet(0, 0), (ShootBullet{4, 5, 6}));

    struct Entry {
        const char* text;
        int expected;
    };
    for (const Entry& e : {Entry{"", 0}, Entry{"abc", 0}, Entry{"42", 42}, Entry{"-7", 0}, Entry{"300", 255},
                           Entry{"99999999999999999999", 255}, Entry{"12px", 12}}) {
        EXPECT_EQ(CShootData::ParseEntry(e.text, 0, 255), e.expected) << e.text;
    }
}

TEST_F(ShootData, ResetAndRestoreTakeTheDefaultCopy) {
    const ShootBullet shipped = data.Bullet(3, 4);
    ASSERT_EQ(data.SaveBullet(3, 4, {1, 2, 3}), CShootData::Result::kOk);
    ASSERT_EQ(data.Reset(3), CShootData::Result::kOk);
    EXPECT_EQ(data.Bullet(3, 4), shipped);

    std::ofstream(data.UserFile(1)) << "{\"Events\": [1, 2]}";
    EXPECT_EQ(data.SaveBullet(1, 0, {1, 1, 1}), CShootData::Result::kNotShootFile);
    EXPECT_TRUE(data.RestoreMissing());
    EXPECT_TRUE(CShootData::IsShootDocument(CJsonDocument().ReadJsonValue(data.UserFile(1))));
}

TEST_F(ShootData, ImportTakesOnlyShootFilesAndFailedCopiesAreReported) {
    ASSERT_EQ(data.SaveBullet(2, 0, ShootBullet::FromSigned(-9, 8, 70)), CShootData::Result::kOk);
    const std::string exported = home.Path("gun2.shoot");
    ASSERT_EQ(data.Export(2, exported), CShootData::Result::kOk);
    ASSERT_EQ(data.Reset(2), CShootData::Result::kOk);
    ASSERT_EQ(data.Import(2, exported), CShootData::Result::kOk);
    EXPECT_EQ(data.Bullet(2, 0), ShootBullet::FromSigned(-9, 8, 70));

    const std::string before = CJsonDocument().readjsonFile(data.UserFile(2));
    for (const char* text :
         {"", "not json", "[]", "{\"Events\": {}}", "{\"MacroName\": \"m\", \"Events\": []}"}) {
        const std::string path = home.Path("other.shoot");
        std::ofstream(path, std::ios::trunc) << text;
        EXPECT_EQ(data.Import(2, path), CShootData::Result::kNotShootFile) << text;
        EXPECT_EQ(CJsonDocument().readjsonFile(data.UserFile(2)), before) << text;
    }
    EXPECT_EQ(data.Import(2, home.Path("missing.shoot")), CShootData::Result::kNotShootFile);
    EXPECT_EQ(data.Export(2, home.Path("no/such/folder/gun.shoot")), CShootData::Result::kCopyFailed);
}

TEST(ShootPath, IsTheSumOfTheMovementsSoFar) {
    const std::vector<std::pair<int, int>> path =
        CShootData::RecoilPath({ShootBullet::FromSigned(1, 2, 0), ShootBullet::FromSigned(-3, 4, 0),
                                ShootBullet::FromSigned(0, -1, 0)});
    EXPECT_EQ(path, (std::vector<std::pair<int, int>>{{1, 2}, {-2, 6}, {-2, 5}}));
}
