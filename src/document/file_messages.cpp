// Message boxes of the document's own files.
#include "document/file_messages.h"

#include "platform/file_messages.h"
#include "platform/host.h"
#include "resource_ids.h"

void ReportCannotSaveTempFile() { AfxMessageBox("Can't save temp file !", MB_OK); }

void ReportCannotLoadTempFile() { AfxMessageBox("Can't load temp file !", MB_OK); }

void ReportNotValidTempFile(const std::string& name)
{
    AfxMessageBox(WithName(IDS_NOT_VALID_TEMP_FILE, name), MB_OK);
}
