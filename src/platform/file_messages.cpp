// Messages about files, for every floor.
#include "platform/file_messages.h"

#include "platform/host.h"
#include "platform/line_reader.h"
#include "platform/paths.h"
#include "platform/resources.h"
#include "resource_ids.h"

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
    std::string text = WithName(id, name);
    std::size_t at = text.find("%ld");
    if (at != std::string::npos)
        text.replace(at, 3, std::to_string(line));
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
