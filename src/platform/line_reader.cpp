// Line reading with any line-end convention, over a file read whole, and the
// texts a load keeps of its input files.
#include "platform/line_reader.h"

#include "platform/paths.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <string_view>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

// The bytes of a file read whole. A large file is read into memory the
// kernel maps in one go, rather than page by page as the copy first touches
// each: a load reads megabytes this way. The bytes are a copy, so the file
// may change on disk meanwhile.
class CFileText {
public:
    CFileText() = default;
    ~CFileText()
    {
        if (m_Mapped)
            ::munmap(m_Mapped, m_MappedSize);
    }
    CFileText(const CFileText&) = delete;
    CFileText& operator=(const CFileText&) = delete;

    std::string_view View() const
    {
        return m_Mapped ? std::string_view(static_cast<const char*>(m_Mapped), m_Size) : std::string_view(m_Text);
    }

    // The whole of an open file; false when it cannot be read.
    bool ReadAll(std::FILE* file)
    {
        struct stat info {};
        const bool regular = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
        if (regular && info.st_size >= kMappedFrom && ReadMapped(fileno(file), std::size_t(info.st_size)))
            return true;
        if (regular && info.st_size > 0)
            m_Text.reserve(static_cast<std::size_t>(info.st_size));
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            m_Text.append(buffer, n);
        return !std::ferror(file);
    }

private:
    static constexpr off_t kMappedFrom = 256 * 1024;

    // Reads the file into fresh mapped memory of its size; false, with
    // nothing kept, when it cannot be mapped or the file is no longer the
    // size it was (the stream reading then starts over from the start).
    bool ReadMapped(int fd, std::size_t size)
    {
        void* room = ::mmap(nullptr, size + 1, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (room == MAP_FAILED)
            return false;
        char* bytes = static_cast<char*>(room);
        std::size_t got = 0;
        for (;;) {
            // One byte more than the size: a file that grew is noticed.
            const ssize_t n = ::pread(fd, bytes + got, size + 1 - got, off_t(got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += std::size_t(n);
            if (got == size + 1)
                break;
        }
        if (got != size) {
            ::munmap(room, size + 1);
            return false;
        }
        m_Mapped = room;
        m_MappedSize = size + 1;
        m_Size = size;
        return true;
    }

    std::string m_Text;
    void* m_Mapped = nullptr;
    std::size_t m_MappedSize = 0;
    std::size_t m_Size = 0;
};

namespace {

// The kept texts by resolved path; a null text is a file named but not yet
// read. Present only while a CKeptFileTexts lives.
using KeptTexts = std::map<std::string, std::shared_ptr<const CFileText>>;
KeptTexts* g_Kept = nullptr;

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
    return it != g_Kept->end() && it->second && !it->second->View().empty();
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

void DropKeptFileText(const std::string& path)
{
    if (!g_Kept)
        return;
    auto it = g_Kept->find(ResolvePathNoCase(path));
    if (it != g_Kept->end())
        it->second.reset();
}

bool CTextLineReader::Open(const std::string& path)
{
    Close();
    const std::string resolved = ResolvePathNoCase(path);
    std::shared_ptr<const CFileText>* kept = nullptr;
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
        auto text = std::make_shared<CFileText>();
        m_Failed = !text->ReadAll(file);
        std::fclose(file);
        if (m_Failed)
            text = std::make_shared<CFileText>();
        else if (kept)
            *kept = text;
        m_Text = std::move(text);
    }
    m_Open = true;
    return true;
}

std::size_t CTextLineReader::TextSize() const { return m_Text ? m_Text->View().size() : 0; }

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
    const std::string_view text = m_Text->View();
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
    std::string_view view;
    const bool read = ReadLine(view);
    line.assign(view);
    return read;
}

bool CTextLineReader::ReadLine(std::string_view& line)
{
    line = {};
    if (!m_Open)
        return false;
    const std::string_view text = m_Text->View();
    if (m_Pos >= text.size())
        return false;
    // The line ends at the first CR or LF: the LF is looked for first, then
    // a CR before it (two scans of the line that run a word at a time).
    const char* start = text.data() + m_Pos;
    std::size_t length = text.size() - m_Pos;
    if (const void* lf = std::memchr(start, '\n', length))
        length = std::size_t(static_cast<const char*>(lf) - start);
    if (const void* cr = std::memchr(start, '\r', length))
        length = std::size_t(static_cast<const char*>(cr) - start);
    line = text.substr(m_Pos, length);
    m_Pos += length;
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
