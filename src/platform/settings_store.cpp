// Parsing and writing the settings file.
#include "platform/settings_store.h"

#include "platform/binary_io.h"
#include "platform/paths.h"
#include "platform/program_objects.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <strings.h>

namespace {

std::vector<std::string> g_PendingProblems;
// Each problem is reported once a run.
std::set<std::string> g_ReportedProblems;

const CProgramObjectReset s_ProblemsReset([] {
    g_PendingProblems.clear();
    g_ReportedProblems.clear();
});

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

const char* TypeName(std::uint32_t type)
{
    switch (type) {
    case REG_NONE: return "none";
    case REG_BINARY: return "binary";
    case REG_DWORD: return "dword";
    default: return nullptr;
    }
}

std::string Quote(const std::string& text)
{
    static const char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7f) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted text at `pos`; false when it is not one.
bool Unquote(const std::string& line, std::size_t& pos, std::string& out)
{
    if (pos >= line.size() || line[pos] != '"')
        return false;
    out.clear();
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= line.size())
            return false;
        c = line[pos];
        if (c == 'x') {
            if (pos + 2 >= line.size())
                return false;
            int hi = HexDigit(line[pos + 1]), lo = HexDigit(line[pos + 2]);
            if (hi < 0 || lo < 0)
                return false;
            out += static_cast<char>(hi * 16 + lo);
            pos += 2;
        } else if (c == '"' || c == '\\') {
            out += c;
        } else {
            return false;
        }
    }
    return false;
}

void SkipBlanks(const std::string& line, std::size_t& pos)
{
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
}

bool ParseHex(const std::string& line, std::size_t pos, std::vector<std::uint8_t>& out)
{
    out.clear();
    for (;;) {
        SkipBlanks(line, pos);
        if (pos >= line.size())
            return true;
        if (pos + 1 >= line.size())
            return false;
        int hi = HexDigit(line[pos]), lo = HexDigit(line[pos + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        pos += 2;
    }
}

// One value line; false with `why` set when it does not parse.
bool ParseValue(const std::string& line, CStoredValue& value, std::string& why)
{
    std::size_t pos = 0;
    if (!Unquote(line, pos, value.name)) {
        why = "the value name is not a quoted text";
        return false;
    }
    SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != '=') {
        why = "\"=\" is missing after the value name";
        return false;
    }
    ++pos;
    SkipBlanks(line, pos);
    std::size_t start = pos;
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t')
        ++pos;
    std::string type = line.substr(start, pos - start);
    SkipBlanks(line, pos);
    if (type == "sz") {
        std::string text;
        if (!Unquote(line, pos, text)) {
            why = "the text is not properly quoted";
            return false;
        }
        SkipBlanks(line, pos);
        if (pos != line.size()) {
            why = "unexpected characters after the text";
            return false;
        }
        value.type = REG_SZ;
        value.data.assign(text.begin(), text.end());
        value.data.push_back(0);
        return true;
    }
    if (type == "none")
        value.type = REG_NONE;
    else if (type == "binary")
        value.type = REG_BINARY;
    else if (type == "dword")
        value.type = REG_DWORD;
    else if (type.size() > 4 && type.compare(0, 4, "type") == 0 &&
             type.find_first_not_of("0123456789", 4) == std::string::npos && type.size() < 14)
        value.type = static_cast<std::uint32_t>(std::strtoul(type.c_str() + 4, nullptr, 10));
    else {
        why = "unknown value type \"" + type + "\"";
        return false;
    }
    if (!ParseHex(line, pos, value.data)) {
        why = "the bytes are not pairs of hexadecimal digits";
        return false;
    }
    return true;
}

}  // namespace

std::string CSettingsStore::DefaultPath()
{
    const char* path = std::getenv("ORDUNE_SETTINGS_FILE");
    if (path && *path)
        return path;
    return UserConfigDir() + "settings.reg";
}

namespace {

// The stores last parsed, by file: the program reads a value at a time, each
// read opening the key afresh, and would otherwise read and parse the whole
// file for each.
struct CParsedStore {
    CFileStamp stamp;
    CSettingsStore store;
    // A file modified moments before it was read may be rewritten in place
    // unseen by its stamp (CFileStamp::Recent): until its time is safely
    // past, it is read again and compared with the text parsed (reading is
    // cheap, parsing is not).
    bool racy = false;
    std::string text;
};

std::map<std::string, CParsedStore>& ParsedStores()
{
    static std::map<std::string, CParsedStore> parsed;
    return parsed;
}

const CProgramObjectReset s_ParsedReset([] { ParsedStores().clear(); });

}  // namespace

bool CSettingsStore::Load()
{
    m_Sections.clear();
    m_Problems.clear();
    m_LoadedText.clear();
    // Stamped before the read: a file changed while it is read is then
    // parsed again next time instead of being taken for what was read.
    CFileStamp stamp;
    const bool stamped = StampOf(m_Path, stamp);
    const bool missing = !stamped && errno == ENOENT;
    auto& parsed = ParsedStores();
    std::vector<std::uint8_t> bytes;
    std::string error;
    bool read = false;
    if (auto it = parsed.find(m_Path); it != parsed.end()) {
        CParsedStore& kept = it->second;
        bool same = stamped && kept.stamp == stamp;
        if (same && kept.racy) {
            read = ReadWholeFile(m_Path, bytes, &error);
            same = read && std::equal(bytes.begin(), bytes.end(), kept.text.begin(), kept.text.end());
            if (same && !stamp.Recent()) {
                kept.racy = false;
                kept.text.clear();
            }
        }
        if (same) {
            *this = kept.store;
            return true;
        }
        parsed.erase(it);
    }
    if (missing)
        return true;  // no file yet: an empty store
    if (!read && !ReadWholeFile(m_Path, bytes, &error)) {
        std::FILE* probe = std::fopen(m_Path.c_str(), "rb");
        if (!probe)
            return true;  // no file yet: an empty store
        std::fclose(probe);
        m_Problems.push_back(error);
        return false;
    }
    Parse(std::string(bytes.begin(), bytes.end()));
    if (!m_Problems.empty())
        m_LoadedText.assign(bytes.begin(), bytes.end());
    if (stamped) {
        CParsedStore kept{stamp, *this, false, {}};
        if (stamp.Recent()) {
            kept.racy = true;
            kept.text.assign(bytes.begin(), bytes.end());
        }
        parsed.insert_or_assign(m_Path, std::move(kept));
    }
    return true;
}

