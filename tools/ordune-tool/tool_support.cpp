#include "tool_support.h"

#include "platform/binary_io.h"
#include "ui/edit_wnd.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include <unistd.h>

CPrivateStore::CPrivateStore(const char* tool, const char* base)
{
    std::string pattern = std::string(base) + "/" + tool + "-XXXXXX";
    if (const char* root = ::mkdtemp(pattern.data())) {
        m_Dir = root;
        // Nothing in it outlives the tool: its files need not reach the disk.
        SetScratchFolder(m_Dir);
        ::setenv("ORDUNE_SETTINGS_FILE", (m_Dir + "/settings.reg").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_Dir + "/data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_Dir + "/config").c_str(), 1);
    } else {
        std::perror("mkdtemp");
    }
}

CPrivateStore::~CPrivateStore()
{
    std::error_code error;
    if (!m_Dir.empty())
        std::filesystem::remove_all(m_Dir, error);
}

namespace {

// Calls `visit` with each FILETYPE block's dialect name, in order, until it
// returns true; the block number then, else -1.
int FindDialect(const std::function<bool(const std::string&)>& visit)
{
    CLineEdit& settings = g_SettingsTextWnd.Edit();
    int block = 0;
    for (int line = settings.FindLine("FILETYPE"); line >= 0; line = settings.FindNextLine(), ++block) {
        std::string text = settings.GetLineText(line);
        std::size_t dollar = text.find('$');
        std::string name = dollar == std::string::npos ? std::string() : text.substr(dollar + 1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\r' || name.back() == '\t'))
            name.pop_back();
        if (visit(name))
            return block;
    }
    return -1;
}

}  // namespace

int DialectBlock(const std::string& dialect)
{
    return FindDialect([&](const std::string& name) { return !name.empty() && name == dialect; });
}

int DialectCount()
{
    int count = 0;
    FindDialect([&](const std::string&) {
        ++count;
        return false;
    });
    return count;
}
