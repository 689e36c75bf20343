// Messages about files, for every floor.
#include "platform/file_messages.h"

#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"

std::string WithName(unsigned id, const std::string& name)
{
    std::string text = LoadResString(id);
    std::size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, name);
    return text;
}

void ReportCannotReadFile(const std::string& name)
{
    AfxMessageBox(WithName(IDS_CANNOT_READ_FILE, name), MB_OK);
}
