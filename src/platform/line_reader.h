// Reads text files line by line, with CRLF, LF or a lone CR as the line end and
// lines of any length. The program's text readers take their lines from here.
#pragma once

#include <cstdio>
#include <string>

class CTextLineReader {
public:
    CTextLineReader() = default;
    ~CTextLineReader() { Close(); }
    CTextLineReader(const CTextLineReader&) = delete;
    CTextLineReader& operator=(const CTextLineReader&) = delete;

    // Opens `path` for reading; the name is matched without regard to case
    // when the exact name does not exist. False when it cannot be opened.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_File != nullptr; }

    // The next line without its line end. False at the end of the file (a last
    // line without a line end is still delivered).
    bool ReadLine(std::string& line);
    // Like fgets with a buffer of max + 1: at most `max` characters; the line
    // end, when reached, is included as one "\n". A longer line comes in
    // several pieces. False at the end of the file.
    bool ReadPiece(std::string& piece, std::size_t max);

    // Number of the line last delivered by ReadLine, counted from 1.
    long LineNumber() const { return m_LineNumber; }
    // Whether the line last delivered by ReadLine had a line end: only the
    // last line of a file can lack one.
    bool LastLineEnded() const { return m_LastLineEnded; }
    bool Failed() const { return m_File && std::ferror(m_File); }

private:
    // Reads one character; a CR or CRLF comes back as '\n'.
    int Get();

    std::FILE* m_File = nullptr;
    long m_LineNumber = 0;
    bool m_LastLineEnded = true;
};