void CSettingsStore::Parse(const std::string& text)
{
    Section* section = nullptr;
    std::size_t lineStart = 0;
    int lineNumber = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        std::string line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == ';' || line[first] == '#')
            continue;
        line.erase(0, first);
        std::string where = m_Path + " line " + std::to_string(lineNumber) + ": ";
        if (line[0] == '[') {
            std::size_t close = line.rfind(']');
            if (close == std::string::npos || close == 1) {
                m_Problems.push_back(where + "a key line needs a name inside [ ]; skipped");
                section = nullptr;
                continue;
            }
            std::string key = line.substr(1, close - 1);
            CreateKey(key);
            section = FindSection(key);
            continue;
        }
        CStoredValue value;
        std::string why;
        if (!section) {
            m_Problems.push_back(where + "a value before any [key] line; skipped");
            continue;
        }
        if (!ParseValue(line, value, why)) {
            m_Problems.push_back(where + why + "; the value was skipped");
            continue;
        }
        Set(section->key, value);
    }
    if (!m_Problems.empty())
        ReportSettingsProblems(m_Problems);
}

std::string CSettingsStore::Serialize() const
{
    static const char hex[] = "0123456789abcdef";
    std::string out = "; Ordune settings: one value a line, name = type bytes.\n";
    for (const Section& section : m_Sections) {
        out += "\n[" + section.key + "]\n";
        for (const CStoredValue& value : section.values) {
            out += Quote(value.name) + " = ";
            const std::vector<std::uint8_t>& d = value.data;
            if (value.type == REG_SZ && !d.empty() && d.back() == 0) {
                out += "sz " + Quote(std::string(d.begin(), d.end() - 1));
            } else {
                const char* name = TypeName(value.type);
                out += name ? name : "type" + std::to_string(value.type);
                for (std::uint8_t b : d) {
                    out += ' ';
                    out += hex[b >> 4];
                    out += hex[b & 15];
                }
            }
            out += '\n';
        }
    }
    return out;
}

bool CSettingsStore::Save(std::string* error)
{
    std::string dir = m_Path.substr(0, m_Path.find_last_of('/') + 1);
    if (!dir.empty())
        MakeDirectories(dir);
    if (!m_LoadedText.empty()) {
        if (!WriteFileAtomically(m_Path + ".bad", m_LoadedText.data(), m_LoadedText.size(),
                                 error))
            return false;
        m_LoadedText.clear();
    }
    // What this process writes is read afresh, whatever the stamp says.
    ParsedStores().erase(m_Path);
    std::string text = Serialize();
    return WriteFileAtomically(m_Path, text.data(), text.size(), error);
}

CSettingsStore::Section* CSettingsStore::FindSection(const std::string& key)
{
    for (Section& s : m_Sections)
        if (SameName(s.key, key))
            return &s;
    return nullptr;
}

const CSettingsStore::Section* CSettingsStore::FindSection(const std::string& key) const
{
    for (const Section& s : m_Sections)
        if (SameName(s.key, key))
            return &s;
    return nullptr;
}

bool CSettingsStore::HasKey(const std::string& key) const { return FindSection(key) != nullptr; }

void CSettingsStore::CreateKey(const std::string& key)
{
    if (!FindSection(key))
        m_Sections.push_back(Section{key, {}});
}

void CSettingsStore::DeleteKey(const std::string& key)
{
    for (auto it = m_Sections.begin(); it != m_Sections.end(); ++it)
        if (SameName(it->key, key)) {
            m_Sections.erase(it);
            return;
        }
}

const CStoredValue* CSettingsStore::Find(const std::string& key, const std::string& name) const
{
    const Section* s = FindSection(key);
    if (!s)
        return nullptr;
    for (const CStoredValue& v : s->values)
        if (SameName(v.name, name))
            return &v;
    return nullptr;
}

void CSettingsStore::Set(const std::string& key, const CStoredValue& value)
{
    CreateKey(key);
    Section* s = FindSection(key);
    for (CStoredValue& v : s->values)
        if (SameName(v.name, value.name)) {
            // The name keeps the spelling it was first written with.
            v.type = value.type;
            v.data = value.data;
            return;
        }
    s->values.push_back(value);
}

void ReportSettingsProblems(const std::vector<std::string>& problems)
{
    for (const std::string& p : problems)
        if (g_ReportedProblems.insert(p).second) {
            std::fprintf(stderr, "ordune: settings: %s\n", p.c_str());
            g_PendingProblems.push_back(p);
        }
}

std::vector<std::string> TakeSettingsProblems()
{
    std::vector<std::string> out;
    out.swap(g_PendingProblems);
    return out;
}
