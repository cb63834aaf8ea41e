#include "macro/macro_list.h"
#include "macro/macro_file.h"

#include "profile/data_folders.h"
#include "profile/json_document.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class MacroListTest : public ::testing::Test {
protected:
    std::string Folder() const { return CDataFolders::UserDataFolder("keyboard"); }
    std::string ListPath() const { return Folder() + "macro.config"; }
    void WriteList(const std::string& json) { WriteAll(ListPath(), json); }

    CTempDataHome home;
    CMacroList list{CDataFolders::UserDataFolder("keyboard")};
};

const std::vector<MacroEvent> kTwoEvents{{"down", 0x04, 10, "20"}, {"up", 0x04, 10, "0"}};

TEST_F(MacroListTest, CreateNamesMacrosWithTheSmallestFreeNumberIgnoringCase) {
    EXPECT_EQ(list.Create(), 0u);
    EXPECT_EQ(list.Create(), 1u);
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"macro_1", "macro_2"}));
    ASSERT_TRUE(list.Rename(0, "MACRO_3"));
    EXPECT_EQ(list.Create(), 2u);
    EXPECT_EQ(list.Names()[2], "macro_1");
    EXPECT_EQ(CMacroList::NextName({"macro_1", "Macro_2", "macro_4"}), "macro_3");

    const auto entries = list.Entries();
    EXPECT_NE(entries[0].guid, entries[1].guid);
    // No macro file until the first save.
    EXPECT_FALSE(std::filesystem::exists(list.MacroPath(entries[0].guid)));
}

TEST_F(MacroListTest, AListHoldsAtMostFiftyMacros) {
    for (size_t i = 0; i < 50; ++i) {
        ASSERT_EQ(list.Create(), i);
    }
    EXPECT_FALSE(list.Create());
    const std::string source = home.Path("in.mac");
    WriteAll(source, "{}");
    EXPECT_FALSE(list.Import(source));
    EXPECT_EQ(list.Entries().size(), 50u);
}

TEST_F(MacroListTest, SaveWritesTheWholeFileAndLoadReadsItBack) {
    list.Create();
    ASSERT_EQ(list.Save(0, kTwoEvents), 0);
    EXPECT_EQ(list.Load(0), kTwoEvents);
    const Json::Value file = CJsonDocument().ReadJsonValue(list.MacroPath(list.Entries()[0].guid));
    EXPECT_EQ(file["MacroName"], Json::Value("macro_1"));
    EXPECT_EQ(file["Guid"], Json::Value(list.Entries()[0].guid));
    EXPECT_EQ(file["Version"], Json::Value(64));
    EXPECT_EQ(file["Events"][0]["Delay"], Json::Value("20"));

    // A rename changes the list; the file keeps its name until the next save.
    list.Rename(0, "Reload");
    EXPECT_EQ(CJsonDocument().ReadJsonValue(list.MacroPath(list.Entries()[0].guid))["MacroName"],
              Json::Value("macro_1"));
    list.Save(0, kTwoEvents);
    EXPECT_EQ(CJsonDocument().ReadJsonValue(list.MacroPath(list.Entries()[0].guid))["MacroName"],
              Json::Value("Reload"));
    EXPECT_EQ(list.Save(1, kTwoEvents), 1);
}

// Names stay UTF-8 text in both files, as they have always been stored.
TEST_F(MacroListTest, NonAsciiNamesAreWrittenAsUtf8Text) {
    ASSERT_TRUE(list.Create());
    const std::string name = "宏 Ärger 😀";
    ASSERT_TRUE(list.Rename(0, name));
    ASSERT_EQ(list.Save(0, kTwoEvents), 0);
    EXPECT_EQ(list.Names(), std::vector<std::string>{name});
    EXPECT_NE(ReadAll(ListPath()).find("\"MacroName\" : \"" + name + "\""), std::string::npos);
    const std::string macro = ReadAll(list.MacroPath(list.Entries()[0].guid));
    EXPECT_NE(macro.find("\"" + name + "\""), std::string::npos) << macro;
    EXPECT_EQ(macro.find("\\u"), std::string::npos) << macro;
}

TEST_F(MacroListTest, DeleteRemovesTheFileAndTheEntry) {
    list.Create();
    list.Create();
    list.Save(0, kTwoEvents);
    const std::string first = list.MacroPath(list.Entries()[0].guid);
    const std::string second = list.Entries()[1].guid;
    ASSERT_TRUE(list.Delete(0));
    EXPECT_FALSE(std::filesystem::exists(first));
    ASSERT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(list.Entries()[0].guid, second);
    EXPECT_FALSE(list.Delete(1));
}

