// Typed access to the values under the program's registry key, kept in the
// settings store file. Numbers are stored as their raw little-endian bytes;
// strings as text with a terminating zero; byte blocks as binary. A read
// copies into its target only when the value exists and fits, so every
// default is what the variable held before the read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using HKEY = std::uintptr_t;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;

// Error codes the key operations return (0 is success).
constexpr long ERROR_SUCCESS = 0;
constexpr long ERROR_FILE_NOT_FOUND = 2;
constexpr long ERROR_ACCESS_DENIED = 5;
constexpr long ERROR_INVALID_HANDLE = 6;
constexpr long ERROR_MORE_DATA = 234;

// The key every program value lives under.
extern const char* const g_ProgramKeyPath;

class CSettingsStore;

class CRegistryKey {
public:
    CRegistryKey();
    ~CRegistryKey();
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // Opens the key, creating it when missing. Returns 0 or an error code.
    long Open(HKEY root, const std::string& path);
    // Removes the key and every value under it.
    void DeleteKey(HKEY root, const std::string& path);
    // Writes what this key changed and closes it.
    void Close();

    long WriteWord(const std::string& name, std::uint16_t value);
    long WriteDWord(const std::string& name, std::uint32_t value);
    long WriteInt(const std::string& name, std::int32_t value);
    long WriteLong(const std::string& name, std::int32_t value);
    long WriteFloat(const std::string& name, float value);
    long WriteDouble(const std::string& name, double value);
    long WriteString(const std::string& name, const std::string& value);
    long WriteBinary(const std::string& name, const void* data, std::size_t length);

    long ReadWord(const std::string& name, std::uint16_t& value);
    long ReadDWord(const std::string& name, std::uint32_t& value);
    long ReadInt(const std::string& name, std::int32_t& value);
    long ReadLong(const std::string& name, std::int32_t& value);
    long ReadFloat(const std::string& name, float& value);
    long ReadDouble(const std::string& name, double& value);
    // Any length: the stored text up to its first zero byte.
    long ReadString(const std::string& name, std::string& value);
    // `length` in: the buffer size; out: the bytes copied.
    long ReadBinary(const std::string& name, void* buffer, std::size_t& length);

    bool IsOpen() const { return m_Handle != 0; }
    const std::string& Path() const { return m_Path; }

private:
    long Write(const std::string& name, std::uint32_t type, const void* data, std::size_t size);
    // Copies the value into `target` when it has at most `capacity` bytes.
    long ReadRaw(const std::string& name, void* target, std::size_t capacity,
                 std::size_t* got = nullptr);

    HKEY m_Handle = 0;
    std::string m_Path;
    // The store the key was opened on: its own, or the one a batch holds.
    std::shared_ptr<CSettingsStore> m_Store;
    std::vector<std::string> m_Changed;
};

// While a batch is open, keys share one store read when the first of them
// opens, and what they write reaches the file once, when the outermost batch
// ends (merged under the lock like a key's own writes). A command that
// writes a dozen values so writes the settings file once instead of a dozen
// times.
void BeginRegistryBatch();
void EndRegistryBatch();
class CRegistryBatch {
public:
    CRegistryBatch() { BeginRegistryBatch(); }
    ~CRegistryBatch() { EndRegistryBatch(); }
    CRegistryBatch(const CRegistryBatch&) = delete;
    CRegistryBatch& operator=(const CRegistryBatch&) = delete;
};

// One value each under the program's key; each opens and closes the key and
// does nothing when it cannot be opened.
void RegGetInt(const std::string& name, int& value);
void RegGetLong(const std::string& name, std::int32_t& value);
void RegGetLong2(const std::string& name, std::int32_t& value);
void RegGetFloat(const std::string& name, float& value);
void RegGetDouble(const std::string& name, double& value);
void RegGetString(const std::string& name, std::string& value);
void RegSetString(const std::string& name, const std::string& value);
void RegSetFloat(const std::string& name, float value);
void RegSetDouble(const std::string& name, double value);
void RegSetInt(const std::string& name, int value);
void RegSetLong(const std::string& name, const std::int32_t* value);
void RegSetLongValue(const std::string& name, std::int32_t value);
