#pragma once

#include <json/value.h>

#include <string>
#include <utility>
#include <vector>

// One bullet of a gun as the user edits it: the pointer movement that compensates its recoil and
// the delay before the next bullet. x and y are distances; left and up their directions, which a
// file keeps even for a distance of 0.
struct ShootBullet {
    int x = 0;
    int y = 0;
    int delay = 0;
    bool left = false;
    bool up = false;

    bool operator==(const ShootBullet&) const = default;

    // A negative x moves left, a negative y moves up.
    static ShootBullet FromSigned(int x, int y, int delay);
    int SignedX() const { return left ? -x : x; }
    int SignedY() const { return up ? -y : y; }
};

// CShootData: the recoil-compensation ("shoot") files of one mouse, "ShootData_" + gun + ".Shoot"
// in the user folder, each a JSON object whose "Events" hold six events per bullet (bullet b at
// 6b..6b+5: button 1 down and up, the horizontal move with its 5 ms, the vertical move with the
// bullet's delay, and both moves again with 0). The move's "Action" carries its direction:
// "down" is left or up. A copy of every file ships in the default folder.
//
// Nothing is cached: every call reads the file again, so the page and norvikctl always agree.
// Values are clamped to what a 4-byte event carries (distance 0..255, delay 0..65535).
// Files only; any thread, one writer per folder.
class CShootData {
public:
    static constexpr int kGunCount = 4;
    static constexpr int kBulletCount = 30;
    static constexpr int kEventsPerBullet = 6;
    static constexpr int kEventCount = kBulletCount * kEventsPerBullet;
    static constexpr int kMaxDistance = 255;
    static constexpr int kMaxDelay = 65535;

    enum class Result { kOk, kNotShootFile, kCopyFailed };

    CShootData(std::string userFolder, std::string defaultFolder);

    static std::string FileName(int gun);
    std::string UserFile(int gun) const;
    std::string DefaultFile(int gun) const;

    // Every gun whose user file is not a shoot file gets the default copy. False when one of them
    // could not be restored.
    bool RestoreMissing() const;

    // The bullet as its file holds it; a bullet the file lacks reads as all 0.
    ShootBullet Bullet(int gun, int bullet) const;
    std::vector<ShootBullet> Bullets(int gun) const;
    // Writes the bullet's six events (clamped) into the gun's file. kNotShootFile when the file
    // is not a shoot file (it stays as it was), kCopyFailed when it could not be written.
    Result SaveBullet(int gun, int bullet, const ShootBullet& value) const;

    // The default copy over the user file.
    Result Reset(int gun) const;
    // A shoot file over the gun's file; anything else changes nothing.
    Result Import(int gun, const std::string& path) const;
    Result Export(int gun, const std::string& path) const;

    // Whether a document is a shoot file: an object whose "Events" are 180 event objects.
    static bool IsShootDocument(const Json::Value& document);
    static ShootBullet Clamp(const ShootBullet& value);
    // An entry's decimal text: empty or unreadable text is 0, values beyond the event's range
    // are clamped to it.
    static int ParseEntry(const std::string& text, int low, int high);
    // The pointer's path over the bullets: point i is the sum of the first i + 1 movements.
    static std::vector<std::pair<int, int>> RecoilPath(const std::vector<ShootBullet>& bullets);

private:
    Json::Value ReadShootDocument(int gun) const;
    Result Copy(const std::string& from, const std::string& to) const;

    std::string userFolder_;
    std::string defaultFolder_;
};