TEST_F(MacroListTest, ExportAndImportCopyAsTextWithCrLfLineEnds) {
    list.Create();
    list.Save(0, kTwoEvents);
    const std::string exported = home.Path("out.mac");
    ASSERT_TRUE(list.Export(0, exported));
    const std::string original = ReadAll(list.MacroPath(list.Entries()[0].guid));
    const std::string copy = ReadAll(exported);
    std::string expected;
    for (const char c : original) {
        expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(copy, expected);
    EXPECT_EQ(copy.find("\r\r"), std::string::npos);

    // Importing the CR LF copy keeps one CR per line and the copied name and Guid.
    const auto index = list.Import(exported);
    ASSERT_EQ(index, 1u);
    EXPECT_EQ(list.Names()[1], "macro_2");
    const std::string imported = list.MacroPath(list.Entries()[1].guid);
    EXPECT_EQ(ReadAll(imported), copy);
    EXPECT_EQ(list.Load(1), kTwoEvents);
    EXPECT_EQ(CJsonDocument().ReadJsonValue(imported)["Guid"], Json::Value(list.Entries()[0].guid));

    // A lone CR is not a line end and stays.
    WriteAll(home.Path("cr.txt"), "a\rb\nc\r\n");
    ASSERT_TRUE(CMacroFile::CopyAsText(home.Path("cr.txt"), home.Path("cr.out")));
    EXPECT_EQ(ReadAll(home.Path("cr.out")), "a\rb\r\nc\r\n");
}

TEST_F(MacroListTest, FailedExportsAndImportsChangeNothing) {
    list.Create();
    EXPECT_FALSE(list.Export(0, home.Path("out.mac")));  // never saved
    EXPECT_FALSE(std::filesystem::exists(home.Path("out.mac")));
    EXPECT_FALSE(list.Import(home.Path("missing.mac")));
    EXPECT_EQ(list.Entries().size(), 1u);
    list.Save(0, kTwoEvents);
    EXPECT_FALSE(list.Export(0, home.Path("no/such/folder/out.mac")));
}

// A list that cannot be written, or a damaged one, makes every change fail and lose nothing: the
// file keeps its bytes, the macro files stay, and an import does not index past the list.
TEST_F(MacroListTest, ChangesToAnUnwritableOrDamagedListFailAndKeepEverything) {
    ASSERT_TRUE(list.Create());
    ASSERT_EQ(list.Save(0, kTwoEvents), 0);
    const std::string macro = list.MacroPath(list.Entries()[0].guid);
    ASSERT_TRUE(list.Export(0, home.Path("out.mac")));
    const std::string good = ReadAll(ListPath());

    struct Case {
        const char* what;
        std::string content;
        bool readOnly;
    };
    const Case cases[] = {{"read-only list", good, true},
                          {"damaged list", good.substr(0, good.size() / 2), false},
                          {"list of another shape", R"({"MacroInfo": "none"})", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::permissions(ListPath(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        WriteList(c.content);
        if (c.readOnly) {
            std::filesystem::permissions(ListPath(), std::filesystem::perms::owner_read);
        }
        EXPECT_FALSE(list.Create());
        EXPECT_FALSE(list.Import(home.Path("out.mac")));
        EXPECT_FALSE(list.Rename(0, "renamed"));
        EXPECT_FALSE(list.Delete(0));
        EXPECT_TRUE(std::filesystem::exists(macro));
        EXPECT_EQ(ReadAll(ListPath()), c.content);
    }
}

// A list file that is not a list (cut short, of another shape, junk, past the read limit) is moved
// aside with every byte, so that the next change can start a new list; the macro files it named
// stay. A missing, empty or sound list is left where it is.
TEST_F(MacroListTest, ADamagedListIsSetAsideWithEveryByte) {
    ASSERT_TRUE(list.Create());
    ASSERT_EQ(list.Save(0, kTwoEvents), 0);
    const std::string macro = list.MacroPath(list.Entries()[0].guid);
    const std::string good = ReadAll(ListPath());
    std::string oversized = good;
    oversized.insert(1, CJsonDocument::kMaxFileBytes, ' ');

    const std::pair<const char*, std::string> cases[] = {
        {"cut short", good.substr(0, good.size() / 2)},
        {"another shape", R"({"MacroInfo": "none"})"},
        {"junk", std::string("\x00\xff\x13junk", 7)},
        {"past the read limit", oversized},
    };
    for (const auto& [what, content] : cases) {
        SCOPED_TRACE(what);
        WriteList(content);
        EXPECT_TRUE(list.IsDamaged());
        const std::string moved = list.SetAsideIfDamaged();
        ASSERT_NE(moved, "");
        EXPECT_EQ(ReadAll(moved), content);
        EXPECT_FALSE(std::filesystem::exists(ListPath()));
        EXPECT_TRUE(std::filesystem::exists(macro));
        ASSERT_EQ(list.Create(), 0u);
        std::filesystem::remove(moved);
    }
    for (const std::string& sound : {good, std::string()}) {
        WriteList(sound);
        EXPECT_FALSE(list.IsDamaged());
        EXPECT_EQ(list.SetAsideIfDamaged(), "");
        EXPECT_EQ(ReadAll(ListPath()), sound);
    }
    std::filesystem::remove(ListPath());
    EXPECT_FALSE(list.IsDamaged());
    EXPECT_EQ(list.SetAsideIfDamaged(), "");
}

// Files a user hands us are read only up to the document limit.
TEST_F(MacroListTest, AnImportOfAHugeFileIsRefused) {
    const std::string huge = home.Path("huge.mac");
    WriteAll(huge, "");
    std::filesystem::resize_file(huge, CJsonDocument::kMaxFileBytes + 1);
    EXPECT_FALSE(list.Import(huge));
    EXPECT_TRUE(list.Entries().empty());
}

TEST_F(MacroListTest, GuidsThatLeaveTheFolderNameNoFile) {
    const std::string outside = home.Path("victim.mac");
    WriteAll(outside, R"({"Events": [{"Action": "down", "Type": 10, "Button": 4, "Delay": "1"}]})");
    WriteList(R"({"MacroInfo": [{"MacroName": "bad", "Guid": "../../../victim"},
                                {"MacroName": "worse", "Guid": "/etc/passwd"}]})");
    EXPECT_TRUE(list.Load(0).empty());
    EXPECT_EQ(list.Save(0, kTwoEvents), 1);
    EXPECT_FALSE(list.Export(1, home.Path("passwd.copy")));
    const auto image = list.BuildImage(256);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bytes.size(), CMacroImage::Size({0, 0}));
    ASSERT_TRUE(list.Delete(0));
    EXPECT_TRUE(std::filesystem::exists(outside));
    EXPECT_EQ(list.Names(), std::vector<std::string>{"worse"});
}

TEST_F(MacroListTest, ImageFromTheFiles) {
    EXPECT_FALSE(list.BuildImage(256));  // no list file: nothing to send
    WriteList(R"({"MacroInfo": []})");
    EXPECT_FALSE(list.BuildImage(256));
    WriteList("not json");
    EXPECT_FALSE(list.BuildImage(256));

    // A missing or broken macro file counts as no events but keeps its entry.
    WriteList(R"({"MacroInfo": [{"MacroName": "a", "Guid": "g1"}, {"MacroName": "b", "Guid": "g2"},
                                {"MacroName": "c", "Guid": "g3"}]})");
    CMacroFile::Write(Folder() + "g1.mac", "a", "g1", kTwoEvents);
    WriteAll(Folder() + "g3.mac", "{ broken");
    const auto image = list.BuildImage(256);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->overflow, 0);
    EXPECT_EQ(image->bytes, CMacroImage::Build({kTwoEvents, {}, {}}, std::nullopt).bytes);
    EXPECT_GT(list.BuildImage(20)->overflow, 0);
}

