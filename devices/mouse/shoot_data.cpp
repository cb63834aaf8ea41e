#include "devices/mouse/shoot_data.h"

#include "profile/json_access.h"
#include "profile/json_document.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace {

constexpr int kHorizontalType = 4;
constexpr int kVerticalType = 5;
constexpr int kMoveDelayMs = 5;
constexpr int kPressDelayMs = 10;

Json::Value Event(const char* action, int button, int delay, int type) {
    Json::Value event(Json::objectValue);
    event["Action"] = action;
    event["Button"] = button;
    event["Delay"] = delay;
    event["Type"] = type;
    return event;
}

int Distance(const Json::Value& event) {
    return std::clamp(CJsonAccess::Int(CJsonAccess::Member(event, "Button")), 0, CShootData::kMaxDistance);
}

bool IsDown(const Json::Value& event) {
    return CJsonAccess::String(CJsonAccess::Member(event, "Action")) == "down";
}

int Delay(const Json::Value& event) {
    const Json::Value& delay = CJsonAccess::Member(event, "Delay");
    const int value = delay.isString() ? CShootData::ParseEntry(delay.asString(), 0, CShootData::kMaxDelay)
                                       : CJsonAccess::Int(delay);
    return std::clamp(value, 0, CShootData::kMaxDelay);
}

int ClampGun(int gun) {
    return std::clamp(gun, 0, CShootData::kGunCount - 1);
}

int ClampBullet(int bullet) {
    return std::clamp(bullet, 0, CShootData::kBulletCount - 1);
}

}  // namespace

ShootBullet ShootBullet::FromSigned(int x, int y, int delay) {
    return {std::abs(x), std::abs(y), delay, x < 0, y < 0};
}

CShootData::CShootData(std::string userFolder, std::string defaultFolder)
    : userFolder_(std::move(userFolder)), defaultFolder_(std::move(defaultFolder)) {}

std::string CShootData::FileName(int gun) {
    return "ShootData_" + std::to_string(ClampGun(gun)) + ".Shoot";
}

std::string CShootData::UserFile(int gun) const {
    return userFolder_ + FileName(gun);
}

std::string CShootData::DefaultFile(int gun) const {
    return defaultFolder_ + FileName(gun);
}

bool CShootData::RestoreMissing() const {
    bool restored = true;
    for (int gun = 0; gun < kGunCount; ++gun) {
        if (!IsShootDocument(ReadShootDocument(gun)) && Reset(gun) != Result::kOk) {
            restored = false;
        }
    }
    return restored;
}

ShootBullet CShootData::Bullet(int gun, int bullet) const {
    const Json::Value document = ReadShootDocument(gun);
    if (!IsShootDocument(document)) {
        return {};
    }
    const Json::Value& events = document["Events"];
    const auto first = static_cast<Json::ArrayIndex>(ClampBullet(bullet) * kEventsPerBullet);
    const Json::Value& horizontal = events[first + 2];
    const Json::Value& vertical = events[first + 3];
    return {Distance(horizontal), Distance(vertical), Delay(vertical), IsDown(horizontal), IsDown(vertical)};
}

std::vector<ShootBullet> CShootData::Bullets(int gun) const {
    std::vector<ShootBullet> bullets;
    for (int bullet = 0; bullet < kBulletCount; ++bullet) {
        bullets.push_back(Bullet(gun, bullet));
    }
    return bullets;
}

CShootData::Result CShootData::SaveBullet(int gun, int bullet, const ShootBullet& value) const {
    Json::Value document = ReadShootDocument(gun);
    if (!IsShootDocument(document)) {
        return Result::kNotShootFile;
    }
    const ShootBullet clamped = Clamp(value);
    const char* horizontal = clamped.left ? "down" : "up";
    const char* vertical = clamped.up ? "down" : "up";
    Json::Value& events = document["Events"];
    const auto first = static_cast<Json::ArrayIndex>(ClampBullet(bullet) * kEventsPerBullet);
    events[first] = Event("down", 1, kPressDelayMs, 1);
    events[first + 1] = Event("up", 1, 0, 1);
    events[first + 2] = Event(horizontal, clamped.x, kMoveDelayMs, kHorizontalType);
    events[first + 3] = Event(vertical, clamped.y, clamped.delay, kVerticalType);
    events[first + 4] = Event(horizontal, 0, 0, kHorizontalType);
    events[first + 5] = Event(vertical, 0, 0, kVerticalType);
    return CJsonDocument().wirtejsonFile(UserFile(gun), document) == 0 ? Result::kOk : Result::kCopyFailed;
}

CShootData::Result CShootData::Reset(int gun) const {
    return Copy(DefaultFile(gun), UserFile(gun));
}

CShootData::Result CShootData::Import(int gun, const std::string& path) const {
    return Copy(path, UserFile(gun));
}

CShootData::Result CShootData::Export(int gun, const std::string& path) const {
    return Copy(UserFile(gun), path);
}

bool CShootData::IsShootDocument(const Json::Value& document) {
    if (!document.isObject() || !document.isMember("Events") || !document["Events"].isArray() ||
        document["Events"].size() != kEventCount) {
        return false;
    }
    const Json::Value& events = document["Events"];
    return std::all_of(events.begin(), events.end(),
                       [](const Json::Value& event) { return event.isObject(); });
}

ShootBullet CShootData::Clamp(const ShootBullet& value) {
    return {std::clamp(value.x, 0, kMaxDistance), std::clamp(value.y, 0, kMaxDistance),
            std::clamp(value.delay, 0, kMaxDelay), value.left, value.up};
}

int CShootData::ParseEntry(const std::string& text, int low, int high) {
    long long value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error == std::errc::result_out_of_range) {
        return text.starts_with('-') ? low : high;
    }
    if (error != std::errc()) {
        return std::clamp(0, low, high);
    }
    return static_cast<int>(std::clamp<long long>(value, low, high));
}

std::vector<std::pair<int, int>> CShootData::RecoilPath(const std::vector<ShootBullet>& bullets) {
    std::vector<std::pair<int, int>> path;
    int x = 0;
    int y = 0;
    for (const ShootBullet& bullet : bullets) {
        x += bullet.SignedX();
        y += bullet.SignedY();
        path.emplace_back(x, y);
    }
    return path;
}

Json::Value CShootData::ReadShootDocument(int gun) const {
    return CJsonDocument().ReadJsonValue(UserFile(gun));
}

CShootData::Result CShootData::Copy(const std::string& from, const std::string& to) const {
    const Json::Value document = CJsonDocument().ReadJsonValue(from);
    if (!IsShootDocument(document)) {
        return Result::kNotShootFile;
    }
    return CJsonDocument().wirtejsonFile(to, document) == 0 ? Result::kOk : Result::kCopyFailed;
}
