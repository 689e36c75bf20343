// Line reading with any line-end convention.
#include "platform/line_reader.h"

#include "platform/paths.h"

bool CTextLineReader::Open(const std::string& path)
{
    Close();
    m_File = std::fopen(ResolvePathNoCase(path).c_str(), "rb");
    m_LineNumber = 0;
    m_LastLineEnded = true;
    return m_File != nullptr;
}

void CTextLineReader::Close()
{
    if (m_File)
        std::fclose(m_File);
    m_File = nullptr;
}

int CTextLineReader::Get()
{
    int c = std::getc(m_File);
    if (c == '\r') {
        int next = std::getc(m_File);
        if (next != '\n' && next != EOF)
            std::ungetc(next, m_File);
        return '\n';
    }
    return c;
}

bool CTextLineReader::ReadLine(std::string& line)
{
    line.clear();
    if (!m_File)
        return false;
    int c = Get();
    if (c == EOF)
        return false;
    while (c != EOF && c != '\n') {
        line.push_back(static_cast<char>(c));
        c = Get();
    }
    m_LastLineEnded = c == '\n';
    ++m_LineNumber;
    return true;
}

bool CTextLineReader::ReadPiece(std::string& piece, std::size_t max)
{
    piece.clear();
    if (!m_File || max == 0)
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
