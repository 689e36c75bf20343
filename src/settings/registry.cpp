// The registry key over the settings store. A key reads the file when it is
// opened; its writes are kept and written through when it is closed, merged
// into the file as it is then (under a lock), so two processes that write
// different values both keep theirs.
#include "settings/registry.h"

#include "platform/program_objects.h"
#include "platform/settings_store.h"

#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <unistd.h>

// Values are the raw bytes of the variables, which are little-endian on the
// file and here alike.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the settings values are kept in little-endian byte order");

const char* const g_ProgramKeyPath = "Software\\Tarnwick\\Ordune\\1.0";

namespace {

std::string RootName(HKEY root)
{
    return root == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER" : "HKEY_" + std::to_string(root);
}

std::string FullKey(HKEY root, const std::string& path) { return RootName(root) + "\\" + path; }

// Holds an exclusive lock on "<settings file>.lock" for its lifetime.
class CStoreLock {
public:
    explicit CStoreLock(const std::string& storePath)
    {
        m_Fd = ::open((storePath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_Fd >= 0)
            ::flock(m_Fd, LOCK_EX);
    }
    ~CStoreLock()
    {
        if (m_Fd >= 0)
            ::close(m_Fd);  // closing releases the lock
    }
    CStoreLock(const CStoreLock&) = delete;
    CStoreLock& operator=(const CStoreLock&) = delete;

private:
    int m_Fd = -1;
};

// Writes the named values of `from` into the file as it is now.
void MergeIntoFile(const CSettingsStore& from,
                   const std::vector<std::pair<std::string, std::string>>& changed)
{
    CStoreLock lock(from.Path());
    CSettingsStore current(from.Path());
    if (!current.Load())
        return;
    for (const auto& [key, name] : changed)
        if (const CStoredValue* v = from.Find(key, name))
            current.Set(key, *v);
    current.Save();
}

// The open batch: its depth, the store its keys share and what they wrote
// (key, value name), in order.
struct CHeldStore {
    int depth = 0;
    std::shared_ptr<CSettingsStore> store;
    std::vector<std::pair<std::string, std::string>> changed;
};
CHeldStore g_Held;

const CProgramObjectReset s_HeldReset([] { g_Held = CHeldStore(); });

}  // namespace

void BeginRegistryBatch() { ++g_Held.depth; }

void EndRegistryBatch()
{
    if (g_Held.depth == 0 || --g_Held.depth > 0)
        return;
    if (g_Held.store && !g_Held.changed.empty())
        MergeIntoFile(*g_Held.store, g_Held.changed);
    g_Held = CHeldStore();
}

CRegistryKey::CRegistryKey() = default;

CRegistryKey::~CRegistryKey() { Close(); }

long CRegistryKey::Open(HKEY root, const std::string& path)
{
    Close();
    m_Path = path;
    if (g_Held.depth > 0) {
        if (!g_Held.store) {
            auto store = std::make_shared<CSettingsStore>(CSettingsStore::DefaultPath());
            if (!store->Load())
                return ERROR_ACCESS_DENIED;
            g_Held.store = std::move(store);
        }
        // A missing key reaches the file with the first value written to it.
        g_Held.store->CreateKey(FullKey(root, path));
        m_Store = g_Held.store;
        m_Handle = root;
        m_Changed.clear();
        return ERROR_SUCCESS;
    }
    auto store = std::make_shared<CSettingsStore>(CSettingsStore::DefaultPath());
    if (!store->Load())
        return ERROR_ACCESS_DENIED;
    std::string key = FullKey(root, path);
    if (!store->HasKey(key)) {
        CStoreLock lock(store->Path());
        CSettingsStore fresh(store->Path());
        if (!fresh.Load())
            return ERROR_ACCESS_DENIED;
        fresh.CreateKey(key);
        if (!fresh.Save())
            return ERROR_ACCESS_DENIED;
        *store = std::move(fresh);
    }
    m_Store = std::move(store);
    m_Handle = root;
    m_Changed.clear();
    return ERROR_SUCCESS;
}

void CRegistryKey::DeleteKey(HKEY root, const std::string& path)
{
    CSettingsStore store(CSettingsStore::DefaultPath());
    CStoreLock lock(store.Path());
    if (!store.Load())
        return;
    store.DeleteKey(FullKey(root, path));
    store.Save();
}

void CRegistryKey::Close()
{
    if (m_Handle == 0)
        return;
    const std::string key = FullKey(m_Handle, m_Path);
    if (m_Store == g_Held.store) {
        for (const std::string& name : m_Changed)
            g_Held.changed.emplace_back(key, name);
    } else if (!m_Changed.empty()) {
        std::vector<std::pair<std::string, std::string>> changed;
        for (const std::string& name : m_Changed)
            changed.emplace_back(key, name);
        MergeIntoFile(*m_Store, changed);
    }
    m_Changed.clear();
    m_Store.reset();
    m_Handle = 0;
}

long CRegistryKey::Write(const std::string& name, std::uint32_t type, const void* data,
                         std::size_t size)
{
    if (m_Handle == 0)
        return ERROR_INVALID_HANDLE;
    CStoredValue value;
    value.name = name;
    value.type = type;
    const auto* p = static_cast<const std::uint8_t*>(data);
    value.data.assign(p, p + size);
    m_Store->Set(FullKey(m_Handle, m_Path), value);
    for (const std::string& changed : m_Changed)
        if (strcasecmp(changed.c_str(), name.c_str()) == 0)
            return ERROR_SUCCESS;
    m_Changed.push_back(name);
    return ERROR_SUCCESS;
}

long CRegistryKey::ReadRaw(const std::string& name, void* target, std::size_t capacity,
                           std::size_t* got)
{
    if (m_Handle == 0)
        return ERROR_INVALID_HANDLE;
    const CStoredValue* v = m_Store->Find(FullKey(m_Handle, m_Path), name);
    if (!v)
        return ERROR_FILE_NOT_FOUND;
    if (v->data.size() > capacity)
        return ERROR_MORE_DATA;
    if (!v->data.empty())
        std::memcpy(target, v->data.data(), v->data.size());
    if (got)
        *got = v->data.size();
    return ERROR_SUCCESS;
}

long CRegistryKey::WriteWord(const std::string& name, std::uint16_t value)
{
    return Write(name, REG_DWORD, &value, sizeof value);
}

long CRegistryKey::WriteDWord(const std::string& name, std::uint32_t value)
{
    return Write(name, REG_DWORD, &value, sizeof value);
}

long CRegistryKey::WriteInt(const std::string& name, std::int32_t value)
{
    return Write(name, REG_NONE, &value, sizeof value);
}

long CRegistryKey::WriteLong(const std::string& name, std::int32_t value)
{
    return Write(name, REG_NONE, &value, sizeof value);
}

long CRegistryKey::WriteFloat(const std::string& name, float value)
{
    return Write(name, REG_NONE, &value, sizeof value);
}

long CRegistryKey::WriteDouble(const std::string& name, double value)
{
    return Write(name, REG_NONE, &value, sizeof value);
}

long CRegistryKey::WriteString(const std::string& name, const std::string& value)
{
    return Write(name, REG_SZ, value.c_str(), value.size() + 1);
}

long CRegistryKey::WriteBinary(const std::string& name, const void* data, std::size_t length)
{
    return Write(name, REG_BINARY, data, length);
}

// A shorter stored value fills only the low bytes of its target, as the
// registry does.

long CRegistryKey::ReadWord(const std::string& name, std::uint16_t& value)
{
    std::uint32_t wide = value;
    long r = ReadRaw(name, &wide, sizeof wide);
    if (r == ERROR_SUCCESS)
        value = static_cast<std::uint16_t>(wide);
    return r;
}

long CRegistryKey::ReadDWord(const std::string& name, std::uint32_t& value)
{
    return ReadRaw(name, &value, sizeof value);
}

long CRegistryKey::ReadInt(const std::string& name, std::int32_t& value)
{
    return ReadRaw(name, &value, sizeof value);
}

long CRegistryKey::ReadLong(const std::string& name, std::int32_t& value)
{
    return ReadRaw(name, &value, sizeof value);
}

long CRegistryKey::ReadFloat(const std::string& name, float& value)
{
    return ReadRaw(name, &value, sizeof value);
}

long CRegistryKey::ReadDouble(const std::string& name, double& value)
{
    return ReadRaw(name, &value, sizeof value);
}

long CRegistryKey::ReadString(const std::string& name, std::string& value)
{
    if (m_Handle == 0)
        return ERROR_INVALID_HANDLE;
    const CStoredValue* v = m_Store->Find(FullKey(m_Handle, m_Path), name);
    if (!v)
        return ERROR_FILE_NOT_FOUND;
    const auto& d = v->data;
    std::size_t n = 0;
    while (n < d.size() && d[n] != 0)
        ++n;
    value.assign(reinterpret_cast<const char*>(d.data()), n);
    return ERROR_SUCCESS;
}

long CRegistryKey::ReadBinary(const std::string& name, void* buffer, std::size_t& length)
{
    std::size_t got = 0;
    long r = ReadRaw(name, buffer, length, &got);
    length = r == ERROR_SUCCESS ? got : 0;
    return r;
}

namespace {

// Opens the program's key, runs `op` on it and closes it; nothing happens when
// the key cannot be opened.
template <class Op>
void WithProgramKey(Op op)
{
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath) == ERROR_SUCCESS)
        op(key);
}

}  // namespace

