// The settings file: exact round trips, readable text, damaged lines.
#include "platform/binary_io.h"
#include "platform/settings_store.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <filesystem>

static CStoredValue Value(const std::string& name, std::uint32_t type,
                          std::vector<std::uint8_t> data)
{
    return CStoredValue{name, type, std::move(data)};
}

TEST(SettingsStore, EveryTypeRoundTripsByteForByte)
{
    const std::string key = "HKEY_CURRENT_USER\\Software\\Test";
    std::vector<CStoredValue> values = {
        Value("Int", REG_NONE, {0x01, 0x00, 0x00, 0x80}),
        Value("Text", REG_SZ, {'a', '"', '\\', '\n', 0xE4, 0xB8, 0xAD, 0}),
        Value("Empty", REG_SZ, {0}),
        Value("NoZero", REG_SZ, {'x', 'y'}),
        Value("Inner\"Quote", REG_BINARY, {}),
        Value("Word", REG_DWORD, {0x34, 0x12}),
        Value("Odd", 11, {0xff}),
    };
    CSettingsStore store(TestDir() + "/s.reg");
    for (const CStoredValue& v : values)
        store.Set(key, v);
    ASSERT_TRUE(store.Save());

    CSettingsStore back(store.Path());
    ASSERT_TRUE(back.Load());
    EXPECT_TRUE(back.Problems().empty());
    for (const CStoredValue& v : values) {
        const CStoredValue* got = back.Find(key, v.name);
        ASSERT_NE(got, nullptr) << v.name;
        EXPECT_EQ(got->type, v.type) << v.name;
        EXPECT_EQ(got->data, v.data) << v.name;
    }
}

TEST(SettingsStore, FileIsReadableTextAndNamesIgnoreCase)
{
    CSettingsStore store(TestDir() + "/s.reg");
    store.Set("K", Value("SystemDir", REG_SZ, {'/', 'x', '/', 0}));
    store.Set("K", Value("Unit", REG_NONE, {1, 0, 0, 0}));
    store.Set("k", Value("UNIT", REG_NONE, {2, 0, 0, 0}));
    EXPECT_EQ(store.Serialize(),
              "; Ordune settings: one value a line, name = type bytes.\n"
              "\n[K]\n"
              "\"SystemDir\" = sz \"/x/\"\n"
              "\"Unit\" = none 02 00 00 00\n");
    EXPECT_NE(store.Find("k", "unit"), nullptr);
}

TEST(SettingsStore, DamagedLinesAreSkippedReportedAndTheOldFileKept)
{
    std::string path = TestDir() + "/s.reg";
    const std::string text =
        "\"Orphan\" = none 01\n"
        "[K]\n"
        "\"Good\" = none 05 00 00 00\n"
        "Unquoted = none 01\n"
        "\"BadHex\" = none 0g\n"
        "\"BadType\" = float 00\n"
        "\"Open = sz \"x\n"
        "\x01\x02\xff garbage\n"
        "\"Also\" = sz \"fine\"\r\n";
    ASSERT_TRUE(WriteFileAtomically(path, text.data(), text.size()));

    CSettingsStore store(path);
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.Problems().size(), 6u);
    EXPECT_NE(store.Problems()[0].find("line 1"), std::string::npos);
    ASSERT_NE(store.Find("K", "Good"), nullptr);
    EXPECT_EQ(store.Find("K", "Good")->data, (std::vector<std::uint8_t>{5, 0, 0, 0}));
    ASSERT_NE(store.Find("K", "Also"), nullptr);
    EXPECT_EQ(store.Find("K", "BadHex"), nullptr);

    ASSERT_TRUE(store.Save());
    std::vector<std::uint8_t> backup;
    ASSERT_TRUE(ReadWholeFile(path + ".bad", backup));
    EXPECT_EQ(std::string(backup.begin(), backup.end()), text);
    CSettingsStore again(path);
    ASSERT_TRUE(again.Load());
    EXPECT_TRUE(again.Problems().empty());
}

TEST(SettingsStore, MissingFileIsAnEmptyStore)
{
    CSettingsStore store(TestDir() + "/none.reg");
    EXPECT_TRUE(store.Load());
    EXPECT_FALSE(store.HasKey("K"));
    EXPECT_FALSE(std::filesystem::exists(store.Path()));
}
