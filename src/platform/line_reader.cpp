// Line reading with any line-end convention, over a file read whole, and the
// texts a load keeps of its input files.
#include "platform/line_reader.h"

#include "platform/paths.h"

#include <map>
#include <sys/stat.h>

namespace {

// The kept texts by resolved path; a null text is a file named but not yet
// read. Present only while a CKeptFileTexts lives.
using KeptTexts = std::map<std::string, std::shared_ptr<const std::string>>;
KeptTexts* g_Kept = nullptr;

// The whole of an open file; false when it cannot be read.
bool ReadAll(std::FILE* file, std::string& text)
{
    struct stat info {};
    if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
        text.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    return !std::ferror(file);
}

}  // namespace

CKeptFileTexts::CKeptFileTexts(std::initializer_list<std::string> paths)
{
    if (!g_Kept) {
        g_Kept = new KeptTexts;
        m_Outer = true;
    }
    for (const std::string& path : paths)
        Keep(path);
}

CKeptFileTexts::~CKeptFileTexts()
{
    if (m_Outer) {
        delete g_Kept;
        g_Kept = nullptr;
    }
}

void CKeptFileTexts::Keep(const std::string& path)
{
    if (g_Kept && !path.empty())
        g_Kept->emplace(ResolvePathNoCase(path), nullptr);
}

bool IsKeptFileText(const std::string& path)
{
    if (!g_Kept)
        return false;
    auto it = g_Kept->find(ResolvePathNoCase(path));
    return it != g_Kept->end() && it->second && !it->second->empty();
}

bool ReadKeptFileText(const std::string& path)
{
    if (!g_Kept)
        return false;
    auto it = g_Kept->find(ResolvePathNoCase(path));
    if (it == g_Kept->end())
        return false;
    if (!it->second) {
        CTextLineReader reader;
        if (!reader.Open(path) || reader.Failed())
            return false;
    }
    return it->second != nullptr;
}

bool CTextLineReader::Open(const std::string& path)
{
    Close();
    const std::string resolved = ResolvePathNoCase(path);
    std::shared_ptr<const std::string>* kept = nullptr;
    if (g_Kept) {
        auto it = g_Kept->find(resolved);
        if (it != g_Kept->end())
            kept = &it->second;
    }
    if (kept && *kept) {
        m_Text = *kept;
    } else {
        std::FILE* file = std::fopen(resolved.c_str(), "rb");
        if (!file)
            return false;
        auto text = std::make_shared<std::string>();
        m_Failed = !ReadAll(file, *text);
        std::fclose(file);
        if (m_Failed)
            text->clear();
        else if (kept)
            *kept = text;
        m_Text = std::move(text);
    }
    m_Open = true;
    return true;
}

void CTextLineReader::Close()
{
    m_Text.reset();
    m_Pos = 0;
    m_Open = false;
    m_Failed = false;
    m_LineNumber = 0;
    m_LastLineEnded = true;
}

int CTextLineReader::Get()
{
    const std::string& text = *m_Text;
    if (m_Pos >= text.size())
        return EOF;
    const char c = text[m_Pos++];
    if (c == '\r') {
        if (m_Pos < text.size() && text[m_Pos] == '\n')
            ++m_Pos;
        return '\n';
    }
    return static_cast<unsigned char>(c);
}

bool CTextLineReader::ReadLine(std::string& line)
{
    line.clear();
    if (!m_Open || m_Pos >= m_Text->size())
        return false;
    const std::string& text = *m_Text;
    std::size_t end = m_Pos;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r')
        ++end;
    line.assign(text, m_Pos, end - m_Pos);
    m_Pos = end;
    m_LastLineEnded = Get() == '\n';
    ++m_LineNumber;
    return true;
}

bool CTextLineReader::ReadPiece(std::string& piece, std::size_t max)
{
    piece.clear();
    if (!m_Open || max == 0)
        return false;
    while (piece.size() < max) {
        int c = Get();
        if (c == EOF)
            break;
        piece.push_back(static_cast<char>(c));
        if (c == '\n')
            break;
    }
    if (piece.empty())
        return false;
    if (piece.back() == '\n')
        ++m_LineNumber;
    return true;
}