void RegGetInt(const std::string& name, int& value)
{
    WithProgramKey([&](CRegistryKey& k) { k.ReadInt(name, value); });
}

void RegGetLong(const std::string& name, std::int32_t& value)
{
    WithProgramKey([&](CRegistryKey& k) { k.ReadLong(name, value); });
}

void RegGetLong2(const std::string& name, std::int32_t& value) { RegGetLong(name, value); }

void RegGetFloat(const std::string& name, float& value)
{
    WithProgramKey([&](CRegistryKey& k) { k.ReadFloat(name, value); });
}

void RegGetDouble(const std::string& name, double& value)
{
    WithProgramKey([&](CRegistryKey& k) { k.ReadDouble(name, value); });
}

void RegGetString(const std::string& name, std::string& value)
{
    WithProgramKey([&](CRegistryKey& k) { k.ReadString(name, value); });
}

void RegSetString(const std::string& name, const std::string& value)
{
    WithProgramKey([&](CRegistryKey& k) { k.WriteString(name, value); });
}

void RegSetFloat(const std::string& name, float value)
{
    WithProgramKey([&](CRegistryKey& k) { k.WriteFloat(name, value); });
}

void RegSetDouble(const std::string& name, double value)
{
    WithProgramKey([&](CRegistryKey& k) { k.WriteDouble(name, value); });
}

void RegSetInt(const std::string& name, int value)
{
    WithProgramKey([&](CRegistryKey& k) { k.WriteInt(name, value); });
}

void RegSetLong(const std::string& name, const std::int32_t* value)
{
    if (value)
        WithProgramKey([&](CRegistryKey& k) { k.WriteLong(name, *value); });
}

void RegSetLongValue(const std::string& name, std::int32_t value) { RegSetLong(name, &value); }
