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
        text.replace(at, 2, name);
    return text;
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
        text.replace(at, at == s ? 2 : 3, value);
        from = at + value.size();
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
