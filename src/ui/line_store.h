// A store of numbered text lines, as the program keeps its working texts
// (registration holes, measurement and route data, the settings file's lines,
// the processing macro): written with printf-style calls at the insertion
// point, read line by line through a line cursor, searched and selected. The
// text window shows a store; the store itself has no window.
//
// The text is kept as one string whose lines end with "\r\n", so a line
// written with other line feeds inside it stays one line (readers cut it at
// its first line feed).
#pragma once

#include <cstdarg>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class CLineEdit {
public:
    static constexpr std::size_t npos = std::string::npos;

    // Called after every change of the text (a window showing the store
    // follows it). A copy of the store does not take the handler along.
    void SetChangeHandler(std::function<void()> handler) { m_OnChange.fn = std::move(handler); }

    // Number of lines. A text that ends with a line break has no empty line
    // after it, so writing a line adds exactly one line.
    int GetLineCount() const;
    // Line n without its line break, cut at its first line feed and, as a
    // copy into a buffer of `size` bytes would be, to at most size - 1
    // characters. Empty for a line that does not exist.
    std::string GetLineText(int n, std::size_t size = npos) const;
    // Offset of the first character of line n (the text's length past the
    // last line).
    std::size_t LineIndex(int n) const;
    // The line holding character `offset`.
    int LineFromChar(std::size_t offset) const;

    // Puts the formatted text and "\r\n" in place of the selection (at the
    // insertion point when nothing is selected). No undo step.
    void WriteLineF(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The formatted line put at the start of line n, so that it becomes
    // line n (appended when n is past the last line).
    void InsertLineF(int n, const char* format, ...) __attribute__((format(printf, 3, 4)));
    // Line n with its line break replaced by the formatted line.
    void ReplaceLineF(int n, const char* format, ...) __attribute__((format(printf, 3, 4)));
    // `line` and "\r\n" in place of the selection, without any formatting.
    void WriteLine(const std::string& line);

    // Empties `line`; false when the cursor is at or past the last line,
    // else copies the cursor's line (as GetLineText does), advances the
    // cursor and returns true.
    bool GetNextLine(std::string& line, std::size_t size = npos);
    int SetLineCursor(int n);
    int LineCursor() const { return m_LineCursor; }

    // Selects the whole text, so that the next write replaces it.
    void SelectAll();
    void ClearAll();
    // Selects the text of line n (not its line break).
    void SelectLine(int n);
    void SetSel(std::size_t start, std::size_t end);
    std::size_t SelStart() const { return m_SelStart; }
    std::size_t SelEnd() const { return m_SelEnd; }
    // The line of the selection's start: where a double click leaves the
    // cursor, so the clicked line is the next one read.
    void OnDoubleClick();

    // Remembers `text` (at most 99 characters), searches from line 0 and
    // returns the first line that contains it, or -1. The cursor is left
    // after the line found.
    int FindLine(const std::string& text);
    // The same search with the remembered text from the cursor on.
    int FindNextLine();

    const std::string& GetText() const { return m_Text; }
    // Replaces the whole text as the user's edit: one step that Undo takes
    // back. The window uses this for typing; the program writes lines.
    void SetTextByUser(const std::string& text);
    bool CanUndo() const { return m_CanUndo; }
    // Takes back the last edit by the user; a second Undo restores it.
    void Undo();

    bool GetModify() const { return m_Modified; }
    void SetModify(bool modified) { m_Modified = modified; }
    // A read-only store refuses the user's edits; the program's writes go on.
    bool GetReadOnly() const { return m_ReadOnly; }
    void SetReadOnly(bool readOnly) { m_ReadOnly = readOnly; }

private:
    void ReplaceSel(const std::string& text);
    int SearchFrom(int line);
    bool EndsWithBreak() const;
    const std::vector<std::size_t>& LineStarts() const;
    void Invalidate() { m_LineStartsValid = false; }
    // Invalidate, then tell the change handler.
    void Changed();

    std::string m_Text;
    std::size_t m_SelStart = 0;
    std::size_t m_SelEnd = 0;
    int m_LineCursor = 0;
    std::string m_SearchText;
    std::string m_UndoText;
    bool m_CanUndo = false;
    bool m_Modified = false;
    bool m_ReadOnly = false;
    struct ChangeHandler {
        std::function<void()> fn;
        ChangeHandler() = default;
        ChangeHandler(const ChangeHandler&) {}
        ChangeHandler& operator=(const ChangeHandler&) { return *this; }
    } m_OnChange;
    mutable std::vector<std::size_t> m_LineStarts;
    mutable bool m_LineStartsValid = false;
};

// `line` in pieces of at most `max` characters, as a reader with a buffer of
// max + 1 bytes takes a long line; an empty line is one empty piece.
std::vector<std::string> SplitLinePieces(const std::string& line, std::size_t max);

// The entry a block's heading line gives a list of named blocks (the
// settings file's dialects, the macro text's methods): the text after its
// first "$", else the line itself without its leading blanks, so a heading
// without a name still has an entry and entry numbers stay block numbers.
std::string BlockEntryName(const std::string& line);

// printf-style formatting of any length.
std::string VFormat(const char* format, va_list args);
// The string-table text `id` with its placeholders filled from the arguments.
std::string FormatResText(unsigned id, ...);
