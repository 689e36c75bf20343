// Message boxes of the document's own files.
#include "document/file_messages.h"

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

void ReportCannotSaveTempFile() { AfxMessageBox("Can't save temp file !", MB_OK); }

void ReportCannotLoadTempFile() { AfxMessageBox("Can't load temp file !", MB_OK); }

void ReportNotValidTempFile(const std::string& name)
{
    AfxMessageBox(WithName(IDS_NOT_VALID_TEMP_FILE, name), MB_OK);
}

void ReportCannotReadFile(const std::string& name)
{
    AfxMessageBox(WithName(IDS_CANNOT_READ_FILE, name), MB_OK);
}
