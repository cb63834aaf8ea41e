#pragma once

#include <optional>
#include <string>

// CSkinSettings: "main.ini" in the application data folder, section "SKINIMAGE": "FLAGS" ("1" for
// a chosen picture, "0" after a reset) and "IMAGE" (the picture, relative to the skin folder or a
// full path). The skin chooser writes it; the main window reads it at start-up to show the same
// picture again. Other sections and keys of the file are kept; the file is replaced atomically.
//
// Thread safety: any thread; concurrent writers are not coordinated (the last one wins).

namespace app {

struct SSkinImage {
    int flags = 0;
    std::string image;
};

class CSkinSettings {
public:
    static constexpr const char* kDefaultImage = "common/background.png";

    // file "" chooses FilePath().
    explicit CSkinSettings(std::string file = {});
    static std::string FilePath();

    // The stored choice; nullopt when the file or its "IMAGE" is missing or empty.
    std::optional<SSkinImage> Read() const;
    // true when the file now holds the choice.
    bool Write(const SSkinImage& choice) const;

    // The picture of a stored choice as the toolkit draws it, when it is there to draw: a name in
    // skinFolder or an existing full path; nullopt otherwise.
    static std::optional<std::string> RestorableImage(const SSkinImage& choice,
                                                      const std::string& skinFolder);

    const std::string& File() const { return file_; }

private:
    std::string file_;
};

}  // namespace app
