// Reads text files line by line, with CRLF, LF or a lone CR as the line end and
// lines of any length. The program's text readers take their lines from here.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

// The bytes of a file read whole (defined where files are read).
class CFileText;

class CTextLineReader {
public:
    CTextLineReader() = default;
    ~CTextLineReader() { Close(); }
    CTextLineReader(const CTextLineReader&) = delete;
    CTextLineReader& operator=(const CTextLineReader&) = delete;

    // Opens `path` for reading; the name is matched without regard to case
    // when the exact name does not exist. False when it cannot be opened.
    // The file is read whole at once (or taken from the kept texts below).
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_Open; }

    // The next line without its line end. False at the end of the file (a last
    // line without a line end is still delivered).
    bool ReadLine(std::string& line);
    // The same without a copy: `line` shows the reader's own text and stays
    // valid while the reader is open on this file.
    bool ReadLine(std::string_view& line);
    // Like fgets with a buffer of max + 1: at most `max` characters; the line
    // end, when reached, is included as one "\n". A longer line comes in
    // several pieces. False at the end of the file.
    bool ReadPiece(std::string& piece, std::size_t max);

    // Number of the line last delivered by ReadLine, counted from 1.
    long LineNumber() const { return m_LineNumber; }
    // Whether the line last delivered by ReadLine had a line end: only the
    // last line of a file can lack one.
    bool LastLineEnded() const { return m_LastLineEnded; }
    // The file opened but could not be read (a folder, say): it reads as
    // empty.
    bool Failed() const { return m_Open && m_Failed; }
    // The size of the open file's text, bytes.
    std::size_t TextSize() const;

private:
    // Reads one character; a CR or CRLF comes back as '\n'.
    int Get();

    std::shared_ptr<const CFileText> m_Text;
    std::size_t m_Pos = 0;
    bool m_Open = false;
    bool m_Failed = false;
    long m_LineNumber = 0;
    bool m_LastLineEnded = true;
};

// While one of these lives, the files it names are read from disk once: the
// first reader to open one keeps its text, and every later reader of it in
// that time reads the kept text. A job's load names its input files, so the
// format detection, the extent pre-scans and the readers all read one
// reading of each. Only the named files are kept, so a working file written
// and read back meanwhile is always read afresh. An inner one while another
// lives adds its files to the outer's.
class CKeptFileTexts {
public:
    explicit CKeptFileTexts(std::initializer_list<std::string> paths);
    ~CKeptFileTexts();
    CKeptFileTexts(const CKeptFileTexts&) = delete;
    CKeptFileTexts& operator=(const CKeptFileTexts&) = delete;

    // Adds a file to keep while this lives.
    void Keep(const std::string& path);

private:
    bool m_Outer = false;
};

// True when a file's text is kept and not empty: it was read whole in this
// load, so it needs no second look at the disk.
bool IsKeptFileText(const std::string& path);
// Reads a file named to be kept now, when it is not yet; true when its
// text is kept (false for a file not named, or one that cannot be read).
bool ReadKeptFileText(const std::string& path);
// Lets go of a kept file's text that no later reader of the load needs. The
// file stays named: a reader that opens it after all reads it afresh and
// keeps that text.
void DropKeptFileText(const std::string& path);
