// The settings file: exact round trips, readable text, damaged lines.
#include "platform/binary_io.h"
#include "platform/settings_store.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

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

namespace {

timespec ModifiedOf(const std::string& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mtim;
}

// Writes `text` over the file in place (same inode) and sets its
// modification time to `modified`.
void RewriteInPlace(const std::string& path, const std::string& text, timespec modified)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    const timespec times[2] = {modified, modified};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

std::vector<std::uint8_t> ValueIn(const std::string& path)
{
    CSettingsStore store(path);
    EXPECT_TRUE(store.Load());
    const CStoredValue* v = store.Find("K", "V");
    return v ? v->data : std::vector<std::uint8_t>{};
}

}  // namespace

// A parsed file is kept, but a change by anyone else is seen on the next
// load, whichever of its inode, size or modification time alone tells it,
// or only its text, when it comes within the clock tick of the last write.
TEST(SettingsStore, AFileChangedSinceItWasParsedIsReadAgain)
{
    const std::string path = TestDir() + "/s.reg";
    const std::string before = "[K]\n\"V\" = none 01\n";
    struct Change {
        const char* what;
        std::string text;
        void (*write)(const std::string& path, const std::string& text, timespec was);
        std::vector<std::uint8_t> seen;
    };
    const Change changes[] = {
        {"replaced, same size and time", "[K]\n\"V\" = none 02\n",
         [](const std::string& p, const std::string& t, timespec was) {
             ASSERT_TRUE(WriteFileAtomically(p, t.data(), t.size()));
             const timespec times[2] = {was, was};
             ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), times, 0), 0);
         },
         {2}},
        {"in place, same size, a nanosecond later", "[K]\n\"V\" = none 03\n",
         [](const std::string& p, const std::string& t, timespec was) {
             ++was.tv_nsec;
             RewriteInPlace(p, t, was);
         },
         {3}},
        {"in place, longer, same time", "[K]\n\"V\" = none 04 05\n",
         [](const std::string& p, const std::string& t, timespec was) { RewriteInPlace(p, t, was); },
         {4, 5}},
        // Within one tick of a coarse file system clock: only the text tells.
        {"in place, same size, same time", "[K]\n\"V\" = none 06\n",
         [](const std::string& p, const std::string& t, timespec was) { RewriteInPlace(p, t, was); },
         {6}},
    };
    for (const Change& change : changes) {
        ASSERT_TRUE(WriteFileAtomically(path, before.data(), before.size()));
        ASSERT_EQ(ValueIn(path), std::vector<std::uint8_t>{1}) << change.what;
        ASSERT_EQ(ValueIn(path), std::vector<std::uint8_t>{1}) << change.what;
        change.write(path, change.text, ModifiedOf(path));
        EXPECT_EQ(ValueIn(path), change.seen) << change.what;
    }
}

// A store read again unchanged is the one parsed: its problems, and the
// damaged text that a save keeps beside it, come along; what this process
// saves is read back, not the store parsed before. Files are kept apart by
// path.
TEST(SettingsStore, AStoreReadAgainIsTheOneParsedAndKeptByPath)
{
    const std::string path = TestDir() + "/s.reg", other = TestDir() + "/t.reg";
    const std::string text = "[K]\n\"V\" = none 07\nbroken\n";
    ASSERT_TRUE(WriteFileAtomically(path, text.data(), text.size()));
    const std::string otherText = "[K]\n\"V\" = none 09\n";
    ASSERT_TRUE(WriteFileAtomically(other, otherText.data(), otherText.size()));
    CSettingsStore first(path);
    ASSERT_TRUE(first.Load());
    EXPECT_EQ(ValueIn(other), std::vector<std::uint8_t>{9});

    CSettingsStore again(path);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.Problems(), first.Problems());
    ASSERT_EQ(again.Problems().size(), 1u);
    again.Set("K", Value("V", REG_NONE, {8}));
    ASSERT_TRUE(again.Save());
    std::vector<std::uint8_t> backup;
    ASSERT_TRUE(ReadWholeFile(path + ".bad", backup));
    EXPECT_EQ(std::string(backup.begin(), backup.end()), text);
    EXPECT_EQ(ValueIn(path), std::vector<std::uint8_t>{8});
    EXPECT_EQ(ValueIn(other), std::vector<std::uint8_t>{9});
}
