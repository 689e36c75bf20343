// Messages about files, for every floor.
#include "platform/file_messages.h"

#include "platform/host.h"
#include "platform/line_reader.h"
#include "platform/paths.h"
#include "platform/resources.h"
#include "resource_ids.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

std::string WithName(unsigned id, const std::string& name)
{
    std::string text = LoadResString(id);
    std::size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, PrintableText(name));
    return text;
}

std::string PrintableText(std::string_view text)
{
    // The length of the UTF-8 sequence at `i` (0 when it is none).
    auto sequence = [&](std::size_t i) -> std::size_t {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1 : c >= 0xC2 && c < 0xE0 ? 2 : c >= 0xE0 && c < 0xF0 ? 3
                                 : c >= 0xF0 && c < 0xF5 ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return 0;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return 0;
        // Overlong forms and surrogates are no text either.
        const unsigned char c1 = static_cast<unsigned char>(length > 1 ? text[i + 1] : 0);
        if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 >= 0xA0) || (c == 0xF0 && c1 < 0x90) ||
            (c == 0xF4 && c1 >= 0x90))
            return 0;
        return length;
    };
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t length = sequence(i);
        if (length == 0 || c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            shown += escaped;
            ++i;
            continue;
        }
        shown.append(text.substr(i, length));
        i += length;
    }
    return shown;
}

std::string FileLineMessage(unsigned id, const std::string& name, long line)
{
    return WithValues(id, {name, std::to_string(line)});
}

std::string WithValues(unsigned id, std::initializer_list<std::string> values)
{
    std::string text = LoadResString(id);
    std::size_t from = 0;
    for (const std::string& value : values) {
        const std::size_t s = text.find("%s", from), ld = text.find("%ld", from);
        const std::size_t at = std::min(s, ld);
        if (at == std::string::npos)
            break;
        const std::string shown = PrintableText(value);
        text.replace(at, at == s ? 2 : 3, shown);
        from = at + shown.size();
    }
    return text;
}

void ReportCannotReadFile(const std::string& name)
{
    AfxMessageBox(WithName(IDS_CANNOT_READ_FILE, name), MB_OK);
}

bool CheckReadableFile(const std::string& path, unsigned openErrorId)
{
    if (IsKeptFileText(path))
        return true;
    const std::string resolved = ResolvePathNoCase(path);
    struct stat status {};
    unsigned problem = 0;
    if (::stat(resolved.c_str(), &status) != 0) {
        problem = openErrorId;
    } else if (S_ISDIR(status.st_mode)) {
        problem = IDS_FILE_IS_FOLDER;
    } else if (ReadKeptFileText(path)) {
        if (S_ISREG(status.st_mode) && status.st_size == 0)
            problem = IDS_FILE_EMPTY;
    } else if (std::FILE* file = std::fopen(resolved.c_str(), "rb")) {
        std::fclose(file);
        if (S_ISREG(status.st_mode) && status.st_size == 0)
            problem = IDS_FILE_EMPTY;
    } else {
        problem = openErrorId;
    }
    if (problem)
        AfxMessageBox(WithName(problem, path), MB_OK);
    return problem == 0;
}
