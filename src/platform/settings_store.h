// The store behind the program's registry key: typed values under key paths,
// kept in one human-readable file. Values keep their type and exact bytes;
// names and key paths are compared without regard to case.
//
// File layout (UTF-8 text):
//   [HKEY_CURRENT_USER\Software\...]
//   "Unit" = none 00 00 00 00
//   "SystemDir" = sz "/home/ann/.local/share/ordune/"
//   "m23" = binary 00 00 80 3f ...
//   "Flags" = dword 01 00 00 00
// `sz` holds text whose stored bytes end with one zero byte; other types are
// hex bytes; an unusual type appears as `type<N>`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;

struct CStoredValue {
    std::string name;
    std::uint32_t type = REG_NONE;
    std::vector<std::uint8_t> data;
};

class CSettingsStore {
public:
    CSettingsStore() = default;
    explicit CSettingsStore(std::string path) : m_Path(std::move(path)) {}

    // The file in use: $ORDUNE_SETTINGS_FILE when set (tests point it at a
    // private file), else "settings.reg" in the user's configuration folder.
    static std::string DefaultPath();

    const std::string& Path() const { return m_Path; }

    // Reads the file. A missing file is an empty store. Lines that cannot be
    // understood are skipped and described in Problems(); the rest is kept.
    // False only when the file exists but cannot be read.
    bool Load();
    // Parses text as Load does; for tests and Load itself.
    void Parse(const std::string& text);
    std::string Serialize() const;
    // Writes the whole store atomically. When the file that was loaded had
    // problems, its old contents are first kept beside it as "<file>.bad" so
    // nothing the user had is lost by the rewrite.
    bool Save(std::string* error = nullptr);

    const std::vector<std::string>& Problems() const { return m_Problems; }

    bool HasKey(const std::string& key) const;
    void CreateKey(const std::string& key);
    void DeleteKey(const std::string& key);
    const CStoredValue* Find(const std::string& key, const std::string& name) const;
    void Set(const std::string& key, const CStoredValue& value);

private:
    struct Section {
        std::string key;
        std::vector<CStoredValue> values;
    };
    Section* FindSection(const std::string& key);
    const Section* FindSection(const std::string& key) const;

    std::string m_Path;
    std::vector<Section> m_Sections;
    std::vector<std::string> m_Problems;
    std::string m_LoadedText;  // kept to back up a damaged file before a rewrite
};

// Problems met while reading the settings file in this process, each once,
// for the application to show; they are also printed to standard error.
std::vector<std::string> TakeSettingsProblems();
void ReportSettingsProblems(const std::vector<std::string>& problems);
