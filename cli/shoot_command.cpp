#include "cli/shoot_command.h"

#include "cli/command_arguments.h"

#include "cli/cli_command.h"
#include "devices/mouse/shoot_data.h"

#include <json/writer.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <optional>

namespace {

struct Request {
    const CShootData& data;
    const std::vector<std::string>& words;
    bool json;
    std::ostream& out;
    std::ostream& err;
};

// Whole decimal text, or nothing.
std::optional<long long> Decimal(const std::string& text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end != text.data() + text.size() ||
        (error != std::errc() && error != std::errc::result_out_of_range)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> Index(const std::string& text, int count) {
    const std::optional<long long> value = Decimal(text);
    if (!value || *value < 0 || *value >= count) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

Json::Value BulletJson(int bullet, const ShootBullet& value) {
    Json::Value entry;
    entry["bullet"] = bullet;
    entry["x"] = value.SignedX();
    entry["y"] = value.SignedY();
    entry["delay"] = value.delay;
    entry["left"] = value.left;
    entry["up"] = value.up;
    return entry;
}

std::string BulletText(int bullet, const ShootBullet& value) {
    return "bullet " + std::to_string(bullet) + ": x " + std::to_string(value.SignedX()) + ", y " +
           std::to_string(value.SignedY()) + ", delay " + std::to_string(value.delay);
}

int Done(const Request& r, const std::string& message) {
    if (r.json) {
        Json::Value value;
        value["ok"] = true;
        value["message"] = message;
        command_arguments::PrintJson(r.out, value);
    } else {
        r.out << message << "\n";
    }
    return kExitOk;
}

int Outcome(const Request& r, CShootData::Result result, const std::string& file, const std::string& done) {
    switch (result) {
        case CShootData::Result::kOk:
            return Done(r, done);
        case CShootData::Result::kNotShootFile:
            r.err << "norvikctl: " << file << " is not a shoot file (a JSON object with "
                  << CShootData::kEventCount << " \"Events\"). Nothing was changed.\n";
            return kExitUsage;
        case CShootData::Result::kCopyFailed:
            break;
    }
    r.err << "norvikctl: " << file
          << " could not be written; check the folder's permissions and free space.\n";
    return kExitFailure;
}

int Show(const Request& r, int gun) {
    const std::vector<ShootBullet> bullets = r.data.Bullets(gun);
    if (r.json) {
        Json::Value value;
        value["gun"] = gun;
        value["bullets"] = Json::Value(Json::arrayValue);
        for (size_t b = 0; b < bullets.size(); ++b) {
            value["bullets"].append(BulletJson(static_cast<int>(b), bullets[b]));
        }
        command_arguments::PrintJson(r.out, value);
        return kExitOk;
    }
    r.out << "gun " << gun << "\n";
    for (size_t b = 0; b < bullets.size(); ++b) {
        r.out << "  " << BulletText(static_cast<int>(b), bullets[b]) << "\n";
    }
    return kExitOk;
}

int Set(const Request& r, int gun) {
    const std::optional<int> bullet = Index(r.words[3], CShootData::kBulletCount);
    if (!bullet) {
        r.err << "norvikctl: BULLET must be 0-" << CShootData::kBulletCount - 1 << ". Nothing was changed.\n";
        return kExitUsage;
    }
    std::array<int, 3> values{};
    for (size_t i = 0; i < values.size(); ++i) {
        const std::string& text = r.words[4 + i];
        if (!text.empty() && !Decimal(text)) {
            r.err << "norvikctl: '" << text << "' is not a decimal number. Nothing was changed.\n";
            return kExitUsage;
        }
        values[i] = CShootData::ParseEntry(text, -CShootData::kMaxDelay, CShootData::kMaxDelay);
    }
    const ShootBullet value = CShootData::Clamp(ShootBullet::FromSigned(values[0], values[1], values[2]));
    const CShootData::Result result = r.data.SaveBullet(gun, *bullet, value);
    const std::string file = r.data.UserFile(gun);
    if (result == CShootData::Result::kOk && r.json) {
        Json::Value entry = BulletJson(*bullet, value);
        entry["gun"] = gun;
        command_arguments::PrintJson(r.out, entry);
        return kExitOk;
    }
    return Outcome(r, result, file, "gun " + std::to_string(gun) + " " + BulletText(*bullet, value));
}

struct Action {
    const char* name;
    size_t values;  // after the gun
    std::function<int(const Request&, int)> run;
};

const std::vector<Action>& Actions() {
    static const std::vector<Action> table{
        {"show", 0, Show},
        {"set", 4, Set},
        {"import", 1,
         [](const Request& r, int gun) {
             return Outcome(r, r.data.Import(gun, r.words[3]), r.words[3],
                            "gun " + std::to_string(gun) + " imported from " + r.words[3]);
         }},
        {"export", 1,
         [](const Request& r, int gun) {
             const CShootData::Result result = r.data.Export(gun, r.words[3]);
             const std::string file =
                 result == CShootData::Result::kNotShootFile ? r.data.UserFile(gun) : r.words[3];
             return Outcome(r, result, file, "gun " + std::to_string(gun) + " exported to " + r.words[3]);
         }},
        {"reset", 0,
         [](const Request& r, int gun) {
             return Outcome(r, r.data.Reset(gun), r.data.DefaultFile(gun),
                            "gun " + std::to_string(gun) + " reset to its default");
         }},
    };
    return table;
}

}  // namespace

CShootCommand::CShootCommand(std::string userFolder, std::string defaultFolder)
    : userFolder_(std::move(userFolder)), defaultFolder_(std::move(defaultFolder)) {}

int CShootCommand::Run(const std::vector<std::string>& words, bool json, std::ostream& out,
                       std::ostream& err) const {
    const auto& table = Actions();
    const auto action = words.size() < 3 ? table.end()
                                         : std::find_if(table.begin(), table.end(),
                                                        [&](const Action& a) { return words[1] == a.name; });
    if (action == table.end() || words.size() != action->values + 3) {
        err << "norvikctl: wrong shoot command.\n\n";
        PrintHelp(err);
        return kExitUsage;
    }
    const std::optional<int> gun = Index(words[2], CShootData::kGunCount);
    if (!gun) {
        err << "norvikctl: GUN must be 0-" << CShootData::kGunCount - 1 << ". Nothing was changed.\n";
        return kExitUsage;
    }
    const CShootData data(userFolder_, defaultFolder_);
    data.RestoreMissing();
    return action->run(Request{data, words, json, out, err}, *gun);
}

void CShootCommand::PrintHelp(std::ostream& out) {
    out << "  shoot show GUN           the recoil data of gun GUN (0-3): x, y and delay of its 30 bullets\n"
           "  shoot set GUN BULLET X Y DELAY\n"
           "                           set bullet BULLET (0-29); a negative X moves left, a negative Y up;\n"
           "                           X and Y are kept within -255..255, DELAY within 0..65535 ms\n"
           "  shoot import GUN FILE    take a .shoot file for the gun\n"
           "  shoot export GUN FILE    write the gun's .shoot file to FILE\n"
           "  shoot reset GUN          give the gun its default recoil data\n";
}
