// The line store: a text with "\r\n" line breaks, a selection, a line cursor
// and a remembered search text. Line starts are indexed once per change, so
// walking a long drill program line by line stays linear.
#include "ui/line_store.h"

#include "platform/resources.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr std::size_t kSearchTextMax = 99;
}  // namespace

std::string VFormat(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0)
        return "";
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(n));
    return text;
}

std::string FormatResText(unsigned id, ...)
{
    va_list args;
    va_start(args, id);
    std::string text = VFormat(LoadResString(id).c_str(), args);
    va_end(args);
    return text;
}

bool CLineEdit::EndsWithBreak() const
{
    return m_Text.size() >= 2 && m_Text.compare(m_Text.size() - 2, 2, "\r\n") == 0;
}

const std::vector<std::size_t>& CLineEdit::LineStarts() const
{
    if (!m_LineStartsValid) {
        m_LineStarts.clear();
        std::size_t at = 0;
        while (at < m_Text.size()) {
            m_LineStarts.push_back(at);
            std::size_t brk = m_Text.find("\r\n", at);
            if (brk == std::string::npos)
                break;
            at = brk + 2;
        }
        m_LineStartsValid = true;
    }
    return m_LineStarts;
}

int CLineEdit::GetLineCount() const { return static_cast<int>(LineStarts().size()); }

std::size_t CLineEdit::LineIndex(int n) const
{
    const auto& starts = LineStarts();
    if (n < 0)
        return 0;
    if (static_cast<std::size_t>(n) >= starts.size())
        return m_Text.size();
    return starts[static_cast<std::size_t>(n)];
}

int CLineEdit::LineFromChar(std::size_t offset) const
{
    const auto& starts = LineStarts();
    auto it = std::upper_bound(starts.begin(), starts.end(), offset);
    if (it == starts.begin())
        return 0;
    return static_cast<int>(it - starts.begin()) - 1;
}

std::string CLineEdit::GetLineText(int n, std::size_t size) const
{
    if (n < 0 || n >= GetLineCount() || size == 0)
        return "";
    std::size_t start = LineIndex(n);
    std::size_t end = m_Text.find("\r\n", start);
    if (end == std::string::npos)
        end = m_Text.size();
    std::size_t feed = m_Text.find('\n', start);
    if (feed < end)
        end = feed;
    std::size_t length = end - start;
    if (size != npos)
        length = std::min(length, size - 1);
    return m_Text.substr(start, length);
}

void CLineEdit::ReplaceSel(const std::string& text)
{
    std::size_t start = std::min(m_SelStart, m_SelEnd);
    std::size_t end = std::max(m_SelStart, m_SelEnd);
    start = std::min(start, m_Text.size());
    end = std::min(end, m_Text.size());
    m_Text.replace(start, end - start, text);
    m_SelStart = m_SelEnd = start + text.size();
    m_Modified = true;
    m_CanUndo = false;
    Changed();
}

void CLineEdit::WriteLine(const std::string& line) { ReplaceSel(line + "\r\n"); }

void CLineEdit::WriteLineF(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string line = VFormat(format, args);
    va_end(args);
    WriteLine(line);
}

void CLineEdit::InsertLineF(int n, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string line = VFormat(format, args);
    va_end(args);
    std::size_t at = LineIndex(n);
    // Past a last line without a break the new line must not join it.
    if (at == m_Text.size() && !m_Text.empty() && !EndsWithBreak())
        line = "\r\n" + line;
    SetSel(at, at);
    WriteLine(line);
}

void CLineEdit::ReplaceLineF(int n, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string line = VFormat(format, args);
    va_end(args);
    if (n < 0 || n >= GetLineCount())
        return;
    // The whole old line goes, its line break included, so the line count
    // stays and no stray line feed is left behind.
    SetSel(LineIndex(n), LineIndex(n + 1));
    WriteLine(line);
}

bool CLineEdit::GetNextLine(std::string& line, std::size_t size)
{
    line.clear();
    if (m_LineCursor < 0 || m_LineCursor >= GetLineCount())
        return false;
    line = GetLineText(m_LineCursor, size);
    ++m_LineCursor;
    return true;
}

int CLineEdit::SetLineCursor(int n)
{
    m_LineCursor = n;
    return 1;
}

void CLineEdit::SetSel(std::size_t start, std::size_t end)
{
    m_SelStart = std::min(start, m_Text.size());
    m_SelEnd = std::min(end, m_Text.size());
}

void CLineEdit::SelectAll() { SetSel(0, m_Text.size()); }

void CLineEdit::ClearAll()
{
    SelectAll();
    ReplaceSel("");
}

void CLineEdit::SelectLine(int n)
{
    std::size_t start = LineIndex(n);
    SetSel(start, start + GetLineText(n).size());
}

void CLineEdit::OnDoubleClick() { m_LineCursor = LineFromChar(std::min(m_SelStart, m_SelEnd)); }

int CLineEdit::SearchFrom(int line)
{
    int count = GetLineCount();
    for (int i = std::max(line, 0); i < count; ++i) {
        if (GetLineText(i).find(m_SearchText) != std::string::npos) {
            m_LineCursor = i + 1;
            return i;
        }
    }
    m_LineCursor = count;
    return -1;
}

int CLineEdit::FindLine(const std::string& text)
{
    m_SearchText = text.substr(0, kSearchTextMax);
    return SearchFrom(0);
}

int CLineEdit::FindNextLine() { return SearchFrom(m_LineCursor); }

void CLineEdit::SetTextByUser(const std::string& text)
{
    if (m_ReadOnly)
        return;
    m_UndoText = m_Text;
    m_CanUndo = true;
    m_Text = text;
    m_Modified = true;
    SetSel(m_SelStart, m_SelEnd);
    Changed();
}

void CLineEdit::Undo()
{
    if (!m_CanUndo || m_ReadOnly)
        return;
    std::swap(m_Text, m_UndoText);
    m_Modified = true;
    SetSel(m_SelStart, m_SelEnd);
    Changed();
}

void CLineEdit::Changed()
{
    Invalidate();
    if (m_OnChange.fn)
        m_OnChange.fn();
}

std::vector<std::string> SplitLinePieces(const std::string& line, std::size_t max)
{
    std::vector<std::string> pieces;
    if (line.empty() || max == 0) {
        pieces.emplace_back();
        return pieces;
    }
    for (std::size_t at = 0; at < line.size(); at += max)
        pieces.push_back(line.substr(at, max));
    return pieces;
}

std::string BlockEntryName(const std::string& line)
{
    const std::size_t dollar = line.find('$');
    if (dollar != std::string::npos)
        return line.substr(dollar + 1);
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : line.substr(first);
}
