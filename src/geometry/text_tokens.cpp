// Tokenising of reader lines.
#include "geometry/text_tokens.h"

#include <climits>

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ':' || c == ','; }
bool IsPrintable(char c) { return c >= 0x20 && c <= 0x7e; }

}  // namespace

void StripComment(std::string& line)
{
    std::size_t semicolon = line.find(';');
    if (semicolon != std::string::npos)
        line.erase(semicolon);
    std::size_t first = 0;
    while (first < line.size() && (line[first] == ' ' || line[first] == '\t'))
        ++first;
    line.erase(0, first);
    while (!line.empty() && (line.back() == '\n' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
}

void StripCommentCopy(std::string& dest, const std::string& src)
{
    dest = src;
    StripComment(dest);
}

std::string GetToken(std::string& line, int n)
{
    StripComment(line);
    if (n < 0)
        return "";
    std::size_t i = 0;
    while (i < line.size() && (IsSeparator(line[i]) || !IsPrintable(line[i])))
        ++i;
    for (int k = 0;; ++k) {
        std::size_t start = i;
        while (i < line.size() && !IsSeparator(line[i]) && IsPrintable(line[i]))
            ++i;
        if (k == n)
            return line.substr(start, i - start);
        if (i >= line.size())
            return "";
        while (i < line.size() && IsSeparator(line[i]))
            ++i;
    }
}

int GetFirstInt(const std::string& s)
{
    std::size_t i = 0;
    while (i < s.size() && !(s[i] >= '0' && s[i] <= '9'))
        ++i;
    long long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(value);
}
