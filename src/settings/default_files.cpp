// Seeding the system directory with the default settings files.
#include "settings/default_files.h"

#include "platform/binary_io.h"
#include "platform/paths.h"

#include <filesystem>
#include <system_error>

bool SeedSystemDir(const std::string& dir)
{
    bool ok = true;
    for (const CEmbeddedFile* file = g_DefaultSystemFiles; file->name; ++file) {
        std::string path = JoinPath(dir, file->name);
        std::error_code ec;
        if (std::filesystem::exists(ResolvePathNoCase(path), ec))
            continue;
        ok = WriteFileAtomically(path, file->data, file->size) && ok;
    }
    return ok;
}
