// The registry key over the settings file: types, sizes, names, processes.
#include "platform/program_objects.h"
#include "platform/settings_store.h"
#include "settings/registry.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const CStoredValue* Stored(const std::string& name)
{
    static CSettingsStore store;
    store = CSettingsStore(CSettingsStore::DefaultPath());
    store.Load();
    return store.Find(std::string("HKEY_CURRENT_USER\\") + g_ProgramKeyPath, name);
}

}  // namespace

TEST(RegistryKey, WritersStoreTheirTypesAndRawBytes)
{
    CRegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath), ERROR_SUCCESS);
    EXPECT_EQ(key.WriteWord("w", 0x1234), ERROR_SUCCESS);
    EXPECT_EQ(key.WriteDWord("dw", 0xA1B2C3D4u), ERROR_SUCCESS);
    key.WriteInt("i", -2);
    key.WriteFloat("f", 1.0f);
    key.WriteDouble("d", 2.0);
    key.WriteString("s", "ab");
    const std::uint8_t block[] = {9, 8, 7};
    key.WriteBinary("b", block, 3);
    key.Close();

    struct Case {
        const char* name;
        std::uint32_t type;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"w", REG_DWORD, {0x34, 0x12}},
        {"dw", REG_DWORD, {0xD4, 0xC3, 0xB2, 0xA1}},
        {"i", REG_NONE, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"f", REG_NONE, {0x00, 0x00, 0x80, 0x3F}},
        {"d", REG_NONE, {0, 0, 0, 0, 0, 0, 0, 0x40}},
        {"s", REG_SZ, {'a', 'b', 0}},
        {"b", REG_BINARY, {9, 8, 7}},
    };
    for (const Case& c : cases) {
        const CStoredValue* v = Stored(c.name);
        ASSERT_NE(v, nullptr) << c.name;
        EXPECT_EQ(v->type, c.type) << c.name;
        EXPECT_EQ(v->data, c.bytes) << c.name;
    }
}

TEST(RegistryKey, ReadsLeaveTheTargetWhenMissingOrTooLarge)
{
    RegSetDouble("eight", 1.5);
    RegSetInt("four", 7);
    int i = 42;
    float f = 3.0f;
    double d = 9.0;
    RegGetInt("eight", i);     // 8 bytes do not fit an int
    RegGetFloat("absent", f);
    RegGetDouble("four", d);   // 4 bytes fit a double's low half
    EXPECT_EQ(i, 42);
    EXPECT_EQ(f, 3.0f);

    CRegistryKey key;
    key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath);
    std::int32_t l = 5;
    EXPECT_EQ(key.ReadLong("eight", l), ERROR_MORE_DATA);
    EXPECT_EQ(key.ReadLong("absent", l), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(l, 5);
    std::uint16_t w = 0;
    EXPECT_EQ(key.ReadWord("four", w), ERROR_SUCCESS);
    EXPECT_EQ(w, 7);
}

TEST(RegistryKey, AnyTypeIsReadWhenItFitsAndNamesIgnoreCase)
{
    CRegistryKey key;
    key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath);
    key.WriteDWord("Unit", 2);
    key.Close();
    int unit = 0;
    RegGetInt("UNIT", unit);
    EXPECT_EQ(unit, 2);
    RegSetInt("MILL_Now", 3);
    std::int32_t now = 0;
    RegGetLong("MILL_NOW", now);
    EXPECT_EQ(now, 3);
    EXPECT_EQ(Stored("mill_now")->data[0], 3);
}

TEST(RegistryKey, LongStringsAreReadWhole)
{
    std::string path(600, 'p');
    RegSetString("p2", path);
    std::string back;
    RegGetString("p2", back);
    EXPECT_EQ(back, path);
}

TEST(RegistryKey, AValueWrittenInOneProcessIsReadInAnotherByteForByte)
{
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RegSetDouble("TC_x1", 0.1);
        RegSetString("WORK", "零件面");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    double x = 0;
    std::string work;
    RegGetDouble("TC_x1", x);
    RegGetString("WORK", work);
    EXPECT_EQ(x, 0.1);
    EXPECT_EQ(work, "零件面");
}

TEST(RegistryKey, TwoKeysWritingDifferentValuesKeepBoth)
{
    CRegistryKey a, b;
    a.Open(HKEY_CURRENT_USER, g_ProgramKeyPath);
    b.Open(HKEY_CURRENT_USER, g_ProgramKeyPath);
    a.WriteInt("A", 1);
    b.WriteInt("B", 2);
    a.Close();
    b.Close();
    int va = 0, vb = 0;
    RegGetInt("A", va);
    RegGetInt("B", vb);
    EXPECT_EQ(va, 1);
    EXPECT_EQ(vb, 2);
}

TEST(RegistryKey, DeleteKeyRemovesEveryValue)
{
    RegSetInt("NewSetup", 1);
    CRegistryKey().DeleteKey(HKEY_CURRENT_USER, g_ProgramKeyPath);
    int v = 0;
    RegGetInt("NewSetup", v);
    EXPECT_EQ(v, 0);
}

TEST(RegistryKey, AnUnwritableStoreChangesNothingAndSaysNothing)
{
    ::setenv("ORDUNE_SETTINGS_FILE", "/proc/ordune/settings.reg", 1);
    CRegistryKey key;
    EXPECT_NE(key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath), ERROR_SUCCESS);
    int v = 11;
    RegGetInt("x", v);
    RegSetInt("x", 1);
    EXPECT_EQ(v, 11);
}

// A batch holds the writes of a command and writes the file once at its end,
// merged with what another process wrote meanwhile; inside it, reads see the
// batch's own writes.
TEST(RegistryBatch, WritesReachTheFileOnceWhenTheOutermostBatchEnds)
{
    RegSetInt("before", 1);
    {
        CRegistryBatch outer;
        RegSetInt("p1", 5);
        {
            CRegistryBatch inner;
            RegSetString("p2", "job.gbr");
        }
        EXPECT_EQ(Stored("p1"), nullptr);
        EXPECT_EQ(Stored("p2"), nullptr);
        int p1 = 0;
        RegGetInt("p1", p1);
        EXPECT_EQ(p1, 5);

        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ResetProgramObjects();  // the child is another program: no batch
            RegSetInt("other", 7);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (const char* name : {"before", "p1", "p2", "other"})
        EXPECT_NE(Stored(name), nullptr) << name;
    std::string p2;
    RegGetString("p2", p2);
    EXPECT_EQ(p2, "job.gbr");

    // Without a batch every key writes at once, as before.
    RegSetInt("after", 2);
    EXPECT_NE(Stored("after"), nullptr);
}