// Entries after the capacity is passed are counted, not parsed; the events to remove must be
// the same as for a list read whole.
TEST_F(MacroListTest, AnOverflowCountsEveryEntry) {
    const std::vector<MacroEvent> many(40, kTwoEvents[0]);
    WriteList(R"({"MacroInfo": [{"MacroName": "a", "Guid": "g1"}, {"MacroName": "b", "Guid": "g2"},
                                {"MacroName": "c", "Guid": "g3"}, {"MacroName": "d", "Guid": "g4"}]})");
    CMacroFile::Write(Folder() + "g1.mac", "a", "g1", many);
    CMacroFile::Write(Folder() + "g2.mac", "b", "g2", many);
    WriteAll(Folder() + "g3.mac", "{ broken");
    CMacroFile::Write(Folder() + "g4.mac", "d", "g4", kTwoEvents);
    for (const size_t capacity : {100u, 200u, 360u}) {
        const auto image = list.BuildImage(capacity);
        ASSERT_TRUE(image);
        EXPECT_TRUE(image->bytes.empty());
        EXPECT_EQ(image->overflow, CMacroImage::Build({many, many, {}, kTwoEvents}, capacity).overflow)
            << capacity;
    }
}

TEST_F(MacroListTest, TheReadOnlyListIsReadTheSameWay) {
    WriteAll(Folder() + "quorl_macro.config", R"({"MacroInfo": [{"MacroName": "pad", "Guid": "g"}, 7]})");
    const CMacroList pad(Folder(), CMacroList::kReadOnlyListFile);
    EXPECT_EQ(pad.Names(), (std::vector<std::string>{"pad", ""}));
}

}  // namespace
